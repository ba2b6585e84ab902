#include "report/PendingText.h"

#include "report/Markers.h"

#include <algorithm>
#include <cstring>

namespace nkp::report {
namespace {

constexpr std::uint64_t kModulus = (std::uint64_t {1} << 61) - 1;
constexpr std::uint64_t kBase = 0x1F3D5B79A2C4E687ULL % kModulus;

__extension__ using Wide = unsigned __int128;

std::uint64_t mulMod(std::uint64_t a, std::uint64_t b)
{
    const Wide product = static_cast<Wide>(a) * b;
    const std::uint64_t sum
        = (static_cast<std::uint64_t>(product) & kModulus) + static_cast<std::uint64_t>(product >> 61);
    return sum >= kModulus ? sum - kModulus : sum;
}

std::uint64_t addMod(std::uint64_t a, std::uint64_t b)
{
    const std::uint64_t sum = a + b;
    return sum >= kModulus ? sum - kModulus : sum;
}

// The hash of `a` followed by `b`.
PendingText::Hash join(PendingText::Hash a, PendingText::Hash b)
{
    return {addMod(mulMod(a.value, b.power), b.value), mulMod(a.power, b.power)};
}

PendingText::Hash hashOf(std::string_view text)
{
    PendingText::Hash hash;
    for (const char c : text) {
        hash.value = addMod(mulMod(hash.value, kBase), static_cast<unsigned char>(c) + std::uint64_t {1});
        hash.power = mulMod(hash.power, kBase);
    }
    return hash;
}

// The tag a slot keeps of a hash value: its high bits, never 0.
std::uint32_t tagOf(std::uint64_t hash)
{
    return static_cast<std::uint32_t>(hash >> 29) | 1U;
}

}  // namespace

bool PendingText::holds(const Piece& piece, std::string_view text) const
{
    size_t at = 0;
    for (Index s = piece.head; s != kNone; s = segments_[s].next) {
        const Segment& segment = segments_[s];
        if (segment.size > text.size() - at
            || std::memcmp(bytes_.data() + segment.begin, text.data() + at, segment.size) != 0)
            return false;
        at += segment.size;
    }
    return at == text.size();
}

void PendingText::addSegment(Index piece, std::size_t begin, std::size_t size)
{
    Piece& p = pieces_[piece];
    while (size > 0) {
        const std::size_t room = UINT32_MAX;
        // Bytes that follow the piece's last segment in bytes_ just lengthen it.
        if (p.tail != kNone && segments_[p.tail].begin + segments_[p.tail].size == begin
            && segments_[p.tail].size < room) {
            const std::size_t more = std::min(size, room - segments_[p.tail].size);
            segments_[p.tail].size += static_cast<std::uint32_t>(more);
            begin += more;
            size -= more;
            continue;
        }
        const std::size_t part = std::min(size, room);
        segments_.push_back({begin, static_cast<std::uint32_t>(part), kNone});
        const auto added = static_cast<Index>(segments_.size() - 1);
        if (p.tail == kNone)
            p.head = added;
        else
            segments_[p.tail].next = added;
        p.tail = added;
        begin += part;
        size -= part;
    }
}

void PendingText::makeRoom(std::size_t marks)
{
    // Grown by doubling, as push_back would, but at once for a whole append.
    const auto grow = [marks](auto& records) {
        if (records.capacity() < records.size() + marks + 1)
            records.reserve(std::max(records.size() + marks + 1, 2 * records.capacity()));
    };
    grow(pieces_);
    grow(segments_);
    if (2 * (takenSlots_ + marks) > slots_.size())
        rebuildSlots(takenSlots_ + marks);
}

std::size_t PendingText::findSlot(std::uint64_t hash) const
{
    if (slots_.empty())
        return kNoSlot;
    const std::uint32_t tag = tagOf(hash);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
        const Slot& slot = slots_[at];
        if (slot.tag == 0)
            return kNoSlot;
        if (slot.tag == tag && slot.head != kNone && pieces_[slot.head].hash.value == hash)
            return at;
    }
}

void PendingText::rebuildSlots(std::size_t atLeast)
{
    std::size_t size = 64;
    while (size < 2 * atLeast)
        size *= 2;
    std::vector<Slot> old(size);
    old.swap(slots_);
    takenSlots_ = 0;
    const std::size_t mask = slots_.size() - 1;
    for (const Slot& slot : old) {
        if (slot.head == kNone)
            continue;  // free, or its chain emptied
        std::size_t at = pieces_[slot.head].hash.value & mask;
        while (slots_[at].tag != 0)
            at = (at + 1) & mask;
        slots_[at] = slot;
        ++takenSlots_;
    }
}

std::size_t PendingText::slotFor(std::uint64_t hash)
{
    if (2 * (takenSlots_ + 1) > slots_.size())
        rebuildSlots(2 * (takenSlots_ + 1));
    const std::uint32_t tag = tagOf(hash);
    const std::size_t mask = slots_.size() - 1;
    std::size_t emptied = kNoSlot;
    for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
        Slot& slot = slots_[at];
        if (slot.tag == 0) {
            if (emptied != kNoSlot)
                return emptied;
            slot.tag = tag;
            ++takenSlots_;
            return at;
        }
        if (slot.head == kNone) {
            if (emptied == kNoSlot)
                emptied = at;
        } else if (slot.tag == tag && pieces_[slot.head].hash.value == hash) {
            return at;
        }
    }
}

PendingText::Index PendingText::firstWithHash(std::uint64_t hash) const
{
    const std::size_t at = findSlot(hash);
    return at == kNoSlot ? kNone : slots_[at].head;
}

