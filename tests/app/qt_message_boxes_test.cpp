// Message boxes as the user sees them: icon, buttons, and the button pressed.
#include "app/qt_message_boxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {

struct SeenBox {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    QString defaultButton;
};

// Shows the box; once it is open, notes what it shows and presses the button with
// `press` as its text (Escape when empty).
int ShowAndPress(unsigned style, const QString& press, SeenBox& seen)
{
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen.caption = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        for (QAbstractButton* button : box->buttons())
            seen.buttons << button->text();
        if (box->defaultButton())
            seen.defaultButton = box->defaultButton()->text();
        if (press.isEmpty()) {
            QTest::keyClick(box, Qt::Key_Escape);
            return;
        }
        for (QAbstractButton* button : box->buttons()) {
            if (button->text() == press)
                button->click();
        }
    });
    QtMessageBoxes boxes;
    return boxes.Show("Wollen Sie wirklich?", "Frage:", style);
}

}  // namespace

class QtMessageBoxesTest : public QObject {
    Q_OBJECT

private slots:
    void errorBoxHasTheStopIconAndOk()
    {
        SeenBox seen;
        QCOMPARE(ShowAndPress(BoxStyle::Error, "OK", seen), BoxButton::Ok);
        QCOMPARE(seen.caption, QString("Frage:"));
        QCOMPARE(seen.text, QString("Wollen Sie wirklich?"));
        QCOMPARE(seen.icon, QMessageBox::Critical);
        QCOMPARE(seen.buttons, QStringList({"OK"}));
    }

    void questionsAnswerWithThePressedButton()
    {
        SeenBox seen;
        unsigned question = BoxStyle::YesNoCancel | BoxStyle::TaskModal;
        QCOMPARE(ShowAndPress(question, "&Nein", seen), BoxButton::No);
        QCOMPARE(seen.icon, QMessageBox::NoIcon);
        QCOMPARE(seen.buttons.size(), 3);
        QVERIFY(seen.buttons.contains("&Ja") && seen.buttons.contains("&Nein") && seen.buttons.contains("Abbrechen"));
        QCOMPARE(seen.defaultButton, QString("&Ja"));

        QCOMPARE(ShowAndPress(question, "&Ja", seen), BoxButton::Yes);
        QCOMPARE(ShowAndPress(question, "", seen), BoxButton::Cancel);
        QCOMPARE(ShowAndPress(BoxStyle::YesNo | BoxStyle::IconQuestion, "&Ja", seen), BoxButton::Yes);
        QCOMPARE(seen.icon, QMessageBox::Question);
        QCOMPARE(ShowAndPress(BoxStyle::YesNo | BoxStyle::DefaultButton2, "", seen), BoxButton::No);
        QCOMPARE(seen.defaultButton, QString("&Nein"));
    }

    void informationAndOkCancel()
    {
        SeenBox seen;
        QCOMPARE(ShowAndPress(BoxStyle::IconInformation | BoxStyle::TaskModal, "OK", seen), BoxButton::Ok);
        QCOMPARE(seen.icon, QMessageBox::Information);
        QCOMPARE(ShowAndPress(BoxStyle::OkCancel | BoxStyle::IconExclamation, "", seen), BoxButton::Cancel);
        QCOMPARE(seen.icon, QMessageBox::Warning);
    }
};

QTEST_MAIN(QtMessageBoxesTest)
#include "qt_message_boxes_test.moc"
