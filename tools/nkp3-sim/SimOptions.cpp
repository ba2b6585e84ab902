#include "SimOptions.h"

#include <charconv>
#include <string_view>

namespace nkp::sim {
namespace {

template <typename T> bool parseNumber(std::string_view text, T& out, int base = 10)
{
    if (base == 16 && text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text.remove_prefix(2);
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out, base);
    return !text.empty() && ec == std::errc() && end == text.data() + text.size();
}

}  // namespace

std::optional<SimOptions> parseSimOptions(int argc, char** argv, std::string& error)
{
    SimOptions o;
    bool haveImage = false, haveSeed = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        auto value = [&]() -> std::optional<std::string_view> {
            if (i + 1 >= argc) {
                error = std::string(arg) + " needs a value";
                return std::nullopt;
            }
            return std::string_view(argv[++i]);
        };
        auto bad = [&](std::string_view v) {
            error = "bad value for " + std::string(arg) + ": " + std::string(v);
            return std::nullopt;
        };
        if (arg == "--image") {
            auto v = value();
            if (!v)
                return std::nullopt;
            o.imageFile = std::string(*v);
            haveImage = true;
        } else if (arg == "--seed") {
            auto v = value();
            if (!v)
                return std::nullopt;
            if (!parseNumber(*v, o.seed))
                return bad(*v);
            haveSeed = true;
        } else if (arg == "--stop-after") {
            auto v = value();
            std::size_t n = 0;
            if (!v)
                return std::nullopt;
            if (!parseNumber(*v, n))
                return bad(*v);
            o.stopAfter = n;
        } else if (arg == "--extra") {
            auto v = value();
            if (!v)
                return std::nullopt;
            if (!parseNumber(*v, o.extra))
                return bad(*v);
        } else if (arg == "--probe-answer") {
            auto v = value();
            unsigned byte = 0;
            if (!v)
                return std::nullopt;
            if (!parseNumber(*v, byte, 16) || byte > 0xFF)
                return bad(*v);
            o.probeAnswer = static_cast<std::uint8_t>(byte);
        } else if (arg == "--no-answer") {
            o.noAnswer = true;
        } else if (arg == "--noise") {
            o.noise = true;
        } else if (arg == "--paced") {
            o.paced = true;
        } else {
            error = "unknown option " + std::string(arg);
            return std::nullopt;
        }
    }
    if (haveImage && haveSeed) {
        error = "--image and --seed exclude each other";
        return std::nullopt;
    }
    return o;
}

}  // namespace nkp::sim
