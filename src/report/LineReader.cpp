#include "report/LineReader.h"

#include "base/Codec.h"

#include <cstring>

namespace nkp::report {
namespace {

// cp866 to Windows-1251 is a byte-for-byte mapping: built once from the codec
// helper instead of converting every line through iconv.
const std::array<char, 256>& dosToWindowsTable()
{
    static const std::array<char, 256> table = [] {
        std::array<char, 256> t {};
        std::string all(256, '\0');
        for (size_t i = 0; i < all.size(); ++i)
            all[i] = static_cast<char>(i);
        const std::string converted = codec::cp866ToCp1251(all);
        for (size_t i = 0; i < t.size(); ++i)
            t[i] = converted.size() == all.size() ? converted[i] : '?';
        return t;
    }();
    return table;
}

}  // namespace

bool LineReader::fill()
{
    begin_ = 0;
    end_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
    return end_ > 0;
}

bool LineReader::next(std::string& line)
{
    if (atEnd_)
        return false;
    line.clear();
    bool endedByLineFeed = false;
    for (;;) {
        if (begin_ == end_ && !fill()) {
            atEnd_ = true;
            break;
        }
        const char* start = buffer_.data() + begin_;
        const void* lf = std::memchr(start, '\n', end_ - begin_);
        const size_t length = lf ? static_cast<size_t>(static_cast<const char*>(lf) - start) : end_ - begin_;
        const size_t oldSize = line.size();
        if (length > maxLineLength_ - oldSize) {
            tooLong_ = true;
            atEnd_ = true;
            line.clear();
            return false;
        }
        line.append(start, length);
        if (dos_) {
            const auto& table = dosToWindowsTable();
            for (size_t i = oldSize; i < line.size(); ++i)
                line[i] = table[static_cast<unsigned char>(line[i])];
        }
        begin_ += length;
        if (lf) {
            ++begin_;
            endedByLineFeed = true;
            break;
        }
    }
    if (endedByLineFeed && !line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

}  // namespace nkp::report
