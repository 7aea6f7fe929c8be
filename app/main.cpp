// SPDX-License-Identifier: MIT
// Velquor: converts CAI turnpoint files into SN10 databases, in one window.
#include "Main.h"
#include "Application.h"

#include <QEvent>

namespace {

// Gives the program its icon once the window has painted for the first time: decoding the
// pictures need not delay the window's first appearance.
class IconAfterFirstPaint : public QObject {
public:
    explicit IconAfterFirstPaint(QApplication& app) : app_(app) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QMetaObject::invokeMethod(
                &app_, [app = &app_] { SetApplicationIcon(*app); }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    QApplication& app_;
};

} // namespace

int main(int argc, char** argv) {
    VelquorApplication app(argc, argv); // the command line is not used
    try {
        SetApplicationMetadata(app);
        IconAfterFirstPaint icon(app);
        TMainForm form;
        form.installEventFilter(&icon);
        form.show();
        app.exec();
    } catch (...) {
        Application.HandleException();
    }
    return 0;
}
