// The main window as a user sees it, offscreen.
#include "app/main_window.h"

#include "app/qt_message_boxes.h"
#include "app/run_panel.h"
#include "config/file_utilities.h"
#include "spool/polling_cycle.h"
#include "spool/settings_save.h"
#include "support/test_files.h"
#include "station_window.h"
#include "tools/modal_driver.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QtTest>

#include <algorithm>

template <>
char* QTest::toString(const std::string& text)
{
    return qstrdup(text.c_str());
}

namespace {

constexpr int kWaitLimit = 30000;  // milliseconds; only bounds waits that cannot hang

bool AnyStartsWith(const std::vector<std::string>& messages, const std::string& start)
{
    return std::any_of(messages.begin(), messages.end(),
                       [&](const std::string& message) { return message.rfind(start, 0) == 0; });
}

}  // namespace

// Qt's boxes, noting the override cursor before, while and after each is open.
class CursorWatchingBoxes : public MessageBoxSeam {
public:
    int Show(const std::string& text, const std::string& caption, unsigned style) override
    {
        std::vector<int> shapes{Shape()};
        OnNextModal<QMessageBox>([&](QMessageBox* box) {
            shapes.push_back(Shape());
            box->buttons().first()->click();
        });
        int pressed = boxes.Show(text, caption, style);
        shapes.push_back(Shape());
        seen.push_back(shapes);
        return pressed;
    }

    static int Shape() { return QGuiApplication::overrideCursor() ? QGuiApplication::overrideCursor()->shape() : -1; }

