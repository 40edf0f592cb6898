// Shows every settings dialog as each product mode opens it and writes a PNG of each
// into the folder given as the first argument. Run by scripts/screenshots under
// Xvfb.
#include "fakes/recording_wait_cursor.h"
#include "app/qt_message_boxes.h"
#include "fixtures/local_web_server.h"
#include "support/scratch_folder.h"
#include "fixtures/sshd_fixture.h"
#include "net/ftp_client.h"
#include "tools/modal_driver.h"
#include "ui/file_pickers.h"
#include "ui/file_filter.h"
#include "ui/german_texts.h"
#include "ui/input_box.h"
#include "ui/institution_data_dialog.h"
#include "ui/institution_selection_dialog.h"
#include "ui/main_folder_list_dialog.h"
#include "ui/printer_assignment_dialog.h"
#include "ui/printer_selection.h"
#include "ui/settings_dialog.h"
#include "ui/spool_folder_entry_dialog.h"
#include "ui/spool_folder_list_dialog.h"
#include "ui/store_connection_check.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QTest>

#include <cstdio>
#include <cstdlib>

namespace {

bool Shoot(QDialog& dialog, const QString& folder, const QString& name)
{
    dialog.show();
    if (!QTest::qWaitForWindowExposed(&dialog))
        return false;
    QTest::qWait(200);
    const QString path = folder + "/" + name + ".png";
    const bool saved = dialog.grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(path));
    dialog.hide();
    return saved;
}

// Grabs the next modal window of that type while it is open, then closes it.
template <typename Dialog>
void ShootNext(const QString& folder, const QString& name, bool& ok)
{
    ok = false;
    OnNextModal<Dialog>([folder, name, &ok](Dialog* dialog) {
        QTest::qWait(300);
        const QString path = folder + "/" + name + ".png";
        ok = dialog->grab().save(path);
        std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
        dialog->reject();
    });
}

// The success box of the store test over SFTP, with the server's key fingerprint, and
// its failure box, with what went wrong below its text.
bool ShootFingerprintBox(const QString& folder)
{
    SshdFixture sshd;
    std::string error;
    if (!sshd.Start(error)) {
        std::fprintf(stderr, "sshd: %s\n", error.c_str());
        return false;
    }
    ScratchFolder home;
    setenv("HOME", home.Path().c_str(), 1);
    QtMessageBoxes boxes;
    InstallMessageBoxes(&boxes);
    RecordingWaitCursor cursor;
    FtpClient client;
    client.SetSftpPort(sshd.Port());
    bool ok = false;
    ShootNext<QMessageBox>(folder, "kv_print-lager-test-sftp", ok);
    StoreConnectionTest({"127.0.0.1", SshdFixture::User(), SshdFixture::Password(), ".", false, true},
                        PSFTP_DLL_DIR, client, cursor);
    bool failed = false;
    ShootNext<QMessageBox>(folder, "kv_print-lager-test-fehler", failed);
    StoreConnectionTest({"127.0.0.1", SshdFixture::User(), "falsch", ".", false, true}, PSFTP_DLL_DIR, client, cursor);
    InstallMessageBoxes(nullptr);
    return ok && failed;
}

