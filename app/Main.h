// SPDX-License-Identifier: MIT
#pragma once
// The one window of the program: the list of CAI files of the input folder, the variation, the
// convert button, the message area with the conversion reports, and the hint line.
#include "Dialogs.h"

#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <string_view>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;
class TCSpinEdit;

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    // Builds the window and its components as laid down for the form, then runs FormCreate.
    // Also makes this window the one MainForm names.
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    QMenuBar* MainMenu;
    QAction* FileExitItem;
    QAction* HelpContentsItem;
    QAction* HelpSearchItem;
    QAction* HelpHowToUseItem;
    QAction* HelpAboutItem;
    QStatusBar* StatusLine;
    QComboBox* CAIfiles;
    QPushButton* Convert;
    QPlainTextEdit* Messages;
    QAction* Refresh;
    QAction* Convert1;
    TCSpinEdit* Variation;
    QLabel* VariationLable;
    QAction* FileInputDAT;
    QAction* FileOutputNDB;
    TOpenDialog DATselector;
    TOpenDialog NDBselector;

    void FormCreate(QObject* Sender);
    void ShowHint(QObject* Sender);
    void FileExit(QObject* Sender);
    void HelpContents(QObject* Sender);
    void HelpSearch(QObject* Sender);
    void HelpHowToUse(QObject* Sender);
    void HelpAbout(QObject* Sender);
    void FormResize(QObject* Sender);
    void ConvertClick(QObject* Sender);
    void RefreshClick(QObject* Sender);
    void FileInputDATClick(QObject* Sender);
    void FileOutputNDBClick(QObject* Sender);
    void CAIfilesChange(QObject* Sender);

    // The client area: the window below the menu bar, hint line included.
    int ClientWidth() const;
    int ClientHeight() const;
    // Resizes the window so that the client area gets this height.
    void SetClientHeight(int height);

    // The menu headings; the Help menu is not shown.
    QMenu* FileMenu() const { return fileMenu_; }
    QMenu* HelpMenu() const { return helpMenu_; }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SelectEntry(int index);
    // Settles the variation field as leaving it does (a number beyond the limits becomes the
    // nearer limit and is shown) and returns the number it shows; nullopt, with the field
    // unchanged, when its text is not a whole number.
    std::optional<std::int32_t> SettleVariation();
    void KeepSmallestClientHeight();

    QWidget* client_;
    bool hintAttached_ = false;
    bool keepingHeight_ = false; // KeepSmallestClientHeight is queued
    QMenu* fileMenu_;
    QMenu* helpMenu_;
    bool selecting_ = false; // the program, not the user, changes the list's selection
};

// The one window; set while it exists.
extern TMainForm* MainForm;

// The four path texts of the window, empty at start.
extern QString InputDirectory;  // folder whose CAI files are listed
extern QString InputFileName;   // CAI file to convert
extern QString OutputDirectory; // folder the SN10 file goes into
extern QString OutputFileName;  // SN10 file to write

// Absolute path of the process's working directory, without a trailing separator except at
// the root.
QString CurrentDirectory();

// The part of a path after its last separator; the whole path when it has none.
QString FileNamePart(const QString& path);

// Index of the first entry equal to name, or -1 (also for an empty name). Letters a-z count as
// their capitals, and trailing blanks, tabs and line feeds do not count.
int FindFileEntry(const QStringList& entries, const QString& name);

// Sets OutputFileName to OutputDirectory joined with InputFileName's own file name, in which the
// first ".DAT" (".CUP" for a CUP file; any letter case) becomes ".NDB". Folder names are never
// changed.
void DeriveOutputFileName();

// The turnpoint files of a folder: plain, non-hidden files whose names end in ".dat" (CAI) or
// ".cup" (CUP) in any letter case, as bare names in the order the folder gives them.
QStringList ListTurnpointFiles(const QString& folder);

// Order of the file list: without regard to letter case, ties broken by the exact text.
bool TurnpointFileLess(const QString& a, const QString& b);

// A report line of the engine for display: its bytes as UTF-8 when they are valid UTF-8,
// else as Latin-1.
QString DecodeReportLine(std::string_view bytes);

// The message area as a list of lines: AddLine appends one line at the end and shows it.
void AddLine(QPlainTextEdit* memo, const QString& line);
void AddLines(QPlainTextEdit* memo, const QStringList& lines);
QStringList MemoLines(const QPlainTextEdit* memo);
