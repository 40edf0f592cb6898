// The base settings dialog as a user sees it, offscreen.
#include "ui/settings_dialog.h"

#include "config/file_utilities.h"
#include "fakes/recording_message_boxes.h"
#include "fakes/recording_wait_cursor.h"
#include "fixtures/local_ftp_server.h"
#include "fixtures/local_web_server.h"
#include "tools/modal_driver.h"
#include "net/ftp_client.h"
#include "servers/scripted_server.h"
#include "servers/server_socket.h"
#include "spool/settings_save.h"
#include "support/scratch_folder.h"
#include "ui/main_folder_list_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <atomic>
#include <filesystem>
#include <thread>

template <>
char* QTest::toString(const std::string& text)
{
    return qstrdup(text.c_str());
}

namespace {

BaseSettings SomeValues(int tessalineMode = 0)
{
    StationSettings settings;
    settings.TessalineMode = tessalineMode;
    settings.ProgramFolder = "/opt/station";
    settings.SpoolDir = "/opt/station";
    settings.LogFileName = settings.DefaultLogFileName();
    return BaseSettingsOf(settings);
}

}  // namespace

class SettingsDialogTest : public QObject {
    Q_OBJECT

private:
    DialogContext Context()
    {
        DialogContext context;
        context.programName = "kv_print";
        context.modeIcon = QIcon(STATION_SOURCE_DIR "/src/app/icons/ts_print.svg");
        context.listFont = QFont("Courier New");
        context.waitCursor = &cursor;
        return context;
    }
    template <typename Widget>
    static Widget* Find(SettingsDialog& dialog, const char* name)
    {
        Widget* widget = Child<Widget>(&dialog, name);
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }
    static void SetText(SettingsDialog& dialog, const char* name, const QString& text)
    {
        Find<QLineEdit>(dialog, name)->setText(text);
    }
    static void ClickOk(SettingsDialog& dialog) { Find<QPushButton>(dialog, "okButton")->click(); }

    RecordingWaitCursor cursor;

private slots:
    void showsTheValuesHandedIn()
    {
        BaseSettings values = SomeValues();
        values.KV_Port = "8080";
        values.KV_FTP_Store_Password = "geheim";
        values.Polling_Rate = 90;
        values.LogFileMaxSize = 5000;
        values.KV_Ftp_Passive = 1;
        values.KV_Ftp_Tls = 1;
        SettingsDialog dialog(values, Context());
        QCOMPARE(dialog.windowTitle(), QString("Grundeinstellungen"));
        QCOMPARE(Find<QCheckBox>(dialog, "tlsBox")->text(), QString("TLS verwenden (FTPS) ?"));
        QVERIFY(Find<QCheckBox>(dialog, "tlsBox")->isChecked());
        QCOMPARE(Find<QComboBox>(dialog, "portCombo")->currentText(), QString("8080"));
        QCOMPARE(Find<QComboBox>(dialog, "portCombo")->count(), 2);
        QCOMPARE(Find<QLineEdit>(dialog, "storePasswordEdit")->text(), QString("geheim"));
        QCOMPARE(Find<QLineEdit>(dialog, "storePasswordEdit")->echoMode(), QLineEdit::Password);
        QCOMPARE(Find<QLineEdit>(dialog, "pollingRateEdit")->text(), QString("90"));
        QCOMPARE(Find<QLineEdit>(dialog, "logFileMaxSizeEdit")->text(), QString("5000"));
        QCOMPARE(Find<QLineEdit>(dialog, "logFileEdit")->text(), QString("/opt/station/kv_print.log"));
        QVERIFY(Find<QCheckBox>(dialog, "passiveBox")->isChecked());
        QCOMPARE(Find<QCheckBox>(dialog, "logBox")->text(),
                 QString("Aktivitäten von kv_print in Datei loggen (Historie) ?"));
    }

    void pollingRateLimits()
    {
        RecordingMessageBoxes boxes;
        SettingsDialog dialog(SomeValues(), Context());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        Find<QCheckBox>(dialog, "logBox")->setChecked(true);
        SetText(dialog, "pollingRateEdit", "86401");
        SetText(dialog, "logFileMaxSizeEdit", "999");
        ClickOk(dialog);
        QVERIFY(dialog.isVisible());
        QCOMPARE(boxes.boxes.size(), size_t(1));
        QCOMPARE(boxes.boxes[0].text, std::string("Geben Sie bitte eine ganze Zahl zwischen 0 und 86400 ein."));
        QCOMPARE(boxes.boxes[0].caption, std::string("kv_print"));
        QCOMPARE(boxes.boxes[0].style, BoxStyle::IconExclamation | BoxStyle::TaskModal);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(Find<QLineEdit>(dialog, "pollingRateEdit")));

