#include "base/Codec.h"

#include <array>
#include <cerrno>
#include <iconv.h>
#include <stdexcept>

namespace nkp::codec {
namespace {

// RAII wrapper of one iconv conversion descriptor.
class Iconv {
public:
    Iconv(const char* to, const char* from)
        : cd_(iconv_open(to, from))
    {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
    }
    ~Iconv() { iconv_close(cd_); }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    // Converts `in`, replacing each input sequence that cannot be converted
    // (skipping `badInputStep(...)` bytes of it) with `replacement`.
    template <typename Step>
    std::string convert(std::string_view in, std::string_view replacement, Step badInputStep)
    {
        std::string out;
        out.reserve(in.size() * 2);
        std::array<char, 4096> buf {};
        char* src = const_cast<char*>(in.data());
        size_t srcLeft = in.size();
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        while (srcLeft > 0) {
            char* dst = buf.data();
            size_t dstLeft = buf.size();
            const size_t rc = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            out.append(buf.data(), buf.size() - dstLeft);
            if (rc != static_cast<size_t>(-1))
                continue;
            if (errno == E2BIG)
                continue;
            // EILSEQ or EINVAL: a sequence that cannot be converted or that is
            // cut off at the end of the input.
            const size_t skip = std::min(srcLeft, badInputStep(std::string_view(src, srcLeft)));
            src += skip;
            srcLeft -= skip;
            out.append(replacement);
        }
        return out;
    }

private:
    iconv_t cd_;
};

// Length of the (possibly malformed) UTF-8 sequence at the start of `s`, at
// least 1, so that one bad character becomes one replacement.
size_t utf8SequenceLength(std::string_view s)
{
    const auto lead = static_cast<unsigned char>(s[0]);
    size_t len = 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        len = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        len = 3;
    else if (lead >= 0xF0 && lead <= 0xF4)
        len = 4;
    size_t i = 1;
    while (i < len && i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80)
        ++i;
    return i;
}

size_t oneByte(std::string_view)
{
    return 1;
}

}  // namespace

std::string cp1251ToUtf8(std::string_view cp1251)
{
    Iconv cv("UTF-8", "CP1251");
    return cv.convert(cp1251, "\xEF\xBF\xBD", oneByte);
}

std::string utf8ToCp1251(std::string_view utf8)
{
    // U+FFFD stands for the undefined byte 0x98 (see cp1251ToUtf8) and turns
    // back into it, so that a text kept as UTF-8 (the archive) comes back
    // byte for byte and still shows as damaged.
    static constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
    Iconv cv("CP1251", "UTF-8");
    std::string out;
    for (;;) {
        const size_t at = utf8.find(kReplacement);
        out += cv.convert(utf8.substr(0, at), "?", utf8SequenceLength);
        if (at == std::string_view::npos)
            return out;
        out += '\x98';
        utf8.remove_prefix(at + kReplacement.size());
    }
}

std::string cp866ToCp1251(std::string_view cp866)
{
    // Every cp866 byte has a Unicode character; box drawing and a few signs
    // have no Windows-1251 twin and take the nearest ASCII sign instead.
    // clang-format off
    static const std::array<char, 48> pseudoGraphics = {
        // 0xB0..0xDF: shades, then lines and corners
        '#', '#', '#', '|', '+', '+', '+', '+', '+', '+', '|', '+', '+', '+', '+', '+',
        '+', '+', '+', '+', '-', '+', '+', '+', '+', '+', '+', '+', '+', '-', '+', '+',
        '+', '+', '+', '+', '+', '+', '+', '+', '+', '+', '+', '#', '#', '#', '#', '#'};
    // clang-format on
    Iconv toUtf8("UTF-8", "CP866");
    Iconv toCp1251("CP1251", "UTF-8");
    std::string out;
    out.reserve(cp866.size());
    size_t runStart = 0;
    auto flushRun = [&](size_t end) {
        if (end > runStart)
            out += toCp1251.convert(toUtf8.convert(cp866.substr(runStart, end - runStart), "?", oneByte), "?",
                utf8SequenceLength);
    };
    for (size_t i = 0; i < cp866.size(); ++i) {
        const auto b = static_cast<unsigned char>(cp866[i]);
        if (b >= 0xB0 && b <= 0xDF) {
            flushRun(i);
            out += pseudoGraphics[b - 0xB0];
            runStart = i + 1;
        }
    }
    flushRun(cp866.size());
    return out;
}

}  // namespace nkp::codec
