#include "TextFile.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace {
constexpr unsigned char EndOfFileMark = 0x1A; // Ctrl-Z

// Length of the start of text that holds no line feed, carriage return or Ctrl-Z.
std::size_t PlainPrefix(const unsigned char* text, std::size_t length) {
    for (unsigned char special :
         {static_cast<unsigned char>('\n'), static_cast<unsigned char>('\r'), EndOfFileMark}) {
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
    atEnd_ = failed_ = false;
    pos_ = length_ = 0;
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
    length_ = std::fread(data_, 1, sizeof data_, file_);
    pos_ = 0;
    if (length_ == 0) {
        if (std::ferror(file_))
            failed_ = true;
        else
            atEnd_ = true;
        return false;
    }
    return true;
}

TextFileReader::Result TextFileReader::ReadPiece(char* buffer, int size) {
    int count = 0;
    while (count < size - 1) {
        if (pos_ == length_ && !Fill())
            break;
        // Copy plain characters in one sweep; stop at the three that need a closer look.
        const std::size_t room = static_cast<std::size_t>(size - 1 - count);
        const std::size_t plain = PlainPrefix(data_ + pos_, std::min(room, length_ - pos_));
        std::memcpy(buffer + count, data_ + pos_, plain);
        count += static_cast<int>(plain);
        pos_ += plain;
        if (count == size - 1 || pos_ == length_)
            continue;
        unsigned char c = data_[pos_++];
        if (c == EndOfFileMark) {
            atEnd_ = true;
            pos_ = length_ = 0;
            break;
        }
        if (c == '\r') {
            // A carriage return right before a line feed is part of the line end.
            if (pos_ == length_)
                Fill();
            if (pos_ < length_ && data_[pos_] == '\n') {
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

std::FILE* OpenTextForWriting(const char* path) {
    if (!path || !*path)
        return nullptr;
    std::FILE* file = std::fopen(path, "wb");
    // Large blocks spare the system calls; the runtime would pick a small buffer of its own (and
    // ignores a size given without a buffer). One such file is open at a time.
    static char buffer[64 * 1024];
    if (file)
        std::setvbuf(file, buffer, _IOFBF, sizeof buffer);
    return file;
}

void WriteText(std::FILE* file, std::string_view text) {
    while (!text.empty()) {
        std::size_t newline = text.find('\n');
        std::size_t length = newline == std::string_view::npos ? text.size() : newline;
        std::fwrite(text.data(), 1, length, file);
        if (newline == std::string_view::npos)
            return;
        std::fwrite("\r\n", 1, 2, file);
        text.remove_prefix(newline + 1);
    }
}
