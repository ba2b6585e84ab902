#include "archive/CraneLog.h"

#include "base/Codec.h"

#include <array>
#include <map>

namespace nkp::archive {
namespace {

struct KindName {
    LogKind kind;
    std::string_view text, word;
};

constexpr std::array<KindName, kLogKindCount> kKinds = {{
    {LogKind::Reading, "Считывание", ""},
    {LogKind::LimiterReplacement, "Замена ограничителя", "limiter"},
    {LogKind::PartialExamination, "Частичное техническое освидетельствование", "partial"},
    {LogKind::FullExamination, "Полное техническое освидетельствование", "full"},
    {LogKind::ExpertExamination, "Экспертиза промышленной безопасности", "expert"},
    {LogKind::Repair, "Ремонт", "repair"},
    {LogKind::Note, "Примечание", "note"},
}};

std::string momentText(const base::DateTime& m)
{
    return base::dateText(m) + " " + base::timeText(m);
}

}  // namespace

std::string_view logKindText(LogKind kind)
{
    return kKinds[static_cast<std::size_t>(kind)].text;
}

std::optional<LogKind> logKindOfWord(std::string_view word)
{
    for (const KindName& k : kKinds)
        if (!k.word.empty() && k.word == word)
            return k.kind;
    return std::nullopt;
}

std::vector<LogKind> manualLogKinds()
{
    return {LogKind::PartialExamination, LogKind::FullExamination, LogKind::ExpertExamination,
        LogKind::Repair, LogKind::LimiterReplacement, LogKind::Note};
}

std::string authorText(const LogAuthor& author)
{
    if (author.certificate.empty())
        return author.name;
    return author.name + (author.name.empty() ? "" : ", ") + "удост. № " + author.certificate;
}

void markCorrections(std::vector<LogEntry>& entries)
{
    std::map<std::pair<std::int64_t, int>, LogEntry*> byNumber;
    for (LogEntry& e : entries)
        byNumber[{e.craneId, e.number}] = &e;
    for (const LogEntry& e : entries) {
        if (!e.corrects)
            continue;
        const auto it = byNumber.find({e.craneId, *e.corrects});
        if (it != byNumber.end() && (!it->second->correctedBy || *it->second->correctedBy < e.number))
            it->second->correctedBy = e.number;
    }
}

std::string logEntryProblem(const NewLogEntry& entry, const std::vector<LogEntry>& log)
{
    if (!base::isRealDate(entry.date.year, entry.date.month, entry.date.day))
        return "дата записи не является датой календаря";
    if (entry.kind == LogKind::Reading)
        return "запись о считывании добавляется только вместе со считыванием";
    if (entry.corrects) {
        for (const LogEntry& e : log)
            if (e.number == *entry.corrects)
                return {};
        return "в журнале крана нет записи №" + std::to_string(*entry.corrects);
    }
    return {};
}

std::string readingEntryText(const std::string& sha256, const std::string& fileName)
{
    return "SHA-256 " + sha256.substr(0, 12) + (fileName.empty() ? "" : ", файл " + fileName);
}

std::string limiterEntryText(const std::string& oldSerial, const std::string& newSerial)
{
    return "ограничитель № " + codec::cp1251ToUtf8(oldSerial) + " заменён на № "
        + codec::cp1251ToUtf8(newSerial);
}

std::string correctionText(const LogEntry& entry)
{
    return entry.correctedBy ? "исправлена записью №" + std::to_string(*entry.correctedBy) : std::string();
}

std::vector<std::vector<std::string>> logTableCells(const std::vector<LogEntry>& entries)
{
    std::vector<std::vector<std::string>> cells;
    cells.reserve(entries.size() + 1);
    cells.push_back({"№", "Дата", "Вид", "Текст", "Автор", "Внесено", "Исправлена записью"});
    for (const LogEntry& e : entries) {
        std::string text = e.text;
        if (e.corrects)
            text = "исправляет запись №" + std::to_string(*e.corrects) + (text.empty() ? "" : ": ") + text;
        cells.push_back({std::to_string(e.number), base::dateText(e.date), std::string(logKindText(e.kind)),
            text, authorText(e.author), momentText(e.enteredAt), correctionText(e)});
    }
    return cells;
}

}  // namespace nkp::archive
