// SPDX-License-Identifier: MIT
// The yardstick for the window's start-up: a bare Qt window showing one label, built the same way.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("Velquor"));
    label.show();
    return app.exec();
}
