#pragma once

#include <array>
#include <cstdio>
#include <string>

// Reads the data file line by line as a text file: a CR LF pair reads as LF,
// the line feed is dropped. In DOS mode the bytes are converted from the DOS
// code page (cp866) to Windows-1251 as they are read.
namespace nkp::report {

// The longest line a data file or a template may hold (16 MiB).
inline constexpr size_t kMaxLineLength = size_t {16} << 20;

class LineReader {
public:
    explicit LineReader(std::FILE* file, size_t maxLineLength = kMaxLineLength)
        : file_(file)
        , maxLineLength_(maxLineLength)
    {
    }

    // Reads the next line. As with C stdio, the end of the file is seen only
    // by a read that finds nothing more: a file of k line feeds gives k + 1
    // lines, an empty file one empty line. Returns false when the previous
    // line was the last, or when a line is longer than the bound (then
    // tooLong() is true and nothing more is read).
    bool next(std::string& line);
    bool tooLong() const { return tooLong_; }

    void setDosMode(bool on) { dos_ = on; }

private:
    bool fill();

    std::FILE* file_;
    std::array<char, 65536> buffer_ {};
    size_t begin_ = 0;
    size_t end_ = 0;
    size_t maxLineLength_;
    bool atEnd_ = false;
    bool tooLong_ = false;
    bool dos_ = false;
};

}  // namespace nkp::report
