// Enter in every dialog: a focused button takes it, anywhere else it presses "OK".
#include "fakes/recording_message_boxes.h"
#include "fakes/recording_wait_cursor.h"
#include "tools/modal_driver.h"
#include "ui/input_box.h"
#include "ui/main_folder_list_dialog.h"
#include "ui/printer_assignment_dialog.h"
#include "ui/settings_dialog.h"
#include "ui/spool_folder_entry_dialog.h"

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
    DialogContext context;
    context.waitCursor = &cursor;
    return std::make_unique<SettingsDialog>(BaseSettingsOf(settings), context);
}

}  // namespace

class EnterKeyTest : public QObject {
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
};

QTEST_MAIN(EnterKeyTest)
#include "enter_key_test.moc"