    QtMessageBoxes boxes;
    std::vector<std::vector<int>> seen;
};

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void titleFollowsTheNameStartedUnder()
    {
        for (const char* name : {"kv_print", "ts_print", "KV_PRINT"}) {
            StationWindow station(name);
            station.Open();
            QString mode = QString::fromLatin1(name).compare("ts_print", Qt::CaseInsensitive) == 0
                               ? "Tessaline" : "KORVID";
            QCOMPARE(station.window->windowTitle(),
                     QString(name) + " - " + mode + "-PDF-Ausgabeprogramm Version 3.0.2 (Jun 25 2013 16:27:31)");
            QVERIFY(!station.window->windowIcon().isNull());
        }
    }

    void firstLinesNameVersionAndInstitution()
    {
        StationWindow service;
        service.LocalSettings();
        SaveSettings(service.LocalSettings());
        service.Open();
        std::vector<std::string> messages = service.Messages();
        QVERIFY(messages.size() >= 2);
        QCOMPARE(messages[0], service.values.VersionText);
        QCOMPARE(messages[1], std::string("Zugeordnete Institution: Stadtbibliothek Nord (4711, SBN)"));

        StationWindow standalone;
        SaveSettings(standalone.LocalSettings());
        WriteIniInt("MAIN", "KorvidMode", 0, standalone.values.IniPath);
        standalone.Open();
        QCOMPARE(standalone.Messages().at(1), std::string("Zugeordnete Institution: Stadtbibliothek Nord (4711)"));

        StationWindow tessaline("ts_print");
        SaveSettings(tessaline.LocalSettings());
        tessaline.Open();
        QCOMPARE(tessaline.Messages().at(0), tessaline.values.VersionText);
        QVERIFY(!AnyStartsWith(tessaline.Messages(), "Zugeordnete Institution"));
    }

    void secondModeMenuHasNoInstitutionCommand()
    {
        StationWindow korvid;
        korvid.Open();
        QVERIFY(korvid.Command("&Institution zuordnen ...") != nullptr);
        QVERIFY(korvid.Command("&Über KV_PRINT ...") != nullptr);

        StationWindow tessaline("ts_print");
        tessaline.Open();
        QStringList settingsMenu;
        for (QAction* action : tessaline.MenuActions("&Einstellungen"))
            settingsMenu << action->text();
        QCOMPARE(settingsMenu, QStringList({"&Grundeinstellungen ...", "&Drucker zuordnen ..."}));
        QStringList helpMenu;
        for (QAction* action : tessaline.MenuActions("&Hilfe"))
            helpMenu << action->text();
        QCOMPARE(helpMenu, QStringList({"Info über ts_print"}));
    }

    void logCommandsOnlyWhileLogging()
    {
        for (int doLog : {0, 1}) {
            StationWindow station;
            StationSettings settings = station.LocalSettings();
            settings.DoLog = doLog;
            SaveSettings(settings);
            station.Open();
            QCOMPARE(station.Command("Log-Datei anzeigen...")->isEnabled(), doLog == 1);
            QCOMPARE(station.Command("Log-Datei löschen ...")->isEnabled(), doLog == 1);
            QVERIFY(station.Command("&Ende")->isEnabled());
        }
    }

    void incompleteConfigurationLeavesTheStationStopped()
    {
        StationWindow station;
        station.Open();
        station.Button("start")->click();

        QVERIFY(!station.boxes.boxes.empty());
        QCOMPARE(station.boxes.boxes[0].caption, std::string("PDF-Druckprogramm nicht gefunden!"));
        QVERIFY(station.Button("start")->isEnabled());
        QVERIFY(!station.Button("stop")->isEnabled());
        QVERIFY(!AnyStartsWith(station.Messages(), "Start (Polling-Rate"));
    }

    void startCycleAndStopInLocalMode()
    {
        StationWindow station;
        SaveSettings(station.LocalSettings());
        std::string delivery = station.AddDocument("DELV", "lieferung.pdf");
        std::string slip = station.AddDocument("RL", "leihschein.pdf");
        station.Open();

        station.Button("start")->click();
        QVERIFY(!station.Button("start")->isEnabled());
        QVERIFY(station.Button("stop")->isEnabled());
        QVERIFY(station.Logged("Start (Polling-Rate 1 Sekunden)"));
        QVERIFY(station.Logged("Lokaler Modus, kein FTP/SFTP Server !"));
        QVERIFY(station.Logged("Drucker (Lieferungen):      lieferungen"));
        QVERIFY2(AnyStartsWith(station.Messages(), "Drucke nun lieferung.pdf"), station.Dump());
        QVERIFY2(AnyStartsWith(station.Messages(), "Drucke nun leihschein.pdf"), station.Dump());
        QVERIFY(!std::filesystem::exists(delivery));
        QVERIFY(!std::filesystem::exists(station.folder / "SPOOL/DELV/lieferung.pdf"));

        // The next document comes with a tick of the polling timer.
        std::string cover = station.AddDocument("FRONTSH", "deckblatt.pdf");
        QTRY_VERIFY_WITH_TIMEOUT(AnyStartsWith(station.Messages(), "Drucke nun deckblatt.pdf"), kWaitLimit);
        QVERIFY(station.Logged("----------------> Polling ..."));
        QTRY_VERIFY_WITH_TIMEOUT(!std::filesystem::exists(station.folder / "SPOOL/FRONTSH/deckblatt.pdf"),
                                 kWaitLimit);

        station.Button("stop")->click();
        QCOMPARE(station.Messages().back(), std::string("Stopp"));
        QVERIFY(station.Button("start")->isEnabled());
        QVERIFY(!station.Button("stop")->isEnabled());
        QVERIFY(station.window->findChild<QLineEdit*>("status")->text().isEmpty());

        std::string logFile = ReadTestFile(station.folder / "kv_print.log");
        QVERIFY(logFile.find("Start (Polling-Rate 1 Sekunden)") != std::string::npos);
        QVERIFY(logFile.find("Stopp") != std::string::npos);
    }

    void settingsCommandsAreRefusedWhileRunning()
    {
        StationWindow station;
        SaveSettings(station.LocalSettings());
        station.Open();
        station.Button("start")->click();
        station.boxes.boxes.clear();

        for (const char* command : {"&Grundeinstellungen ...", "&Institution zuordnen ...", "&Drucker zuordnen ..."}) {
            station.Command(command)->trigger();
            QCOMPARE(station.boxes.boxes.size(), size_t(1));
            QCOMPARE(station.boxes.boxes[0].caption, std::string("Operation nicht möglich"));
            QCOMPARE(station.boxes.boxes[0].text,
                     std::string("Stoppen Sie zunächst die Aktivitäten durch Betätigen des STOPP-Buttons."));
            QCOMPARE(station.boxes.boxes[0].style, BoxStyle::Error);
            station.boxes.boxes.clear();
        }

        station.Button("stop")->click();
        QString opened;
        OnNextModal<QDialog>([&opened](QDialog* dialog) {
            opened = dialog->windowTitle();
            dialog->reject();
        });
        station.Command("&Grundeinstellungen ...")->trigger();
        QCOMPARE(opened, QString("Grundeinstellungen"));
        QVERIFY(station.boxes.boxes.empty());
    }

    void closingWhileRunningLogsTheEndButNoStopp()
    {
        StationWindow station;
        SaveSettings(station.LocalSettings());
        station.Open();
        station.Button("start")->click();
        QVERIFY(station.Button("stop")->isEnabled());

        station.boxes.defaultAnswer = BoxButton::Yes;  // to the question while polling runs
        QTest::keyClick(station.window.get(), Qt::Key_Escape);
        QVERIFY(!station.window->isVisible());
        QCOMPARE(station.window->result(), int(QDialog::Rejected));
        QVERIFY(!station.Logged("Stopp"));
        std::string logFile = ReadTestFile(station.folder / "kv_print.log");
        QVERIFY(logFile.find("Start (Polling-Rate") != std::string::npos);
        QVERIFY(logFile.find("Stopp") == std::string::npos);
        QVERIFY(logFile.ends_with("> Ende\n"));
    }

    void enterEndsTheProgramWithoutSaving()
    {
        StationWindow station;
        SaveSettings(station.LocalSettings());
        std::string before = ReadTestFile(station.values.IniPath);
        station.Open();
        station.AutoStartBox()->setChecked(true);  // not a click: nothing saved

        QTest::keyClick(station.window.get(), Qt::Key_Return);
        QVERIFY(!station.window->isVisible());
        QCOMPARE(station.window->result(), int(QDialog::Accepted));
        QCOMPARE(ReadTestFile(station.values.IniPath), before);
    }

    void enterOnAFocusedRunButtonPressesIt()
    {
        StationWindow station;
        SaveSettings(station.LocalSettings());
        station.Open();
        QVERIFY(QTest::qWaitForWindowActive(station.window.get()));
        for (const char* name : {"start", "stop"}) {
            QPushButton* button = station.Button(name);
            button->setFocus();
            QTest::keyClick(button, Qt::Key_Return);
            QVERIFY2(station.window->isVisible(), name);
            QVERIFY2(!button->isEnabled(), name);  // pressed: now the other one is enabled
        }
    }

    void boxesWhileBusyShowTheArrowOverTheBusyCursor()
    {
        CursorWatchingBoxes boxes;
        InstallMessageBoxes(&boxes);
        OverrideWaitCursor busy;
        busy.Show();
        ShowMessageBox("Fehler im Zyklus", "ERROR", BoxStyle::Error);
        busy.Hide();
        ShowMessageBox("danach", "ERROR", BoxStyle::Error);
        InstallMessageBoxes(nullptr);
        QCOMPARE(boxes.seen.size(), std::size_t(2));
        QCOMPARE(boxes.seen[0], (std::vector<int>{Qt::WaitCursor, Qt::ArrowCursor, Qt::WaitCursor}));
        QCOMPARE(boxes.seen[1], (std::vector<int>{-1, -1, -1}));  // the widgets' own cursors stay
    }

    // Start's box on the missing SFTP component comes before any cycle; then the first
    // cycle, which Start runs, and one of the timer: the store refuses the log-in.
    void aBoxOfAPollingCycleShowsTheArrowAndTheBusyCursorComesBack()
    {
        StationWindow station;
        StationSettings settings = station.LocalSettings();
        settings.LocalFsMode = 0;
        settings.KV_FTP_Store = "127.0.0.1";
        settings.KV_FTP_Store_User = "bibliothek";
        settings.KV_FTP_Store_Password = "geheim";
        settings.OnErrorLogOnly = 0;
        SaveSettings(settings);
        station.Open();
        CursorWatchingBoxes boxes;
        InstallMessageBoxes(&boxes);
        station.Button("start")->click();
        QTRY_COMPARE_WITH_TIMEOUT(boxes.seen.size(), std::size_t(3), kWaitLimit);
        station.Button("stop")->click();
        InstallMessageBoxes(nullptr);
        QCOMPARE(boxes.seen[0], (std::vector<int>{-1, -1, -1}));
        for (const std::vector<int>& shapes : {boxes.seen[1], boxes.seen[2]})
            QCOMPARE(shapes, (std::vector<int>{Qt::WaitCursor, Qt::ArrowCursor, Qt::WaitCursor}));
        QCOMPARE(CursorWatchingBoxes::Shape(), -1);
    }

    void checkBoxSavesTheWholeSettingsFile()
    {
        StationWindow station;
        std::ofstream(station.values.IniPath) << "[MAIN]\nPolling_Rate=17\n";
        station.Open();
        QVERIFY(!station.AutoStartBox()->isChecked());

        QTest::mouseClick(station.AutoStartBox(), Qt::LeftButton);
        const std::string& ini = station.values.IniPath;
        QCOMPARE(ReadIniInt("MAIN", "AutoStart", -1, ini), 1);
        QCOMPARE(ReadIniInt("MAIN", "Polling_Rate", -1, ini), 17);
        QCOMPARE(ReadIniText("MAIN", "Printer_PDF_Prog_Params", "", ini), std::string(kDefaultPrintParams));
        QCOMPARE(ReadIniText("MAIN", "KV_Main_Dir", "", ini), std::string("korvid"));

        QTest::mouseClick(station.AutoStartBox(), Qt::LeftButton);
        QCOMPARE(ReadIniInt("MAIN", "AutoStart", -1, ini), 0);
    }

    void autoStartRunsOnceTheWindowIsShown()
    {
        StationWindow station;
        StationSettings settings = station.LocalSettings();
        settings.AutoStart = 1;
        SaveSettings(settings);
        station.Open();
        QVERIFY(station.AutoStartBox()->isChecked());
        QVERIFY(!AnyStartsWith(station.Messages(), "Start (Polling-Rate"));

        QTRY_VERIFY_WITH_TIMEOUT(station.Logged("Start (Polling-Rate 1 Sekunden)"), kWaitLimit);
        QVERIFY(station.Button("stop")->isEnabled());
    }

    void boxesInsideACycleLetTicksThroughWithoutNestingCycles()
    {
        StationWindow station;
        StationSettings settings = station.LocalSettings();
        settings.LocalFsMode = 0;
        settings.KV_FTP_Store = "127.0.0.1";
        settings.Polling_Rate = 0;  // the shortest interval
        settings.KV_FTP_Store_User = "bibliothek";
        settings.KV_FTP_Store_Password = "geheim";
        settings.KV_FTP_Store_Password = "geheim";
        SaveSettings(settings);
        station.Open();

        int open = 0;
        int mostOpen = 0;
        station.boxes.onShow = [&] {
            mostOpen = std::max(mostOpen, ++open);
            QTest::qWait(50);  // ticks come in while the box is open
            --open;
        };
        station.Button("start")->click();
        QTRY_VERIFY_WITH_TIMEOUT(station.boxes.boxes.size() >= 4, kWaitLimit);
        station.Button("stop")->click();

        QCOMPARE(mostOpen, 1);
        for (const ShownBox& box : station.boxes.boxes) {
            if (box.caption != "FEHLER")
                QCOMPARE(box.caption, std::string("Error during FTP-Operation"));
        }
    }

    void anotherNameRunsTheFirstModeWithoutSettingsFile()
    {
        StationWindow station("print_station");
        station.Open();
        QVERIFY(station.window->windowTitle().startsWith("print_station - KORVID-PDF-Ausgabeprogramm"));
        QVERIFY(station.Command("&Institution zuordnen ...") != nullptr);
        QVERIFY(station.Logged("Zugeordnete Institution:  (, )"));

        QTest::mouseClick(station.AutoStartBox(), Qt::LeftButton);
        QTest::mouseClick(station.AutoStartBox(), Qt::LeftButton);
        QCOMPARE(station.boxes.boxes.size(), std::size_t(1));
        QVERIFY(station.boxes.boxes[0].text.find("keine Einstellungsdatei") != std::string::npos);
        for (const auto& entry : std::filesystem::directory_iterator(station.folder.Path()))
            QVERIFY2(entry.path().extension() != ".ini", entry.path().c_str());
    }

    void logListKeepsItsOrderAndLosesLinesFromTheTop()
    {
        LogListWidget list;
        for (const char* line : {"eins", "zwei", "drei", "vier"})
            list.Append(line);
        list.RemoveFirst(2);
        QCOMPARE(list.Lines(), std::vector<std::string>({"drei", "vier"}));
        list.RemoveFirst(5);
        QCOMPARE(list.Count(), 0);
    }

    void progressBarsTakeRangesBeyondInt()
    {
        RunPanel panel;
        auto* bar = panel.findChild<QProgressBar*>("fileProgress");
        const std::int64_t size = 6'000'000'000;
        panel.SetFileProgressRange(0, size);
        panel.SetFileProgressPosition(size / 2);
        QVERIFY(bar->maximum() > 0);
        QCOMPARE(bar->value(), bar->maximum() / 2);
        panel.SetFileProgressPosition(size);
        QCOMPARE(bar->value(), bar->maximum());

        panel.SetFolderProgressRange(3, 3);  // an empty folder: an empty bar, not a busy one
        panel.SetFolderProgressPosition(3);
        auto* folderBar = panel.findChild<QProgressBar*>("folderProgress");
        QVERIFY(folderBar->maximum() > folderBar->minimum());
        QCOMPARE(folderBar->value(), 0);
    }

    void logListIsFixedPitch()
    {
        StationWindow station;
        station.Open();
        QFontInfo shown(station.List().font());
        QVERIFY(shown.fixedPitch());
        QCOMPARE(shown.family(), QString::fromStdString(LogFontFamily()));
        QVERIFY(QFontMetrics(station.List().font()).height() <= 16);
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
