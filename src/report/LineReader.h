#pragma once

#include <array>
#include <cstdio>
#include <string>

// Reads the data file line by line as a text file: a CR LF pair reads as LF,
// the line feed is dropped. In DOS mode the bytes are converted from the DOS
// code page (cp866) to Windows-1251 as they are read.
namespace nkp::report {

class LineReader {
public:
    explicit LineReader(std::FILE* file)
        : file_(file)
    {
    }

    // Reads the next line. As with C stdio, the end of the file is seen only
    // by a read that finds nothing more: a file of k line feeds gives k + 1
    // lines, an empty file one empty line. Returns false when the previous
    // line was the last.
    bool next(std::string& line);

    void setDosMode(bool on) { dos_ = on; }

private:
    bool fill();

    std::FILE* file_;
    std::array<char, 65536> buffer_ {};
    size_t begin_ = 0;
    size_t end_ = 0;
    bool atEnd_ = false;
    bool dos_ = false;
};

}  // namespace nkp::report
