// SPDX-License-Identifier: MIT
#include "Timer.h"

#include <QTimerEvent>

#include <climits>

TTimer::TTimer(QObject* AOwner) : QObject(AOwner) {}

TTimer::~TTimer() {
    timer_.stop();
}

void TTimer::SetEnabled(bool Value) {
    if (Value == enabled_)
        return;
    enabled_ = Value;
    UpdateTimer();
}

void TTimer::SetInterval(unsigned Value) {
    if (Value == interval_)
        return;
    interval_ = Value;
    UpdateTimer();
}

void TTimer::SetOnTimer(TNotify Handler) {
    onTimer_ = std::move(Handler);
    UpdateTimer();
}

void TTimer::UpdateTimer() {
    timer_.stop();
    if (enabled_ && interval_ != 0 && onTimer_)
        timer_.start(static_cast<int>(interval_ > INT_MAX ? INT_MAX : interval_), Qt::PreciseTimer,
                     this);
}

void TTimer::Timer() {
    if (onTimer_)
        onTimer_(this);
}

void TTimer::timerEvent(QTimerEvent* Event) {
    if (Event->timerId() != timer_.timerId()) {
        QObject::timerEvent(Event);
        return;
    }
    Timer();
}

// The meta-object code of this unit's classes, compiled here so that a program linking one
// class does not pull in every other class of the library with it.
#include "moc_Timer.cpp"
