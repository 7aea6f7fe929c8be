// SPDX-License-Identifier: MIT
#pragma once
// Drives the real main window headless: a scratch folder as the working directory, scripted
// answers for message boxes and file dialogs.
#include <gtest/gtest.h>

#include <QTest>
#include <QtWidgets>

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

// The n-th message box or file dialog of a test takes the n-th scripted answer; one beyond the
// script fails the test (and gets Cancel), and so does an answer left unused.
class WindowTest : public ::testing::Test {
protected:
    static QString Q(const fs::path& path) { return QString::fromStdString(path.string()); }

    void SetUp() override {
        qApp->setQuitOnLastWindowClosed(false);
        dir = fs::canonical(testfiles::ScratchDir()); // as the working directory names it
        previousBoxes = SetMessageBoxHandler([this](const MessageBoxRequest& request) {
            asked.push_back(request);
            EXPECT_LE(asked.size(), answers.size()) << "unexpected " << request.Text.toStdString();
            return asked.size() <= answers.size() ? answers[asked.size() - 1] : mrCancel;
        });
        previousDialogs = SetOpenDialogHandler([this](TOpenDialog& dialog) {
            shown.push_back(dialog);
            EXPECT_LE(shown.size(), choices.size()) << "unexpected file dialog";
            const fs::path choice = shown.size() <= choices.size() ? choices[shown.size() - 1] : "";
            if (!choice.empty())
                dialog.FileName = Q(choice);
            return !choice.empty();
        });
    }

    void TearDown() override {
        form.reset();
        EXPECT_TRUE(Application.Hint().isEmpty()) << "a closed window left its hint behind";
        SetMessageBoxHandler(std::move(previousBoxes));
        SetOpenDialogHandler(std::move(previousDialogs));
        QDir::setCurrent(savedDirectory);
        InputDirectory = InputFileName = OutputDirectory = OutputFileName = QString();
        EXPECT_TRUE(answers.size() == asked.size() && choices.size() == shown.size())
            << "scripted answers left over";
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

    // Opens the File menu with the mouse.
    QMenu* OpenFileMenu() {
        QMenu* menu = form->FileMenu();
        QTest::mouseClick(form->MainMenu, Qt::LeftButton, {},
                          form->MainMenu->actionGeometry(menu->menuAction()).center());
        EXPECT_TRUE(QTest::qWaitForWindowExposed(menu));
        return menu;
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

    fs::path dir;
    std::unique_ptr<TMainForm> form;
    std::vector<TModalResult> answers;    // for the message boxes of the test, in order
    std::vector<MessageBoxRequest> asked; // message boxes shown so far
    std::vector<fs::path> choices;        // files chosen in the file dialogs; empty cancels
    std::vector<TOpenDialog> shown;       // file dialogs as they were when shown

private:
    QString savedDirectory = QDir::currentPath();
    MessageBoxHandler previousBoxes;
    OpenDialogHandler previousDialogs;
};
