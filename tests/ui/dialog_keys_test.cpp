// Keys in every dialog: Enter is taken by a focused button and presses "OK" anywhere
// else; Tab goes through the controls as they are read, row by row.
#include "fakes/recording_message_boxes.h"
#include "fakes/recording_wait_cursor.h"
#include "tools/modal_driver.h"
#include "ui/input_box.h"
#include "ui/main_folder_list_dialog.h"
#include "ui/printer_assignment_dialog.h"
#include "ui/settings_dialog.h"
#include "ui/spool_folder_entry_dialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

enum class Outcome { Accepted, Rejected, StaysOpen };

struct EnterCase {
    const char* dialog;
    const char* focused;  // object name of the widget with the focus
    Outcome outcome;
};

RecordingWaitCursor cursor;

std::unique_ptr<QDialog> Make(const QString& name)
{
    if (name == "input")
        return std::make_unique<InputBox>("Titel", "Text", false);
    if (name == "mainFolders")
        return std::make_unique<MainFolderListDialog>(std::vector<std::string>{"a"}, QFont("Courier New"));
    if (name == "spoolEntry")
        return std::make_unique<SpoolFolderEntryDialog>(SpoolFolderEntry{"Aus", "DELV", "", "", ""});
    if (name == "printers")
        return std::make_unique<PrinterAssignmentDialog>(PrinterAssignment{});
    StationSettings settings;
    settings.KV_Server = "127.0.0.1";
    settings.KV_Port = "1";  // nothing listens: the test fails at once
    settings.DoLog = 1;
    DialogContext context;
    context.waitCursor = &cursor;
    return std::make_unique<SettingsDialog>(BaseSettingsOf(settings), context);
}

// What names a control to a reader: its own text, else the label before it in its row.
QString Caption(const QWidget* control)
{
    if (auto* button = qobject_cast<const QAbstractButton*>(control))
        return button->text();
    const QLabel* before = nullptr;
    for (const QLabel* label : control->parentWidget()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        const bool inRow = label->geometry().center().y() > control->geometry().top() &&
                           label->geometry().center().y() < control->geometry().bottom();
        if (label->isVisibleTo(control->window()) && inRow && label->x() < control->x() &&
            (!before || label->x() > before->x()))
            before = label;
    }
    return before ? before->text() : control->objectName();
}

}  // namespace

class DialogKeysTest : public QObject {
    Q_OBJECT

private slots:
    void enterPressesTheFocusedButtonElseOk_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("focused");
        QTest::addColumn<int>("outcome");
        const EnterCase cases[] = {
            {"input", "textEdit", Outcome::Accepted},
            {"input", "cancelButton", Outcome::Rejected},
            {"mainFolders", "folderList", Outcome::Accepted},
            {"mainFolders", "cancelButton", Outcome::Rejected},
            {"mainFolders", "addButton", Outcome::StaysOpen},
            {"spoolEntry", "descriptionEdit", Outcome::Accepted},
            {"spoolEntry", "printerButton", Outcome::StaysOpen},
            {"spoolEntry", "cancelButton", Outcome::Rejected},
            {"printers", "programButton", Outcome::StaysOpen},
            {"settings", "serverEdit", Outcome::Accepted},
            {"settings", "serverTestButton", Outcome::StaysOpen},
            {"settings", "logFileButton", Outcome::StaysOpen},
            {"settings", "okButton", Outcome::Accepted},
            {"settings", "cancelButton", Outcome::Rejected},
        };
        for (const EnterCase& c : cases)
            QTest::newRow((std::string(c.dialog) + "/" + c.focused).c_str()) << c.dialog << c.focused << int(c.outcome);
    }

    void enterPressesTheFocusedButtonElseOk()
    {
        QFETCH(QString, dialog);
        QFETCH(QString, focused);
        QFETCH(int, outcome);
        RecordingMessageBoxes boxes;
        std::unique_ptr<QDialog> shown = Make(dialog);
        shown->show();
        QVERIFY(QTest::qWaitForWindowActive(shown.get()));
        auto* widget = shown->findChild<QWidget*>(focused);
        QVERIFY(widget);
        widget->setEnabled(true);
        widget->setFocus();
        // An inner button opens a picker, a list or a box: it is closed again at once.
        bool opened = false;
        QPointer<QTimer> watch = OnNextModal<QDialog>([&](QDialog* inner) {
            opened = true;
            inner->reject();
        });
        QTest::keyClick(widget, Qt::Key_Return);
        delete watch;
        const Outcome seen = shown->isVisible() ? Outcome::StaysOpen
            : shown->result() == QDialog::Accepted ? Outcome::Accepted : Outcome::Rejected;
        QCOMPARE(int(seen), outcome);
        if (seen == Outcome::StaysOpen)
            QVERIFY2(opened || !boxes.boxes.empty(), "the button did nothing");
    }

    void tabFollowsTheReadingOrder_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QStringList>("order");
        const QString test = "Verbindung testen ...";
        QTest::newRow("settings") << "settings"
                                  << QStringList{"lokaler Modus (Dateisystem, KEIN FTP/SFTP Server wird benutzt)",
                                                 "Korvid-Server:", "Port:", "Haupt-Verzeichnis:", test, "FTP-Server:",
                                                 "Benutzer:", "Passwort:", "Haupt-Verzeichnis:", "passive FTP-Modus ?",
                                                 test, "TLS verwenden (FTPS) ?", "SFTP benutzen ?",
                                                 "Fehler nur loggen ?",
                                                 "Polling-Rate (Sek.):", "Spool-Verzeichnis:", "...",
                                                 "Aktivitäten von kv_print in Datei loggen (Historie) ?", "Log-Datei:",
                                                 "...", "Maximalgröße der Log-Datei in KBytes:", "OK", "Abbrechen"};
        QTest::newRow("spoolEntry") << "spoolEntry"
                                    << QStringList{"Beschreibung:", "Verzeichnisname:", "Drucker zuordnen ...",
                                                   "printerText", "OK", "Abbrechen"};
        QTest::newRow("printers") << "printers"
                                  << QStringList{"zugeordneter Drucker (Deckblätter):", "Auswahl ...",
                                                 "zugeordneter Drucker (RL):", "Auswahl ...",
                                                 "zugeordneter Drucker (Lieferungen):", "Auswahl ...",
                                                 "PDF-Druck-Programm:", "Auswahl", "helpText", "Parameter:", "OK",
                                                 "Abbrechen"};
    }

    void tabFollowsTheReadingOrder()
    {
        QFETCH(QString, dialog);
        QFETCH(QStringList, order);
        std::unique_ptr<QDialog> shown = Make(dialog);
        shown->show();
        QVERIFY(QTest::qWaitForWindowActive(shown.get()));
        QWidget* first = shown->focusWidget();
        QStringList seen;
        do {
            seen << Caption(QApplication::focusWidget());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        } while (QApplication::focusWidget() != first && seen.size() < 60);
        QCOMPARE(seen, order);
    }
};

QTEST_MAIN(DialogKeysTest)
#include "dialog_keys_test.moc"
