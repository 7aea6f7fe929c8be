// SPDX-License-Identifier: MIT
// Times two commands run alternately in one loop, so that both see the same machine load, and
// prints the median wall time and the median CPU time (user and system) of each, their ratios
// and each one's peak resident memory. The CPU time is what the process itself cost; it moves
// far less with the load of a shared machine than the wall time.
// Usage: bench_alternate RUNS NAME_A CMD_A... -- NAME_B CMD_B...
// Standard output and error of the commands go to /dev/null; the warm-up runs are not counted.
// "{n}" in an argument becomes the run's number, so that each run can write a file of its own.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct Command {
    std::string name;
    std::vector<std::string> arguments;
    std::vector<double> milliseconds;
    std::vector<double> cpuMilliseconds;
    long peakKilobytes = 0;
};

// Runs the command once; false when it could not be started or was killed.
bool RunOnce(Command& command, int run, bool counted) {
    std::vector<std::string> arguments = command.arguments;
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        if (const std::size_t at = argument.find("{n}"); at != std::string::npos)
            argument.replace(at, 3, std::to_string(run));
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return false;
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const auto end = std::chrono::steady_clock::now();
    if (!WIFEXITED(status))
        return false;
    if (counted) {
        command.milliseconds.push_back(
            std::chrono::duration<double, std::milli>(end - start).count());
        auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
        command.cpuMilliseconds.push_back(ms(usage.ru_utime) + ms(usage.ru_stime));
        command.peakKilobytes = std::max(command.peakKilobytes, usage.ru_maxrss);
    }
    return true;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 6) {
        std::fprintf(stderr, "usage: %s RUNS NAME_A CMD_A... -- NAME_B CMD_B...\n", argv[0]);
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    Command commands[2];
    int which = 0;
    for (int i = 2; i < argc; ++i) {
        if (std::string(argv[i]) == "--" && which == 0) {
            which = 1;
        } else if (commands[which].name.empty()) {
            commands[which].name = argv[i];
        } else {
            commands[which].arguments.push_back(argv[i]);
        }
    }
    for (Command& command : commands) {
        if (command.arguments.empty()) {
            std::fprintf(stderr, "%s: a command is missing\n", argv[0]);
            return 2;
        }
    }
    for (int i = -runs / 5; i < runs; ++i) {
        for (Command& command : commands) {
            if (!RunOnce(command, i + runs, i >= 0)) {
                std::fprintf(stderr, "%s: %s failed\n", argv[0], command.name.c_str());
                return 1;
            }
        }
    }
    std::printf("%-20s %10s %10s %10s\n", "", "wall", "cpu", "peak");
    for (const Command& command : commands)
        std::printf("%-20s %7.3f ms %7.3f ms %7ld kB\n", command.name.c_str(),
                    Median(command.milliseconds), Median(command.cpuMilliseconds),
                    command.peakKilobytes);
    std::printf("%-20s %9.2fx %9.2fx     (medians of %d runs each, run alternately)\n", "ratio",
                Median(commands[0].milliseconds) / Median(commands[1].milliseconds),
                Median(commands[0].cpuMilliseconds) / Median(commands[1].cpuMilliseconds), runs);
    return 0;
}
