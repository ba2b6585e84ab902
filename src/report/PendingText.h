#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>

// The output assembled but not yet written, kept so that a field can be found
// and filled without searching the whole text: the text is held as the pieces
// between its field mark bytes, and a field "<mark>Key<mark>" is a piece
// between two marks. An index from piece text to pieces finds every field of
// a key at once, so filling N keys costs about the text's size, not N times.
namespace nkp::report {

class PendingText {
public:
    void append(std::string_view text);
    bool empty() const { return pieces_.empty(); }

    // Whether fieldMarker(key) occurs in the text.
    bool contains(const std::string& key) const;

    // The same as replaceAll(text, fieldMarker(key), value): one left-to-right
    // pass, text that a replacement inserted is not searched again. `key` and
    // `value` hold no field mark byte. Returns whether anything was replaced.
    bool replaceAll(const std::string& key, std::string_view value);

    // The whole text; the pending text is empty afterwards.
    std::string take();

private:
    using Pieces = std::map<std::uint64_t, std::string>;  // in text order, a mark between neighbours
    bool isInner(Pieces::const_iterator piece) const;
    void index(Pieces::const_iterator piece);
    void unindex(Pieces::const_iterator piece);

    Pieces pieces_;
    std::uint64_t nextId_ = 0;
    std::size_t size_ = 0;                                            // bytes of the whole text
    std::unordered_map<std::string, std::set<std::uint64_t>> inner_;  // piece text -> inner pieces
};

}  // namespace nkp::report
