#pragma once

#include <cstddef>
#include <string_view>
#include <unordered_map>
#include <vector>

// Where the fields of a prepared template lie, found without searching the
// template: for each text between two neighbouring field marks, the
// positions of the opening marks, in order. A data file with many keys that
// the template does not hold then costs the template's size once, not once
// per key.
namespace nkp::report {

class FieldPositions {
public:
    // `text` must outlive the index and stay unchanged.
    explicit FieldPositions(std::string_view text);

    // The same as findText(text, fieldMarker(key), from) for a key without
    // a line feed (a key comes from one line of a data file).
    std::size_t find(std::string_view key, std::size_t from) const;

private:
    // Texts holding a line feed are left out: no key matches them.
    std::unordered_map<std::string_view, std::vector<std::size_t>> positions_;
};

}  // namespace nkp::report
