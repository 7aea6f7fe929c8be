#pragma once
// Drives the real main window headless: a scratch folder as the working directory, scripted
// answers for message boxes and file dialogs.
#include <gtest/gtest.h>

#include <QTest>
#include <QtWidgets>

#include <deque>
#include <filesystem>
#include <memory>
#include <vector>

#include "Application.h"
#include "Cspin.h"
#include "Main.h"
#include "SysUtils.h"
#include "TestFiles.h"

namespace fs = std::filesystem;

// A small clean CAI file: two points, no errors, no warnings.
inline const std::string CleanCai = "**  ------------ Test Site ------------\r\n"
                                    "**  ------ Timezone: 1 ------\r\n"
                                    "1,47:07.300N,009:31.200E,448M,HATL,VALLEY FIELD,Tower\r\n"
                                    "2,47:10.050N,009:36.800E,1850M,T,NORTH RIDGE,Mast\r\n";

inline QString Q(const fs::path& path) {
    return QString::fromStdString(path.string());
}

// Drops the two notes the offscreen platform prints whenever a menu pops up (it can neither raise
// a window nor grab the keyboard); every other message goes on to the handler before it.
class OffscreenPopupNotes {
public:
    OffscreenPopupNotes() { previous = qInstallMessageHandler(&Filter); }
    ~OffscreenPopupNotes() { qInstallMessageHandler(previous); }

private:
    static void Filter(QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (text != "This plugin does not support raise()" &&
            text != "This plugin does not support grabbing the keyboard" && previous)
            previous(type, context, text);
    }
    static inline QtMessageHandler previous = nullptr;
};

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        qApp->setQuitOnLastWindowClosed(false);
        dir = fs::canonical(testfiles::ScratchDir()); // as the working directory names it
        previousBoxes = SetMessageBoxHandler([this](const MessageBoxRequest& request) {
            asked.push_back(request);
            return Next(answers, "message box: " + request.Text.toStdString());
        });
        previousDialogs = SetOpenDialogHandler([this](TOpenDialog& dialog) {
            shown.push_back(dialog);
            const fs::path choice = Next(choices, "file dialog");
            if (!choice.empty())
                dialog.FileName = Q(choice);
            return !choice.empty();
        });
    }

    void TearDown() override {
        form.reset();
        SetMessageBoxHandler(std::move(previousBoxes));
        SetOpenDialogHandler(std::move(previousDialogs));
        QDir::setCurrent(savedDirectory);
        InputDirectory = InputFileName = OutputDirectory = OutputFileName = QString();
        EXPECT_TRUE(answers.empty() && choices.empty()) << "scripted answers left over";
    }

    // Starts the window in a folder (the scratch folder by default), shown and active.
    TMainForm& Start(const fs::path& folder = {}) {
        QDir::setCurrent(Q(folder.empty() ? dir : folder));
        form = std::make_unique<TMainForm>();
        form->show();
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        return *form;
    }

    void Write(const fs::path& path, const std::string& bytes = CleanCai) {
        fs::create_directories(path.parent_path());
        testfiles::WriteBytes(path, bytes);
    }

    QStringList Entries() const {
        QStringList entries;
        for (int i = 0; i < form->CAIfiles->count(); ++i)
            entries.append(form->CAIfiles->itemText(i));
        return entries;
    }
    QStringList Lines() const { return MemoLines(form->Messages); }

    // The window's four paths: input folder and file, output folder and file.
    static QStringList Paths() {
        return {InputDirectory, InputFileName, OutputDirectory, OutputFileName};
    }
    static QStringList Paths(const fs::path& in, const fs::path& inFile, const fs::path& out,
                             const fs::path& outFile) {
        return {Q(in), Q(inFile), Q(out), Q(outFile)};
    }
    // What a file dialog was shown with.
    static QStringList Settings(const TOpenDialog& d) {
        return {d.InitialDir, d.Title, d.Filter, d.DefaultExt, QString::number(d.Options)};
    }

    // The next scripted answer; a missing one fails the test and answers "nothing".
    template <class T> static T Next(std::deque<T>& script, const std::string& what) {
        if (script.empty()) {
            ADD_FAILURE() << "unexpected " << what;
            return T{};
        }
        T next = std::move(script.front());
        script.pop_front();
        return next;
    }

    fs::path dir;
    std::unique_ptr<TMainForm> form;
    std::deque<TModalResult> answers;     // answers for the coming message boxes
    std::vector<MessageBoxRequest> asked; // message boxes shown so far
    std::deque<fs::path> choices;         // files chosen in the coming file dialogs; empty cancels
    std::vector<TOpenDialog> shown;       // file dialogs as they were when shown

private:
    OffscreenPopupNotes popupNotes;
    QString savedDirectory = QDir::currentPath();
    MessageBoxHandler previousBoxes;
    OpenDialogHandler previousDialogs;
};
