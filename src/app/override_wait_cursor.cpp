#include "app/override_wait_cursor.h"

#include <QCursor>
#include <QGuiApplication>

void OverrideWaitCursor::Show()
{
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

void OverrideWaitCursor::Hide()
{
    QGuiApplication::restoreOverrideCursor();
}
