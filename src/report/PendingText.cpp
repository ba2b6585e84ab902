#include "report/PendingText.h"

#include "report/Markers.h"

#include <vector>

namespace nkp::report {

bool PendingText::isInner(Pieces::const_iterator piece) const
{
    return piece != pieces_.begin() && std::next(piece) != pieces_.end();
}

void PendingText::index(Pieces::const_iterator piece)
{
    if (isInner(piece))
        inner_[piece->second].insert(piece->first);
}

void PendingText::unindex(Pieces::const_iterator piece)
{
    // Only inner pieces are indexed; hashing the outer ones, which grow
    // with every field filled next to them, would cost their whole length.
    if (!isInner(piece))
        return;
    const auto found = inner_.find(piece->second);
    if (found == inner_.end())
        return;
    found->second.erase(piece->first);
    if (found->second.empty())
        inner_.erase(found);
}

void PendingText::append(std::string_view text)
{
    if (text.empty())
        return;
    if (pieces_.empty())
        pieces_.emplace(nextId_++, std::string());
    size_ += text.size();
    size_t start = 0;
    for (;;) {
        const size_t mark = text.find(kFieldMark, start);
        auto last = std::prev(pieces_.end());
        last->second.append(
            text, start, mark == std::string_view::npos ? std::string_view::npos : mark - start);
        if (mark == std::string_view::npos)
            return;
        // The last piece gets a mark after it: it is now between two marks
        // unless it is the first.
        pieces_.emplace_hint(pieces_.end(), nextId_++, std::string());
        index(last);
        start = mark + 1;
    }
}

bool PendingText::contains(const std::string& key) const
{
    return inner_.contains(key);
}

bool PendingText::replaceAll(const std::string& key, std::string_view value)
{
    const auto found = inner_.find(key);
    if (found == inner_.end())
        return false;
    const std::vector<std::uint64_t> fields(found->second.begin(), found->second.end());
    inner_.erase(found);
    std::vector<std::uint64_t> joined;
    for (const std::uint64_t id : fields) {
        const auto field = pieces_.find(id);
        // A field right after a replaced one lost its opening mark to it.
        if (field == pieces_.end())
            continue;
        const auto left = std::prev(field);
        const auto right = std::next(field);
        unindex(left);
        unindex(right);
        left->second += value;
        left->second += right->second;
        size_ += value.size();
        size_ -= key.size() + 2;
        pieces_.erase(field);
        pieces_.erase(right);
        if (joined.empty() || joined.back() != left->first)
            joined.push_back(left->first);
    }
    // The joined pieces are indexed only now: the pass does not search text
    // that a replacement made.
    for (const std::uint64_t id : joined)
        if (const auto piece = pieces_.find(id); piece != pieces_.end())
            index(piece);
    return true;
}

std::string PendingText::take()
{
    std::string text;
    text.reserve(size_);
    for (auto piece = pieces_.begin(); piece != pieces_.end(); ++piece) {
        if (piece != pieces_.begin())
            text += kFieldMark;
        text += piece->second;
    }
    pieces_.clear();
    inner_.clear();
    size_ = 0;
    return text;
}

}  // namespace nkp::report
