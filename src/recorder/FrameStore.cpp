#include "recorder/FrameStore.h"

namespace nkp::recorder {

FrameStore::FrameStore()
    : records_(kFrameCount)
{
}

void FrameStore::clear()
{
    for (std::size_t i = 0; i < records_.size(); ++i)
        clearRecord(records_[i], static_cast<std::int32_t>(i));
}

}  // namespace nkp::recorder
