// SPDX-License-Identifier: MIT
// velquor-convert run as a process, the way scripts use it.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "Conversion.h"
#include "TestFiles.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs velquor-convert with the arguments, in folder dir, without standard input; standard
// output goes to report when given.
Outcome Convert(const fs::path& dir, std::vector<std::string> args, fs::path report = {}) {
    args.insert(args.begin(), VELQUOR_CONVERT);
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const fs::path outFile = report.empty() ? dir / ".stdout" : report, errFile = dir / ".stderr";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addchdir_np(&actions, dir.c_str());
    pid_t pid = 0;
    Outcome outcome;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        waitpid(pid, &status, 0);
        outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    if (report.empty()) {
        outcome.out = testfiles::ReadBytes(outFile);
        fs::remove(outFile);
    }
    outcome.err = testfiles::ReadBytes(errFile);
    fs::remove(errFile);
    return outcome;
}

const std::string GoodCai =
    "**  ------------ Club\r\n**  ------ Timezone: 1\r\n1,1:00N,1:00E,1M,HAT,HOME\r\n";

class ConvertCommand : public ::testing::Test {
protected:
    void SetUp() override { dir = testfiles::ScratchDir(); }
    fs::path dir;
};

TEST_F(ConvertCommand, ReportOnStdoutMatchesTheEngine) {
    testfiles::WriteBytes(dir / "Alps.Dat", GoodCai + "2,1:00N,1:00E,1M,T,HOME\r\n");
    Outcome run = Convert(dir, {"-v", "2.5", "Alps.Dat"});
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_EQ("", run.err);
    ASSERT_TRUE(fs::exists(dir / "Alps.NDB"));
    EXPECT_NE(std::string::npos, testfiles::ReadBytes(dir / "Alps.NDB").find("Magvar 2.5 ,"));

    // The same run in this process, through the line sink, gives the same lines.
    const std::string in = (dir / "Alps.Dat").string();
    const std::string cliOut = (dir / "cli.ndb").string(), ownOut = (dir / "own.ndb").string();
    Outcome cli = Convert(dir, {"--variation", "2.5", in, cliOut});
    std::string expected;
    ConvertFile({.inputPath = in,
                 .outputPath = ownOut,
                 .variation = 2.5f,
                 .report = [&](std::string_view line) {
                     expected.append(line);
                     expected.push_back('\n');
                 }});
    expected.replace(expected.find(ownOut), ownOut.size(), cliOut);
    EXPECT_EQ(expected, cli.out);
}

TEST_F(ConvertCommand, ExitStatusTellsHowTheRunEnded) {
    testfiles::WriteBytes(dir / "good.dat", GoodCai);
    testfiles::WriteBytes(dir / "bad.dat", GoodCai + "x,1:00N,1:00E,1M,T,BAD\r\n");
    testfiles::WriteBytes(dir / "CLUB.DAT", GoodCai);
    testfiles::WriteBytes(dir / "club.cup", "Home,HM,DE,4500N,00700E,1m,5\n");
    fs::create_directory(dir / "folder.dat");
    fs::create_directories(dir / "my.data" / "two");
    testfiles::WriteBytes(dir / "my.data" / "club.dat", GoodCai);
    testfiles::WriteBytes(dir / "my.data" / "two" / "club.dat", GoodCai);
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* stdoutHas;
    } cases[] = {
        // Without a variation the default is used with a warning, but no error is counted.
        {{"good.dat"}, 0, "Warning good.NDB 6: Magnetic variation was not set 10.0 was used.\n"},
        {{"-v", "0", "good.dat", "good.ndb"}, 0, "1 points written to: good.ndb"},
        {{"-v", "1", "CLUB.DAT"}, 0, "1 points written to: CLUB.NDB\n"},
        {{"-v", "1", "club.cup"}, 0, "1 points written to: club.NDB\n"},
        {{"-v", "1", "--home", "Nobody", "club.cup", "x.ndb"}, 1, "Home point Nobody not found"},
        {{"-v", "1", "my.data/club.dat"}, 0, "1 points written to: my.data/club.NDB\n"},
        {{"-v", "1", "my.data/two/club.dat"}, 0, "1 points written to: my.data/two/club.NDB\n"},
        {{"-v", "1", "good.dat", "/dev/null"}, 0, "1 points written to: /dev/null\n"},
        {{"--variation=-5", "bad.dat", "bad.ndb"}, 1, "1 Errors found by VELQUOR"},
        {{"missing.dat"}, 4, "No CAI database"},
        {{"folder.dat", "f.ndb"}, 4, "Could not open file: folder.dat"},
        {{"good.dat", "no/such/dir/x.ndb"}, 4, "no/such/dir/x.ndb 1: Could not open SN10 file."},
        {{"-f", "good.dat", "/dev/full"}, 1, "Error /dev/full 1: Could not write SN10 file."},
        {{"good.dat", std::string(5000, 'x') + ".ndb"}, 4, "1 points read from: good.dat"},
    };
    for (const auto& c : cases) {
        Outcome run = Convert(dir, c.args);
        EXPECT_EQ(c.status, run.status) << c.args.back() << "\n" << run.out << run.err;
        EXPECT_NE(std::string::npos, run.out.find(c.stdoutHas)) << c.args.back() << run.out;
    }
    EXPECT_FALSE(fs::exists(dir / "missing.NDB"));
    EXPECT_FALSE(fs::exists(dir / "bad.ndb"));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

