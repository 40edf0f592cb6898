#include "ui/settings_dialog.h"

#include "net/ftp_client.h"
#include "ui/file_pickers.h"
#include "ui/main_folder_list_dialog.h"
#include "ui/modal_cursor.h"
#include "ui/number_field.h"
#include "ui/ok_cancel_buttons.h"
#include "ui/picked_paths.h"
#include "ui/qt_text.h"
#include "ui/server_connection_check.h"
#include "ui/settings_control_rules.h"
#include "ui/single_line_fields.h"
#include "ui/store_connection_check.h"
#include "ui/visual_tab_order.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLineEdit* Edit(const std::string& text, const char* name, QWidget* parent)
{
    auto* edit = new QLineEdit(ToQString(text), parent);
    edit->setObjectName(name);
    return edit;
}

QLabel* Label(const char* text, const char* name, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

QCheckBox* Box(const char* text, const char* name, int checked, QWidget* parent)
{
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(name);
    box->setChecked(checked != 0);
    return box;
}

// The "..." button beside a path.
QPushButton* BrowseButton(const char* name, QWidget* parent)
{
    QPushButton* button = MakeButton("...", name, parent);
    button->setMaximumWidth(button->fontMetrics().horizontalAdvance("....") + 16);
    return button;
}

int Checked(const QCheckBox* box)
{
    return box->isChecked() ? 1 : 0;
}

}  // namespace

