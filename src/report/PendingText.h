#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The output assembled but not yet written, kept so that a field can be found
// and filled without searching the whole text: the text is held as the pieces
// between its field mark bytes, and a field "<mark>Key<mark>" is a piece
// between two marks. An index from the hash of a piece's text to the pieces
// finds every field of a key at once.
//
// Filling a field joins three pieces (the one before, the value, the one
// after) into one. A piece is therefore a chain of byte ranges rather than a
// string, and its hash is one that two hashes combine into: a join costs the
// same however long the pieces have grown, and no text is copied or hashed
// again until the whole is taken.
namespace nkp::report {

class PendingText {
public:
    void append(std::string_view text);
    bool empty() const { return pieces_.empty(); }

    // Whether fieldMarker(key) occurs in the text (`key` as for replaceAll).
    bool contains(const std::string& key) const;

    // The same as replaceAll(text, fieldMarker(key), value): one left-to-right
    // pass, text that a replacement inserted is not searched again. `key` and
    // `value` hold no field mark byte, and `key`, which comes from one line of
    // a data file, no line feed. Returns whether anything was replaced.
    bool replaceAll(const std::string& key, std::string_view value);

    // The whole text; the pending text is empty afterwards.
    std::string take();

    // A polynomial hash modulo 2^61 - 1 with the base's power of the length,
    // so that the hash of a joined text follows from the hashes of its parts.
    struct Hash {
        std::uint64_t value = 0;
        std::uint64_t power = 1;
    };

private:
    // Indices into segments_ and pieces_. Each costs tens of bytes, so
    // memory runs out long before 32 bits of them.
    using Index = std::uint32_t;
    static constexpr Index kNone = UINT32_MAX;
    static constexpr Index kDead = UINT32_MAX - 1;  // prev of a piece gone from the text
    static constexpr Index kOut = UINT32_MAX - 1;   // samePrev of a piece not in the index
    // samePrev of a piece holding a line feed: no key can match it, so it is
    // never indexed and its hash is never needed.
    static constexpr Index kNever = UINT32_MAX - 2;

    // The records are small and few: their memory, not the work on them,
    // is most of the cost of a large pending text.
    struct Segment {
        std::size_t begin = 0;   // in bytes_
        std::uint32_t size = 0;  // longer ranges take several segments
        Index next = kNone;      // the next segment of the same piece
    };
    struct Piece {
        Hash hash;           // kept for every piece but the first
        Index head = kNone;  // first and last segments; none for an empty piece
        Index tail = kNone;
        Index prev = kNone, next = kNone;         // neighbours in the text, a mark between
        Index samePrev = kOut, sameNext = kNone;  // indexed pieces of the same hash value
    };

    // A slot of the open-addressing table from hash value to the head of the
    // chain of indexed pieces with that value (whose hash is the full key).
    // A slot whose chain emptied stays taken until the table is rebuilt.
    struct Slot {
        Index head = kNone;
        std::uint32_t tag = 0;  // high bits of the hash value, never 0; 0 for a free slot
    };
    static constexpr std::size_t kNoSlot = SIZE_MAX;
    std::size_t findSlot(std::uint64_t hash) const;
    std::size_t slotFor(std::uint64_t hash);
    void rebuildSlots(std::size_t atLeast);
    Index firstWithHash(std::uint64_t hash) const;

    static bool isIndexed(const Piece& piece) { return piece.samePrev != kOut && piece.samePrev != kNever; }
    bool isInner(const Piece& piece) const { return piece.prev != kNone && piece.next != kNone; }
    bool holds(const Piece& piece, std::string_view text) const;
    void addSegment(Index piece, std::size_t begin, std::size_t size);
    void makeRoom(std::size_t marks);
    void index(Index piece);
    void unindex(Index piece);

    std::string bytes_;  // every byte appended or inserted, in arrival order
    std::vector<Segment> segments_;
    std::vector<Piece> pieces_;  // in text order wherever alive
    Index last_ = kNone;
    std::size_t size_ = 0;     // bytes of the whole text
    std::vector<Slot> slots_;  // a power of two of them, at most half taken
    std::size_t takenSlots_ = 0;
};

}  // namespace nkp::report
