#pragma once
// Text files as the DOS and Windows tools that make CAI files see them: on disk a line ends in
// CR LF, in memory in LF alone, and a Ctrl-Z byte marks the end of the file. Files are opened
// as bytes and translated here, so every platform reads and writes them alike.
#include <cstddef>
#include <cstdio>
#include <string_view>

class TextFileReader {
public:
    enum class Result { Piece, End, Error };

    TextFileReader() = default;
    TextFileReader(const TextFileReader&) = delete;
    TextFileReader& operator=(const TextFileReader&) = delete;
    ~TextFileReader() { Close(); }

    // Opens a file for reading; false when it cannot be opened or is a folder.
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
    std::size_t pos_ = 0;
    std::size_t length_ = 0;
    unsigned char data_[64 * 1024];
};

// Opens a file for writing text (created, or emptied when it exists); nullptr on failure.
// Only one file opened this way may be open at a time: they share one buffer.
std::FILE* OpenTextForWriting(const char* path);

// Writes text, each line feed as CR LF.
void WriteText(std::FILE* file, std::string_view text);
