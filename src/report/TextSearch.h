#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Byte-string searching and replacing for the template engine. Every
// operation is linear in the text, whatever the needle: templates and data
// files are user files and may hold very long delimiters or keys.
namespace nkp::report {

// Position of the first `needle` in `text` at or after `from`, or npos.
// An empty needle is never found.
size_t findText(std::string_view text, std::string_view needle, size_t from = 0);

// Replaces every occurrence of `needle` by `replacement` in one left-to-right
// pass: text that a replacement inserted is never searched again. Returns
// whether anything was replaced.
bool replaceAll(std::string& text, std::string_view needle, std::string_view replacement);

// "\'" and the byte as two upper-case hexadecimal digits ("\'C0").
std::string hexEscape(unsigned char byte);

}  // namespace nkp::report
