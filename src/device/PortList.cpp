#include "device/PortList.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <filesystem>
#include <optional>
#include <string_view>

namespace nkp::device {
namespace {

constexpr std::array<std::string_view, 3> kFamilies = {"ttyUSB", "ttyACM", "ttyS"};

struct Ranked {
    std::size_t family;
    unsigned number;
    std::string name;
};

// The family and number of "ttyUSB3" and the like; nothing for other names.
std::optional<Ranked> rank(const std::string& name)
{
    for (std::size_t f = 0; f < kFamilies.size(); ++f) {
        const std::string_view prefix = kFamilies[f];
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0)
            continue;
        const char* first = name.data() + prefix.size();
        const char* last = name.data() + name.size();
        unsigned number = 0;
        const auto [end, ec] = std::from_chars(first, last, number);
        if (ec == std::errc() && end == last)
            return Ranked {f, number, name};
    }
    return std::nullopt;
}

}  // namespace

std::vector<PortSlot> orderPortSlots(const std::vector<std::string>& names, const std::string& devDir)
{
    std::vector<Ranked> ranked;
    for (const std::string& name : names)
        if (auto r = rank(name))
            ranked.push_back(*r);
    std::sort(ranked.begin(), ranked.end(), [](const Ranked& a, const Ranked& b) {
        return a.family != b.family ? a.family < b.family : a.number < b.number;
    });
    ranked.erase(std::unique(ranked.begin(), ranked.end(),
                     [](const Ranked& a, const Ranked& b) { return a.name == b.name; }),
        ranked.end());
    std::vector<PortSlot> portSlots;
    for (const Ranked& r : ranked) {
        if (portSlots.size() == kPortSlotCount)
            break;
        portSlots.push_back({r.name, devDir + "/" + r.name});
    }
    return portSlots;
}

std::vector<std::string> serialPortLinks(const std::string& devDir)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(devDir, ec))
        if (entry.is_symlink(ec) && rank(entry.path().filename().string()))
            names.push_back(entry.path().filename().string());
    return names;
}

}  // namespace nkp::device
