// SPDX-License-Identifier: MIT
#include "Main.h"

#include "Application.h"
#include "Cspin.h"

#include "Conversion.h"
#include "Encoding.h"
#include "RunOptions.h"

#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <algorithm>
#include <limits>

TMainForm* MainForm = nullptr;

QString InputDirectory;
QString InputFileName;
QString OutputDirectory;
QString OutputFileName;

namespace {

#ifdef _WIN32
constexpr QChar PathSeparator = QLatin1Char('\\');
#else
constexpr QChar PathSeparator = QLatin1Char('/');
#endif

// The folder of a chosen file, written as CurrentDirectory writes folders.
QString FolderOfFile(const QString& path) {
    return QDir::toNativeSeparators(QFileInfo(path).absolutePath());
}

// True when something other than a folder is at path: a file of any kind, also one that cannot
// be read, or a symbolic link (even a dangling one) that does not lead to a folder.
bool SomethingOtherThanFolderAt(const QString& path) {
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    if (info.isSymLink())
        return !info.isDir();
    return info.exists() && !info.isDir();
}

// Inserts a name where the sorted list wants it.
void AddSortedEntry(QComboBox* list, const QString& name) {
    int low = 0;
    int high = list->count();
    while (low < high) {
        const int middle = (low + high) / 2;
        if (TurnpointFileLess(name, list->itemText(middle)))
            high = middle;
        else
            low = middle + 1;
    }
    list->insertItem(low, name);
}

// The number a text holds when it is a whole number: an optional sign and decimal digits, nothing
// else. A number beyond the 32-bit range comes back as the nearer end of that range.
std::optional<std::int32_t> WholeNumber(const QString& text) {
    const bool negative = text.startsWith(QLatin1Char('-'));
    const qsizetype digits = negative || text.startsWith(QLatin1Char('+')) ? 1 : 0;
    if (text.size() == digits)
        return std::nullopt;
    std::int64_t magnitude = 0;
    for (qsizetype i = digits; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        magnitude = std::min<std::int64_t>(magnitude * 10 + (c - u'0'),
                                           std::numeric_limits<std::int32_t>::max());
    }
    return std::int32_t(negative ? -magnitude : magnitude);
}

// How a run ended, in a few words for the status line: whether the SN10 file was written, and
// the run's error and warning counts.
QString OutcomeText(const ConversionResult& result, const QString& sn10Name) {
    const int errors = result.errors;
    const int warnings = result.warnings;
    if (result.outcome == RunOutcome::CaiFileNotRead)
        return QStringLiteral("Not converted: the CAI file could not be read");
    if (result.outcome == RunOutcome::Sn10FileNotOpened)
        return QStringLiteral("Not converted: the SN10 file could not be created");
    auto count = [](int n, const QString& what) {
        return QString::number(n) + QLatin1Char(' ') + what + (n == 1 ? "" : "s");
    };
    QStringList counts;
    if (errors > 0)
        counts.append(count(errors, QStringLiteral("error")));
    if (warnings > 0)
        counts.append(count(warnings, QStringLiteral("warning")));
    const bool written = result.outcome == RunOutcome::Written;
    QString text =
        sn10Name + (written ? QStringLiteral(" written") : QStringLiteral(" not written"));
    if (!counts.isEmpty())
        text += (written ? QStringLiteral(", ") : QStringLiteral(": ")) + counts.join(", ");
    if (errors > 0 || !written)
        text += QStringLiteral(", see the messages");
    return text;
}

QStringList Entries(const QComboBox* list) {
    QStringList entries;
    entries.reserve(list->count());
    for (int i = 0; i < list->count(); ++i)
        entries.append(list->itemText(i));
    return entries;
}

} // namespace

QString CurrentDirectory() {
    return QDir::toNativeSeparators(QDir::currentPath());
}

QString FileNamePart(const QString& path) {
    qsizetype cut = path.lastIndexOf(PathSeparator);
#ifdef _WIN32
    cut = std::max(cut, path.lastIndexOf(QLatin1Char(':')));
#endif
    return cut < 0 ? path : path.mid(cut + 1);
}