TEST_F(ConvertCommand, OptionsReachTheHeaderLine) {
    testfiles::WriteBytes(dir / "good.dat", GoodCai);
    testfiles::WriteBytes(dir / "club.Cup", "name,code,country,lat,lon,elev,style\r\n"
                                            "Tower,TWR,DE,4500N,00700E,1m,1\r\n"
                                            "Field,FLD,DE,4501N,00701E,1m,5\r\n");
    const std::string cai = "H \"Club            CAI conversion  good.dat\" , Timezone  1:00 , ";
    const std::string cup = "H \"Tower           CUP conversion  club.Cup\" , Timezone ";
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--variation=-2.5"}, cai + "Magvar -2.5 , Home \"01 HOME\""},
        {{"--variation=+2.50"}, cai + "Magvar 2.5 , Home \"01 HOME\""},
        {{"--variation=-0"}, cai + "Magvar 0.0 , Home \"01 HOME\""},
        {{"--variation=-0.0"}, cai + "Magvar 0.0 , Home \"01 HOME\""},
        {{"--variation=180"}, cai + "Magvar 180.0 , Home \"01 HOME\""},
        {{"--variation=-180"}, cai + "Magvar -180.0 , Home \"01 HOME\""},
        {{"--variation=007"}, cai + "Magvar 7.0 , Home \"01 HOME\""},
        {{"--variation=0.05"}, cai + "Magvar 0.1 , Home \"01 HOME\""},
        {{"--variation=1.05"}, cai + "Magvar 1.0 , Home \"01 HOME\""},
        {{"--variation=0.25"}, cai + "Magvar 0.2 , Home \"01 HOME\""},
        {{"-v", "2", "--timezone", "-3.5", "--title=My \"club\""},
         "H \"My 'club'       CAI conversion  good.dat\" , Timezone -3:30 , Magvar 2.0 , Home "
         "\"01 HOME\""},
        {{"--timezone=14", "-v2", "--home", "tower", "club.Cup"},
         cup + " 14:00 , Magvar 2.0 , Home \"TWR\""},
        {{"--timezone", "-12", "-v2", "--home=FLD", "--title", "T", "club.Cup"},
         "H \"T               CUP conversion  club.Cup\" , Timezone -12:00 , Magvar 2.0 , Home "
         "\"FLD\""},
    };
    for (auto [args, header] : cases) {
        const bool isCup = args.back() == "club.Cup";
        if (!isCup)
            args.push_back("good.dat");
        args.insert(args.begin(), "-f");
        Outcome run = Convert(dir, args);
        EXPECT_EQ(0, run.status) << header << run.err;
        EXPECT_EQ(header, testfiles::SplitCrLf(
                              testfiles::ReadBytes(dir / (isCup ? "club.NDB" : "good.NDB")))
                              .at(5));
    }
}

TEST_F(ConvertCommand, AReportThatCannotBeWrittenFailsTheRun) {
    testfiles::WriteBytes(dir / "good.dat", GoodCai);
    Outcome run = Convert(dir, {"-v", "1", "good.dat"}, "/dev/full");
    EXPECT_EQ(4, run.status);
    EXPECT_EQ("velquor-convert: could not write the report: No space left on device\n", run.err);
    EXPECT_EQ(0u, testfiles::ReadBytes(dir / "good.NDB").find("!VELQUOR")); // handled as decided
    EXPECT_TRUE(fs::is_character_file("/dev/full"));
}

