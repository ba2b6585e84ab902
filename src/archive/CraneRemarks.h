#pragma once

#include "analysis/Continuity.h"
#include "archive/Archive.h"
#include "archive/CraneLog.h"
#include "archive/CraneTable.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The remarks on a crane's read-outs, as the archive lists them.
namespace nkp::archive {

struct CraneRemark {
    std::int64_t craneId = 0;   // 0 for an identification the archive holds no crane of
    std::string model, number;  // Windows-1251: the crane the read-out was given as
    std::string readingText;    // Windows-1251, as the read-out states it
    std::optional<base::DateTime> readingMoment;
    std::string sha256;
    analysis::RemarkKind kind = analysis::RemarkKind::CounterFell;
    std::string text;  // UTF-8
};

// The continuity remarks on the crane's read-outs, in reading order.
std::vector<CraneRemark> craneRemarks(const CraneRow& row, const CraneSettings& settings);

// "тот же образ памяти уже в архиве как КС-… № …" (texts Windows-1251 in, UTF-8 out).
std::string sameImageText(const std::string& model, const std::string& number);
// The remark of an image that came again under another identification.
CraneRemark sameImageRemark(const ImageAlias& alias);

// "Марка крана;№ крана;Дата считывания;SHA-256;Замечание", heading first, UTF-8.
std::vector<std::vector<std::string>> remarkTableCells(const std::vector<CraneRemark>& remarks);

}  // namespace nkp::archive
