#include "report/ReportWriter.h"

#include "report/Markers.h"

#include <algorithm>
#include <set>

namespace nkp::report {

std::string stripMarkers(std::string_view pending)
{
    std::string out;
    out.reserve(pending.size());
    // The walk only moves forward: a marker whose partner was not found once
    // has none further on either, so each is searched for at most once more.
    bool fieldMarkUnpaired = false;
    std::set<std::string_view> unpairedGroups;
    size_t i = 0;
    while (i < pending.size()) {
        const size_t next = pending.find_first_of(std::string_view("\x02\x03", 2), i);
        if (next == std::string_view::npos) {
            out.append(pending.substr(i));
            break;
        }
        out.append(pending.substr(i, next - i));
        if (pending[next] == kFieldMark) {
            const size_t close
                = fieldMarkUnpaired ? std::string_view::npos : pending.find(kFieldMark, next + 1);
            fieldMarkUnpaired = close == std::string_view::npos;
            i = fieldMarkUnpaired ? next + 1 : close + 1;
            continue;
        }
        const std::string_view marker = pending.substr(next, kGroupMarkerLength);
        size_t partner = std::string_view::npos;
        if (!unpairedGroups.contains(marker))
            partner = pending.find(marker, next + marker.size());
        if (partner == std::string_view::npos) {
            unpairedGroups.insert(marker);
            i = next + marker.size();
        } else {
            i = partner + marker.size();
        }
    }
    return out;
}

void ReportWriter::flush(std::string& pending)
{
    const std::string text = stripMarkers(pending);
    pending.clear();
    if (failed_)
        return;
    lineEnds_.clear();
    lineEnds_.reserve(text.size() + text.size() / 16);
    for (const char c : text) {
        if (c == '\n')
            lineEnds_ += '\r';
        lineEnds_ += c;
    }
    // Written in pieces of at most 4096 bytes, stopping at the first failure.
    constexpr size_t kPiece = 4096;
    for (size_t at = 0; at < lineEnds_.size(); at += kPiece) {
        const size_t size = std::min(kPiece, lineEnds_.size() - at);
        if (std::fwrite(lineEnds_.data() + at, 1, size, file_) != size) {
            failed_ = true;
            return;
        }
    }
}

}  // namespace nkp::report