StationSettings Settings(int tessalineMode)
{
    StationSettings settings;
    settings.TessalineMode = tessalineMode;
    settings.ProgramFolder = "/opt/station";
    settings.SpoolDir = "/opt/station";
    settings.LogFileName = settings.DefaultLogFileName();
    settings.KV_FTP_Store_User = "bibliothek";
    settings.KV_FTP_Store_Password = "geheim";
    settings.DoLog = 1;
    return settings;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    InstallGermanTexts();
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    const QString icons = STATION_SOURCE_DIR "/src/app/icons/";
    RecordingWaitCursor cursor;
    const QFont listFont("Courier New");
    bool ok = true;

    for (int tessaline : {0, 1}) {
        const QString mode = tessaline ? "ts_print" : "kv_print";
        DialogContext context{mode.toStdString(), QIcon(icons + mode + ".svg"), listFont, &cursor, {}, {}};
        SettingsDialog settings(BaseSettingsOf(Settings(tessaline)), context);
        ok &= Shoot(settings, folder, mode + "-grundeinstellungen");
    }
    {
        StationSettings service = Settings(0);
        service.KorvidMode = 0;
        service.LocalFsMode = 1;
        DialogContext context{"kv_print", QIcon(icons + "kv_print.svg"), listFont, &cursor, {}, {}};
        SettingsDialog settings(BaseSettingsOf(service), context);
        ok &= Shoot(settings, folder, "kv_print-grundeinstellungen-lokal-ohne-dienst");
    }

    StationSettings korvid = Settings(0);
    korvid.Printer_Delivery = "station-pdf";
    korvid.Printer_PDF_Prog = "/usr/local/bin/pdf_print";
    PrinterAssignmentDialog printers(PrinterAssignmentOf(korvid));
    ok &= Shoot(printers, folder, "kv_print-drucker-zuordnen");

    LocalWebServer web;
    std::string error;
    if (!web.Start(LocalWebServer::FixtureRoot(), error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    InstitutionSelectionDialog institution({"127.0.0.1", std::to_string(web.Port()), "korvid"},
                                           {"1003", "Stadtbibliothek A", "STB-A"}, cursor);
    ok &= Shoot(institution, folder, "kv_print-institution-zuordnen");
    InstitutionDataDialog institutionData({"4711", "Stadtbibliothek Nord", ""});
    ok &= Shoot(institutionData, folder, "kv_print-institution-von-hand");

    const SystemPrinters system{{{"station-pdf", "Generic CUPS-PDF Printer (w/ options)", "cups-pdf:/"},
                                 {"buero-laser", "HP LaserJet 4250 Postscript", "socket://192.168.1.20:9100"}},
                                0};
    PrinterSelectionDialog selection(system);
    ok &= Shoot(selection, folder, "drucker-auswaehlen");

    StationSettings tessaline = Settings(1);
    tessaline.SpoolFolders = {{"Auslieferungen", "DELV", "station-pdf", "Generic CUPS-PDF Printer", "cups-pdf:/"},
                              {"Deckblätter", "FRONTSH", "", "", ""},
                              {"Aufsätze aus Zeitschriften", "zeitschriften/aufsaetze", "buero-laser", "", ""}};
    tessaline.MainFolders = {"nord", "sued", "zentrale"};
    SpoolFolderListDialog spoolFolders(SpoolFolderPrintersOf(tessaline), listFont);
    ok &= Shoot(spoolFolders, folder, "ts_print-drucker-zuordnen");
    SpoolFolderEntryDialog entry(tessaline.SpoolFolders[0]);
    ok &= Shoot(entry, folder, "ts_print-spool-verzeichnis");
    MainFolderListDialog mainFolders(tessaline.MainFolders, listFont);
    ok &= Shoot(mainFolders, folder, "ts_print-verzeichnisse-konfigurieren");
    InputBox input("zu durchsuchende Verzeichnisse:", "nord", true, nullptr, "Bitte Verzeichnis eingeben");
    ok &= Shoot(input, folder, "ts_print-verzeichnis-eingeben");

    bool shot = false;
    int filter = 0;
    ShootNext<QFileDialog>(folder, "druck-programm-auswaehlen", shot);
    ProgramFileSelection(nullptr, "Auswahl des PDF-Druck-Programmes (z.B. installierter AcrobatReader oder Ghostscript",
                         kProgramFileFilter, filter);
    ok &= shot;
    ShootNext<QFileDialog>(folder, "log-datei-auswaehlen", shot);
    ChooseLogFile(nullptr, "/tmp/kv_print.log");
    ok &= shot;
    ok &= ShootFingerprintBox(folder);
    return ok ? 0 : 1;
}
