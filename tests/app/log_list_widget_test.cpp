// The log list as the librarian reads it: the newest line stays in view when the window
// is made smaller, and a cut line shows its whole text when the pointer rests on it.
#include "app/log_list_widget.h"

#include <QHelpEvent>
#include <QToolTip>
#include <QtTest>

class LogListWidgetTest : public QObject {
    Q_OBJECT

private slots:
    void theNewestLineStaysInViewAfterAResizeAndACutLineShowsItsText()
    {
        LogListWidget list;
        list.resize(400, 400);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        const QString longLine = "Konnte nicht beim FTP-Server " + QString(80, 'x') + " anmelden!";
        for (int n = 1; n <= 60; ++n)
            list.Append(n < 60 ? "Zeile" : longLine.toStdString());
        list.ShowLast();
        for (const int height : {120, 60}) {
            list.resize(400, height);
            QCoreApplication::processEvents();
            QVERIFY(list.visualRect(list.model()->index(59, 0)).bottom() <= list.viewport()->rect().bottom());
        }
        for (const int row : {0, 59}) {
            list.scrollToItem(list.item(row));
            const QPoint at = list.visualRect(list.model()->index(row, 0)).center();
            QHelpEvent help(QEvent::ToolTip, at, list.viewport()->mapToGlobal(at));
            QCoreApplication::sendEvent(list.viewport(), &help);
            QCOMPARE(QToolTip::text(), row == 0 ? QString() : longLine);
        }
    }
};

QTEST_MAIN(LogListWidgetTest)
#include "log_list_widget_test.moc"
