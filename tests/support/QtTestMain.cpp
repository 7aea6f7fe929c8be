// SPDX-License-Identifier: MIT
// Entry point of the Qt test executables: a headless QApplication around GoogleTest. A warning
// or critical message from Qt fails the test that is running: Qt prints one when the program
// misuses it (a nested repaint, a painter on a widget outside its paint), and such a defect
// must not pass as a note on the console.
#include <QApplication>
#include <cstdio>
#include <gtest/gtest.h>

namespace {

// Messages that the platform prints on its own, whatever the program does.
const char* const kPlatformMessages[] = {
    // The offscreen platform has no window manager: size limits, raising a window and keyboard
    // grabs for menus have nowhere to go.
    "This plugin does not support ",
    // A session without a runtime folder (root on a CI machine): Qt makes one under /tmp.
    "QStandardPaths: XDG_RUNTIME_DIR not set",
    "QStandardPaths: runtime directory",
};

// A message that came while no test was running (start-up, shut-down) fails the run at the end.
bool strayMessage = false;

void FailOnWarning(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    for (const char* known : kPlatformMessages)
        if (text.startsWith(QLatin1String(known)))
            return; // neither shown nor counted: it says nothing about the program
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
    std::fflush(stderr);
    if (type == QtDebugMsg || type == QtInfoMsg || type == QtFatalMsg)
        return; // a fatal message ends the process anyway
    if (::testing::UnitTest::GetInstance()->current_test_info())
        ADD_FAILURE() << "Qt " << (type == QtWarningMsg ? "warning" : "critical") << ": "
                      << text.toStdString();
    else
        strayMessage = true;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    qInstallMessageHandler(FailOnWarning);
    int result = 0;
    {
        QApplication app(argc, argv);
        result = RUN_ALL_TESTS();
    }
    if (strayMessage) {
        std::fprintf(stderr, "Qt printed a warning outside the tests (see above)\n");
        return 1;
    }
    return result;
}