int FindFileEntry(const QStringList& entries, const QString& name) {
    if (name.isEmpty())
        return -1;
    auto upper = [](QChar c) {
        const char16_t u = c.unicode();
        return u >= u'a' && u <= u'z' ? char16_t(u - (u'a' - u'A')) : u;
    };
    auto onlyBlanksFrom = [](const QString& text, qsizetype from) {
        for (qsizetype i = from; i < text.size(); ++i)
            if (text[i] != QLatin1Char(' ') && text[i] != QLatin1Char('\t') &&
                text[i] != QLatin1Char('\n'))
                return false;
        return true;
    };
    auto equal = [&](const QString& a, const QString& b) {
        const qsizetype common = std::min(a.size(), b.size());
        for (qsizetype i = 0; i < common; ++i)
            if (upper(a[i]) != upper(b[i]))
                return false;
        return onlyBlanksFrom(a, common) && onlyBlanksFrom(b, common);
    };
    for (qsizetype i = 0; i < entries.size(); ++i)
        if (equal(entries[i], name))
            return int(i);
    return -1;
}

void DeriveOutputFileName() {
    // The input file's own name with its first ".DAT" or ".CUP" made ".NDB", in the output
    // folder; the rule is the engine's, so that every host names the SN10 file alike.
    const QString name = FileNamePart(InputFileName);
    const std::optional<std::string> sn10Name =
        DefaultSn10Path(QFile::encodeName(name).toStdString());
    OutputFileName =
        OutputDirectory + PathSeparator + (sn10Name ? QFile::decodeName(sn10Name->c_str()) : name);
}

QStringList ListTurnpointFiles(const QString& folder) {
    if (folder.isEmpty())
        return {};
    // No folders, no hidden or system files. The extension is compared directly: a name filter
    // would compile a regular expression, which costs more than the listing on start-up.
    QStringList names;
    QDirIterator entries(folder, QDir::Files | QDir::NoDotAndDotDot);
    while (entries.hasNext()) {
        const QString name = entries.nextFileInfo().fileName();
        if (name.endsWith(QLatin1String(".dat"), Qt::CaseInsensitive) ||
            name.endsWith(QLatin1String(".cup"), Qt::CaseInsensitive))
            names.append(name);
    }
    return names;
}

bool TurnpointFileLess(const QString& a, const QString& b) {
    const int folded = QString::compare(a, b, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : QString::compare(a, b, Qt::CaseSensitive) < 0;
}

QString DecodeReportLine(std::string_view bytes) {
    const auto size = qsizetype(bytes.size());
    return IsValidUtf8(bytes) ? QString::fromUtf8(bytes.data(), size)
                              : QString::fromLatin1(bytes.data(), size);
}

void AddLine(QPlainTextEdit* memo, const QString& line) {
    AddLines(memo, {line});
}

void AddLines(QPlainTextEdit* memo, const QStringList& lines) {
    if (lines.isEmpty())
        return;
    // Every line of the memo ends with a line break, so an empty line added first counts too.
    QTextCursor cursor(memo->document());
    cursor.movePosition(QTextCursor::End);
    cursor.beginEditBlock();
    if (!cursor.block().text().isEmpty())
        cursor.insertBlock();
    for (const QString& line : lines) {
        cursor.insertText(line);
        cursor.insertBlock();
    }
    cursor.endEditBlock();
    memo->setTextCursor(cursor);
    memo->ensureCursorVisible();
}

QStringList MemoLines(const QPlainTextEdit* memo) {
    QStringList lines = memo->toPlainText().split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    return lines;
}

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent) {
    MainForm = this;
    setWindowTitle(QStringLiteral("Velquor 1.0"));
    setObjectName(QStringLiteral("MainForm"));
    move(329, 113);

    // Menus. No item has a shortcut key; & marks the access letters.
    MainMenu = menuBar();
    fileMenu_ = MainMenu->addMenu(QStringLiteral("&File"));
    Convert1 = fileMenu_->addAction(QStringLiteral("&Convert"));
    FileInputDAT = fileMenu_->addAction(QStringLiteral("&Input (DAT) ..."));
    FileOutputNDB = fileMenu_->addAction(QStringLiteral("&Output (NDB) ..."));
    Refresh = fileMenu_->addAction(QStringLiteral("&Refresh"));
    fileMenu_->addSeparator();
    FileExitItem = fileMenu_->addAction(QStringLiteral("E&xit"));
    FileExitItem->setStatusTip(QStringLiteral("Exit this application"));
    helpMenu_ = MainMenu->addMenu(QStringLiteral("&Help"));
    HelpContentsItem = helpMenu_->addAction(QStringLiteral("&Contents"));
    HelpContentsItem->setStatusTip(QStringLiteral("Display the help contents screen"));
    HelpSearchItem = helpMenu_->addAction(QStringLiteral("&Search for Help On..."));
    HelpSearchItem->setStatusTip(QStringLiteral("Search help file for a topic"));
    HelpHowToUseItem = helpMenu_->addAction(QStringLiteral("&How to Use Help"));
    HelpHowToUseItem->setStatusTip(QStringLiteral("Help on using the help system"));
    helpMenu_->addSeparator();
    HelpAboutItem = helpMenu_->addAction(QStringLiteral("&About..."));
    HelpAboutItem->setStatusTip(QStringLiteral("Show program information"));
    helpMenu_->menuAction()->setVisible(false);

    // The client area: everything below the menu bar; the hint line lies along its bottom.
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("ClientArea"));
    // 8 point at 96 pixels per inch: text 13 pixels high, which the fixed layout is made for.
