// The printer dialogs, the printer selection on the machine's CUPS and the program file
// selection, offscreen.
#include "fakes/recording_message_boxes.h"
#include "fixtures/cups_fixture.h"
#include "tools/modal_driver.h"
#include "support/scratch_folder.h"
#include "support/test_files.h"
#include "ui/german_texts.h"
#include "ui/printer_assignment.h"
#include "ui/printer_assignment_dialog.h"
#include "ui/printer_selection.h"
#include "ui/spool_folder_entry_dialog.h"
#include "ui/spool_folder_list_dialog.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include <cups/cups.h>

#include <cstdlib>

template <>
char* QTest::toString(const std::string& text)
{
    return qstrdup(text.c_str());
}

namespace {

const PrinterAssignment kAssignment{{"Deckblatt", "front-drv", "front-port"},
                                    {"Rot", "rl-drv", "rl-port"},
                                    {"Liefer", "delv-drv", "delv-port"},
                                    "/usr/bin/lp",
                                    "-d \"$PRINTER$\" $FILE$"};

// Chooses the printer of that name in the selection that opens next.
void ChooseNextPrinter(const QString& name)
{
    OnNextModal<PrinterSelectionDialog>([name](PrinterSelectionDialog* selection) {
        auto* names = Child<QComboBox>(selection, "printerCombo");
        names->setCurrentIndex(names->findText(name));
        selection->accept();
    });
}

}  // namespace

class PrinterDialogsTest : public QObject {
    Q_OBJECT

private:
    CupsPdfQueue queue;

private slots:
    void initTestCase()
    {
        QVERIFY(InstallGermanTexts());
        std::string reason;
        QVERIFY2(SetUpCupsPdfQueue(queue, reason), reason.c_str());
    }

    void assignmentShowsTheSettings()
    {
        PrinterAssignmentDialog dialog(kAssignment);
        QCOMPARE(dialog.windowTitle(), QString("Konfiguration der Drucker"));
        QCOMPARE(Child<QLineEdit>(&dialog, "frontSheetEdit")->text(), QString("Deckblatt"));
        QCOMPARE(Child<QLineEdit>(&dialog, "redSlipsEdit")->text(), QString("Rot"));
        QCOMPARE(Child<QLineEdit>(&dialog, "deliveryEdit")->text(), QString("Liefer"));
        QCOMPARE(Child<QLineEdit>(&dialog, "programEdit")->text(), QString("/usr/bin/lp"));
        QCOMPARE(Child<QLineEdit>(&dialog, "paramsEdit")->text(), QString("-d \"$PRINTER$\" $FILE$"));
        auto* help = Child<QPlainTextEdit>(&dialog, "helpText");
        QVERIFY(help->isReadOnly());
        QCOMPARE(help->toPlainText().toStdString(), PrintProgramHelpText());
        QVERIFY(!Child<QPushButton>(&dialog, "paramsStandardButton"));
        QCOMPARE(dialog.Assignment(), kAssignment);
    }

    void typedNameKeepsDriverAndPort()
    {
        PrinterAssignmentDialog dialog(kAssignment);
        Child<QLineEdit>(&dialog, "redSlipsEdit")->clear();
        QTest::keyClicks(Child<QLineEdit>(&dialog, "redSlipsEdit"), "Neuer Drucker");
        PrinterAssignment expected = kAssignment;
        expected.redSlips.name = "Neuer Drucker";
        QCOMPARE(dialog.Assignment(), expected);
    }

    void chosenPrinterBringsItsDriverAndPort()
    {
        PrinterAssignmentDialog dialog(kAssignment);
        ChooseNextPrinter(QString::fromStdString(queue.queue));
        Child<QPushButton>(&dialog, "deliveryButton")->click();
        QCOMPARE(Child<QLineEdit>(&dialog, "deliveryEdit")->text(), QString::fromStdString(queue.queue));
        const PrinterAssignment chosen = dialog.Assignment();
        QCOMPARE(chosen.delivery.name, queue.queue);
        QVERIFY(chosen.delivery.driver.find("CUPS-PDF") != std::string::npos);
        QCOMPARE(chosen.delivery.port, std::string("cups-pdf:/"));
        QCOMPARE(chosen.frontSheet, kAssignment.frontSheet);

        OnNextModal<PrinterSelectionDialog>([](PrinterSelectionDialog* selection) { selection->reject(); });
        Child<QPushButton>(&dialog, "frontSheetButton")->click();
        QCOMPARE(dialog.Assignment().frontSheet, kAssignment.frontSheet);
    }

    void selectionStartsAtTheDefaultPrinter()
    {
        const SystemPrinters printers{{{"a", "A-Modell", "usb://a"}, {"b", "B-Modell", "ipp://b"},
                                       {"c", "C-Modell", "socket://c"}},
                                      1};
        PrinterSelectionDialog dialog(printers);
        QCOMPARE(Child<QComboBox>(&dialog, "printerCombo")->currentText(), QString("b"));
        QCOMPARE(Child<QLabel>(&dialog, "driverLabel")->text(), QString("B-Modell"));
        QCOMPARE(Child<QLabel>(&dialog, "portLabel")->text(), QString("ipp://b"));
        Child<QComboBox>(&dialog, "printerCombo")->setCurrentIndex(2);
        QCOMPARE(Child<QLabel>(&dialog, "portLabel")->text(), QString("socket://c"));
        QCOMPARE(dialog.Chosen(), (PrinterChoice{"c", "C-Modell", "socket://c"}));

        PrinterSelectionDialog noDefault({printers.printers, -1});
        QCOMPARE(Child<QComboBox>(&noDefault, "printerCombo")->currentText(), QString("a"));

        // The machine's default, here the user's, is where the selection starts.
        setenv("LPDEST", queue.queue.c_str(), 1);
        QString startedAt;
        OnNextModal<PrinterSelectionDialog>([&startedAt](PrinterSelectionDialog* selection) {
            startedAt = Child<QComboBox>(selection, "printerCombo")->currentText();
            selection->reject();
        });
        QVERIFY(!PrinterSelection(nullptr));
        unsetenv("LPDEST");
        QCOMPARE(startedAt, QString::fromStdString(queue.queue));
    }

