#pragma once

#include "base/DateTime.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A crane's log: every examination, repair, replaced limiter, reading and
// note, each signed by the person who made it. Entries are only ever added;
// a correction is a new entry naming the one it corrects. Texts of entries
// and authors are UTF-8 (typed by people, not read from a recorder).
namespace nkp::archive {

enum class LogKind {
    Reading,  // "Считывание" (added with each read-out)
    LimiterReplacement,  // "Замена ограничителя" (added where a new limiter serial starts; also by hand)
    PartialExamination,  // "Частичное техническое освидетельствование"
    FullExamination,  // "Полное техническое освидетельствование" (counts as a partial one too)
    ExpertExamination,  // "Экспертиза промышленной безопасности"
    Repair,             // "Ремонт"
    Note,               // "Примечание"
};
inline constexpr int kLogKindCount = 7;

// The kind's name in the log (UTF-8).
std::string_view logKindText(LogKind kind);
// The command line's word for a kind: partial, full, expert, repair, limiter,
// note (a reading is never added by hand); nothing for another word.
std::optional<LogKind> logKindOfWord(std::string_view word);
// The kinds a person may add, in menu order.
std::vector<LogKind> manualLogKinds();

// Who made an entry ("Исполнитель").
struct LogAuthor {
    std::string name;         // UTF-8
    std::string certificate;  // "Удост. №", UTF-8
    bool operator==(const LogAuthor&) const = default;
};
// "Name, удост. № N", the name alone, or empty.
std::string authorText(const LogAuthor& author);

// An entry to be added.
struct NewLogEntry {
    std::int64_t craneId = 0;
    base::DateTime date;  // the day it happened (time of day 0)
    LogKind kind = LogKind::Note;
    std::string text;  // UTF-8
    LogAuthor author;
    std::optional<int> corrects;  // the number of the crane's entry this one corrects
};

struct LogEntry {
    std::int64_t craneId = 0;
    int number = 0;  // "№": 1, 2, ... per crane, in the order entered
    base::DateTime date;
    LogKind kind = LogKind::Note;
    std::string text;  // UTF-8
    LogAuthor author;
    base::DateTime enteredAt;                     // UTC, to the second
    std::optional<int> corrects;                  // the entry this one corrects
    std::optional<int> correctedBy;               // the newest entry that corrects this one (set when read)
    std::string readoutSha256;                    // a reading's read-out (lower-case hex); empty for others
    bool counts() const { return !correctedBy; }  // corrected entries no longer count for due dates
};

// Sets `correctedBy` of every entry that a later one corrects.
void markCorrections(std::vector<LogEntry>& entries);

// Why an entry cannot be added (UTF-8), empty when it can: the corrected
// entry must exist in the crane's log, the date must be a real day, a
// reading is only added with its read-out.
std::string logEntryProblem(const NewLogEntry& entry, const std::vector<LogEntry>& log);

// "Считывание" entry text of a read-out: its SHA-256 abbreviated to 12 hex digits.
std::string readingEntryText(const std::string& sha256, const std::string& fileName);
// "Замена ограничителя" entry text of a new limiter serial (serials Windows-1251).
std::string limiterEntryText(const std::string& oldSerial, const std::string& newSerial);

// The log as the table "№;Дата;Вид;Текст;Автор;Внесено;Исправлена записью",
// heading first, UTF-8 (the "Исправлена записью" cell "исправлена записью №M").
std::vector<std::vector<std::string>> logTableCells(const std::vector<LogEntry>& entries);
// "исправлена записью №M", or empty.
std::string correctionText(const LogEntry& entry);

// Per-crane settings of the due dates, kept in the archive.
struct CraneSettings {
    int readingMonths = 12;
    int partialMonths = 12;
    int fullMonths = 36;
    std::optional<int> serviceLifeYears {};  // normative service life; none by default
    bool operator==(const CraneSettings&) const = default;
};

}  // namespace nkp::archive
