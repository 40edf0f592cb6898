// The folder list dialogs and the input box as a user sees them, offscreen.
#include "fakes/recording_message_boxes.h"
#include "tools/modal_driver.h"
#include "ui/input_box.h"
#include "ui/main_folder_list_dialog.h"
#include "ui/spool_folder_entry_dialog.h"
#include "ui/spool_folder_list_dialog.h"

#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolTip>
#include <QtTest>

template <>
char* QTest::toString(const std::string& text)
{
    return qstrdup(text.c_str());
}

namespace {

QStringList Lines(QListWidget* list)
{
    QStringList lines;
    for (int row = 0; row < list->count(); ++row)
        lines << list->item(row)->text();
    return lines;
}

QString Padded(const QString& folder, const QString& rest)
{
    return folder.leftJustified(25, ' ') + rest;
}

// Fills the entry dialog that opens next and ends it with "OK".
void EnterNext(const QString& description, const QString& folder)
{
    OnNextModal<SpoolFolderEntryDialog>([description, folder](SpoolFolderEntryDialog* entry) {
        Child<QLineEdit>(entry, "descriptionEdit")->setText(description);
        Child<QLineEdit>(entry, "folderEdit")->setText(folder);
        Child<QPushButton>(entry, "okButton")->click();
    });
}

}  // namespace

class ListDialogsTest : public QObject {
    Q_OBJECT

private:
    QFont listFont{"Courier New"};

private slots:
    void inputBox()
    {
        InputBox plain("Titel", "  Text  ", false);
        QCOMPARE(Child<QLabel>(&plain, "promptLabel")->text(), QString("Frage ?"));
        QCOMPARE(plain.Text(), std::string("  Text  "));
        // A pasted line break becomes a blank, and the field says so.
        plain.show();
        QGuiApplication::clipboard()->setText("ge\r\nheim");
        Child<QLineEdit>(&plain, "textEdit")->paste();
        QCOMPARE(plain.Text(), std::string("  Text  ge heim"));
        QVERIFY(QToolTip::text().startsWith("Zeilenumbrüche sind hier nicht möglich"));
        InputBox trimmed("Titel", "  Text  ", true);
        QCOMPARE(trimmed.Text(), std::string("Text"));

        std::string text = "bleibt";
        OnNextModal<InputBox>([](InputBox* box) {
            QCOMPARE(box->windowTitle(), QString("Titel"));
            QCOMPARE(Child<QLabel>(box, "promptLabel")->text(), QString("Bitte"));
            Child<QLineEdit>(box, "textEdit")->setText("anders");
            Child<QPushButton>(box, "cancelButton")->click();
        });
        QVERIFY(!RunInputBox(nullptr, "Titel", "Bitte", text, true));
        QCOMPARE(text, std::string("bleibt"));
        OnNextModal<InputBox>([](InputBox* box) {
            Child<QLineEdit>(box, "textEdit")->setText("  neu ");
            Child<QPushButton>(box, "okButton")->click();
        });
        QVERIFY(RunInputBox(nullptr, "Titel", "Bitte", text, true));
        QCOMPARE(text, std::string("neu"));
    }

