#include "SimOptions.h"

#include "args/ArgParser.h"

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

// An option whose value `take` turns into a setting; false refuses the value.
template <typename Take> tool::ArgOption valueOption(std::string name, Take take)
{
    return {name, tool::OptionKind::Value, [name, take](const std::string& value) {
                return take(value) ? std::string() : "bad value for " + name + ": " + value;
            }};
}

}  // namespace

std::optional<SimOptions> parseSimOptions(int argc, char** argv, std::string& error)
{
    SimOptions o;
    bool haveImage = false, haveSeed = false;
    const tool::ArgSyntax syntax {.options = {
                                      valueOption("--image",
                                          [&](const std::string& v) {
                                              o.imageFile = v;
                                              return haveImage = true;
                                          }),
                                      valueOption("--seed",
                                          [&](const std::string& v) { return haveSeed = parseNumber(v, o.seed); }),
                                      valueOption("--stop-after",
                                          [&](const std::string& v) {
                                              std::size_t n = 0;
                                              if (!parseNumber(v, n))
                                                  return false;
                                              o.stopAfter = n;
                                              return true;
                                          }),
                                      valueOption("--extra", [&](const std::string& v) { return parseNumber(v, o.extra); }),
                                      valueOption("--probe-answer",
                                          [&](const std::string& v) {
                                              unsigned byte = 0;
                                              if (!parseNumber(v, byte, 16) || byte > 0xFF)
                                                  return false;
                                              o.probeAnswer = static_cast<std::uint8_t>(byte);
                                              return true;
                                          }),
                                      {"--no-answer", tool::OptionKind::Flag, tool::setFlag(o.noAnswer)},
                                      {"--noise", tool::OptionKind::Flag, tool::setFlag(o.noise)},
                                      {"--paced", tool::OptionKind::Flag, tool::setFlag(o.paced)},
                                  },
        .unknown = tool::UnknownOptions::Dash};
    // Every argument is an option: an undeclared one is unknown, dash or not.
    if (const auto problem = parseArgs(syntax, std::vector<std::string>(argv + 1, argv + argc))) {
        using Kind = tool::ArgProblem::Kind;
        error = problem->kind == Kind::ValueMissing ? problem->argument + " needs a value"
            : problem->kind == Kind::Refused        ? problem->reason
                                                    : "unknown option " + problem->argument;
        return std::nullopt;
    }
    if (haveImage && haveSeed) {
        error = "--image and --seed exclude each other";
        return std::nullopt;
    }
    return o;
}

}  // namespace nkp::sim
