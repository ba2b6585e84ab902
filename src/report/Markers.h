#pragma once

#include <string>
#include <string_view>

// The engine's own marker characters and the texts that depend on the
// template kind. Markers never reach the report: FlushOutput strips them.
namespace nkp::report {

// A field left for the data pass: kFieldMark, the field name, kFieldMark.
inline constexpr char kFieldMark = '\x03';
// A group boundary: kGroupMark and three characters (see groupMarker).
inline constexpr char kGroupMark = '\x02';
inline constexpr size_t kGroupMarkerLength = 4;

// Removes both marker characters from text that comes from a user file, so
// that neither a template nor a value can forge or cut a marker.
inline void dropMarkerBytes(std::string& text)
{
    std::erase_if(text, [](char c) { return c == kFieldMark || c == kGroupMark; });
}

inline std::string fieldMarker(std::string_view name)
{
    std::string marker;
    marker.reserve(name.size() + 2);
    marker += kFieldMark;
    marker += name;
    marker += kFieldMark;
    return marker;
}

// kGroupMark followed by the decimal text of the group number and "**", cut
// to three characters: 1 -> "1**", 12 -> "12*", 1234 -> "123". `digits` is
// the number's decimal text without leading zeros.
inline std::string groupMarkerOfDigits(std::string_view digits)
{
    std::string marker(1, kGroupMark);
    marker += std::string(digits.substr(0, 3));
    marker.append(kGroupMarkerLength - marker.size(), '*');
    return marker;
}

inline std::string groupMarker(int group)
{
    return groupMarkerOfDigits(std::to_string(group));
}

inline std::string_view lineBreak(bool rtf)
{
    return rtf ? std::string_view("{\\par}") : std::string_view("\n");
}
inline std::string_view pageBreak(bool rtf)
{
    return rtf ? std::string_view("{\\page}") : std::string_view("\f");
}

}  // namespace nkp::report
