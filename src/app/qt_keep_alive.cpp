#include "app/qt_keep_alive.h"

#include <QCoreApplication>

void QtKeepAlive::HandlePending(bool takeInput)
{
    QCoreApplication::processEvents(takeInput ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
}
