// SPDX-License-Identifier: MIT
// The least a program that replaces a file whole must do, as a yardstick for velquor-convert:
// write SIZE bytes into a new file beside TARGET, in 16 KiB blocks, and rename it over TARGET.
// Built and linked like velquor-convert; what it costs beyond the empty program is the file
// system's part of a run (creating the file, writing it, renaming it over the old one and so
// deleting that), which no conversion can avoid.
// Usage: bench_replace_floor TARGET SIZE
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

int main(int argc, char** argv) {
    if (argc != 3)
        return 2;
    const std::string target = argv[1];
    const std::string temporary = target + ".floor.tmp";
    long size = std::strtol(argv[2], nullptr, 10);
    static char block[16 * 1024];
    std::FILE* file = std::fopen(temporary.c_str(), "wbx");
    if (!file)
        return 1;
    std::setvbuf(file, nullptr, _IONBF, 0);
    for (; size > 0; size -= static_cast<long>(sizeof block))
        std::fwrite(block, 1, size < static_cast<long>(sizeof block) ? size : sizeof block, file);
    std::error_code ec;
    if (std::fclose(file) != 0)
        return 1;
    std::filesystem::rename(temporary, target, ec);
    return ec ? 1 : 0;
}
