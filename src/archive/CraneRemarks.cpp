#include "archive/CraneRemarks.h"

#include "base/Codec.h"

namespace nkp::archive {
namespace {

analysis::ContinuityFacts factsOf(const ArchivedReadout& r)
{
    analysis::ContinuityFacts f;
    f.readingMoment = r.readingMoment;
    f.recorderReadings = r.figures.recorderReadings;
    f.newestFrame = r.figures.newestFrame;
    f.limiterSerial = r.limiterSerial;
    f.totalCycles = r.totalCycles;
    f.cycleCounts = r.figures.cycleCounts;
    f.operatingMinutes = r.figures.operatingMinutes;
    f.liftedMassRaw = r.figures.liftedMassRaw;
    f.characteristicNumber = r.characteristicNumber;
    return f;
}

}  // namespace

std::vector<CraneRemark> craneRemarks(const CraneRow& row, const CraneSettings& settings)
{
    std::vector<CraneRemark> out;
    std::optional<analysis::ContinuityFacts> older;
    for (const ArchivedReadout& r : row.readouts) {
        const analysis::ContinuityFacts facts = factsOf(r);
        for (auto& remark :
            analysis::continuityRemarks(older ? &*older : nullptr, facts, settings.readingMonths))
            out.push_back({row.craneId, row.model, row.number, r.readingText, r.readingMoment, r.sha256,
                remark.kind, std::move(remark.text)});
        older = facts;
    }
    return out;
}

std::string sameImageText(const std::string& model, const std::string& number)
{
    return "тот же образ памяти уже в архиве как " + codec::cp1251ToUtf8(model) + " № "
        + codec::cp1251ToUtf8(number);
}

CraneRemark sameImageRemark(const ImageAlias& alias)
{
    return {0, alias.model, alias.number, alias.readingText, alias.readingMoment, alias.sha256,
        analysis::RemarkKind::SameImage, sameImageText(alias.craneModel, alias.craneNumber)};
}

std::vector<std::vector<std::string>> remarkTableCells(const std::vector<CraneRemark>& remarks)
{
    std::vector<std::vector<std::string>> cells;
    cells.reserve(remarks.size() + 1);
    cells.push_back({"Марка крана", "№ крана", "Дата считывания", "SHA-256", "Замечание"});
    for (const CraneRemark& r : remarks)
        cells.push_back({codec::cp1251ToUtf8(r.model), codec::cp1251ToUtf8(r.number),
            codec::cp1251ToUtf8(r.readingText), r.sha256, r.text});
    return cells;
}

}  // namespace nkp::archive
