// SPDX-License-Identifier: MIT
// Linked into the window start-up benchmarks: ends the process as soon as the first frame of a
// window has been painted and handed to the platform, so that the process's run time is the
// time from its start to its first frame.
#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <cstdlib>

namespace {

class FirstFrameExit : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !posted_ && watched->isWidgetType()) {
            posted_ = true;
            // A window's widgets are painted and the frame is handed over in one pass; a call
            // queued now runs once that pass is over.
            QMetaObject::invokeMethod(
                qApp, [] { std::_Exit(0); }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    bool posted_ = false;
};

void InstallFirstFrameExit() {
    qApp->installEventFilter(new FirstFrameExit);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(InstallFirstFrameExit)
