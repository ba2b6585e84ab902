#pragma once

#include "recorder/Frame.h"

#include <vector>

namespace nkp::recorder {

// The store of exactly 11000 decoded records, indexed by the frame's place in
// the file. A new store holds zeros; clear() puts every record into the
// cleared state.
class FrameStore {
public:
    FrameStore();

    void clear();

    TFrameRecord& operator[](std::size_t index) { return records_[index]; }
    const TFrameRecord& operator[](std::size_t index) const { return records_[index]; }
    std::size_t size() const { return records_.size(); }
    auto begin() const { return records_.begin(); }
    auto end() const { return records_.end(); }

private:
    std::vector<TFrameRecord> records_;
};

}  // namespace nkp::recorder
