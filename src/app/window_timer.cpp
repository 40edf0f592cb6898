#include "app/window_timer.h"

#include <QTimerEvent>

#include <algorithm>
#include <climits>

WindowTimer::WindowTimer(std::function<void(unsigned)> onTick, QObject* parent)
    : QObject(parent), onTick_(std::move(onTick))
{
}

unsigned WindowTimer::Set(unsigned, unsigned milliseconds)
{
    int handle = startTimer(static_cast<int>(std::min<unsigned>(milliseconds, INT_MAX)), Qt::PreciseTimer);
    return handle > 0 ? static_cast<unsigned>(handle) : 0;
}

void WindowTimer::Kill(unsigned handle)
{
    killTimer(static_cast<int>(handle));
}

void WindowTimer::timerEvent(QTimerEvent* event)
{
    onTick_(static_cast<unsigned>(event->timerId()));
}
