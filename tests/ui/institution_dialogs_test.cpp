// The institution dialogs, offscreen, against PHP's web server with the service's scripts.
#include "fakes/recording_message_boxes.h"
#include "fakes/recording_wait_cursor.h"
#include "fixtures/local_web_server.h"
#include "tools/modal_driver.h"
#include "ui/desktop_settings_dialogs.h"
#include "ui/institution_data_dialog.h"
#include "ui/institution_selection_dialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

template <>
char* QTest::toString(const std::string& text)
{
    return qstrdup(text.c_str());
}

namespace {

QStringList Items(QComboBox* combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

QStringList Shown(QDialog& dialog)
{
    return {Child<QLabel>(&dialog, "idText")->text(), Child<QLabel>(&dialog, "nameText")->text(),
            Child<QLabel>(&dialog, "abbreviationText")->text()};
}

}  // namespace

class InstitutionDialogsTest : public QObject {
    Q_OBJECT

private:
    LocalWebServer server;
    RecordingWaitCursor cursor;

    ServiceAddress Address(const std::string& folder = "korvid") const
    {
        return {"127.0.0.1", std::to_string(server.Port()), folder};
    }

private slots:
    void initTestCase()
    {
        std::string error;
        QVERIFY2(server.Start(LocalWebServer::FixtureRoot(), error), error.c_str());
    }

    void emptyNameSelectsTheFirstButShowsNothingUntilConfirmed()
    {
        RecordingMessageBoxes boxes;
        InstitutionSelectionDialog dialog(Address(), {"", "", ""}, cursor);
        QCOMPARE(dialog.windowTitle(), QString("Institution konfigurieren"));
        auto* names = Child<QComboBox>(&dialog, "institutionCombo");
        QCOMPARE(Items(names),
                 (QStringList{"Stadtbibliothek A", "Stadtbibliothek B", "Universitätsbibliothek Nordstadt"}));
        QCOMPARE(names->currentIndex(), 0);
        QCOMPARE(Shown(dialog), (QStringList{"", "", ""}));
        QVERIFY(boxes.boxes.empty());
        QCOMPARE(cursor.depth, 0);

        // Typed text is not used; a confirmed choice is.
        names->setEditText("Universität");
        QCOMPARE(Shown(dialog), (QStringList{"", "", ""}));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        names->setFocus();
        names->setCurrentIndex(0);
        QTest::keyClick(names, Qt::Key_Down);
        QCOMPARE(Shown(dialog), (QStringList{"1001", "Stadtbibliothek B", "STB-B"}));
        emit names->activated(2);
        QCOMPARE(Shown(dialog), (QStringList{"1002", "Universitätsbibliothek Nordstadt", "UB-N"}));
        Child<QPushButton>(&dialog, "okButton")->click();
        QCOMPARE(dialog.Institution(), (InstitutionData{"1002", "Universitätsbibliothek Nordstadt", "UB-N"}));
    }

    void partialNameSelectsTheFirstThatBeginsWithIt()
    {
        RecordingMessageBoxes boxes;
        InstitutionSelectionDialog dialog(Address(), {"1003", "Stadt", "S"}, cursor);
        QCOMPARE(Child<QComboBox>(&dialog, "institutionCombo")->currentText(), QString("Stadtbibliothek A"));
        QCOMPARE(Shown(dialog), (QStringList{"1003", "Stadt", "S"}));
        // "OK" without a choice keeps the values shown at opening.
        Child<QPushButton>(&dialog, "okButton")->click();
        QCOMPARE(dialog.Institution(), (InstitutionData{"1003", "Stadt", "S"}));

        InstitutionSelectionDialog none(Address(), {"", "Zentral", ""}, cursor);
        QCOMPARE(Child<QComboBox>(&none, "institutionCombo")->currentIndex(), -1);
        QCOMPARE(Child<QComboBox>(&none, "institutionCombo")->currentText(), QString());
        QVERIFY(boxes.boxes.empty());
    }

    void serverErrorReply()
    {
        RecordingMessageBoxes boxes;
        InstitutionSelectionDialog dialog(Address("fehler"), {"7", "Alt", "A"}, cursor);
        QCOMPARE(Child<QComboBox>(&dialog, "institutionCombo")->count(), 0);
        QCOMPARE(Shown(dialog), (QStringList{"7", "Alt", "A"}));
        QCOMPARE(boxes.boxes.size(), size_t(1));
        QCOMPARE(boxes.boxes[0].caption, std::string("KORVID-Fehler, Meldung vom Korvid-Web-Server:"));
        QCOMPARE(boxes.boxes[0].text,
                 std::string("FEHLER: Datenbank nicht erreichbar.\nBitte versuchen Sie es später noch einmal.\n"));
        Child<QPushButton>(&dialog, "okButton")->click();
        QCOMPARE(dialog.Institution(), (InstitutionData{"7", "Alt", "A"}));
    }

    void unreachableServer()
    {
        RecordingMessageBoxes boxes;
        InstitutionSelectionDialog dialog({"127.0.0.1", std::to_string(UnusedLocalPort()), "korvid"},
                                          {"7", "Alt", "A"}, cursor);
        QCOMPARE(Child<QComboBox>(&dialog, "institutionCombo")->count(), 0);
        QCOMPARE(boxes.boxes.size(), size_t(1));
        QCOMPARE(boxes.boxes[0].caption, std::string("KORVID-Fehler"));
        QCOMPARE(boxes.boxes[0].style, BoxStyle::Error);
        QCOMPARE(Shown(dialog), (QStringList{"7", "Alt", "A"}));
        QCOMPARE(cursor.depth, 0);
    }

    void manualDataIsStoredAsTyped()
    {
        InstitutionDataDialog dialog({"42", "Alt", "ABK"});
        QCOMPARE(dialog.windowTitle(), QString("Daten zur Institution / Bibliothek"));
        QCOMPARE(Child<QLineEdit>(&dialog, "nameEdit")->text(), QString("Alt"));
        QCOMPARE(Child<QLineEdit>(&dialog, "idEdit")->text(), QString("42"));
        Child<QLineEdit>(&dialog, "nameEdit")->setText("  Neue Bibliothek ");
        Child<QLineEdit>(&dialog, "idEdit")->setText(" 43 ");
        Child<QPushButton>(&dialog, "okButton")->click();
        QCOMPARE(dialog.Institution(), (InstitutionData{" 43 ", "  Neue Bibliothek ", "ABK"}));
    }

    void failedListLetsTheUserTypeTheInstitution()
    {
        RecordingMessageBoxes boxes;
        DialogContext context;
        context.waitCursor = &cursor;
        DesktopSettingsDialogs dialogs(nullptr, context);
        OnNextModal<InstitutionDataDialog>([](InstitutionDataDialog* data) {
            Child<QLineEdit>(data, "idEdit")->setText("4711");
            Child<QLineEdit>(data, "nameEdit")->setText("Stadtbibliothek Nord");
            Child<QLineEdit>(data, "abbreviationEdit")->setText("SBN");
            Child<QPushButton>(data, "okButton")->click();
        });
        InstitutionData institution{"7", "Alt", "A"};
        QVERIFY(dialogs.SelectInstitution(Address("gibt-es-nicht"), institution));
        QCOMPARE(boxes.boxes.size(), size_t(1));
        QCOMPARE(boxes.boxes[0].caption.rfind("KORVID-Fehler", 0), size_t(0));
        QCOMPARE(institution, (InstitutionData{"4711", "Stadtbibliothek Nord", "SBN"}));
    }
};

QTEST_MAIN(InstitutionDialogsTest)
#include "institution_dialogs_test.moc"