#ifdef _WIN32
    QFont font(QStringLiteral("MS Sans Serif"));
#else
    QFont font = this->font(); // the desktop's own sans-serif face
#endif
    font.setPixelSize(11);
    client_->setFont(font);
    setCentralWidget(client_);

    CAIfiles = new QComboBox(client_);
    CAIfiles->setObjectName(QStringLiteral("CAIfiles"));
    CAIfiles->setGeometry(32, 8, 241, 21);
    CAIfiles->setEditable(false);
    CAIfiles->setMaxVisibleItems(256);
    CAIfiles->setToolTip(QStringLiteral("Select a CAI file from this list"));
    CAIfiles->setStatusTip(CAIfiles->toolTip());

    VariationLable = new QLabel(QStringLiteral("Variation"), client_);
    VariationLable->setObjectName(QStringLiteral("VariationLable"));
    VariationLable->setGeometry(40, 32, 41, 13);
    VariationLable->adjustSize();

    Variation = new TCSpinEdit(client_);
    Variation->setObjectName(QStringLiteral("Variation"));
    Variation->SetMinValue(-60);
    Variation->SetMaxValue(60);
    Variation->SetValue(0);
    Variation->SetBounds(40, 48, 89, 22);
    Variation->setToolTip(QStringLiteral("Variation in degrees WEST"));
    Variation->setStatusTip(Variation->toolTip());
    VariationLable->setBuddy(Variation); // which also names the field for assistive tools

    Convert = new QPushButton(QStringLiteral("&Convert to NDB"), client_);
    Convert->setObjectName(QStringLiteral("Convert"));
    Convert->setGeometry(200, 48, 241, 25);
    Convert->setToolTip(QStringLiteral("Press to convert selected CAI file to NDB format"));
    Convert->setStatusTip(Convert->toolTip());
    // A click leaves the focus where it is: the convert command settles the variation field
    // itself, and must see an unfinished entry there rather than the -60 that leaving the field
    // would put in its place.
    Convert->setFocusPolicy(Qt::TabFocus);

    Messages = new QPlainTextEdit(client_);
    Messages->setObjectName(QStringLiteral("Messages"));
    Messages->setGeometry(32, 88, 233, 105);
    Messages->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Messages->setTabChangesFocus(true);

    StatusLine = new QStatusBar(this);
    StatusLine->setObjectName(QStringLiteral("StatusLine"));
    StatusLine->setFixedHeight(23);
    setStatusBar(StatusLine);

    // Tab order: the list, the button, the memo, the variation.
    setTabOrder(CAIfiles, Convert);
    setTabOrder(Convert, Messages);
    setTabOrder(Messages, Variation);

    DATselector.Title = QStringLiteral("Select Directory for DAT file");
    DATselector.Filter = QStringLiteral("Turnpoint files (.DAT, .CUP)|*.dat;*.cup|"
                                        "Cambridge Aero Turnpoints (.DAT)|*.dat|"
                                        "SeeYou waypoints (.CUP)|*.cup");
    DATselector.InitialDir = QStringLiteral("c:\\nav"); // replaced before every use
    DATselector.Options = ofHideReadOnly | ofPathMustExist | ofEnableSizing;
    NDBselector.Filter = QStringLiteral("SN10 database (.NDB)|*.NDB");
    NDBselector.DefaultExt = QStringLiteral("ndb");
    NDBselector.Options = ofHideReadOnly | ofPathMustExist | ofEnableSizing;

    connect(Convert, &QPushButton::clicked, this, Guarded([this] { ConvertClick(Convert); }));
    connect(Convert1, &QAction::triggered, this, Guarded([this] { ConvertClick(Convert1); }));
    connect(FileInputDAT, &QAction::triggered, this,
            Guarded([this] { FileInputDATClick(FileInputDAT); }));
    connect(FileOutputNDB, &QAction::triggered, this,
            Guarded([this] { FileOutputNDBClick(FileOutputNDB); }));
    connect(Refresh, &QAction::triggered, this, Guarded([this] { RefreshClick(Refresh); }));
    connect(FileExitItem, &QAction::triggered, this, Guarded([this] { FileExit(FileExitItem); }));
    connect(HelpContentsItem, &QAction::triggered, this,
            Guarded([this] { HelpContents(HelpContentsItem); }));
    connect(HelpSearchItem, &QAction::triggered, this,
            Guarded([this] { HelpSearch(HelpSearchItem); }));
    connect(HelpHowToUseItem, &QAction::triggered, this,
            Guarded([this] { HelpHowToUse(HelpHowToUseItem); }));
    connect(HelpAboutItem, &QAction::triggered, this,
            Guarded([this] { HelpAbout(HelpAboutItem); }));
    connect(CAIfiles, &QComboBox::currentIndexChanged, this, Guarded([this] {
                if (!selecting_)
                    CAIfilesChange(CAIfiles);
            }));
    client_->installEventFilter(this);

    // The design size of the client area, 514 x 370.
    resize(514, 370 + MainMenu->sizeHint().height());

    try {
        FormCreate(this);
    } catch (...) {
        Application.HandleException(); // the window is still created
    }
}