    void mainFolderList()
    {
        RecordingMessageBoxes boxes;
        MainFolderListDialog dialog({"süd", "Nord", "ost"}, listFont);
        QCOMPARE(dialog.windowTitle(), QString("zu untersuchende Verzeichnisse konfigurieren:"));
        auto* list = Child<QListWidget>(&dialog, "folderList");
        QCOMPARE(list->font().family(), listFont.family());
        QCOMPARE(Lines(list), (QStringList{"Nord", "ost", "süd"}));
        QCOMPARE(list->currentRow(), 0);

        OnNextModal<InputBox>([](InputBox* box) {
            QCOMPARE(box->windowTitle(), QString("zu durchsuchende Verzeichnisse:"));
            QCOMPARE(Child<QLabel>(box, "promptLabel")->text(), QString("Bitte Verzeichnis eingeben"));
            QCOMPARE(Child<QLineEdit>(box, "textEdit")->text(), QString());
            Child<QLineEdit>(box, "textEdit")->setText("  West ");
            box->accept();
        });
        Child<QPushButton>(&dialog, "addButton")->click();
        QCOMPARE(Lines(list), (QStringList{"Nord", "ost", "süd", "West"}));
        QCOMPARE(list->currentRow(), 3);

        // A double click changes the line; changed to nothing, the line is gone.
        QString offered;
        OnNextModal<InputBox>([&offered](InputBox* box) {
            offered = Child<QLineEdit>(box, "textEdit")->text();
            Child<QLineEdit>(box, "textEdit")->setText("   ");
            box->accept();
        });
        list->setCurrentRow(1);
        emit list->itemDoubleClicked(list->item(1));
        QCOMPARE(offered, QString("ost"));
        QCOMPARE(Lines(list), (QStringList{"Nord", "süd", "West"}));
        QCOMPARE(list->currentRow(), 0);

        boxes.answers = {BoxButton::No, BoxButton::Yes};
        list->setCurrentRow(1);
        Child<QPushButton>(&dialog, "removeButton")->click();
        QCOMPARE(Lines(list), (QStringList{"Nord", "süd", "West"}));
        Child<QPushButton>(&dialog, "removeButton")->click();
        QCOMPARE(Lines(list), (QStringList{"Nord", "West"}));
        QCOMPARE(boxes.boxes.size(), size_t(2));
        QCOMPARE(boxes.boxes[1].text, std::string("Soll der Eintrag 'süd'\n\ngelöscht werden ?"));
        QCOMPARE(list->currentRow(), 0);
        QCOMPARE(dialog.Folders(), (std::vector<std::string>{"Nord", "West"}));
    }

    void emptyStoredSpoolFolderListShowsTheDefaults()
    {
        SpoolFolderListDialog dialog({{}, "/usr/bin/lp", "-d $PRINTER$"}, listFont);
        QCOMPARE(dialog.windowTitle(), QString("Konfiguration der Drucker"));
        auto* list = Child<QListWidget>(&dialog, "spoolFolderList");
        QCOMPARE(list->font().family(), listFont.family());
        QCOMPARE(Lines(list), (QStringList{Padded("DELV", "Auslieferungen"), Padded("FRONTSH", "Deckblätter")}));
        QCOMPARE(list->currentRow(), 1);
        QCOMPARE(list->currentItem()->isSelected(), true);
        Child<QPushButton>(&dialog, "okButton")->click();
        const SpoolFolderPrinters printers = dialog.Printers();
        QCOMPARE(printers.folders, DefaultSpoolFolders());
        QCOMPARE(printers.program, std::string("/usr/bin/lp"));
        QCOMPARE(printers.params, std::string("-d $PRINTER$"));
    }