SettingsDialog::SettingsDialog(const BaseSettings& values, const DialogContext& context, QWidget* parent)
    : QDialog(parent), values_(values), context_(context), openingLogFile_(values.LogFileName)
{
    setWindowTitle("Grundeinstellungen");

    auto* grid = new QGridLayout;
    grid->addWidget(BuildLocalGroup(), 0, 0, 1, 2);
    // The Tessaline mode has no web server: its folder list takes the server group's place.
    grid->addWidget(BuildServerGroup(), 1, 0);
    grid->addWidget(BuildFolderListPanel(), 1, 0);
    grid->addWidget(BuildStoreGroup(), 1, 1);
    grid->addWidget(BuildGeneralGroup(), 2, 0);
    grid->addWidget(BuildLogGroup(), 2, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(MakeOkCancelButtons(this).row);

    for (QCheckBox* box : {localBox_, sftpBox_, logBox_})
        connect(box, &QCheckBox::toggled, this, &SettingsDialog::ApplyControlRules);
    ApplyControlRules();
    KeepFieldsOnOneLine(this);
    FollowVisualTabOrder(this);
}

QGroupBox* SettingsDialog::BuildLocalGroup()
{
    auto* group = new QGroupBox("Lokaler Betrieb oder FTP/SFTP:", this);
    localBox_ = Box("lokaler Modus (Dateisystem, KEIN FTP/SFTP Server wird benutzt)", "localBox",
                    values_.LocalFsMode, group);
    QLabel* label = Label("Haupt-Verzeichnis (lokal):", "localFolderLabel", group);
    localFolder_ = Edit(values_.LocalMainDir, "localFolderEdit", group);
    QPushButton* browse = BrowseButton("localFolderButton", group);
    localFolderControls_ = {label, localFolder_, browse};

    auto* grid = new QGridLayout(group);
    grid->addWidget(localBox_, 0, 0, 1, 3);
    grid->addWidget(label, 1, 0);
    grid->addWidget(localFolder_, 1, 1);
    grid->addWidget(browse, 1, 2);
    connect(browse, &QPushButton::clicked, this, &SettingsDialog::PickLocalFolder);
    return group;
}

QGroupBox* SettingsDialog::BuildServerGroup()
{
    serverGroup_ = new QGroupBox("Korvid-Server:", this);
    serverGroup_->setObjectName("serverGroup");
    server_ = Edit(values_.KV_Server, "serverEdit", serverGroup_);
    port_ = new QComboBox(serverGroup_);
    port_->setObjectName("portCombo");
    port_->setEditable(true);
    port_->addItems({"80", "8080"});
    port_->setEditText(ToQString(values_.KV_Port));
    serverFolder_ = Edit(values_.KV_Main_Dir, "serverFolderEdit", serverGroup_);
    QPushButton* test = MakeButton("Verbindung testen ...", "serverTestButton", serverGroup_);

    auto* grid = new QGridLayout(serverGroup_);
    grid->addWidget(Label("Korvid-Server:", "serverLabel", serverGroup_), 0, 0);
    grid->addWidget(server_, 0, 1, 1, 2);
    grid->addWidget(Label("Port:", "portLabel", serverGroup_), 1, 0);
    grid->addWidget(port_, 1, 1);
    grid->addWidget(Label("Haupt-Verzeichnis:", "serverFolderLabel", serverGroup_), 2, 0);
    grid->addWidget(serverFolder_, 2, 1, 1, 2);
    grid->addWidget(test, 3, 1, 1, 2, Qt::AlignRight);
    grid->setRowStretch(4, 1);
    grid->setColumnStretch(2, 1);
    connect(test, &QPushButton::clicked, this, &SettingsDialog::TestServer);
    return serverGroup_;
}

QWidget* SettingsDialog::BuildFolderListPanel()
{
    folderListPanel_ = new QWidget(this);
    folderListPanel_->setObjectName("folderListPanel");
    auto* icon = new QLabel(folderListPanel_);
    icon->setObjectName("modeIcon");
    icon->setPixmap(context_.modeIcon.pixmap(48, 48));
    QPushButton* configure = MakeButton("Verzeichnisse konfigurieren ...", "folderListButton", folderListPanel_);

    auto* layout = new QVBoxLayout(folderListPanel_);
    layout->addStretch();
    layout->addWidget(icon, 0, Qt::AlignHCenter);
    layout->addSpacing(12);
    layout->addWidget(configure, 0, Qt::AlignHCenter);
    layout->addStretch();
    connect(configure, &QPushButton::clicked, this, &SettingsDialog::ConfigureFolders);
    return folderListPanel_;
}

QGroupBox* SettingsDialog::BuildStoreGroup()
{
    auto* group = new QGroupBox("FTP-Lager:", this);
    group->setObjectName("storeGroup");
    storeServer_ = Edit(values_.KV_FTP_Store, "storeServerEdit", group);
    storeUser_ = Edit(values_.KV_FTP_Store_User, "storeUserEdit", group);
    storePassword_ = Edit(values_.KV_FTP_Store_Password, "storePasswordEdit", group);
    storePassword_->setEchoMode(QLineEdit::Password);
    storeFolder_ = Edit(values_.KV_FTP_Store_Dir, "storeFolderEdit", group);
    QPushButton* test = MakeButton("Verbindung testen ...", "storeTestButton", group);
    passiveBox_ = Box("passive FTP-Modus ?", "passiveBox", values_.KV_Ftp_Passive, group);
    errorBox_ = Box("Fehler nur loggen ?", "errorBox", values_.OnErrorLogOnly, group);
    sftpBox_ = Box("SFTP benutzen ?", "sftpBox", values_.KV_Sftp_Mode, group);
    tlsBox_ = Box("TLS verwenden (FTPS) ?", "tlsBox", values_.KV_Ftp_Tls, group);

    QLabel* serverLabel = Label("FTP-Server:", "storeServerLabel", group);
    QLabel* userLabel = Label("Benutzer:", "storeUserLabel", group);
    QLabel* passwordLabel = Label("Passwort:", "storePasswordLabel", group);
    QLabel* folderLabel = Label("Haupt-Verzeichnis:", "storeFolderLabel", group);
    // The group's frame stays: "Fehler nur loggen ?" inside it is never disabled.
    storeControls_ = {serverLabel, storeServer_, userLabel,    storeUser_, passwordLabel,
                      storePassword_, folderLabel, storeFolder_, test,       sftpBox_};

    auto* grid = new QGridLayout(group);
    grid->addWidget(serverLabel, 0, 0);
    grid->addWidget(storeServer_, 0, 1, 1, 2);
    grid->addWidget(userLabel, 1, 0);
    grid->addWidget(storeUser_, 1, 1, 1, 2);
    grid->addWidget(passwordLabel, 2, 0);
    grid->addWidget(storePassword_, 2, 1, 1, 2);
    grid->addWidget(folderLabel, 3, 0);
    grid->addWidget(storeFolder_, 3, 1, 1, 2);
    grid->addWidget(passiveBox_, 4, 0, 1, 2);
    grid->addWidget(test, 4, 2, Qt::AlignRight);
    grid->addWidget(tlsBox_, 5, 0, 1, 2);
    grid->addWidget(sftpBox_, 6, 0, 1, 2);
    grid->addWidget(errorBox_, 7, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    connect(test, &QPushButton::clicked, this, &SettingsDialog::TestStore);
    return group;
}

QGroupBox* SettingsDialog::BuildGeneralGroup()
{
    auto* group = new QGroupBox("generelle Einstellungen:", this);
    pollingRate_ = Edit(std::to_string(values_.Polling_Rate), "pollingRateEdit", group);
    pollingRate_->setMaximumWidth(pollingRate_->fontMetrics().horizontalAdvance("000000000") + 12);
    spoolFolder_ = Edit(values_.SpoolDir, "spoolFolderEdit", group);
    QPushButton* browse = BrowseButton("spoolFolderButton", group);

    auto* grid = new QGridLayout(group);
    grid->addWidget(Label("Polling-Rate (Sek.):", "pollingRateLabel", group), 0, 0);
    grid->addWidget(pollingRate_, 0, 1, Qt::AlignLeft);
    grid->addWidget(Label("Spool-Verzeichnis:", "spoolFolderLabel", group), 1, 0);
    grid->addWidget(spoolFolder_, 1, 1);
    grid->addWidget(browse, 1, 2);
    grid->setRowStretch(2, 1);
    grid->setColumnStretch(1, 1);
    connect(browse, &QPushButton::clicked, this, &SettingsDialog::PickSpoolFolder);
    return group;
}

QGroupBox* SettingsDialog::BuildLogGroup()
{
    auto* group = new QGroupBox("Einstellungen zur Logdatei:", this);
    logBox_ = Box("", "logBox", values_.DoLog, group);
    QLabel* fileLabel = Label("Log-Datei:", "logFileLabel", group);
    logFile_ = Edit(values_.LogFileName, "logFileEdit", group);
    QPushButton* browse = BrowseButton("logFileButton", group);
    QLabel* sizeLabel = Label("Maximalgröße der Log-Datei in KBytes:", "logFileMaxSizeLabel", group);
    logFileMaxSize_ = Edit(std::to_string(values_.LogFileMaxSize), "logFileMaxSizeEdit", group);
    logFileMaxSize_->setMaximumWidth(logFileMaxSize_->fontMetrics().horizontalAdvance("000000000000") + 12);
    logFileControls_ = {logFile_, browse, logFileMaxSize_};

    auto* grid = new QGridLayout(group);
    grid->addWidget(logBox_, 0, 0, 1, 3);
    grid->addWidget(fileLabel, 1, 0);
    grid->addWidget(logFile_, 1, 1);
    grid->addWidget(browse, 1, 2);
    auto* sizeRow = new QHBoxLayout;
    sizeRow->addWidget(sizeLabel);
    sizeRow->addWidget(logFileMaxSize_);
    sizeRow->addStretch();
    grid->addLayout(sizeRow, 2, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    connect(browse, &QPushButton::clicked, this, &SettingsDialog::PickLogFile);
    return group;
}

void SettingsDialog::ApplyControlRules()
{
    const SettingsControlStates states =
        SettingsControlRules(values_.TessalineMode, values_.KorvidMode, localBox_->isChecked(),
                             sftpBox_->isChecked(), logBox_->isChecked());
    serverGroup_->setVisible(states.serverGroupShown);
    serverGroup_->setEnabled(states.serverGroupEnabled);
    folderListPanel_->setVisible(states.folderListShown);
    logBox_->setText(ToQString(states.logBoxCaption));
    for (QWidget* control : logFileControls_)
        control->setEnabled(states.logFileEnabled);
    for (QWidget* control : storeControls_)
        control->setEnabled(states.storeGroupEnabled);
    for (QWidget* control : localFolderControls_)
        control->setEnabled(states.localFolderEnabled);
    passiveBox_->setEnabled(states.passiveEnabled);
    tlsBox_->setEnabled(states.tlsEnabled);
}

void SettingsDialog::accept()
{
    int pollingRate = 0;
    int logFileMaxSize = 0;
    switch (CheckNumberFields(ToStdString(pollingRate_->text()), ToStdString(logFileMaxSize_->text()),
                              context_.programName, pollingRate, logFileMaxSize)) {
    case NumberField::PollingRate:
        pollingRate_->setFocus();
        pollingRate_->selectAll();
        return;
    case NumberField::LogFileMaxSize:
        logFileMaxSize_->setFocus();
        logFileMaxSize_->selectAll();
        return;
    case NumberField::None:
        break;
    }
    values_.LocalFsMode = Checked(localBox_);
    values_.LocalMainDir = ToStdString(localFolder_->text());
    values_.KV_Server = ToStdString(server_->text());
    values_.KV_Port = ToStdString(port_->currentText());
    values_.KV_Main_Dir = ToStdString(serverFolder_->text());
    values_.KV_FTP_Store = ToStdString(storeServer_->text());
    values_.KV_FTP_Store_User = ToStdString(storeUser_->text());
    values_.KV_FTP_Store_Password = ToStdString(storePassword_->text());
    values_.KV_FTP_Store_Dir = ToStdString(storeFolder_->text());
    values_.KV_Ftp_Passive = Checked(passiveBox_);
    values_.KV_Sftp_Mode = Checked(sftpBox_);
    values_.KV_Ftp_Tls = Checked(tlsBox_);
    values_.OnErrorLogOnly = Checked(errorBox_);
    values_.Polling_Rate = pollingRate;
    values_.SpoolDir = ToStdString(spoolFolder_->text());
    values_.DoLog = Checked(logBox_);
    values_.LogFileName = ToStdString(logFile_->text());
    values_.LogFileMaxSize = logFileMaxSize;
    QDialog::accept();
}

void SettingsDialog::TestServer()
{
    ServerConnectionTest(ToStdString(server_->text()), ToStdString(port_->currentText()),
                         ToStdString(serverFolder_->text()), *context_.waitCursor);
}

void SettingsDialog::TestStore()
{
    std::unique_ptr<FtpClient> client =
        context_.makeStoreClient ? context_.makeStoreClient() : std::make_unique<FtpClient>();
    StoreConnectionTest({ToStdString(storeServer_->text()), ToStdString(storeUser_->text()),
                         ToStdString(storePassword_->text()), ToStdString(storeFolder_->text()),
                         passiveBox_->isChecked(), sftpBox_->isChecked(), tlsBox_->isChecked(),
                         values_.KV_Ftp_Tls_Cert},
                        values_.ProgramFolder, *client, *context_.waitCursor, context_.log, &values_.KV_Ftp_Tls_Cert);
}

void SettingsDialog::PickLocalFolder()
{
    const std::optional<std::string> folder =
        BrowseForFolder(this, "Hauptverzeichnis (lokal):", ToStdString(localFolder_->text()));
    if (folder)
        localFolder_->setText(ToQString(PickedLocalFolder(*folder)));
}

void SettingsDialog::PickSpoolFolder()
{
    const std::optional<std::string> folder =
        BrowseForFolder(this, "Auswahl des Verzeichnises unterhalb dessen die Spool-Verzeichnisse erzeugt werden",
                        ToStdString(spoolFolder_->text()));
    if (folder)
        spoolFolder_->setText(ToQString(PickedSpoolFolder(*folder)));
}

void SettingsDialog::PickLogFile()
{
    const std::optional<std::string> file = ChooseLogFile(this, openingLogFile_);
    if (file)
        logFile_->setText(ToQString(*file));
}

void SettingsDialog::ConfigureFolders()
{
    MainFolderListDialog dialog(values_.MainFolders, context_.listFont, this);
    if (ExecModal(dialog) == QDialog::Accepted)
        values_.MainFolders = dialog.Folders();
}
