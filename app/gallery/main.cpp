// SPDX-License-Identifier: MIT
// velquor-gallery: the six registered widgets live, with controls for their main properties.
//
//   velquor-gallery [--screenshot FILE] [--delay MS]
//
// With --screenshot the window saves a picture of itself after the delay (3000 ms unless given)
// and quits.
#include "Gallery.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velquor-gallery"));

    QCommandLineParser options;
    options.setApplicationDescription(QStringLiteral("The Velquor widgets, live."));
    options.addHelpOption();
    const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                        QStringLiteral("Save a picture of the window and quit."),
                                        QStringLiteral("file"));
    const QCommandLineOption delay(QStringLiteral("delay"),
                                   QStringLiteral("Wait before the picture (default 3000)."),
                                   QStringLiteral("ms"), QStringLiteral("3000"));
    options.addOption(screenshot);
    options.addOption(delay);
    options.process(app);

    QWidget window;
    BuildGallery(window);
    window.show();

    if (options.isSet(screenshot)) {
        const QString file = options.value(screenshot);
        QTimer::singleShot(options.value(delay).toInt(), &window, [&window, file] {
            const bool saved = window.grab().save(file);
            QApplication::exit(saved ? 0 : 1);
        });
    }
    return app.exec();
}