TMainForm::~TMainForm() {
    if (hintAttached_) {
        Application.OnHint = nullptr;
        Application.SetHint(QString());
    }
    if (MainForm == this)
        MainForm = nullptr;
}

int TMainForm::ClientWidth() const {
    return client_->width();
}

int TMainForm::ClientHeight() const {
    return client_->height() + StatusLine->height();
}

void TMainForm::SetClientHeight(int height) {
    resize(width(), this->height() - ClientHeight() + height);
}

bool TMainForm::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        Application.SetHint(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client_ && event->type() == QEvent::Resize) {
        try {
            FormResize(this);
        } catch (...) {
            Application.HandleException();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::FormCreate(QObject* Sender) {
    InputDirectory = CurrentDirectory();
    OutputDirectory = InputDirectory;
    Application.OnHint = [this](QObject* sender) { ShowHint(sender); };
    hintAttached_ = true;
    RefreshClick(Sender);
}

void TMainForm::ShowHint(QObject*) {
    StatusLine->showMessage(Application.Hint());
}

void TMainForm::FileExit(QObject*) {
    close();
}

void TMainForm::HelpContents(QObject*) {
    Application.HelpCommand(HELP_CONTENTS, 0);
}

void TMainForm::HelpSearch(QObject*) {
    static const char emptyKey[] = "";
    Application.HelpCommand(HELP_PARTIALKEY, reinterpret_cast<std::intptr_t>(emptyKey));
}

void TMainForm::HelpHowToUse(QObject*) {
    Application.HelpCommand(HELP_HELPONHELP, 0);
}

void TMainForm::HelpAbout(QObject*) {}

void TMainForm::FormResize(QObject*) {
    const int W = ClientWidth();
    const int H = ClientHeight();
    CAIfiles->setGeometry(10, CAIfiles->y(), W - 2 * 10, CAIfiles->height());
    Variation->move(CAIfiles->x(), Variation->y());
    VariationLable->move(Variation->x(), VariationLable->y());
    Convert->move(Variation->x() + Variation->width() + 10, Convert->y());
    int memoHeight = H - Messages->y() - 10 - StatusLine->height();
    if (memoHeight < 30)
        memoHeight = 30;
    Messages->setGeometry(CAIfiles->x(), Messages->y(), CAIfiles->width(), memoHeight);

    // The smallest client height is restored once the window's layout has settled: a resize
    // from inside the layout's own resize would leave the client area behind.
    if (!keepingHeight_) {
        keepingHeight_ = true;
        QMetaObject::invokeMethod(this, &TMainForm::KeepSmallestClientHeight, Qt::QueuedConnection);
    }
}

void TMainForm::KeepSmallestClientHeight() {
    keepingHeight_ = false;
    const int smallest = StatusLine->height() + Messages->y() + 40;
    // Also tell the window manager, so that the window does not shrink below it in the first place.
    setMinimumHeight(height() - ClientHeight() + smallest);
    if (ClientHeight() < smallest)
        SetClientHeight(smallest);
}

void TMainForm::SelectEntry(int index) {
    const bool wasSelecting = std::exchange(selecting_, true);
    CAIfiles->setCurrentIndex(index);
    selecting_ = wasSelecting;
}

void TMainForm::RefreshClick(QObject*) {
    const bool wasSelecting = std::exchange(selecting_, true);
    bool updating = true;
    CAIfiles->setUpdatesEnabled(false);
    try {
        CAIfiles->clear();
        for (const QString& name : ListTurnpointFiles(InputDirectory))
            AddSortedEntry(CAIfiles, name);
        CAIfiles->setUpdatesEnabled(true);
        updating = false;
        if (CAIfiles->count() > 0)
            SelectEntry(0);
        const int found = FindFileEntry(Entries(CAIfiles), FileNamePart(InputFileName));
        if (found >= 0)
            SelectEntry(found);
        InputFileName = InputDirectory + PathSeparator + CAIfiles->currentText();
        DeriveOutputFileName();
    } catch (...) {
        selecting_ = wasSelecting;
        MessageDlg(QStringLiteral("Trouble makeing file list."), mtWarning, {mbOK}, 0);
        if (updating)
            CAIfiles->setUpdatesEnabled(true);
        throw;
    }
    selecting_ = wasSelecting;
}

void TMainForm::FileInputDATClick(QObject* Sender) {
    DATselector.InitialDir = InputDirectory;
    if (!DATselector.Execute())
        return;
    InputDirectory = FolderOfFile(DATselector.FileName);
    InputFileName = DATselector.FileName;
    RefreshClick(Sender);
}

void TMainForm::FileOutputNDBClick(QObject*) {
    NDBselector.InitialDir = OutputDirectory;
    if (!NDBselector.Execute())
        return;
    OutputDirectory = FolderOfFile(NDBselector.FileName);
    OutputFileName = NDBselector.FileName;
}

void TMainForm::CAIfilesChange(QObject*) {
    InputFileName = InputDirectory + PathSeparator + CAIfiles->currentText();
    DeriveOutputFileName();
}

std::optional<std::int32_t> TMainForm::SettleVariation() {
    const std::optional<std::int32_t> typed = WholeNumber(Variation->Text());
    if (!typed)
        return std::nullopt;
    if (*typed < Variation->MinValue() || *typed > Variation->MaxValue())
        Variation->SetValue(*typed);
    return Variation->GetValue();
}

void TMainForm::ConvertClick(QObject*) {
    const std::optional<std::int32_t> variation = SettleVariation();
    if (!variation) {
        MessageDlg(QStringLiteral(
                       "Enter the magnetic variation as a whole number of degrees from -60 to 60."),
                   mtWarning, {mbOK}, 0);
        Variation->setFocus();
        Variation->selectAll();
        return;
    }
    if (SomethingOtherThanFolderAt(OutputFileName) &&
        MessageDlg(QStringLiteral("Output file ") + OutputFileName +
                       QStringLiteral(" already exists, Overwrite it?"),
                   mtWarning, {mbYes, mbCancel}, 0) != mrYes)
        return;
    AddLine(Messages, QStringLiteral("*********** ") + InputFileName + QStringLiteral(" becomes ") +
                          OutputFileName + QStringLiteral(" **********"));
    // The window shows nothing new until the run is over, so the report lines are gathered and
    // added to the memo in one edit: thousands of warnings then cost little more than a few.
    QStringList report;
    struct AddReport {
        QPlainTextEdit* memo;
        QStringList& report;
        ~AddReport() { AddLines(memo, report); }
    } addReport{Messages, report};
    const ConversionResult result = ConvertFile(
        {.inputPath = QFile::encodeName(InputFileName).toStdString(),
         .outputPath = QFile::encodeName(OutputFileName).toStdString(),
         .variation = static_cast<float>(*variation),
         .report = [&report](std::string_view line) { report.append(DecodeReportLine(line)); }});
    // The outcome stays in the status line until the next hint replaces it.
    StatusLine->showMessage(OutcomeText(result, FileNamePart(OutputFileName)));
}

// The meta-object code of this unit's classes, compiled here so that a program linking one
// class does not pull in every other class of the library with it.
#include "moc_Main.cpp"
