// The activity log list that fills the main window. A list that shows its newest line
// goes on showing it when it is made smaller or larger; a line that is cut shows its
// whole text as a tooltip.
#pragma once

#include "platform/log_list.h"

#include <QListWidget>

class LogListWidget : public QListWidget, public LogList {
    Q_OBJECT
public:
    explicit LogListWidget(QWidget* parent = nullptr);

    int Count() const override;
    void Append(const std::string& line) override;
    void RemoveFirst(int count) override;
    void ShowLast() override;
    // Paints the list at once, without handling any queued input, so that a line shows
    // while a polling cycle keeps the station busy.
    void RepaintNow() override;

    // The lines, top to bottom.
    std::vector<std::string> Lines() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool viewportEvent(QEvent* event) override;
};
