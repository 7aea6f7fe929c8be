#pragma once
// Scratch files for tests: each test gets a fresh folder of its own.
#include <filesystem>
#include <string>
#include <string_view>

namespace testfiles {

// A fresh, empty folder for the running test, removed again by the next run of the same test.
std::filesystem::path ScratchDir();

void WriteBytes(const std::filesystem::path& path, std::string_view bytes);
std::string ReadBytes(const std::filesystem::path& path);

// True when the process can read and write files whatever their permission bits (root).
bool PermissionsAreIgnored();

} // namespace testfiles
