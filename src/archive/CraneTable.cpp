#include "archive/CraneTable.h"

#include "analysis/NumberFormat.h"
#include "base/Codec.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>

namespace nkp::archive {
namespace {

using base::DateTime;

std::optional<double> momentNumber(const std::optional<DateTime>& m)
{
    return m ? std::optional<double>(base::minuteSortKey(*m)) : std::nullopt;
}

// The reading as the identification block says it; a real one as "dd.mm.yyyy hh:mm".
std::string readingText(const ArchivedReadout& r)
{
    if (!r.readingMoment)
        return codec::cp1251ToUtf8(r.readingText);
    return dayText(*r.readingMoment) + " " + analysis::formatTwoDigits(r.readingMoment->hour) + ":"
        + analysis::formatTwoDigits(r.readingMoment->minute);
}

const ArchivedReadout* firstDated(const CraneRow& row)
{
    for (const ArchivedReadout& r : row.readouts)
        if (r.readingMoment)
            return &r;
    return nullptr;
}

}  // namespace

std::vector<CraneRow> craneRows(std::vector<ArchivedReadout> readouts)
{
    std::map<std::int64_t, std::vector<ArchivedReadout>> byCrane;
    for (ArchivedReadout& r : readouts)
        byCrane[r.craneId].push_back(std::move(r));
    std::vector<CraneRow> rows;
    rows.reserve(byCrane.size());
    for (auto& [craneId, list] : byCrane) {
        CraneRow row;
        row.craneId = craneId;
        row.model = list.front().craneModel;
        row.number = list.front().craneNumber;
        std::vector<HistoryInput> inputs;
        inputs.reserve(list.size());
        for (std::size_t i = 0; i < list.size(); ++i)
            inputs.push_back({list[i].readingMoment, list[i].limiterSerial, list[i].characteristicNumber,
                list[i].normativeNumber, static_cast<std::int64_t>(i)});
        row.trend = craneTrend(std::move(inputs));
        row.readouts.reserve(list.size());
        for (const HistoryPoint& p : row.trend.points)
            row.readouts.push_back(std::move(list[static_cast<std::size_t>(p.input.key)]));
        rows.push_back(std::move(row));
    }
    std::sort(rows.begin(), rows.end(), [](const CraneRow& a, const CraneRow& b) {
        if (a.model != b.model)
            return a.model < b.model;
        if (a.number != b.number)
            return a.number < b.number;
        return a.craneId < b.craneId;
    });
    return rows;
}

std::vector<const CraneRow*> findCranes(const std::vector<CraneRow>& rows, const std::string& model,
    const std::string& number, const std::string& sha256)
{
    std::string sha = sha256;
    std::transform(sha.begin(), sha.end(), sha.begin(),
        [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    const auto holds = [&sha](const CraneRow& row) {
        return sha.empty()
            || std::any_of(row.readouts.begin(), row.readouts.end(),
                [&sha](const ArchivedReadout& r) { return r.sha256 == sha; });
    };
    std::vector<const CraneRow*> found;
    for (const CraneRow& row : rows) {
        if (row.model != model || !holds(row))
            continue;
        if (row.number.empty()
                ? number.empty() || row.readouts.front().fileName == codec::cp1251ToUtf8(number)
                : row.number == number)
            found.push_back(&row);
    }
    return found;
}

std::string_view craneColumnHeader(CraneColumn column)
{
    static constexpr std::array<std::string_view, kCraneColumnCount> headers = {
        "Марка крана",
        "№ крана",
        "Владелец",
        "Чтений",
        "Первое чтение",
        "Последнее чтение",
        "Накопленное число",
        "Нормативное число",
        "Ресурс, %",
        "Рост в год",
        "Прогноз",
        "Перегрузок (эпизодов)",
        "Подпись",
        "Примечание",
    };
    return headers[static_cast<std::size_t>(column)];
}

signing::SignatureStatus craneSignature(const CraneRow& row)
{
    using signing::SignatureStatus;
    const auto rank = [](SignatureStatus s) {
        switch (s) {
        case SignatureStatus::Valid:
            return 0;
        case SignatureStatus::Missing:
            return 1;
        case SignatureStatus::Untrusted:
            return 2;
        case SignatureStatus::Changed:
        case SignatureStatus::Damaged:
            break;
        }
        return 3;
    };
    SignatureStatus worst = SignatureStatus::Valid;
    for (const ArchivedReadout& r : row.readouts)
        if (rank(r.signature) > rank(worst))
            worst = r.signature;
    return worst;
}

std::string craneRemark(const CraneRow& row)
{
    std::vector<std::string> parts;
    const CraneTrend& t = row.trend;
    if (t.forecast == ForecastState::TooFewData || t.forecast == ForecastState::NoGrowth)
        parts.push_back(forecastText(t));
    if (t.forecast == ForecastState::NoNormative)
        parts.push_back("нормативная группа не указана");
    if (t.unrealDates > 0)
        parts.push_back("без настоящей даты чтения: " + std::to_string(t.unrealDates));
    if (t.segments > 1)
        parts.push_back("ограничитель заменён: " + std::to_string(t.segments - 1));
    if (row.number.empty())
        parts.push_back("без номера крана, файл " + row.readouts.front().fileName);
    std::string out;
    for (const std::string& p : parts)
        out += (out.empty() ? "" : "; ") + p;
    return out;
}

std::string craneCellText(const CraneRow& row, CraneColumn column, char sep)
{
    const CraneTrend& t = row.trend;
    switch (column) {
    case CraneColumn::Model:
        return codec::cp1251ToUtf8(row.model);
    case CraneColumn::Number:
        return codec::cp1251ToUtf8(row.number);
    case CraneColumn::Owner:
        return codec::cp1251ToUtf8(row.newest().owner);
    case CraneColumn::Readouts:
        return std::to_string(row.readouts.size());
    case CraneColumn::FirstReading: {
        const ArchivedReadout* first = firstDated(row);
        return readingText(first ? *first : row.readouts.front());
    }
    case CraneColumn::NewestReading:
        return readingText(row.newest());
    case CraneColumn::Accumulated:
        return oneDecimal(t.accumulated, sep);
    case CraneColumn::Normative:
        return t.normativeNumber > 0 ? std::to_string(t.normativeNumber) : std::string("—");
    case CraneColumn::ResourcePercent:
        return oneDecimal(t.used.percent, sep);
    case CraneColumn::GrowthPerYear:
        return oneDecimal(t.growthPerYear, sep);
    case CraneColumn::Forecast:
        return forecastText(t);
    case CraneColumn::OverloadEpisodes:
        return std::to_string(row.newest().overloadEpisodes);
    case CraneColumn::Signature:
        return signing::shortStatusText(craneSignature(row));
    case CraneColumn::Remark:
        return craneRemark(row);
    }
    return {};
}

// The column's number as stored, damaged (not finite) ones included.
static std::optional<double> craneCellValue(const CraneRow& row, CraneColumn column);

std::optional<double> craneCellNumber(const CraneRow& row, CraneColumn column)
{
    const auto number = craneCellValue(row, column);
    return number && std::isfinite(*number) ? number : std::nullopt;
}

static std::optional<double> craneCellValue(const CraneRow& row, CraneColumn column)
{
    const CraneTrend& t = row.trend;
    switch (column) {
    case CraneColumn::Readouts:
        return static_cast<double>(row.readouts.size());
    case CraneColumn::FirstReading: {
        const ArchivedReadout* first = firstDated(row);
        return first ? momentNumber(first->readingMoment) : std::nullopt;
    }
    case CraneColumn::NewestReading:
        return momentNumber(row.newest().readingMoment);
    case CraneColumn::Accumulated:
        return t.accumulated;
    case CraneColumn::Normative:
        return t.normativeNumber > 0 ? std::optional<double>(t.normativeNumber) : std::nullopt;
    case CraneColumn::ResourcePercent:
        return t.used.percent;
    case CraneColumn::GrowthPerYear:
        return t.growthPerYear;
    case CraneColumn::Forecast:
        return t.forecast == ForecastState::Date ? momentNumber(t.forecastDate) : std::nullopt;
    case CraneColumn::OverloadEpisodes:
        return row.newest().overloadEpisodes;
    default:
        return std::nullopt;
    }
}

std::string_view historyColumnHeader(HistoryColumn column)
{
    static constexpr std::array<std::string_view, kHistoryColumnCount> headers = {
        "Дата считывания",
        "№ ограничителя",
        "Всего циклов",
        "Характеристическое число",
        "Накопленное число",
        "Ресурс, %",
        "Перегрузок (эпизодов)",
        "Файл",
        "Подпись",
    };
    return headers[static_cast<std::size_t>(column)];
}

std::string historyCellText(const CraneRow& row, std::size_t point, HistoryColumn column, char sep)
{
    const ArchivedReadout& r = row.readouts[point];
    const HistoryPoint& p = row.trend.points[point];
    switch (column) {
    case HistoryColumn::ReadingMoment:
        return readingText(r);
    case HistoryColumn::LimiterSerial:
        return codec::cp1251ToUtf8(r.limiterSerial);
    case HistoryColumn::TotalCycles:
        return std::to_string(r.totalCycles);
    case HistoryColumn::Characteristic:
        return oneDecimal(r.characteristicNumber, sep);
    case HistoryColumn::Accumulated:
        return oneDecimal(p.accumulated, sep);
    case HistoryColumn::ResourcePercent:
        return oneDecimal(analysis::resourceUse(p.accumulated, row.trend.normativeNumber).percent, sep);
    case HistoryColumn::OverloadEpisodes:
        return std::to_string(r.overloadEpisodes);
    case HistoryColumn::File:
        return r.fileName;
    case HistoryColumn::Signature:
        return signing::shortStatusText(r.signature);
    }
    return {};
}

std::vector<std::vector<std::string>> craneTableCells(const std::vector<CraneRow>& rows, char sep)
{
    std::vector<std::vector<std::string>> out;
    out.reserve(rows.size() + 1);
    std::vector<std::string> heading;
    for (int c = 0; c < kCraneColumnCount; ++c)
        heading.emplace_back(craneColumnHeader(static_cast<CraneColumn>(c)));
    out.push_back(std::move(heading));
    for (const CraneRow& row : rows) {
        std::vector<std::string> cells;
        for (int c = 0; c < kCraneColumnCount; ++c)
            cells.push_back(craneCellText(row, static_cast<CraneColumn>(c), sep));
        out.push_back(std::move(cells));
    }
    return out;
}

std::vector<std::vector<std::string>> historyTableCells(const CraneRow& row, char sep)
{
    std::vector<std::vector<std::string>> out;
    std::vector<std::string> heading;
    for (int c = 0; c < kHistoryColumnCount; ++c)
        heading.emplace_back(historyColumnHeader(static_cast<HistoryColumn>(c)));
    out.push_back(std::move(heading));
    for (std::size_t i = 0; i < row.readouts.size(); ++i) {
        std::vector<std::string> cells;
        for (int c = 0; c < kHistoryColumnCount; ++c)
            cells.push_back(historyCellText(row, i, static_cast<HistoryColumn>(c), sep));
        out.push_back(std::move(cells));
    }
    return out;
}

}  // namespace nkp::archive
