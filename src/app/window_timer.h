// The polling timer as a Qt timer. Qt chooses the timer's id; that id is the handle the
// station keeps, and every tick reaches the station with it.
#pragma once

#include "platform/periodic_timer.h"

#include <QObject>

#include <functional>

class WindowTimer : public QObject, public PeriodicTimer {
    Q_OBJECT
public:
    explicit WindowTimer(std::function<void(unsigned)> onTick, QObject* parent = nullptr);

    unsigned Set(unsigned id, unsigned milliseconds) override;
    void Kill(unsigned handle) override;

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    std::function<void(unsigned)> onTick_;
};
