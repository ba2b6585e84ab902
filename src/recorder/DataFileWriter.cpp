#include "recorder/DataFileWriter.h"

#include "base/SafeFileWriter.h"

#include <algorithm>

namespace nkp::recorder {

std::vector<std::uint8_t> buildDataFile(const std::vector<std::uint8_t>& image, const Identification& id)
{
    std::vector<std::uint8_t> out(kImageSize, 0);
    std::copy_n(image.begin(), std::min(image.size(), kImageSize), out.begin());
    // Positioning past the end and writing leaves zeros behind: the gap byte
    // and the zero tails of the fields.
    for (const IdFieldLayout& layout : identificationFields()) {
        const std::string& text = id[layout.field];
        std::size_t length = std::min(text.size(), layout.zeroTerminated ? layout.width - 1 : layout.width);
        const std::size_t end = layout.offset + length + (layout.zeroTerminated ? 1 : 0);
        if (end == layout.offset)
            continue;  // nothing written: the file does not grow
        if (out.size() < end)
            out.resize(end, 0);
        std::copy_n(text.begin(), length, out.begin() + static_cast<std::ptrdiff_t>(layout.offset));
        if (layout.zeroTerminated)
            out[layout.offset + length] = 0;
    }
    return out;
}

Done writeDataFile(const std::string& path, const std::vector<std::uint8_t>& image, const Identification& id)
{
    const std::vector<std::uint8_t> bytes = buildDataFile(image, id);
    return fileio::writeFileAtomically(
        path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

}  // namespace nkp::recorder
