#include "app/main_window.h"

#include "app/about_box.h"
#include "app/institution_line.h"
#include "app/log_list_widget.h"
#include "app/run_panel.h"
#include "spool/run_control.h"
#include "spool/settings_file_check.h"
#include "spool/settings_save.h"
#include "spool/station.h"
#include "ui/desktop_settings_dialogs.h"
#include "ui/modal_cursor.h"
#include "ui/settings_commands.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

MainWindow::MainWindow(const StartValues& values, StoreAccess& store, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      values_(values),
      icon_(QString::fromUtf8(values.TessalineMode ? ":/icons/ts_print.svg" : ":/icons/kv_print.svg")),
      panel_(new RunPanel(this)),
      logList_(new LogListWidget(this)),
      timer_([this](unsigned id) {
          station_->OnPollingTick(id);
          EndAfterCycle();
      })
{
    InstallDesktopKeepAlive(&keepAlive_);
    logList_->setObjectName("log");
    desktop_ = std::make_unique<Desktop>(
        Desktop{waitCursor_, timer_, *panel_, *logList_, logViewer_, *panel_, processes_});

    StationSettings settings;
    settings.IniPath = values.IniPath;
    settings.ProgramFolder = values.ProgramFolder;
    settings.TessalineMode = values.TessalineMode;
    LoadSettings(settings);
    station_ = std::make_unique<Station>(std::move(settings), *desktop_, store);

    auto* layout = new QVBoxLayout(this);
    BuildMenus(values.TessalineMode);
    layout->addWidget(panel_);
    layout->addWidget(logList_, 1);
    resize(960, 640);

    connect(panel_->StartButton(), &QPushButton::clicked, this, [this] {
        station_->StartPolling();
        EndAfterCycle();
    });
    connect(panel_->StopButton(), &QPushButton::clicked, this, [this] { station_->StopPolling(); });
    connect(panel_->AutoStartBox(), &QCheckBox::clicked, this, &MainWindow::AutoStartClicked);
}

MainWindow::~MainWindow()
{
    InstallDesktopKeepAlive(nullptr);
}

void MainWindow::Initialise(const QFont& logFont)
{
    StationSettings& settings = station_->Settings();
    panel_->AutoStartBox()->setChecked(settings.AutoStart == 1);
    setWindowIcon(icon_);
    setWindowTitle(QString::fromStdString(values_.WindowTitle));
    logList_->setFont(logFont);
    dialogs_ = std::make_unique<DesktopSettingsDialogs>(
        this, DialogContext{values_.ProgramName, icon_, logFont, &waitCursor_, {},
                            [this](const std::string& line) { station_->Log().AddLogLine(line); }});
    UpdateRunButtons(*station_);
    UpdateMenuState();

    station_->Log().AddLogLine(values_.VersionText);
    std::string institution = InstitutionLine(settings);
    if (!institution.empty())
        station_->Log().AddLogLine(institution);
    WarnAboutSettingsFile(settings.IniPath, station_->Log());
    station_->CreateSpoolFolders();

    // Posted, not called: Start runs once the window is shown.
    if (settings.AutoStart == 1)
        QMetaObject::invokeMethod(panel_->StartButton(), &QPushButton::click, Qt::QueuedConnection);
}

void MainWindow::BuildMenus(int tessalineMode)
{
    auto* bar = new QMenuBar(this);
    for (const Menu& menu : MainMenu(tessalineMode)) {
        QMenu* shown = bar->addMenu(QString::fromStdString(menu.title));
        for (const MenuEntry& entry : menu.entries) {
            if (entry.separatorBefore)
                shown->addSeparator();
            QAction* action = shown->addAction(QString::fromStdString(entry.text));
            MenuCommand command = entry.command;
            connect(action, &QAction::triggered, this, [this, command] { RunCommand(command); });
            actions_[command] = action;
        }
    }
    layout()->setMenuBar(bar);
}

void MainWindow::UpdateMenuState()
{
    for (const auto& [command, action] : actions_)
        action->setEnabled(MenuCommandEnabled(command, station_->Settings()));
}

void MainWindow::RunCommand(MenuCommand command)
{
    switch (command) {
    case MenuCommand::ViewLog:
        station_->ViewLog();
        break;
    case MenuCommand::ClearLog:
        station_->ClearLog();
        break;
    case MenuCommand::End:
        EndProgram();
        break;
    case MenuCommand::BaseSettings:
        OpenBaseSettings();
        break;
    case MenuCommand::AssignInstitution:
        AssignInstitution();
        break;
    case MenuCommand::AssignPrinters:
        AssignPrinters();
        break;
    case MenuCommand::About:
        ShowAbout();
        break;
    }
}

void MainWindow::EndProgram()
{
    RequestEnd(QDialog::Accepted);
}

void MainWindow::reject()
{
    RequestEnd(QDialog::Rejected);
}

void MainWindow::RequestEnd(int result)
{
    if (pendingEnd_ || !station_->ConfirmEnd())
        return;
    pendingEnd_ = result;
    EndAfterCycle();
}

void MainWindow::EndAfterCycle()
{
    if (!pendingEnd_ || station_->InCycle())
        return;
    int result = *pendingEnd_;
    pendingEnd_.reset();
    station_->End();
    if (result == QDialog::Rejected) {
        QDialog::reject();
        return;
    }
    station_->Settings().AutoStart = panel_->AutoStartBox()->isChecked() ? 1 : 0;
    accept();
}

void MainWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        EndProgram();
        return;
    }
    QDialog::keyPressEvent(event);
}

void MainWindow::AutoStartClicked(bool checked)
{
    station_->Settings().AutoStart = checked ? 1 : 0;
    SaveSettings(station_->Settings());
}

void MainWindow::OpenBaseSettings()
{
    // DoLog may have changed, and with it the log commands.
    if (BaseSettingsCommand(*station_, *dialogs_))
        UpdateMenuState();
}

void MainWindow::AssignInstitution()
{
    InstitutionCommand(*station_, *dialogs_);
}

void MainWindow::AssignPrinters()
{
    PrinterCommand(*station_, *dialogs_);
}

void MainWindow::ShowAbout()
{
    AboutBox about(icon_, values_.AboutText, values_.VersionText, this);
    ExecModal(about);
}
