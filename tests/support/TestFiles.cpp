// SPDX-License-Identifier: MIT
#include "TestFiles.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace fs = std::filesystem;

namespace testfiles {

fs::path ScratchDir() {
    const char* base = std::getenv("VELQUOR_TEST_TMP");
    fs::path root = base && *base ? fs::path(base) : fs::temp_directory_path() / "velquor-tests";
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "misc";
    for (char& c : name)
        if (c == '/')
            c = '_';
    fs::path dir = root / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

void WriteBytes(const fs::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> SplitCrLf(const std::string& bytes) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
        out.push_back(bytes.substr(start, end - start));
    if (start < bytes.size())
        out.push_back(bytes.substr(start) + "<no line end>");
    return out;
}

} // namespace testfiles
