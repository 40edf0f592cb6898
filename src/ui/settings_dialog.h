// "Grundeinstellungen": local mode or store, the service's web server, the store and its
// log-in, polling rate, spool folder and activity log, with a connection test for the
// web server and one for the store.
#pragma once

#include "ui/base_settings.h"
#include "ui/dialog_context.h"

#include <QDialog>

#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    SettingsDialog(const BaseSettings& values, const DialogContext& context, QWidget* parent = nullptr);

    // The values as the controls showed them at "OK"; texts are not trimmed.
    const BaseSettings& Values() const { return values_; }

public slots:
    // Checks the polling rate and the maximum log size first; a failure is told in a
    // box, puts the focus into its field and keeps the dialog open.
    void accept() override;

private:
    QGroupBox* BuildLocalGroup();
    QGroupBox* BuildServerGroup();
    QWidget* BuildFolderListPanel();
    QGroupBox* BuildStoreGroup();
    QGroupBox* BuildGeneralGroup();
    QGroupBox* BuildLogGroup();
    void ApplyControlRules();
    void TestServer();
    void TestStore();
    void PickLocalFolder();
    void PickSpoolFolder();
    void PickLogFile();
    void ConfigureFolders();

    BaseSettings values_;
    DialogContext context_;
    std::string openingLogFile_;

    QCheckBox* localBox_;
    std::vector<QWidget*> localFolderControls_;
    QLineEdit* localFolder_;
    QGroupBox* serverGroup_;
    QLineEdit* server_;
    QComboBox* port_;
    QLineEdit* serverFolder_;
    QWidget* folderListPanel_;
    std::vector<QWidget*> storeControls_;
    QLineEdit* storeServer_;
    QLineEdit* storeUser_;
    QLineEdit* storePassword_;
    QLineEdit* storeFolder_;
    QCheckBox* passiveBox_;
    QCheckBox* errorBox_;
    QCheckBox* sftpBox_;
    QCheckBox* tlsBox_;
    QLineEdit* pollingRate_;
    QLineEdit* spoolFolder_;
    QCheckBox* logBox_;
    std::vector<QWidget*> logFileControls_;
    QLineEdit* logFile_;
    QLineEdit* logFileMaxSize_;
};
