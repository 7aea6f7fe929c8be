// SPDX-License-Identifier: MIT
// velquor-convert: converts a CAI or SeeYou CUP turnpoint file into an SN10 database from the
// command line.
// Standard output carries the engine's report, one line per line; everything the converter says
// itself goes to standard error.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "Conversion.h"
#include "RunOptions.h"

namespace {

enum ExitStatus {
    Converted = 0,
    ConvertedWithErrors = 1,
    UsageError = 2,
    RefusedOverwrite = 3,
    StoppedEarly = 4,
};

constexpr char Program[] = "velquor-convert";

constexpr char Usage[] =
    "Usage: velquor-convert [OPTION]... INPUT.dat|INPUT.cup [OUTPUT.ndb]\n"
    "Convert a CAI turnpoint file (.dat) or a SeeYou CUP file (.cup) into an SN10 database and\n"
    "report every line that cannot be accepted.\n"
    "\n"
    "  -v, --variation DEGREES  magnetic variation in degrees west, -180 to 180, written as\n"
    "                           digits with an optional sign and decimal point (2, -3.5);\n"
    "                           default 10.0, with a warning\n"
    "      --home NAME          the home point: the CUP point whose code or name is NAME (any\n"
    "                           letter case); default the first airfield, else the first point,\n"
    "                           with a warning. CUP files only: a CAI file marks its home point\n"
    "                           with the type letter H\n"
    "      --timezone HOURS     timezone in hours, -12 to 14, written as the variation is;\n"
    "                           default the CAI file's, else -4.0 with a warning\n"
    "      --title TEXT         site title; default the CAI file's, else the home point's name,\n"
    "                           with a warning\n"
    "  -f, --force              overwrite OUTPUT if it exists\n"
    "      --help               show this help and exit\n"
    "      --version            show the version and exit\n"
    "  --                       end of options\n"
    "\n"
    "The format follows INPUT's extension: .cup (any letter case) is a CUP file, anything else a\n"
    "CAI file. A file can hold at most 1799 points. OUTPUT defaults to INPUT's folder and file\n"
    "name, with the first \".DAT\" (\".CUP\" for a CUP file; any letter case) of the file name\n"
    "replaced by \".NDB\". OUTPUT is written, and replaced whole, only when reading found no\n"
    "error; otherwise it keeps its old content. A missing home point in a CAI file is an error\n"
    "found while writing: the database is written with the first point as home.\n"
    "\n"
    "Exit status: 0 converted without errors, 1 converted with errors reported, 2 usage error,\n"
    "3 OUTPUT exists and --force was not given, 4 INPUT could not be read, OUTPUT could not be\n"
    "created, or the report could not be written to standard output.\n";

struct Options {
    std::optional<float> variation;
    RunChoices choices;
    bool force = false;
    std::string input;
    std::string output;
};

[[noreturn]] void UsageFailure(const std::string& message) {
    std::fprintf(stderr, "%s: %s\nTry '%s --help' for more information.\n", Program,
                 message.c_str(), Program);
    std::exit(UsageError);
}

void SetVariation(Options& options, std::string_view text) {
    options.variation = ParseVariation(text);
    if (!options.variation)
        UsageFailure("invalid variation '" + std::string(text) +
                     "': give degrees west from -180 to 180 as digits with an optional sign and "
                     "decimal point, such as 2 or -3.5");
}

void SetTimezone(Options& options, std::string_view text) {
    options.choices.timezone = ParseTimezone(text);
    if (!options.choices.timezone)
        UsageFailure("invalid timezone '" + std::string(text) +
                     "': give hours from -12 to 14 as digits with an optional sign and decimal "
                     "point, such as 1 or -3.5");
}

void SetText(std::optional<std::string>& choice, std::string_view option, std::string_view text) {
    if (text.empty())
        UsageFailure("option '" + std::string(option) + "' needs a text that is not empty");
    choice = std::string(text);
}

Options ParseArguments(int argc, char** argv) {
    Options options;
    std::string positional[2];
    int positionals = 0;
    bool optionsEnded = false;
    // An option with a value: "--name VALUE" or "--name=VALUE"; value is set when arg is one.
    auto valued = [&](int& i, std::string_view arg, std::string_view name,
                      std::string_view& value) {
        if (arg == name) {
            if (i + 1 >= argc)
                UsageFailure("option '" + std::string(arg) + "' needs a value");
            value = argv[++i];
            return true;
        }
        if (arg.size() > name.size() && arg.starts_with(name) && arg[name.size()] == '=') {
            value = arg.substr(name.size() + 1);
            return true;
        }
        return false;
    };
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        std::string_view value;
        if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
            if (arg == "--") {
                optionsEnded = true;
            } else if (arg == "--help") {
                std::fputs(Usage, stdout);
                std::exit(Converted);
            } else if (arg == "--version") {
                std::printf("%s %s\n", Program, VELQUOR_VERSION);
                std::exit(Converted);
            } else if (arg == "-f" || arg == "--force") {
                options.force = true;
            } else if (arg == "-v") {
                if (i + 1 >= argc)
                    UsageFailure("option '-v' needs a number of degrees");
                SetVariation(options, argv[++i]);
            } else if (valued(i, arg, "--variation", value)) {
                SetVariation(options, value);
            } else if (valued(i, arg, "--timezone", value)) {
                SetTimezone(options, value);
            } else if (valued(i, arg, "--home", value)) {
                SetText(options.choices.home, "--home", value);
            } else if (valued(i, arg, "--title", value)) {
                SetText(options.choices.title, "--title", value);
            } else if (arg.starts_with("-v")) {
                SetVariation(options, arg.substr(2));
            } else {
                UsageFailure("unknown option '" + std::string(arg) + "'");
            }
            continue;
        }
        if (positionals == 2)
            UsageFailure("too many file names");
        if (arg.empty())
            UsageFailure(positionals == 0 ? "the INPUT file name is empty"
                                          : "the OUTPUT file name is empty");
        positional[positionals++] = std::string(arg);
    }
    if (positionals == 0)
        UsageFailure("no INPUT file given");
    options.input = positional[0];
    options.output = positionals == 2 ? positional[1] : std::string();
    if (options.choices.home && FormatOf(options.input) != InputFormat::Cup)
        UsageFailure("option '--home' is for CUP files: a CAI file marks its home point with the "
                     "type letter H");
    return options;
}