TEST_F(ConvertCommand, ExistingOutputNeedsForce) {
    testfiles::WriteBytes(dir / "good.dat", GoodCai);
    testfiles::WriteBytes(dir / "good.NDB", "keep me");
    Outcome refused = Convert(dir, {"good.dat"});
    EXPECT_EQ(3, refused.status);
    EXPECT_EQ("", refused.out);
    EXPECT_EQ("velquor-convert: good.NDB already exists; use --force to overwrite\n", refused.err);
    EXPECT_EQ("keep me", testfiles::ReadBytes(dir / "good.NDB"));

    Outcome forced = Convert(dir, {"--force", "-v", "1", "good.dat"});
    EXPECT_EQ(0, forced.status);
    EXPECT_NE("keep me", testfiles::ReadBytes(dir / "good.NDB"));

    // A named pipe holds no file to keep: the database goes through it without --force.
    ASSERT_EQ(0, ::mkfifo((dir / "pipe.ndb").c_str(), 0600));
    std::string received;
    std::thread reader([&] { received = testfiles::ReadBytes(dir / "pipe.ndb"); });
    Outcome piped = Convert(dir, {"-v", "1", "good.dat", "pipe.ndb"});
    reader.join();
    EXPECT_EQ(0, piped.status) << piped.err;
    EXPECT_EQ(testfiles::ReadBytes(dir / "good.NDB"), received);
    EXPECT_TRUE(fs::is_fifo(dir / "pipe.ndb"));
}

TEST_F(ConvertCommand, UsageErrors) {
    testfiles::WriteBytes(dir / "good.dat", GoodCai);
    testfiles::WriteBytes(dir / "notes.txt", GoodCai);
    fs::create_directories(dir / "my.dat" / "two");
    testfiles::WriteBytes(dir / "my.dat" / "two" / "notes.txt", GoodCai);
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"--bogus", "good.dat"},
        {"-v"},
        {"-v", "west", "good.dat"},
        {"-v", "nan", "good.dat"},
        {"-v", "--5", "good.dat"},
        {"-v", "+-5", "good.dat"},
        {"-v", "1e1", "good.dat"},
        {"-v0x10", "good.dat"},
        {"--variation=inf", "good.dat"},
        {"--variation=180.1", "good.dat"},
        {"-v", "5.", "good.dat"},
        {"-v", "", "good.dat"},
        {"good.dat", ""}, // an empty name is no name
        {"", "x.ndb"},
        {"a.dat", "b.ndb", "c.ndb"},
        {"notes.txt"},                  // no name to derive the output from
        {"my.dat/two/notes.txt"},       // nor here: the folder's ".dat" does not count
        {"--home", "HOME", "good.dat"}, // a CAI file names its home point itself
        {"--timezone", "14.5", "good.dat"},
        {"--timezone=east", "good.dat"},
        {"--title=", "good.dat"},
        {"good.dat", "--timezone"},
        {"-f", "good.dat", "good.dat"}, // would replace its own input
    };
    for (const auto& args : cases) {
        Outcome run = Convert(dir, args);
        EXPECT_EQ(2, run.status) << (args.empty() ? "" : args.back());
        EXPECT_EQ("", run.out);
        EXPECT_EQ(0u, run.err.find("velquor-convert: ")) << run.err;
    }
    EXPECT_EQ(GoodCai, testfiles::ReadBytes(dir / "good.dat"));
    EXPECT_FALSE(fs::exists(dir / "good.NDB"));
}

TEST_F(ConvertCommand, HelpVersionAndEndOfOptions) {
    Outcome version = Convert(dir, {"--version"});
    EXPECT_EQ(0, version.status);
    EXPECT_EQ("velquor-convert 1.3.3.4\n", version.out);
    Outcome help = Convert(dir, {"--help"});
    EXPECT_EQ(0, help.status);
    EXPECT_EQ(0u, help.out.find("Usage: velquor-convert"));

    testfiles::WriteBytes(dir / "-odd.dat", GoodCai);
    Outcome odd = Convert(dir, {"-v", "1", "--", "-odd.dat"});
    EXPECT_EQ(0, odd.status) << odd.err;
    EXPECT_TRUE(fs::exists(dir / "-odd.NDB"));
}

TEST_F(ConvertCommand, HostileInputNeitherCrashesNorHangs) {
    std::string binary;
    for (int i = 0; i < 200000; ++i)
        binary.push_back(static_cast<char>((i * 7919) % 256));
    testfiles::WriteBytes(dir / "binary.dat", binary);
    testfiles::WriteBytes(dir / "longline.dat", std::string(3 << 20, 'x'));
    for (const char* name : {"binary.dat", "longline.dat"}) {
        Outcome run = Convert(dir, {"-f", name});
        EXPECT_EQ(1, run.status) << name << run.err;
        EXPECT_NE(std::string::npos, run.out.find("Errors found by VELQUOR")) << name;
    }
}

} // namespace
