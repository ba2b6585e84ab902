#include "report/DataPass.h"

#include "report/Markers.h"
#include "report/TextSearch.h"

namespace nkp::report {

DataPass::DataPass(std::string preparedTemplate, bool rtf, ReportWriter& writer)
    : template_(std::move(preparedTemplate))
    , rtf_(rtf)
    , writer_(writer)
{
}

DataPass::Block DataPass::findBlock(const std::string& marker)
{
    // The rest only loses its head: a block found earlier is still the first
    // one while it lies in the rest, and a marker found nowhere stays so.
    const auto [known, added] = blocks_.try_emplace(marker);
    Block& block = known->second;
    if (!added && (block.first == std::string::npos || block.first >= restBegin_))
        return block;
    block = Block {};
    block.first = template_.find(marker, restBegin_);
    if (block.first != std::string::npos)
        block.second = template_.find(marker, block.first + marker.size());
    return block;
}

void DataPass::moveTemplateTo(size_t end)
{
    if (end <= restBegin_)
        return;
    pending_.append(std::string_view(template_).substr(restBegin_, end - restBegin_));
    restBegin_ = end;
}

void DataPass::flush()
{
    std::string text = pending_.take();
    writer_.flush(text);
    if (writer_.failed())
        throw ReportWriteError {};
}

void DataPass::groupLine(int group, const DataPair& first, std::string_view rest)
{
    const std::string marker = groupMarker(group);
    const Block block = findBlock(marker);
    if (block.second == std::string::npos)
        return;  // the group has no block in the template: the line is ignored
    const size_t blockStart = block.first + marker.size();
    const std::string_view body(template_.data() + blockStart, block.second - blockStart);

    if (previousGroup_ == 0) {
        // The text before the table goes out with its first row. For the
        // blocks of further groups the cut is at the first group's block.
        const size_t cut = group > 1 ? findBlock(groupMarker(1)).first : block.first;
        if (cut != std::string::npos)
            moveTemplateTo(cut);
    }
    pending_.append(body);

    DataPair pair = first;
    for (;;) {
        if (pair.key.empty())
            break;
        pending_.replaceAll(pair.key, pair.value);
        pair = takePair(rest, rtf_);
    }
    flush();
    previousGroup_ = group;
}

size_t DataPass::findField(const std::string& key, const std::string& marker)
{
    if (fields_)
        return fields_->find(key, restBegin_);
    const size_t at = findText(template_, marker, restBegin_);
    // A search that finds the field is paid for by the template text that
    // then moves to the output; one that finds nothing is not.
    if (at == std::string::npos && restBegin_ < template_.size()) {
        unsuccessfulSearch_ += template_.size() - restBegin_;
        if (unsuccessfulSearch_ > 4 * template_.size())
            fields_.emplace(template_);
    }
    return at;
}

void DataPass::groupZeroLine(const DataPair& pair)
{
    previousGroup_ = 0;
    if (pair.key.empty())
        return;
    if (pending_.replaceAll(pair.key, pair.value))
        return;
    // Not in the output pending: text of the template up to the next repeated
    // block after the field goes out with it.
    std::string marker = fieldMarker(pair.key);
    const size_t at = absentFromRest_.contains(marker) ? std::string::npos : findField(pair.key, marker);
    if (at == std::string::npos) {
        // Found nowhere: the line fills nothing.
        absentFromRest_.insert(std::move(marker));
        return;
    }
    const size_t nextBlock = template_.find(kGroupMark, at);
    moveTemplateTo(nextBlock == std::string::npos ? template_.size() : nextBlock);
    pending_.replaceAll(pair.key, pair.value);
}

void DataPass::finish()
{
    moveTemplateTo(template_.size());
    flush();
}

}  // namespace nkp::report
