// The main window's three settings commands, chosen from its menu, offscreen.
#include "app/station_window.h"
#include "config/file_utilities.h"
#include "spool/settings_save.h"
#include "tools/modal_driver.h"
#include "ui/institution_data_dialog.h"
#include "ui/printer_assignment_dialog.h"
#include "ui/settings_dialog.h"
#include "ui/spool_folder_list_dialog.h"

#include <QLineEdit>
#include <QtTest>

template <>
char* QTest::toString(const std::string& text)
{
    return qstrdup(text.c_str());
}

namespace {

const char* const kBaseSettings = "&Grundeinstellungen ...";
const char* const kPrinters = "&Drucker zuordnen ...";
const char* const kInstitution = "&Institution zuordnen ...";

StationSettings Reloaded(const StationWindow& station)
{
    StationSettings settings;
    settings.IniPath = station.values.IniPath;
    settings.ProgramFolder = station.values.ProgramFolder;
    settings.TessalineMode = station.values.TessalineMode;
    LoadSettings(settings);
    return settings;
}

}  // namespace

class MainWindowCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void baseSettingsTakeOverCreateFoldersAndSave()
    {
        StationWindow station;
        SaveSettings(station.LocalSettings());
        station.Open();
        const std::string newSpool = station.folder / "spool-neu";
        std::filesystem::create_directories(newSpool);
        QVERIFY(station.Command("Log-Datei löschen ...")->isEnabled());

        OnNextModal<SettingsDialog>([&](SettingsDialog* dialog) {
            Child<QLineEdit>(dialog, "pollingRateEdit")->setText("30");
            Child<QLineEdit>(dialog, "spoolFolderEdit")->setText(QString::fromStdString(newSpool));
            Child<QCheckBox>(dialog, "logBox")->setChecked(false);
            Child<QPushButton>(dialog, "okButton")->click();
        });
        station.Command(kBaseSettings)->trigger();
        QCOMPARE(Reloaded(station).Polling_Rate, 30);
        QCOMPARE(Reloaded(station).SpoolDir, newSpool);
        QVERIFY(std::filesystem::is_directory(newSpool + "/SPOOL/DELV"));
        QVERIFY(station.Logged("Verz. " + newSpool + "/SPOOL erzeugt!"));
        // Without DoLog the log commands are off.
        QVERIFY(!station.Command("Log-Datei löschen ...")->isEnabled());
        QVERIFY2(station.boxes.boxes.empty(), station.boxes.boxes.empty() ? "" : station.boxes.boxes[0].text.c_str());
    }

    void printersOfTheKorvidMode()
    {
        StationWindow station;
        SaveSettings(station.LocalSettings());
        station.Open();
        OnNextModal<PrinterAssignmentDialog>([](PrinterAssignmentDialog* dialog) {
            Child<QLineEdit>(dialog, "deliveryEdit")->setText("station-pdf");
            dialog->accept();
        });
        station.Command(kPrinters)->trigger();
        QCOMPARE(Reloaded(station).Printer_Delivery, std::string("station-pdf"));
    }

    void spoolFolderListCreatesFoldersAlsoAfterCancel()
    {
        StationWindow station("ts_print");
        SaveSettings(station.LocalSettings());
        station.Open();
        const std::string art = station.values.ProgramFolder + "/SPOOL/ART";
        QVERIFY(std::filesystem::is_directory(art));
        std::filesystem::remove(art);
        OnNextModal<SpoolFolderListDialog>([](SpoolFolderListDialog* dialog) {
            Child<QPushButton>(dialog, "cancelButton")->click();
        });
        station.Command(kPrinters)->trigger();
        QVERIFY(std::filesystem::is_directory(art));
        QVERIFY(station.Logged("Verz. " + art + " erzeugt!"));
    }

    void institutionByHand()
    {
        StationWindow station;
        StationSettings settings = station.LocalSettings();
        SaveSettings(settings);
        // KorvidMode is never written by the station; a file may set it by hand.
        WriteIniText("MAIN", "KorvidMode", "0", settings.IniPath);
        station.Open();
        OnNextModal<InstitutionDataDialog>([](InstitutionDataDialog* dialog) {
            Child<QLineEdit>(dialog, "idEdit")->setText("0815");
            dialog->accept();
        });
        station.Command(kInstitution)->trigger();
        const StationSettings saved = Reloaded(station);
        QCOMPARE(saved.KV_Inst_ID, std::string("0815"));
        QCOMPARE(saved.KV_Inst_Name, std::string("Stadtbibliothek Nord"));
        QCOMPARE(saved.KV_Inst_Abbrev, std::string("SBN"));
    }
};

QTEST_MAIN(MainWindowCommandsTest)
#include "main_window_commands_test.moc"
