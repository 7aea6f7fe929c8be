// SPDX-License-Identifier: MIT
#pragma once
// A component-style timer: it runs while it is enabled, has a non-zero interval and an OnTimer
// handler, and raises OnTimer once per interval through the event loop. Changing the interval,
// the enabled state or the handler restarts the count from that moment.
#include <QBasicTimer>
#include <QObject>
#include <functional>

class TTimer : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(unsigned Interval READ Interval WRITE SetInterval)

public:
    using TNotify = std::function<void(QObject* Sender)>;

    explicit TTimer(QObject* AOwner = nullptr);
    ~TTimer() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool Value);
    // Milliseconds between two ticks; 0 stops the timer.
    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned Value);
    const TNotify& OnTimer() const { return onTimer_; }
    void SetOnTimer(TNotify Handler);

    // Whether ticks are being delivered now.
    bool Running() const { return timer_.isActive(); }

protected:
    // One tick: raises OnTimer with the timer as sender. An exception from the handler leaves
    // through the event loop's notification, so the application's handler can show it.
    virtual void Timer();
    void timerEvent(QTimerEvent* Event) override;

private:
    void UpdateTimer();

    bool enabled_ = true;
    unsigned interval_ = 1000;
    TNotify onTimer_;
    QBasicTimer timer_;
};
