// SPDX-License-Identifier: MIT
#include "TextFile.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace {
constexpr unsigned char EndOfFileMark = 0x1A; // Ctrl-Z

// Length of the start of text that holds no line feed or carriage return. The line feed is
// looked for first, so the carriage return is looked for in one line only.
std::size_t PlainPrefix(const unsigned char* text, std::size_t length) {
    for (unsigned char special :
         {static_cast<unsigned char>('\n'), static_cast<unsigned char>('\r')}) {
        if (const void* found = std::memchr(text, special, length))
            length = static_cast<std::size_t>(static_cast<const unsigned char*>(found) - text);
    }
    return length;
}
} // namespace

bool TextFileReader::Open(const char* path) {
    Close();
    std::error_code ec;
    if (!path || !*path || std::filesystem::is_directory(path, ec))
        return false;
    file_ = std::fopen(path, "rb");
    atEnd_ = failed_ = started_ = false;
    pos_ = length_ = markAt_ = 0;
    // Whole blocks are read straight into the reader's block; the file needs no buffer of its own.
    if (file_)
        std::setvbuf(file_, nullptr, _IONBF, 0);
    return file_ != nullptr;
}

void TextFileReader::Close() {
    if (file_)
        std::fclose(file_);
    file_ = nullptr;
}

bool TextFileReader::Fill() {
    if (atEnd_ || failed_ || !file_)
        return false;
    const bool first = !started_;
    started_ = true;
    length_ = std::fread(block_, 1, TextBlockSize, file_);
    pos_ = 0;
    // A short read ends at the end of the file (or at an error, which the next read reports):
    // at the end there is nothing more to ask for.
    if (length_ < TextBlockSize && std::feof(file_) && !std::ferror(file_))
        atEnd_ = true;
    // Windows editors start a UTF-8 file with a byte-order mark; the text begins after it.
    if (first && length_ >= 3 && std::memcmp(block_, "\xEF\xBB\xBF", 3) == 0)
        pos_ = 3;
    // Where the block's first Ctrl-Z is, if it has one: the text ends there.
    const void* mark = std::memchr(block_ + pos_, EndOfFileMark, length_ - pos_);
    markAt_ =
        mark ? static_cast<std::size_t>(static_cast<const unsigned char*>(mark) - block_) : length_;
    if (length_ == 0) {
        if (std::ferror(file_))
            failed_ = true;
        else
            atEnd_ = true;
        return false;
    }
    return pos_ < length_ || Fill();
}

TextFileReader::Result TextFileReader::ReadPiece(char* buffer, int size) {
    int count = 0;
    while (count < size - 1) {
        if (pos_ == length_ && !Fill())
            break;
        // Copy plain characters in one sweep; stop at the three that need a closer look.
        const std::size_t room = static_cast<std::size_t>(size - 1 - count);
        const std::size_t plain = PlainPrefix(block_ + pos_, std::min(room, markAt_ - pos_));
        std::memcpy(buffer + count, block_ + pos_, plain);
        count += static_cast<int>(plain);
        pos_ += plain;
        if (count == size - 1 || pos_ == length_)
            continue;
        unsigned char c = block_[pos_++];
        if (c == EndOfFileMark) {
            atEnd_ = true;
            pos_ = length_ = markAt_ = 0;
            break;
        }
        if (c == '\r') {
            // A carriage return right before a line feed is part of the line end.
            if (pos_ == length_)
                Fill();
            if (pos_ < length_ && block_[pos_] == '\n') {
                ++pos_;
                c = '\n';
            }
        }
        buffer[count++] = static_cast<char>(c);
        if (c == '\n')
            break;
    }
    if (failed_)
        return Result::Error;
    buffer[count] = '\0';
    return count > 0 ? Result::Piece : Result::End;
}

namespace {

namespace fs = std::filesystem;

// A new file of an unused name in folder, opened for writing; nullptr when the folder does not
// take one.
std::FILE* CreateTemporary(const fs::path& folder, std::string& name) {
    static std::uint64_t counter =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    for (int attempt = 0; attempt < 100; ++attempt) {
        // splitmix64 of a counter: names that differ between processes and between attempts.
        std::uint64_t z = (counter += 0x9E3779B97F4A7C15u);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
        z ^= z >> 31;
        char leaf[32];
        std::snprintf(leaf, sizeof leaf, ".velquor-%012llx.tmp",
                      static_cast<unsigned long long>(z & 0xFFFFFFFFFFFFu));
        name = (folder / leaf).string();
        errno = 0;
        if (std::FILE* file = std::fopen(name.c_str(), "wbx"))
            return file;
        if (errno != EEXIST)
            break;
    }
    name.clear();
    return nullptr;
}

} // namespace

std::FILE* TextFileWriter::Open(const char* path) {
    Close(false);
    if (!path || !*path)
        return nullptr;
    std::error_code ec;
    fs::path target = path;
    fs::file_status status = fs::symlink_status(target, ec);
    for (int hops = 0; fs::is_symlink(status); ++hops) {
        fs::path link = fs::read_symlink(target, ec);
        if (ec || hops == 40)
            return nullptr; // a loop of links names no file
        target = link.is_absolute() ? link : target.parent_path() / link;
        status = fs::symlink_status(target, ec);
    }
    if (status.type() == fs::file_type::regular || status.type() == fs::file_type::not_found) {
        file_ = CreateTemporary(target.parent_path(), temporary_);
        if (file_ && status.type() == fs::file_type::regular) {
            fs::permissions(temporary_, status.permissions() & fs::perms::mask, ec);
            if (ec) {
                Close(false);
                return nullptr;
            }
        }
        target_ = target.string();
    } else if (status.type() != fs::file_type::none) {
        file_ = std::fopen(path, "wb");
    }
    if (file_)
        std::setvbuf(file_, nullptr, _IONBF, 0);
    return file_;
}

bool TextFileWriter::Close(bool keep) {
    if (!file_)
        return true;
    bool ok = std::ferror(file_) == 0;
    ok = std::fclose(file_) == 0 && ok;
    file_ = nullptr;
    if (temporary_.empty())
        return ok;
    std::error_code ec;
    if (keep && ok) {
        fs::rename(temporary_, target_, ec);
        ok = !ec;
    }
    if (!keep || !ok)
        fs::remove(temporary_, ec);
    temporary_.clear();
    return ok;
}
