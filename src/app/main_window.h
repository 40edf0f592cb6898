// The station's one window: a dialog shown modally for the whole run. It owns the
// Station (settings, run state, log file, parameter table), gives it the desktop's
// seams made with Qt and forwards buttons, menu commands and timer ticks to it.
#pragma once

#include "app/desktop_log_viewer.h"
#include "app/main_menu.h"
#include "app/override_wait_cursor.h"
#include "app/qt_keep_alive.h"
#include "app/start_values.h"
#include "app/window_timer.h"
#include "platform/desktop.h"
#include "platform/posix_process_runner.h"

#include <QDialog>
#include <QIcon>

#include <map>
#include <memory>
#include <optional>

class DesktopSettingsDialogs;
class LogListWidget;
class QAction;
class QFont;
class RunPanel;
class Station;
class StoreAccess;

class MainWindow : public QDialog {
    Q_OBJECT
public:
    // Loads the settings from the settings file of the start values; shows nothing.
    MainWindow(const StartValues& values, StoreAccess& store, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Before the window is shown: texts, icon and log font (also of the settings
    // dialogs' lists), the first log lines, the local spool tree, and with AutoStart = 1
    // a Start click posted to the window.
    void Initialise(const QFont& logFont);

public slots:
    // Escape and the close box: close the log file and the window, after the question
    // while polling runs.
    void reject() override;

protected:
    // Enter acts as "&Ende" unless a push button has the focus, which takes it itself.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildMenus(int tessalineMode);
    void UpdateMenuState();
    void RunCommand(MenuCommand command);
    void EndProgram();
    // Closing with the dialog's result: asked while polling runs, and during a cycle
    // put off until the cycle has ended.
    void RequestEnd(int result);
    void EndAfterCycle();
    void AutoStartClicked(bool checked);
    void OpenBaseSettings();
    void AssignInstitution();
    void AssignPrinters();
    void ShowAbout();

    StartValues values_;
    QIcon icon_;
    RunPanel* panel_;
    LogListWidget* logList_;
    std::map<MenuCommand, QAction*> actions_;
    OverrideWaitCursor waitCursor_;
    WindowTimer timer_;
    DesktopLogViewer logViewer_;
    PosixProcessRunner processes_;
    QtKeepAlive keepAlive_;
    std::optional<int> pendingEnd_;
    std::unique_ptr<Desktop> desktop_;
    std::unique_ptr<Station> station_;
    std::unique_ptr<DesktopSettingsDialogs> dialogs_;
};