    void spoolFolderListEditing()
    {
        RecordingMessageBoxes boxes;
        const std::vector<SpoolFolderEntry> stored{{"Auslieferungen", "DELV", "Laser 1", "drv", "LPT1:"},
                                                   {"Deckblätter", "FRONTSH", "", "", ""}};
        SpoolFolderListDialog dialog({stored, "", "x"}, listFont);
        auto* list = Child<QListWidget>(&dialog, "spoolFolderList");
        const QStringList opening = Lines(list);
        QCOMPARE(opening[0], Padded("DELV", "Auslieferungen[Laser 1 (LPT1:)]"));

        EnterNext("  Rote Scheine ", "  RL  ");
        Child<QPushButton>(&dialog, "addButton")->click();
        QCOMPARE(Lines(list).size(), 3);
        QCOMPARE(list->currentItem()->text(), Padded("RL", "Rote Scheine"));

        EnterNext("nichts", "    ");
        Child<QPushButton>(&dialog, "addButton")->click();
        QCOMPARE(Lines(list).size(), 3);

        const QString longFolder(30, 'x');
        EnterNext("Lang", longFolder);
        Child<QPushButton>(&dialog, "addButton")->click();
        QCOMPARE(list->currentItem()->text(), longFolder + "Lang");

        // A double click opens the entry with its texts; its printer stays.
        QString offered;
        OnNextModal<SpoolFolderEntryDialog>([&offered](SpoolFolderEntryDialog* entry) {
            offered = Child<QLineEdit>(entry, "folderEdit")->text() + "|"
                      + Child<QLineEdit>(entry, "printerText")->text();
            Child<QLineEdit>(entry, "folderEdit")->setText("ZDELV");
            entry->accept();
        });
        list->setCurrentRow(0);
        emit list->itemDoubleClicked(list->item(0));
        QCOMPARE(offered, QString("DELV|Laser 1 (LPT1:)"));
        QCOMPARE(list->item(3)->text(), Padded("ZDELV", "Auslieferungen[Laser 1 (LPT1:)]"));
        QCOMPARE(list->currentRow(), 0);

        boxes.answers = {BoxButton::Cancel, BoxButton::Yes};
        list->setCurrentRow(3);
        Child<QPushButton>(&dialog, "removeButton")->click();
        QCOMPARE(Lines(list).size(), 4);
        QCOMPARE(boxes.boxes[0].text, std::string("Soll der Eintrag für das Verzeichnis\n\n'ZDELV'\n\ngelöscht werden ?"));
        Child<QPushButton>(&dialog, "removeButton")->click();
        QCOMPARE(Lines(list).size(), 3);
        QCOMPARE(list->currentRow(), 0);

        Child<QPushButton>(&dialog, "restoreButton")->click();
        QCOMPARE(Lines(list), opening);
        QCOMPARE(dialog.Printers().folders, stored);

        Child<QPushButton>(&dialog, "paramsStandardButton")->click();
        QCOMPARE(dialog.Printers().params, std::string("-dPDFFitPage -color -printer \"$PRINTER$\" $FILE$"));

        boxes.answers = {BoxButton::Yes, BoxButton::Yes};
        Child<QPushButton>(&dialog, "removeButton")->click();
        Child<QPushButton>(&dialog, "removeButton")->click();
        QVERIFY(!Child<QPushButton>(&dialog, "changeButton")->isEnabled());
        QVERIFY(!Child<QPushButton>(&dialog, "removeButton")->isEnabled());
    }

    void entryDialogKeepsThePrinterItCameWith()
    {
        SpoolFolderEntryDialog dialog({"Aus", "DELV", "Laser", "drv", "LPT1:"});
        QCOMPARE(dialog.windowTitle(), QString("Spool-Verzeichnis und Drucker"));
        QCOMPARE(Child<QLineEdit>(&dialog, "printerText")->text(), QString("Laser (LPT1:)"));
        Child<QLineEdit>(&dialog, "descriptionEdit")->setText("  Neu ");
        QCOMPARE(dialog.Entry(), (SpoolFolderEntry{"  Neu ", "DELV", "Laser", "drv", "LPT1:"}));
        Child<QLineEdit>(&dialog, "printerText")->selectAll();
        QTest::keyClicks(Child<QLineEdit>(&dialog, "printerText"), "Laser 2");
        QCOMPARE(dialog.Entry(), (SpoolFolderEntry{"  Neu ", "DELV", "Laser 2", "drv", "LPT1:"}));
        SpoolFolderEntryDialog empty({});
        QCOMPARE(Child<QLineEdit>(&empty, "printerText")->text(), QString());
        RecordingMessageBoxes boxes;
        SpoolFolderEntryDialog taken({"", " RL", "", "", ""}, {"DELV", "RL"});
        taken.accept();
        QVERIFY(taken.result() == QDialog::Rejected && boxes.boxes.size() == 1);
    }
};

QTEST_MAIN(ListDialogsTest)
#include "list_dialogs_test.moc"
