#pragma once

#include "report/DataLine.h"
#include "report/FieldPositions.h"
#include "report/PendingText.h"
#include "report/ReportWriter.h"

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

// The data pass: moves the prepared template to the report as data lines
// fill its fields and repeat its blocks.
namespace nkp::report {

// Thrown when a write to the report failed.
struct ReportWriteError { };

class DataPass {
public:
    DataPass(std::string preparedTemplate, bool rtf, ReportWriter& writer);

    // A line of group 1..999: emits one copy of the group's block with the
    // line's pairs filled in and writes everything pending. `first` is the
    // line's first pair, `rest` what follows it on the line.
    void groupLine(int group, const DataPair& first, std::string_view rest);

    // A line of group 0 (or a line with no pair, when the key is empty):
    // fills the field in the output pending or in the template ahead.
    void groupZeroLine(const DataPair& pair);

    // Appends the rest of the template and writes everything pending.
    void finish();

private:
    struct Block {
        size_t first = std::string::npos;   // position of the block's opening marker
        size_t second = std::string::npos;  // position of its closing marker
    };
    Block findBlock(const std::string& marker);
    void moveTemplateTo(size_t end);
    size_t findField(const std::string& key, const std::string& marker);
    void flush();

    std::string template_;  // the prepared template; the rest starts at restBegin_
    size_t restBegin_ = 0;  // everything before it has moved to the output
    PendingText pending_;   // output assembled but not yet written
    bool rtf_;
    int previousGroup_ = 0;
    ReportWriter& writer_;

    // Key markers known to be absent from the template rest. It only loses
    // its head, so what is not in it never will be.
    std::unordered_set<std::string> absentFromRest_;

    // Keys are looked for in the template rest by searching it until the
    // searches that found nothing have read the template a few times over;
    // from then on through an index of its fields.
    size_t unsuccessfulSearch_ = 0;
    std::optional<FieldPositions> fields_;

    // The first block of each group marker looked for (see findBlock).
    std::unordered_map<std::string, Block> blocks_;
};

}  // namespace nkp::report
