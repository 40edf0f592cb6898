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
        for (int n = 1; n <= 60; ++n)
            list.Append("Zeile " + std::to_string(n));
        list.ShowLast();
        const QString longLine = "Konnte nicht beim FTP-Server " + QString(80, 'x') + " anmelden!";
        list.Append(longLine.toStdString());
        list.ShowLast();
        for (const QSize size : {QSize(400, 120), QSize(250, 300), QSize(400, 60)}) {
            list.resize(size);
            QCoreApplication::processEvents();
            const QRect newest = list.visualRect(list.model()->index(list.count() - 1, 0));
            QVERIFY2(newest.top() >= 0 && newest.bottom() <= list.viewport()->rect().bottom(),
                     qPrintable(QString::number(size.height())));
        }

        for (const int row : {0, list.count() - 1}) {
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