void PendingText::index(Index piece)
{
    if (pieces_[piece].samePrev != kOut || !isInner(pieces_[piece]))
        return;  // indexed already, never to be, or not between two marks
    const std::size_t at = slotFor(pieces_[piece].hash.value);
    Slot& slot = slots_[at];
    slot.tag = tagOf(pieces_[piece].hash.value);
    Piece& p = pieces_[piece];
    p.samePrev = kNone;
    p.sameNext = slot.head;
    if (slot.head != kNone)
        pieces_[slot.head].samePrev = piece;
    slot.head = piece;
}

void PendingText::unindex(Index piece)
{
    Piece& p = pieces_[piece];
    if (!isIndexed(p))
        return;
    if (p.sameNext != kNone)
        pieces_[p.sameNext].samePrev = p.samePrev;
    if (p.samePrev != kNone)
        pieces_[p.samePrev].sameNext = p.sameNext;
    else
        slots_[findSlot(p.hash.value)].head = p.sameNext;
    p.samePrev = kOut;
    p.sameNext = kNone;
}

void PendingText::append(std::string_view text)
{
    if (text.empty())
        return;
    makeRoom(static_cast<std::size_t>(std::count(text.begin(), text.end(), kFieldMark)));
    if (pieces_.empty()) {
        pieces_.emplace_back();
        last_ = 0;
    }
    size_ += text.size();
    size_t start = 0;
    for (;;) {
        const size_t mark = text.find(kFieldMark, start);
        const std::string_view chunk
            = text.substr(start, mark == std::string_view::npos ? std::string_view::npos : mark - start);
        addSegment(last_, bytes_.size(), chunk.size());
        bytes_.append(chunk);
        // The first piece is never between two marks: its hash is never asked for.
        Piece& last = pieces_[last_];
        if (chunk.find('\n') != std::string_view::npos)
            last.samePrev = kNever;
        else if (last_ != 0 && last.samePrev != kNever)
            last.hash = join(last.hash, hashOf(chunk));
        if (mark == std::string_view::npos)
            return;
        // The last piece gets a mark after it: it is now between two marks
        // unless it is the first.
        const auto added = static_cast<Index>(pieces_.size());
        pieces_.emplace_back();
        pieces_[added].prev = last_;
        pieces_[last_].next = added;
        index(last_);
        last_ = added;
        start = mark + 1;
    }
}

bool PendingText::contains(const std::string& key) const
{
    for (Index p = firstWithHash(hashOf(key).value); p != kNone; p = pieces_[p].sameNext)
        if (holds(pieces_[p], key))
            return true;
    return false;
}

bool PendingText::replaceAll(const std::string& key, std::string_view value)
{
    std::vector<Index> fields;
    for (Index p = firstWithHash(hashOf(key).value); p != kNone; p = pieces_[p].sameNext)
        if (holds(pieces_[p], key))
            fields.push_back(p);
    if (fields.empty())
        return false;
    // Pieces only lose their place in the index here: the pieces of the key
    // are not matched again, and the text this pass makes is indexed at its end.
    for (const Index field : fields)
        unindex(field);
    std::sort(fields.begin(), fields.end());  // text order

    const size_t valueBegin = bytes_.size();
    bytes_.append(value);
    const bool valueHasLineFeed = value.find('\n') != std::string_view::npos;
    const Hash valueHash = valueHasLineFeed ? Hash {} : hashOf(value);
    std::vector<Index> joined;
    for (const Index field : fields) {
        // A field right after a replaced one lost its opening mark to it.
        if (pieces_[field].prev == kDead)
            continue;
        const Index left = pieces_[field].prev;
        const Index right = pieces_[field].next;
        unindex(left);
        unindex(right);
        addSegment(left, valueBegin, value.size());
        Piece& l = pieces_[left];
        Piece& r = pieces_[right];
        if (r.head != kNone) {
            if (l.tail == kNone)
                l.head = r.head;
            else
                segments_[l.tail].next = r.head;
            l.tail = r.tail;
        }
        if (valueHasLineFeed || r.samePrev == kNever)
            l.samePrev = kNever;
        else if (left != 0 && l.samePrev != kNever)
            l.hash = join(join(l.hash, valueHash), r.hash);
        l.next = r.next;
        if (r.next != kNone)
            pieces_[r.next].prev = left;
        else
            last_ = left;
        pieces_[field].prev = kDead;
        r.prev = kDead;
        size_ += value.size();
        size_ -= key.size() + 2;
        if (joined.empty() || joined.back() != left)
            joined.push_back(left);
    }
    // The joined pieces are indexed only now: the pass does not search text
    // that a replacement made.
    for (const Index piece : joined)
        if (pieces_[piece].prev != kDead)
            index(piece);
    return true;
}

std::string PendingText::take()
{
    std::string text;
    text.reserve(size_);
    for (Index p = pieces_.empty() ? kNone : 0; p != kNone; p = pieces_[p].next) {
        if (p != 0)
            text += kFieldMark;
        for (Index s = pieces_[p].head; s != kNone; s = segments_[s].next)
            text.append(bytes_, segments_[s].begin, segments_[s].size);
    }
    bytes_.clear();
    segments_.clear();
    pieces_.clear();
    last_ = kNone;
    size_ = 0;
    // A large table is dropped rather than cleared, so that many small
    // flushes after one large one stay cheap.
    if (slots_.size() > 1024)
        slots_ = {};
    else
        std::fill(slots_.begin(), slots_.end(), Slot {});
    takenSlots_ = 0;
    return text;
}

}  // namespace nkp::report
