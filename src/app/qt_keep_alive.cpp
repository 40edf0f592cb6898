#include "app/qt_keep_alive.h"

#include <QCoreApplication>

void QtKeepAlive::HandlePending()
{
    QCoreApplication::processEvents();
}
