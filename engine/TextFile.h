// SPDX-License-Identifier: MIT
#pragma once
// Text files as the DOS and Windows tools that make CAI files see them: on disk a line ends in
// CR LF, in memory in LF alone, and a Ctrl-Z byte marks the end of the file. Files are opened
// as bytes and translated here, so every platform reads and writes them alike.
#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

// Files are read, and written, a block of this size at a time.
inline constexpr std::size_t TextBlockSize = 16 * 1024;

class TextFileReader {
public:
    enum class Result { Piece, End, Error };

    TextFileReader() = default;
    TextFileReader(const TextFileReader&) = delete;
    TextFileReader& operator=(const TextFileReader&) = delete;
    ~TextFileReader() { Close(); }

    // Opens a file for reading; false when it cannot be opened or is a folder. A UTF-8
    // byte-order mark at the start of the file is skipped.
    bool Open(const char* path);
    void Close();

    // Reads like fgets: at most size - 1 characters, up to and including the next line feed,
    // and terminates the text. End when nothing is left; Error when reading failed.
    Result ReadPiece(char* buffer, int size);

private:
    bool Fill(); // false at the end of the file or on an error

    std::FILE* file_ = nullptr;
    bool atEnd_ = false;
    bool failed_ = false;
    bool started_ = false; // the first block was read
    std::size_t pos_ = 0;
    std::size_t length_ = 0;
    std::size_t markAt_ = 0; // the first Ctrl-Z of the block at pos_ or after, else length_
    unsigned char block_[TextBlockSize]; // read straight from the file: it has no buffer of its own
};

// Writes a file that replaces its target whole, or not at all. A regular file, or a name where
// no file is yet (symbolic links followed to the file they name), is written as a temporary file
// in the target's folder and renamed over the target only when the writing is kept and every
// write succeeded; the new file keeps the permission bits of the one it replaces. Anything else
// (a device such as /dev/null, a named pipe) is written directly: renaming over it would replace
// the device node or pipe itself.
class TextFileWriter {
public:
    TextFileWriter() = default;
    TextFileWriter(const TextFileWriter&) = delete;
    TextFileWriter& operator=(const TextFileWriter&) = delete;
    ~TextFileWriter() { Close(false); }

    // The file to write into, or nullptr when it cannot be created. The file has no buffer of
    // its own: every write goes straight to the file, so write in whole blocks.
    std::FILE* Open(const char* path);

    // Ends the writing. When keep is true, what was written takes the target's place; otherwise
    // the temporary file is removed and the target stays as it was. False when a write, the
    // flush, the close or the rename failed (the target then stays as it was, too).
    bool Close(bool keep);

private:
    std::FILE* file_ = nullptr;
    std::string temporary_; // empty when the target is written directly
    std::string target_;
};
