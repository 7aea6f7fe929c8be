// SPDX-License-Identifier: MIT
#pragma once
// Scratch files for tests: each test gets a fresh folder of its own.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace testfiles {

// A fresh, empty folder for the running test, removed again by the next run of the same test.
std::filesystem::path ScratchDir();

void WriteBytes(const std::filesystem::path& path, std::string_view bytes);
std::string ReadBytes(const std::filesystem::path& path);

// The lines of a file written with CR LF ends, without them; a last line without its end is
// marked "<no line end>".
std::vector<std::string> SplitCrLf(const std::string& bytes);

} // namespace testfiles