// Standard output carries the report; a line that cannot be written there is a failed run.
struct ReportOutput {
    int error = 0; // errno of the first failure

    void Check(bool ok) {
        if (!ok && error == 0)
            error = errno ? errno : EIO;
    }
};

} // namespace

int main(int argc, char** argv) {
    Options options = ParseArguments(argc, argv);
    if (options.output.empty()) {
        std::optional<std::string> derived = DefaultSn10Path(options.input);
        if (!derived)
            UsageFailure("cannot name the output after '" + options.input +
                         "', which has no \".DAT\" in its file name: give OUTPUT");
        options.output = *derived;
    }

    namespace fs = std::filesystem;
    std::error_code ec;
    if (fs::equivalent(options.input, options.output, ec))
        UsageFailure("OUTPUT '" + options.output + "' is the input file itself");
    if (!options.force && fs::is_regular_file(options.output, ec)) {
        std::fprintf(stderr, "%s: %s already exists; use --force to overwrite\n", Program,
                     options.output.c_str());
        return RefusedOverwrite;
    }

    static char outputBuffer[64 * 1024];
    std::setvbuf(stdout, outputBuffer, _IOFBF, sizeof outputBuffer);
    ReportOutput report;
    const ConversionResult result = ConvertFile({
        .inputPath = options.input,
        .outputPath = options.output,
        .variation = options.variation,
        .report =
            [&report](std::string_view line) {
                report.Check(std::fwrite(line.data(), 1, line.size(), stdout) == line.size() &&
                             std::fputc('\n', stdout) != EOF);
            },
        .choices = options.choices,
    });
    report.Check(std::fflush(stdout) == 0 && !std::ferror(stdout));
    if (report.error) {
        std::fprintf(stderr, "%s: could not write the report: %s\n", Program,
                     std::strerror(report.error));
        return StoppedEarly;
    }
    if (!result.completed)
        return StoppedEarly;
    return result.errors > 0 ? ConvertedWithErrors : Converted;
}