        SetText(dialog, "pollingRateEdit", "86400");
        ClickOk(dialog);
        QVERIFY(dialog.isVisible());
        QCOMPARE(boxes.boxes.size(), size_t(2));
        QCOMPARE(boxes.boxes[1].text, std::string("Geben Sie bitte eine ganze Zahl zwischen 1000 und 10000000 ein."));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(Find<QLineEdit>(dialog, "logFileMaxSizeEdit")));

        SetText(dialog, "pollingRateEdit", "abc");
        ClickOk(dialog);
        QCOMPARE(boxes.boxes.back().text, std::string("Geben Sie bitte eine positive ganze Zahl ein."));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(Find<QLineEdit>(dialog, "pollingRateEdit")));

        SetText(dialog, "pollingRateEdit", "0");
        SetText(dialog, "logFileMaxSizeEdit", "1000");
        ClickOk(dialog);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(boxes.boxes.size(), size_t(3));
        QCOMPARE(dialog.Values().Polling_Rate, 0);
        QCOMPARE(dialog.Values().LogFileMaxSize, 1000);
    }

    void localAndSftpBoxesSwitchTheStoreGroup()
    {
        SettingsDialog dialog(SomeValues(), Context());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* local = Find<QCheckBox>(dialog, "localBox");
        auto* sftp = Find<QCheckBox>(dialog, "sftpBox");
        auto* passive = Find<QCheckBox>(dialog, "passiveBox");
        auto* tls = Find<QCheckBox>(dialog, "tlsBox");
        auto* errors = Find<QCheckBox>(dialog, "errorBox");
        const char* storeControls[] = {"storeServerLabel", "storeServerEdit", "storeUserEdit", "storePasswordEdit",
                                       "storeFolderLabel", "storeFolderEdit", "storeTestButton", "sftpBox"};
        const char* localControls[] = {"localFolderLabel", "localFolderEdit", "localFolderButton"};
        QVERIFY(passive->isEnabled());
        QVERIFY(Find<QGroupBox>(dialog, "serverGroup")->isEnabled());
        for (const char* name : localControls)
            QVERIFY2(!Find<QWidget>(dialog, name)->isEnabled(), name);

        QTest::mouseClick(local, Qt::LeftButton);
        QVERIFY(local->isChecked());
        for (const char* name : storeControls)
            QVERIFY2(!Find<QWidget>(dialog, name)->isEnabled(), name);
        for (const char* name : localControls)
            QVERIFY2(Find<QWidget>(dialog, name)->isEnabled(), name);
        QVERIFY(!passive->isEnabled());
        QVERIFY(!tls->isEnabled());
        QVERIFY(!Find<QGroupBox>(dialog, "serverGroup")->isEnabled());
        QVERIFY(errors->isEnabled());

        // SFTP ticked while local: unticking local leaves the passive box disabled.
        sftp->setChecked(true);
        QTest::mouseClick(local, Qt::LeftButton);
        QVERIFY(!local->isChecked());
        QVERIFY(!passive->isEnabled());
        QVERIFY(!tls->isEnabled());
        QVERIFY(Find<QWidget>(dialog, "storeServerEdit")->isEnabled());
        QTest::mouseClick(sftp, Qt::LeftButton);
        QVERIFY(passive->isEnabled());
        QVERIFY(tls->isEnabled());
        QVERIFY(errors->isEnabled());

        auto* log = Find<QCheckBox>(dialog, "logBox");
        QVERIFY(!log->isChecked());
        QVERIFY(!Find<QWidget>(dialog, "logFileEdit")->isEnabled());
        QTest::mouseClick(log, Qt::LeftButton);
        for (const char* name : {"logFileEdit", "logFileButton", "logFileMaxSizeEdit"})
            QVERIFY2(Find<QWidget>(dialog, name)->isEnabled(), name);
    }

    void withoutTheServiceTheServerStaysDisabled()
    {
        BaseSettings values = SomeValues();
        values.KorvidMode = 0;
        SettingsDialog dialog(values, Context());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* server = Find<QGroupBox>(dialog, "serverGroup");
        QVERIFY(server->isVisible());
        QVERIFY(!server->isEnabled());
        QVERIFY(!Find<QWidget>(dialog, "serverTestButton")->isEnabled());
        QTest::mouseClick(Find<QCheckBox>(dialog, "localBox"), Qt::LeftButton);
        QVERIFY(!server->isEnabled());
        QTest::mouseClick(Find<QCheckBox>(dialog, "localBox"), Qt::LeftButton);
        QVERIFY(!server->isEnabled());
    }

    void tessalineModeShowsTheFolderListInsteadOfTheServer()
    {
        SettingsDialog korvid(SomeValues(0), Context());
        korvid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&korvid));
        QVERIFY(Find<QGroupBox>(korvid, "serverGroup")->isVisible());
        QVERIFY(!Find<QPushButton>(korvid, "folderListButton")->isVisible());

        SettingsDialog tessaline(SomeValues(1), Context());
        tessaline.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tessaline));
        QVERIFY(!Find<QGroupBox>(tessaline, "serverGroup")->isVisible());
        QVERIFY(!Find<QGroupBox>(tessaline, "serverGroup")->isEnabled());
        QVERIFY(Find<QPushButton>(tessaline, "folderListButton")->isVisible());
        QVERIFY(!Find<QLabel>(tessaline, "modeIcon")->pixmap().isNull());
        QCOMPARE(Find<QCheckBox>(tessaline, "logBox")->text(),
                 QString("Aktivitäten von ts_print in Datei loggen (Historie) ?"));
        // The local box does not bring the server group back.
        QTest::mouseClick(Find<QCheckBox>(tessaline, "localBox"), Qt::LeftButton);
        QTest::mouseClick(Find<QCheckBox>(tessaline, "localBox"), Qt::LeftButton);
        QVERIFY(!Find<QGroupBox>(tessaline, "serverGroup")->isVisible());
        QVERIFY(!Find<QGroupBox>(tessaline, "serverGroup")->isEnabled());
    }

    void folderListReplacesTheCopyOnlyOnOk()
    {
        RecordingMessageBoxes boxes;
        BaseSettings values = SomeValues(1);
        values.MainFolders = {"nord", "süd"};
        SettingsDialog dialog(values, Context());
        OnNextModal<MainFolderListDialog>([](MainFolderListDialog* list) { list->reject(); });
        Find<QPushButton>(dialog, "folderListButton")->click();
        boxes.answers = {BoxButton::Yes};
        OnNextModal<MainFolderListDialog>([](MainFolderListDialog* list) {
            Child<QPushButton>(list, "removeButton")->click();
            list->accept();
        });
        Find<QPushButton>(dialog, "folderListButton")->click();
        ClickOk(dialog);
        QCOMPARE(dialog.Values().MainFolders, std::vector<std::string>{"süd"});
    }

    void serverTestAsksForThePingScriptOnTheTypedPort()
    {
        RecordingMessageBoxes boxes;
        ScriptedServer server;
        server.Accept().ReadRequest().Send("HTTP/1.0 200 OK\r\n\r\nbereit\r\n und wach\r\n").Close();
        server.Start();
        SettingsDialog dialog(SomeValues(), Context());
        SetText(dialog, "serverEdit", "127.0.0.1");
        Find<QComboBox>(dialog, "portCombo")->setEditText(QString::number(server.Port()) + "x");
        SetText(dialog, "serverFolderEdit", "korvid");
        Find<QPushButton>(dialog, "serverTestButton")->click();
        server.Finish();
        QCOMPARE(server.Received().at(0), std::string("GET /korvid/kv_ping.php? HTTP/1.0"));
        QCOMPARE(boxes.boxes.size(), size_t(1));
        QCOMPARE(boxes.boxes[0].text,
                 std::string("Der Web-Server 127.0.0.1 wurde erfolgreich angesprochen!\n\n\nbereit und wach"));
        QCOMPARE(boxes.boxes[0].caption, std::string("Test des Korvid-Servers (HTTP)"));
        QCOMPARE(cursor.depth, 0);
        QVERIFY(cursor.shown > 0);
    }

    void serverTestWithoutANumberUsesTheDefaultPort()
    {
        RecordingMessageBoxes boxes;
        // The HTTP client's default port, 80, taken for the test.
        std::atomic<bool> stop{false};
        ServerSocket listener = ServerSocket::Listen("127.0.0.1", &stop, 80);
        QVERIFY2(listener.IsOpen(), "port 80 on 127.0.0.1 is needed for this test");
        std::string requestLine;
        std::thread web([&] {
            ServerSocket connection = listener.Accept(30000);
            // The whole request head is read before the answer goes out.
            std::string line;
            while (connection.ReadLine(line, 30000) && line != "\r\n" && line != "\n")
                if (requestLine.empty())
                    requestLine = line;
            connection.SendAll("HTTP/1.0 200 OK\r\n\r\nPort 80\r\n");
            connection.Close();
        });
        SettingsDialog dialog(SomeValues(), Context());
        SetText(dialog, "serverEdit", "127.0.0.1");
        Find<QComboBox>(dialog, "portCombo")->setEditText("abc");
        Find<QPushButton>(dialog, "serverTestButton")->click();
        stop = true;
        web.join();
        QCOMPARE(requestLine.rfind("GET /korvid/kv_ping.php? HTTP/1.0", 0), size_t(0));
        QCOMPARE(boxes.boxes.size(), size_t(1));
        QCOMPARE(boxes.boxes[0].text,
                 std::string("Der Web-Server 127.0.0.1 wurde erfolgreich angesprochen!\n\n\nPort 80"));
    }

    void storeTestWithTheValuesShown()
    {
        RecordingMessageBoxes boxes;
        LocalFtpServer ftp;
        std::string error;
        QVERIFY2(ftp.Start(error), error.c_str());
        std::filesystem::create_directories(ftp / "pub");
        DialogContext context = Context();
        const int port = ftp.Port();
        context.makeStoreClient = [port] {
            auto client = std::make_unique<FtpClient>();
            client->SetControlPort(port);
            client->SetSftpPort(UnusedLocalPort());
            return client;
        };
        SettingsDialog dialog(SomeValues(), context);
        SetText(dialog, "storeServerEdit", "127.0.0.1");
        SetText(dialog, "storeUserEdit", LocalFtpServer::kUser);
        SetText(dialog, "storePasswordEdit", LocalFtpServer::kPassword);
        SetText(dialog, "storeFolderEdit", "/pub");
        Find<QCheckBox>(dialog, "passiveBox")->setChecked(true);
        Find<QPushButton>(dialog, "storeTestButton")->click();
        QCOMPARE(boxes.boxes.size(), size_t(1));
        QCOMPARE(boxes.boxes[0].caption, std::string("FTP-Verbindung zum FTP-Lager:"));
        QVERIFY(boxes.boxes[0].text.find("\n\n\t/pub\n\n") != std::string::npos);

        // Refused by FTP, or by SFTP once the store speaks it: either way the SFTP wording.
        SetText(dialog, "storePasswordEdit", "falsch");
        Find<QCheckBox>(dialog, "sftpBox")->setChecked(true);
        Find<QPushButton>(dialog, "storeTestButton")->click();
        QCOMPARE(boxes.boxes.size(), size_t(2));
        QCOMPARE(boxes.boxes[1].caption, std::string("Fehler bei FTP-Operation:"));
        QCOMPARE(boxes.boxes[1].text.rfind("Error: Konnte nicht beim SFTP-Server 127.0.0.1 mit Nutzer station anmelden!", 0),
                 size_t(0));
        QCOMPARE(cursor.depth, 0);
    }

    void logFileWithoutExtensionGetsLog()
    {
        ScratchFolder folder;
        std::filesystem::create_directories(folder / "alt");
        std::filesystem::create_directories(folder / "neu");
        BaseSettings values = SomeValues();
        values.LogFileName = folder / "alt/kv_print.log";
        SettingsDialog dialog(values, Context());
        Find<QCheckBox>(dialog, "logBox")->setChecked(true);
        QString openedIn;
        QStringList proposed;
        OnNextModal<QFileDialog>([&](QFileDialog* files) {
            openedIn = files->directory().absolutePath();
            proposed = files->selectedFiles();
            files->setDirectory(QString::fromStdString(folder / "neu"));
            files->findChild<QLineEdit*>("fileNameEdit")->setText("history");
            static_cast<QDialog*>(files)->accept();
        });
        Find<QPushButton>(dialog, "logFileButton")->click();
        QCOMPARE(openedIn, QString::fromStdString(folder / "alt"));
        QCOMPARE(proposed, QStringList{QString::fromStdString(folder / "alt/kv_print.log")});
        QCOMPARE(Find<QLineEdit>(dialog, "logFileEdit")->text(), QString::fromStdString(folder / "neu/history.log"));

        // Cancel changes nothing.
        OnNextModal<QFileDialog>([](QFileDialog* files) { files->reject(); });
        Find<QPushButton>(dialog, "logFileButton")->click();
        QCOMPARE(Find<QLineEdit>(dialog, "logFileEdit")->text(), QString::fromStdString(folder / "neu/history.log"));
    }

    void folderBrowsers()
    {
        ScratchFolder folder;
        std::filesystem::create_directories(folder / "spool");
        std::filesystem::create_directories(folder / "quelle");
        SettingsDialog dialog(SomeValues(), Context());
        QString title;
        OnNextModal<QFileDialog>([&](QFileDialog* files) {
            title = files->windowTitle();
            files->setDirectory(QString::fromStdString(folder / "spool"));
            static_cast<QDialog*>(files)->accept();
        });
        Find<QPushButton>(dialog, "spoolFolderButton")->click();
        QCOMPARE(title, QString("Auswahl des Verzeichnises unterhalb dessen die Spool-Verzeichnisse erzeugt werden"));
        QCOMPARE(Find<QLineEdit>(dialog, "spoolFolderEdit")->text(), QString::fromStdString(folder / "spool"));

        Find<QCheckBox>(dialog, "localBox")->setChecked(true);
        OnNextModal<QFileDialog>([&](QFileDialog* files) {
            title = files->windowTitle();
            files->setDirectory(QString::fromStdString(folder / "quelle"));
            static_cast<QDialog*>(files)->accept();
        });
        Find<QPushButton>(dialog, "localFolderButton")->click();
        QCOMPARE(title, QString("Hauptverzeichnis (lokal):"));
        QCOMPARE(Find<QLineEdit>(dialog, "localFolderEdit")->text(), QString::fromStdString(folder / "quelle/"));
    }

    void settingsFileWrittenFromTheDialogLoadsBack()
    {
        ScratchFolder folder;
        StationSettings settings;
        settings.IniPath = folder / "kv_print.ini";
        settings.ProgramFolder = folder.Path();
        settings.SpoolDir = folder.Path();
        settings.LogFileName = settings.DefaultLogFileName();
        settings.MainFolders = {"nord"};
        settings.DlDir = "/srv/dl";

        SettingsDialog dialog(BaseSettingsOf(settings), Context());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        SetText(dialog, "serverEdit", "web.example.org");
        Find<QComboBox>(dialog, "portCombo")->setEditText("8080");
        SetText(dialog, "serverFolderEdit", "kv");
        SetText(dialog, "storeServerEdit", "lager.example.org");
        SetText(dialog, "storeUserEdit", "bibliothek");
        Find<QLineEdit>(dialog, "storePasswordEdit")->clear();
        QTest::keyClicks(Find<QLineEdit>(dialog, "storePasswordEdit"), "Pass w");
        Find<QLineEdit>(dialog, "storePasswordEdit")->insert("ö");
        QTest::keyClicks(Find<QLineEdit>(dialog, "storePasswordEdit"), "rt#1");
        SetText(dialog, "storeFolderEdit", "/lager");
        Find<QCheckBox>(dialog, "sftpBox")->setChecked(true);
        Find<QCheckBox>(dialog, "errorBox")->setChecked(true);
        QTest::mouseClick(Find<QCheckBox>(dialog, "localBox"), Qt::LeftButton);
        SetText(dialog, "localFolderEdit", "/srv/quelle/");
        SetText(dialog, "pollingRateEdit", "45");
        SetText(dialog, "spoolFolderEdit", "/srv/spool");
        Find<QCheckBox>(dialog, "logBox")->setChecked(true);
        SetText(dialog, "logFileEdit", "/srv/log/history.log");
        SetText(dialog, "logFileMaxSizeEdit", "3000");
        ClickOk(dialog);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Values().KV_FTP_Store_Password, std::string("Pass wört#1"));

        TakeOverBaseSettings(dialog.Values(), settings);
        SaveSettings(settings);
        StationSettings loaded;
        loaded.IniPath = settings.IniPath;
        loaded.ProgramFolder = settings.ProgramFolder;
        LoadSettings(loaded);
        QVERIFY(BaseSettingsOf(loaded) == dialog.Values());
        QCOMPARE(loaded.KV_FTP_Store_Password, std::string("Pass wört#1"));
        QCOMPARE(loaded.LocalFsMode, 1);
        QCOMPARE(loaded.KV_Sftp_Mode, 1);
        QCOMPARE(loaded.Polling_Rate, 45);
        QCOMPARE(loaded.MainFolders, std::vector<std::string>{"nord"});
        QCOMPARE(loaded.DlDir, std::string("/srv/dl"));
    }
};

QTEST_MAIN(SettingsDialogTest)
#include "settings_dialog_test.moc"
