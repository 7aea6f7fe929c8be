#pragma once
// Drives the real main window headless: a scratch folder as the working directory, scripted
// answers for message boxes and file dialogs, and helpers to wait for the event loop.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTest>

#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Application.h"
#include "Cspin.h"
#include "Dialogs.h"
#include "Main.h"
#include "SysUtils.h"
#include "TestFiles.h"

namespace fs = std::filesystem;

// A small clean CAI file: two points, no errors, no warnings.
inline const std::string CleanCai = "**  ------------ Test Site ------------\r\n"
                                    "**  ------ Timezone: 1 ------\r\n"
                                    "1,47:07.300N,009:31.200E,448M,HATL,VALLEY FIELD,Tower\r\n"
                                    "2,47:10.050N,009:36.800E,1850M,T,NORTH RIDGE,Mast\r\n";

// Waits (running the event loop) until the condition holds or the time is up.
inline bool WaitFor(const std::function<bool()>& condition, int milliseconds = 3000) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > milliseconds)
            return false;
        QTest::qWait(5);
    }
    return true;
}

inline QString Q(const fs::path& path) {
    return QString::fromStdString(path.string());
}

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        qApp->setQuitOnLastWindowClosed(false);
        dir = fs::canonical(testfiles::ScratchDir()); // as the working directory names it
        savedDirectory = QDir::currentPath();
        previousBoxes = SetMessageBoxHandler([this](const MessageBoxRequest& request) {
            asked.push_back(request);
            if (answers.empty()) {
                ADD_FAILURE() << "unexpected message box: " << request.Text.toStdString();
                return mrCancel;
            }
            const TModalResult answer = answers.front();
            answers.pop_front();
            return answer;
        });
        previousDialogs = SetOpenDialogHandler([this](TOpenDialog& dialog) {
            shown.push_back(dialog);
            if (choices.empty()) {
                ADD_FAILURE() << "unexpected file dialog";
                return false;
            }
            auto choice = std::move(choices.front());
            choices.pop_front();
            return choice(dialog);
        });
        savedInput = {InputDirectory, InputFileName, OutputDirectory, OutputFileName};
    }

    void TearDown() override {
        form.reset();
        SetMessageBoxHandler(std::move(previousBoxes));
        SetOpenDialogHandler(std::move(previousDialogs));
        QDir::setCurrent(savedDirectory);
        InputDirectory = savedInput[0];
        InputFileName = savedInput[1];
        OutputDirectory = savedInput[2];
        OutputFileName = savedInput[3];
        EXPECT_TRUE(answers.empty()) << "message box answers left over";
        EXPECT_TRUE(choices.empty()) << "file dialog choices left over";
    }

    // Starts the window in a folder (the scratch folder by default) and waits until it is shown
    // and active.
    TMainForm& Start(const fs::path& folder = {}) {
        QDir::setCurrent(Q(folder.empty() ? dir : folder));
        form = std::make_unique<TMainForm>();
        form->show();
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        return *form;
    }

    void Write(const fs::path& path, const std::string& bytes) {
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

    // A file dialog answer that confirms the given path.
    static std::function<bool(TOpenDialog&)> Choose(const fs::path& path) {
        return [path](TOpenDialog& dialog) {
            dialog.FileName = Q(path);
            return true;
        };
    }
    static std::function<bool(TOpenDialog&)> CancelDialog() {
        return [](TOpenDialog&) { return false; };
    }

    fs::path dir;
    std::unique_ptr<TMainForm> form;
    std::deque<TModalResult> answers;                      // answers for the coming message boxes
    std::vector<MessageBoxRequest> asked;                  // message boxes shown so far
    std::deque<std::function<bool(TOpenDialog&)>> choices; // answers for the coming file dialogs
    std::vector<TOpenDialog> shown;                        // file dialogs as they were when shown

private:
    QString savedDirectory;
    MessageBoxHandler previousBoxes;
    OpenDialogHandler previousDialogs;
    std::vector<QString> savedInput;
};
