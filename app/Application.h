// SPDX-License-Identifier: MIT
#pragma once
// The application object as the window uses it: title, current hint and its event, help
// commands and the default display of exceptions that escape an event handler.
#include <QApplication>
#include <QString>
#include <cstdint>
#include <functional>

class QObject;

// What the program says about itself (also the fields of the Windows version record).
inline constexpr char AppTitle[] = "Velquor utility"; // task switcher, desktop entry
inline constexpr char AppProductName[] = "VELQUOR";
inline constexpr char AppVersion[] = "1.3.3.4";
inline constexpr char AppDescription[] = "Velquor utility";
inline constexpr char AppDesktopId[] = "org.velquor.Velquor";

// Help commands handed to TApplication::HelpCommand.
inline constexpr int HELP_CONTENTS = 3;
inline constexpr int HELP_HELPONHELP = 4;
inline constexpr int HELP_PARTIALKEY = 0x105;

class TApplication {
public:
    // Shown for the program outside its window, and as the caption of exception messages.
    QString Title = QString::fromLatin1(AppTitle);

    // The hint of whatever the pointer or the highlighted menu item carries, empty over
    // anything without one.
    const QString& Hint() const { return hint_; }
    // Sets the current hint and fires OnHint when it changed.
    void SetHint(const QString& hint);
    std::function<void(QObject* Sender)> OnHint;

    // Hands one command to the help system. The program names no help file, so there is
    // nothing to show: the command is ignored and the result is false.
    bool HelpCommand(int command, std::intptr_t data);
    // Help file the commands would open; empty.
    QString HelpFile;

    // Shows the exception that is being handled (call it from a catch block) in a message box
    // with its text, captioned with Title. Never throws.
    void HandleException();
    void ShowException(const QString& message);

private:
    QString hint_;
};

extern TApplication Application;

// Puts name, version, description and desktop entry into the Qt application.
void SetApplicationMetadata(QApplication& app);
// Gives the application and its windows the program's icon (32 x 32 and larger renderings).
void SetApplicationIcon(QApplication& app);

// Wraps an event handler (called without arguments) so that an exception escaping it is shown
// by Application.HandleException and the program carries on. The result takes no arguments, so
// a signal's own arguments are dropped.
template <class Handler> auto Guarded(Handler handler) {
    return [handler]() {
        try {
            handler();
        } catch (...) {
            Application.HandleException();
        }
    };
}

// The Qt application of the running program: its windows are drawn with VelquorStyle, and an
// exception that escapes any event handler is shown in a message box and the event loop goes on.
class VelquorApplication : public QApplication {
public:
    VelquorApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
