// SPDX-License-Identifier: MIT
#pragma once
// Message boxes and the open-file dialog, the way the window code asks its questions.
// Both go through a replaceable handler: the running program shows a QMessageBox or a
// QFileDialog, a test installs a handler that answers from a script.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <initializer_list>

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

enum TMsgDlgBtn {
    mbYes,
    mbNo,
    mbOK,
    mbCancel,
    mbAbort,
    mbRetry,
    mbIgnore,
    mbAll,
    mbNoToAll,
    mbYesToAll,
    mbHelp
};

// A set of buttons, written like {mbYes, mbCancel}.
class TMsgDlgButtons {
public:
    constexpr TMsgDlgButtons() = default;
    constexpr TMsgDlgButtons(std::initializer_list<TMsgDlgBtn> buttons) {
        for (TMsgDlgBtn b : buttons)
            bits_ |= 1u << b;
    }
    constexpr bool Contains(TMsgDlgBtn b) const { return (bits_ >> b) & 1u; }
    constexpr bool operator==(const TMsgDlgButtons&) const = default;

private:
    std::uint32_t bits_ = 0;
};

// The answer of a message box: the button pressed.
using TModalResult = int;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = 1;
inline constexpr TModalResult mrCancel = 2;
inline constexpr TModalResult mrAbort = 3;
inline constexpr TModalResult mrRetry = 4;
inline constexpr TModalResult mrIgnore = 5;
inline constexpr TModalResult mrYes = 6;
inline constexpr TModalResult mrNo = 7;
inline constexpr TModalResult mrAll = 8;
inline constexpr TModalResult mrNoToAll = 9;
inline constexpr TModalResult mrYesToAll = 10;

// Everything a message box shows.
struct MessageBoxRequest {
    QString Caption; // window title
    QString Text;
    TMsgDlgType DlgType = mtInformation;
    TMsgDlgButtons Buttons;
    int HelpContext = 0;
};

using MessageBoxHandler = std::function<TModalResult(const MessageBoxRequest&)>;

// Installs the handler that answers every later message box; an empty handler restores the real
// box. Returns the handler that was installed before.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

// Shows a modal box titled after its type ("Warning", "Error" ...) and returns the button pressed.
// The default button (Return) is OK, else Yes; Escape and the close box give Cancel, else No,
// else OK.
TModalResult MessageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons,
                        int helpContext);

// The same box with a caption of the caller's choosing.
TModalResult ShowMessageBox(const MessageBoxRequest& request);

// The real QMessageBox, whatever handler is installed.
TModalResult ExecuteMessageBox(const MessageBoxRequest& request);

// Options of the open-file dialog that this program uses.
enum TOpenOption : std::uint32_t {
    ofHideReadOnly = 1u << 0,  // no read-only check box (Qt's dialog never has one)
    ofPathMustExist = 1u << 1, // the chosen file's folder must exist
    ofFileMustExist = 1u << 2, // the chosen file itself must exist
    ofEnableSizing = 1u << 3,  // the dialog can be resized
};
using TOpenOptions = std::uint32_t;

class TOpenDialog;
using OpenDialogHandler = std::function<bool(TOpenDialog& dialog)>;

// An open-file dialog described by its settings; Execute shows it and, when the user confirms,
// leaves the absolute path of the chosen file in FileName. It never changes the process's
// working directory.
class TOpenDialog {
public:
    QString Title;      // empty: the platform's default title
    QString Filter;     // "Description|pattern;pattern|Description|pattern"
    QString InitialDir; // folder shown first; empty: the working directory
    QString DefaultExt; // suffix added to a name typed without one, without the dot
    QString FileName;   // preselected name before, chosen path after a confirmed Execute
    TOpenOptions Options = 0;

    // True when the user confirmed a file; false when the dialog was cancelled.
    bool Execute();

    // Qt's form of Filter: "Description (pattern pattern)", one entry per pair.
    QStringList QtNameFilters() const;

    // Runs the real QFileDialog, whatever handler is installed.
    bool ExecuteFileDialog();
};

// Installs the handler that answers every later Execute; an empty handler restores the real
// dialog. Returns the handler that was installed before.
OpenDialogHandler SetOpenDialogHandler(OpenDialogHandler handler);