    void withoutPrintersTheSelectionSaysSo()
    {
        RecordingMessageBoxes boxes;
        setenv("CUPS_SERVER", "/nonexistent/cups.sock", 1);
        cupsSetServer(nullptr);
        PrinterAssignmentDialog dialog(kAssignment);
        Child<QPushButton>(&dialog, "frontSheetButton")->click();
        SpoolFolderEntryDialog entry({"Aus", "DELV", "Laser", "drv", "LPT1:"});
        Child<QPushButton>(&entry, "printerButton")->click();
        unsetenv("CUPS_SERVER");
        cupsSetServer(nullptr);
        QCOMPARE(dialog.Assignment(), kAssignment);
        QCOMPARE(entry.Entry(), (SpoolFolderEntry{"Aus", "DELV", "Laser", "drv", "LPT1:"}));
        QCOMPARE(boxes.boxes.size(), size_t(2));
        QCOMPARE(boxes.boxes[0].text, std::string("Auf diesem Rechner ist kein Drucker eingerichtet."));
        QCOMPARE(boxes.boxes[0].caption, std::string("Drucker auswählen"));
    }

    void entryDialogTakesTheChosenPrinter()
    {
        SpoolFolderEntryDialog entry({"Aus", "DELV", "", "", ""});
        ChooseNextPrinter(QString::fromStdString(queue.queue));
        Child<QPushButton>(&entry, "printerButton")->click();
        QCOMPARE(Child<QLineEdit>(&entry, "printerText")->text(), QString::fromStdString(queue.queue + " (cups-pdf:/)"));
        QCOMPARE(entry.Entry().PrinterName, queue.queue);
        QCOMPARE(entry.Entry().PrinterPort, std::string("cups-pdf:/"));
        QVERIFY(entry.Entry().PrinterDriver.find("CUPS-PDF") != std::string::npos);
        QCOMPARE(entry.focusWidget(), Child<QPushButton>(&entry, "okButton"));
    }

    void programFileSelectionRemembersTheFilterOfEachDialog()
    {
        ScratchFolder folder;
        WriteTestFile(folder / "druck", "#!/bin/sh\n");
        const QString programs("Programm-Dateien (*)");
        const QString all("Alle Dateien (*)");

        PrinterAssignmentDialog assignment(kAssignment);
        QString title;
        QStringList filters;
        QString offered;
        QStringList buttons;
        OnNextModal<QFileDialog>([&](QFileDialog* files) {
            title = files->windowTitle();
            for (QPushButton* button : files->findChildren<QPushButton*>())
                buttons << button->text().remove('&');
            filters = files->nameFilters();
            offered = files->selectedNameFilter();
            files->selectNameFilter(all);
            files->setDirectory(QString::fromStdString(folder.Path()));
            files->findChild<QLineEdit*>("fileNameEdit")->setText("druck");
            static_cast<QDialog*>(files)->accept();
        });
        Child<QPushButton>(&assignment, "programButton")->click();
        QCOMPARE(title, QString("Auswahl des PDF-Druck-Programmes (z.B. installierter AcrobatReader oder Ghostscript"));
        QCOMPARE(filters, (QStringList{programs, all}));
        QVERIFY2(buttons.contains("Öffnen") && buttons.contains("Abbrechen"), qPrintable(buttons.join('|')));
        QCOMPARE(offered, programs);
        QCOMPARE(Child<QLineEdit>(&assignment, "programEdit")->text(), QString::fromStdString(folder / "druck"));

        OnNextModal<QFileDialog>([&](QFileDialog* files) {
            offered = files->selectedNameFilter();
            files->reject();
        });
        Child<QPushButton>(&assignment, "programButton")->click();
        QCOMPARE(offered, all);
        QCOMPARE(Child<QLineEdit>(&assignment, "programEdit")->text(), QString::fromStdString(folder / "druck"));

        // The spool folder list keeps a filter of its own.
        SpoolFolderListDialog list({{}, "", ""}, QFont("Courier New"));
        OnNextModal<QFileDialog>([&](QFileDialog* files) {
            offered = files->selectedNameFilter();
            files->reject();
        });
        Child<QPushButton>(&list, "programButton")->click();
        QCOMPARE(offered, programs);
        PrinterAssignmentDialog again(kAssignment);
        OnNextModal<QFileDialog>([&](QFileDialog* files) {
            offered = files->selectedNameFilter();
            files->reject();
        });
        Child<QPushButton>(&again, "programButton")->click();
        QCOMPARE(offered, all);
    }
};

QTEST_MAIN(PrinterDialogsTest)
#include "printer_dialogs_test.moc"
