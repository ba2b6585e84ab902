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

void FrameStore::completeDates(const std::string& yearText)
{
    const std::string suffix = "20" + yearText;
    for (TFrameRecord& r : records_)
        if (r.isOk())
            r.Date += suffix;
}

}  // namespace nkp::recorder
