// SPDX-License-Identifier: MIT
#include "Application.h"

#include "Dialogs.h"
#include "SysUtils.h"
#include "VelquorStyle.h"

#include <QIcon>
#include <exception>

TApplication Application;

void TApplication::SetHint(const QString& hint) {
    if (hint == hint_)
        return;
    hint_ = hint;
    if (OnHint)
        OnHint(nullptr);
}

bool TApplication::HelpCommand(int, std::intptr_t) {
    return false;
}

void TApplication::HandleException() {
    try {
        try {
            throw;
        } catch (const Exception& e) {
            ShowException(e.Message());
        } catch (const std::exception& e) {
            ShowException(QString::fromLocal8Bit(e.what()));
        } catch (...) {
            ShowException(QStringLiteral("Unknown exception"));
        }
    } catch (...) {
        // Showing the message failed as well; nothing sensible is left to do.
    }
}

void TApplication::ShowException(const QString& message) {
    QString text = message;
    // A message ends with a full stop, unless it ends in punctuation of its own.
    if (!text.isEmpty() && text.back().isLetterOrNumber())
        text += QLatin1Char('.');
    ShowMessageBox({Title, text, mtError, {mbOK}, 0});
}

void SetApplicationMetadata(QApplication& app) {
    app.setApplicationName(QString::fromLatin1(AppProductName));
    app.setApplicationVersion(QString::fromLatin1(AppVersion));
    app.setOrganizationDomain(QStringLiteral("velquor.org"));
    app.setProperty("description", QString::fromLatin1(AppDescription));
    // The desktop entry carries the display name; setting it on the Qt application would add
    // it to the window title.
    app.setDesktopFileName(QString::fromLatin1(AppDesktopId));
}

void SetApplicationIcon(QApplication& app) {
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/velquor/icons/velquor-%1.png").arg(size), QSize(size, size));
    app.setWindowIcon(icon);
}

VelquorApplication::VelquorApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setStyle(new VelquorStyle(style()));
}

bool VelquorApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        Application.HandleException();
        return false;
    }
}
