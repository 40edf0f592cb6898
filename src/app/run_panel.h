// The top of the main window: Start and "Stopp", the folder and file being worked on,
// the two progress bars, the status word and the check box "automatisch starten".
#pragma once

#include "platform/display_fields.h"
#include "platform/run_buttons.h"

#include <QWidget>

#include <cstdint>

class QCheckBox;
class QLineEdit;
class QProgressBar;
class QPushButton;

class RunPanel : public QWidget, public DisplayFields, public RunButtons {
    Q_OBJECT
public:
    explicit RunPanel(QWidget* parent = nullptr);

    QPushButton* StartButton() const { return start_; }
    QPushButton* StopButton() const { return stop_; }
    QCheckBox* AutoStartBox() const { return autoStart_; }

    // The fields are painted at once: a polling cycle handles no queued events.
    void SetFolderText(const std::string& text) override;
    void SetFileText(const std::string& text) override;
    void SetFolderProgressRange(std::int64_t low, std::int64_t high) override;
    void SetFolderProgressPosition(std::int64_t position) override;
    void SetFileProgressRange(std::int64_t low, std::int64_t high) override;
    void SetFileProgressPosition(std::int64_t position) override;
    void SetStatusText(const std::string& text) override;

    void EnableRunButtons(bool startEnabled, bool stopEnabled) override;

private:
    // A progress bar counts in int; a range beyond that is counted in larger steps.
    struct Progress {
        QProgressBar* bar = nullptr;
        std::int64_t low = 0;
        std::int64_t step = 1;
    };
    static void SetRange(Progress& progress, std::int64_t low, std::int64_t high);
    static void SetPosition(const Progress& progress, std::int64_t position);
    static void SetText(QLineEdit* field, const std::string& text);

    QPushButton* start_;
    QPushButton* stop_;
    QLineEdit* folder_;
    QLineEdit* file_;
    QLineEdit* status_;
    QCheckBox* autoStart_;
    Progress folderProgress_;
    Progress fileProgress_;
};
