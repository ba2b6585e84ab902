#pragma once

#include <optional>
#include <string>
#include <string_view>

// The name of a template field: cleaning away the RTF formatting that a word
// processor may put inside a field, and recognising group fields.
namespace nkp::report {

// Keeps Latin letters, digits and "_". A "{" or "\" is removed together with
// everything up to and including the next space, else the next "}", else
// alone; any other character is removed alone. A name holding an RTF hex
// escape ("\'") is returned unchanged: non-Latin text in an RTF template.
std::string cleanFieldName(std::string_view name);

// A group field is a non-empty name of decimal digits with at most one "D",
// first or last ("3", "D3", "3D", "D"). Returns the group marker it stands
// for, an empty text for a group below 1, or nothing for other names.
std::optional<std::string> groupFieldMarker(std::string_view cleanName);

}  // namespace nkp::report
