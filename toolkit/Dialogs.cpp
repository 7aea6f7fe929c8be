// SPDX-License-Identifier: MIT
#include "Dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <utility>

namespace {

MessageBoxHandler& CurrentMessageBoxHandler() {
    static MessageBoxHandler handler;
    return handler;
}

OpenDialogHandler& CurrentOpenDialogHandler() {
    static OpenDialogHandler handler;
    return handler;
}

QString TypeCaption(TMsgDlgType type) {
    switch (type) {
    case mtWarning:
        return QStringLiteral("Warning");
    case mtError:
        return QStringLiteral("Error");
    case mtInformation:
        return QStringLiteral("Information");
    case mtConfirmation:
        return QStringLiteral("Confirm");
    case mtCustom:
        break;
    }
    return QGuiApplication::applicationDisplayName();
}

QMessageBox::Icon TypeIcon(TMsgDlgType type) {
    switch (type) {
    case mtWarning:
        return QMessageBox::Warning;
    case mtError:
        return QMessageBox::Critical;
    case mtInformation:
        return QMessageBox::Information;
    case mtConfirmation:
        return QMessageBox::Question;
    case mtCustom:
        break;
    }
    return QMessageBox::NoIcon;
}

struct ButtonKind {
    TMsgDlgBtn Button;
    QMessageBox::StandardButton Standard; // NoButton: a button with its own caption
    const char* Caption;
    TModalResult Result;
};

// In the order the buttons are offered.
constexpr ButtonKind ButtonKinds[] = {
    {mbYes, QMessageBox::Yes, nullptr, mrYes},
    {mbNo, QMessageBox::No, nullptr, mrNo},
    {mbOK, QMessageBox::Ok, nullptr, mrOk},
    {mbCancel, QMessageBox::Cancel, nullptr, mrCancel},
    {mbAbort, QMessageBox::Abort, nullptr, mrAbort},
    {mbRetry, QMessageBox::Retry, nullptr, mrRetry},
    {mbIgnore, QMessageBox::Ignore, nullptr, mrIgnore},
    {mbAll, QMessageBox::NoButton, "&All", mrAll},
    {mbNoToAll, QMessageBox::NoToAll, nullptr, mrNoToAll},
    {mbYesToAll, QMessageBox::YesToAll, nullptr, mrYesToAll},
    {mbHelp, QMessageBox::Help, nullptr, mrNone},
};
static_assert(ButtonKinds[mbHelp].Button == mbHelp && ButtonKinds[mbOK].Button == mbOK,
              "ButtonKinds is indexed by TMsgDlgBtn");

} // namespace

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
    return std::exchange(CurrentMessageBoxHandler(), std::move(handler));
}

TModalResult MessageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons,
                        int helpContext) {
    return ShowMessageBox({TypeCaption(type), text, type, buttons, helpContext});
}

TModalResult ShowMessageBox(const MessageBoxRequest& request) {
    // Copied, so that a handler may replace itself while it answers.
    if (MessageBoxHandler handler = CurrentMessageBoxHandler())
        return handler(request);
    return ExecuteMessageBox(request);
}

TModalResult ExecuteMessageBox(const MessageBoxRequest& request) {
    QMessageBox box(TypeIcon(request.DlgType), request.Caption, request.Text, QMessageBox::NoButton,
                    QApplication::activeWindow());
    QList<std::pair<QAbstractButton*, TModalResult>> results;
    QAbstractButton* byKind[std::size(ButtonKinds)] = {};
    for (std::size_t i = 0; i < std::size(ButtonKinds); ++i) {
        const ButtonKind& kind = ButtonKinds[i];
        if (!request.Buttons.Contains(kind.Button))
            continue;
        QAbstractButton* button =
            kind.Standard != QMessageBox::NoButton
                ? static_cast<QAbstractButton*>(box.addButton(kind.Standard))
                : box.addButton(QString::fromLatin1(kind.Caption), QMessageBox::AcceptRole);
        byKind[i] = button;
        results.append({button, kind.Result});
    }
    if (results.isEmpty()) { // a box always offers a way out
        byKind[mbOK] = box.addButton(QMessageBox::Ok);
        results.append({byKind[mbOK], mrOk});
    }
    auto pick = [&](std::initializer_list<TMsgDlgBtn> order) -> QAbstractButton* {
        for (TMsgDlgBtn b : order)
            if (byKind[b])
                return byKind[b];
        return nullptr;
    };
    if (auto* def = qobject_cast<QPushButton*>(pick({mbOK, mbYes})))
        box.setDefaultButton(def);
    if (QAbstractButton* escape = pick({mbCancel, mbNo, mbOK}))
        box.setEscapeButton(escape);

    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    for (const auto& [button, result] : results)
        if (button == clicked)
            return result;
    return mrCancel;
}

OpenDialogHandler SetOpenDialogHandler(OpenDialogHandler handler) {
    return std::exchange(CurrentOpenDialogHandler(), std::move(handler));
}

bool TOpenDialog::Execute() {
    if (OpenDialogHandler handler = CurrentOpenDialogHandler())
        return handler(*this);
    return ExecuteFileDialog();
}

QStringList TOpenDialog::QtNameFilters() const {
    QStringList filters;
    const QStringList parts = Filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters.append(parts[i] + QStringLiteral(" (") + patterns.simplified() + QLatin1Char(')'));
    }
    return filters;
}

bool TOpenDialog::ExecuteFileDialog() {
    QFileDialog dialog(QApplication::activeWindow(), Title, InitialDir);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode((Options & ofFileMustExist) ? QFileDialog::ExistingFile
                                                   : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    const QStringList filters = QtNameFilters();
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(DefaultExt);
    dialog.setSizeGripEnabled((Options & ofEnableSizing) != 0);
    if (!FileName.isEmpty())
        dialog.selectFile(QFileInfo(FileName).fileName());

    for (;;) {
        if (dialog.exec() != QDialog::Accepted)
            return false;
        const QStringList chosen = dialog.selectedFiles();
        if (chosen.isEmpty())
            return false;
        const QFileInfo info(chosen.first());
        if ((Options & ofPathMustExist) && !info.absoluteDir().exists()) {
            MessageDlg(QDir::toNativeSeparators(info.absolutePath()) +
                           QStringLiteral("\nThis folder does not exist."),
                       mtWarning, {mbOK}, 0);
            continue;
        }
        FileName = QDir::toNativeSeparators(info.absoluteFilePath());
        return true;
    }
}
