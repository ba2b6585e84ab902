#include "archive/ArchiveDb.h"

#include "archive/StoredFile.h"
#include "base/Codec.h"
#include "recorder/DataFileReader.h"

#include <QDateTime>

#include <algorithm>
#include <map>
#include <tuple>

// The crane log, the cranes' settings and the images given again: entries
// are only ever added, numbered per crane in the order they come.
namespace nkp::archive {
namespace {

const QString kLogColumns = QStringLiteral(
    "SELECT crane_id, number, day, kind, text, author, certificate, entered_at, corrects, readout_sha "
    "FROM crane_log");

Failure sqlFailureOf(std::string (*lead)(const std::string&), const QSqlError& e)
{
    return Failure {{}, sqlFailure(lead, e)};
}

base::DateTime nowUtc()
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    return {now.date().year(), now.date().month(), now.date().day(), now.time().hour(), now.time().minute(),
        now.time().second()};
}

LogEntry entryOfRow(const QSqlQuery& q)
{
    LogEntry e;
    e.craneId = q.value(0).toLongLong();
    e.number = q.value(1).toInt();
    e.date = momentFromColumn(q.value(2)).value_or(base::DateTime {});
    e.kind = logKindOfCode(q.value(3).toString()).value_or(LogKind::Note);
    e.text = q.value(4).toString().toStdString();
    e.author = {q.value(5).toString().toStdString(), q.value(6).toString().toStdString()};
    e.enteredAt = momentFromColumn(q.value(7)).value_or(base::DateTime {});
    if (!q.value(8).isNull())
        e.corrects = q.value(8).toInt();
    e.readoutSha256 = q.value(9).toString().toStdString();
    return e;
}

Result<std::vector<LogEntry>> logRows(QSqlQuery& q)
{
    if (!q.exec())
        return Failure(sqlFailureOf(text::cannotRead, q.lastError()));
    std::vector<LogEntry> out;
    while (q.next())
        out.push_back(entryOfRow(q));
    markCorrections(out);
    return out;
}

QString momentsColumn(const std::vector<base::DateTime>& moments)
{
    // Never a null text: the column takes an empty one when the recorder has no stamp.
    QString text = QStringLiteral("");
    for (const base::DateTime& m : moments)
        text += (text.isEmpty() ? QString() : QStringLiteral(";")) + momentColumn(m);
    return text;
}

CraneSettings settingsOfRow(const QSqlQuery& q, int first)
{
    CraneSettings s;
    s.readingMonths = q.value(first).toInt();
    s.partialMonths = q.value(first + 1).toInt();
    s.fullMonths = q.value(first + 2).toInt();
    if (!q.value(first + 3).isNull())
        s.serviceLifeYears = q.value(first + 3).toInt();
    return s;
}

}  // namespace

const QStringList& figureColumns()
{
    static const QStringList columns
        = {QStringLiteral("manufacture_year"), QStringLiteral("recorder_readings"),
            QStringLiteral("newest_frame"), QStringLiteral("operating_minutes"), QStringLiteral("band1"),
            QStringLiteral("band2"), QStringLiteral("band3"), QStringLiteral("band4"),
            QStringLiteral("band5"), QStringLiteral("lifted_mass")};
    return columns;
}

QVariantList figureValues(const ReadoutFigures& f)
{
    QVariantList values {
        f.manufactureYear ? QVariant(*f.manufactureYear) : QVariant(QMetaType::fromType<int>()),
        momentsColumn(f.recorderReadings),
        f.newestFrame ? QVariant(momentColumn(f.newestFrame)) : QVariant(QMetaType::fromType<QString>()),
        static_cast<qlonglong>(f.operatingMinutes)};
    for (const std::uint32_t count : f.cycleCounts)
        values << static_cast<qlonglong>(count);
    values << static_cast<qlonglong>(f.liftedMassRaw);
    return values;
}

void readFigureColumns(const QSqlQuery& q, int first, ReadoutFigures& f)
{
    if (!q.value(first).isNull())
        f.manufactureYear = q.value(first).toInt();
    for (const QString& part : q.value(first + 1).toString().split(QLatin1Char(';'), Qt::SkipEmptyParts))
        if (const auto m = momentFromColumn(part))
            f.recorderReadings.push_back(*m);
    f.newestFrame = momentFromColumn(q.value(first + 2));
    f.operatingMinutes = q.value(first + 3).toLongLong();
    for (std::size_t b = 0; b < f.cycleCounts.size(); ++b)
        f.cycleCounts[b] = static_cast<std::uint32_t>(q.value(first + 4 + static_cast<int>(b)).toLongLong());
    f.liftedMassRaw = q.value(first + 9).toLongLong();
}

QString logKindCode(LogKind kind)
{
    static const QString codes[] = {QStringLiteral("reading"), QStringLiteral("limiter"),
        QStringLiteral("partial"), QStringLiteral("full"), QStringLiteral("expert"), QStringLiteral("repair"),
        QStringLiteral("note")};
    return codes[static_cast<int>(kind)];
}

std::optional<LogKind> logKindOfCode(const QString& code)
{
    for (int k = 0; k < kLogKindCount; ++k)
        if (logKindCode(static_cast<LogKind>(k)) == code)
            return static_cast<LogKind>(k);
    return std::nullopt;
}

Result<LogEntry> appendLogEntry(
    const QSqlDatabase& db, Certify certifyNow, const NewLogEntry& entry, const std::string& readoutSha256)
{
    // Two writers of one crane's log take turns: each holds the writer's
    // lock of the archive (Archive::State::begin) for its transaction.
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT COALESCE(MAX(number), 0) FROM crane_log WHERE crane_id = ?"));
    q.addBindValue(static_cast<qlonglong>(entry.craneId));
    if (!q.exec() || !q.next())
        return Failure(sqlFailureOf(text::cannotWrite, q.lastError()));
    LogEntry e;
    e.craneId = entry.craneId;
    e.number = q.value(0).toInt() + 1;
    e.date = {entry.date.year, entry.date.month, entry.date.day, 0, 0, 0};
    e.kind = entry.kind;
    e.text = entry.text;
    e.author = entry.author;
    e.enteredAt = nowUtc();
    e.corrects = entry.corrects;
    e.readoutSha256 = readoutSha256;
    q.finish();
    q.prepare(QStringLiteral("INSERT INTO crane_log (crane_id, number, day, kind, text, author, certificate, "
                             "entered_at, corrects, readout_sha) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?) "
                             "RETURNING id"));
    const QVariant values[] = {static_cast<qlonglong>(e.craneId), e.number, momentColumn(e.date),
        logKindCode(e.kind), QString::fromStdString(e.text), QString::fromStdString(e.author.name),
        QString::fromStdString(e.author.certificate), momentColumn(e.enteredAt),
        e.corrects ? QVariant(*e.corrects) : QVariant(QMetaType::fromType<int>()),
        QString::fromStdString(readoutSha256)};
    for (const QVariant& v : values)
        q.addBindValue(v);
    const auto id = insertReturningId(q);
    if (!id)
        return id.failure();
    if (certifyNow == Certify::Now)
        if (Done certified = certify(db, LedgerKind::LogEntry, *id); !certified)
            return certified.failure();
    return e;
}

std::optional<Failure> logReadout(const QSqlDatabase& db, Certify certify, std::int64_t craneId,
    const PreparedReadout& p, std::optional<std::string> previousSerial)
{
    NewLogEntry entry;
    entry.craneId = craneId;
    // A read-out without a real reading date is logged on the day it came.
    entry.date = p.readingMoment.value_or(nowUtc());
    entry.author = {codec::cp1251ToUtf8(p.readerName), codec::cp1251ToUtf8(p.readerCertificate)};
    if (previousSerial && *previousSerial != p.limiterSerial) {
        entry.kind = LogKind::LimiterReplacement;
        entry.text = limiterEntryText(*previousSerial, p.limiterSerial);
        if (auto added = appendLogEntry(db, certify, entry, p.sha256); !added)
            return added.failure();
    }
    entry.kind = LogKind::Reading;
    entry.text = readingEntryText(p.sha256, p.fileName);
    if (auto added = appendLogEntry(db, certify, entry, p.sha256); !added)
        return added.failure();
    return std::nullopt;
}

std::optional<Failure> fillCraneLog(const QSqlDatabase& db)
{
    QSqlQuery rows(db);
    rows.setForwardOnly(true);
    if (!rows.exec(QStringLiteral("SELECT id, crane_id, sha256, file_name, data FROM readouts")))
        return sqlFailureOf(text::cannotPrepare, rows.lastError());
    struct Stored {
        qlonglong id, craneId;
        PreparedReadout p;
    };
    std::vector<Stored> stored;
    while (rows.next()) {
        Stored s {rows.value(0).toLongLong(), rows.value(1).toLongLong(), {}};
        s.p.sha256 = rows.value(2).toString().toStdString();
        s.p.fileName = rows.value(3).toString().toStdString();
        const QByteArray data = rows.value(4).toByteArray();
        // A damaged stored file keeps its columns as they are; its reading is logged all the same.
        auto image = unpackDataFile(data.constData(), static_cast<std::size_t>(data.size()));
        if (image && image->size() >= recorder::kIdentificationOffset)
            readFigures(recorder::DataFileReader(std::move(*image)), s.p);
        stored.push_back(std::move(s));
    }
    rows.finish();
    QSqlQuery update(db);
    QStringList sets;
    for (const QString& column : figureColumns())
        sets << column + QStringLiteral(" = ?");
    update.prepare(
        QStringLiteral("UPDATE readouts SET %1 WHERE id = ?").arg(sets.join(QStringLiteral(", "))));
    for (const Stored& s : stored) {
        for (const QVariant& v : figureValues(s.p.figures))
            update.addBindValue(v);
        update.addBindValue(s.id);
        if (!update.exec())
            return sqlFailureOf(text::cannotPrepare, update.lastError());
    }
    // Each crane's log in reading order; read-outs without a real date last.
    std::stable_sort(stored.begin(), stored.end(), [](const Stored& a, const Stored& b) {
        return std::make_tuple(
                   a.craneId, !a.p.readingMoment, a.p.readingMoment.value_or(base::DateTime {}), a.id)
            < std::make_tuple(
                b.craneId, !b.p.readingMoment, b.p.readingMoment.value_or(base::DateTime {}), b.id);
    });
    std::map<qlonglong, std::string> lastSerial;
    for (const Stored& s : stored) {
        std::optional<std::string> previous;
        if (const auto it = lastSerial.find(s.craneId); it != lastSerial.end() && s.p.readingMoment)
            previous = it->second;
        if (auto failed = logReadout(db, Certify::Later, s.craneId, s.p, previous))
            return failed;
        if (s.p.readingMoment)
            lastSerial[s.craneId] = s.p.limiterSerial;
    }
    return std::nullopt;
}

Result<std::vector<LogEntry>> Archive::log(std::int64_t craneId) const
{
    QSqlQuery q(d_->db());
    q.setForwardOnly(true);
    q.prepare(kLogColumns + QStringLiteral(" WHERE crane_id = ? ORDER BY number"));
    q.addBindValue(static_cast<qlonglong>(craneId));
    return logRows(q);
}

Result<std::vector<LogEntry>> Archive::logs() const
{
    QSqlQuery q(d_->db());
    q.setForwardOnly(true);
    q.prepare(kLogColumns + QStringLiteral(" ORDER BY crane_id, number"));
    return logRows(q);
}

Result<LogEntry> Archive::addLogEntry(const NewLogEntry& entry)
{
    auto transaction = d_->write();
    if (!transaction)
        return transaction.failure();
    QSqlQuery q(d_->db());
    q.prepare(QStringLiteral("SELECT 1 FROM cranes WHERE id = ?"));
    q.addBindValue(static_cast<qlonglong>(entry.craneId));
    if (!q.exec())
        return Failure(sqlFailureOf(text::cannotWrite, q.lastError()));
    if (!q.next())
        return Failure({d_->db().databaseName().toStdString(), text::craneVanished()});
    q.finish();
    auto log = this->log(entry.craneId);
    if (!log)
        return log.failure();
    if (const std::string problem = logEntryProblem(entry, *log); !problem.empty())
        return Failure({{}, problem});
    auto added = appendLogEntry(d_->db(), Certify::Now, entry, {});
    if (!added)
        return added.failure();
    if (Done committed = transaction->commit(); !committed)
        return committed.failure();
    return added;
}

Result<CraneSettings> Archive::craneSettings(std::int64_t craneId) const
{
    QSqlQuery q(d_->db());
    q.prepare(QStringLiteral("SELECT reading_months, partial_months, full_months, service_life_years "
                             "FROM crane_settings WHERE crane_id = ? ORDER BY id DESC LIMIT 1"));
    q.addBindValue(static_cast<qlonglong>(craneId));
    if (!q.exec())
        return Failure(sqlFailureOf(text::cannotRead, q.lastError()));
    return q.next() ? settingsOfRow(q, 0) : CraneSettings {};
}

Result<std::vector<std::pair<std::int64_t, CraneSettings>>> Archive::allCraneSettings() const
{
    QSqlQuery q(d_->db());
    q.setForwardOnly(true);
    // Each crane's newest row counts.
    if (!q.exec(QStringLiteral("SELECT s.crane_id, s.reading_months, s.partial_months, s.full_months, "
                               "s.service_life_years FROM crane_settings s WHERE s.id = "
                               "(SELECT MAX(n.id) FROM crane_settings n WHERE n.crane_id = s.crane_id) "
                               "ORDER BY s.crane_id")))
        return Failure(sqlFailureOf(text::cannotRead, q.lastError()));
    std::vector<std::pair<std::int64_t, CraneSettings>> out;
    while (q.next())
        out.emplace_back(q.value(0).toLongLong(), settingsOfRow(q, 1));
    return out;
}

Result<bool> Archive::setCraneSettings(std::int64_t craneId, const CraneSettings& s)
{
    // A change is a new row (with its ledger row); the newest counts.
    auto transaction = d_->write();
    if (!transaction)
        return transaction.failure();
    const auto kept = craneSettings(craneId);
    if (!kept)
        return kept.failure();
    if (*kept == s)
        return true;
    QSqlQuery q(d_->db());
    q.prepare(
        QStringLiteral("INSERT INTO crane_settings (crane_id, reading_months, partial_months, full_months, "
                       "service_life_years, changed_at) VALUES (?, ?, ?, ?, ?, ?) RETURNING id"));
    q.addBindValue(static_cast<qlonglong>(craneId));
    q.addBindValue(s.readingMonths);
    q.addBindValue(s.partialMonths);
    q.addBindValue(s.fullMonths);
    q.addBindValue(s.serviceLifeYears ? QVariant(*s.serviceLifeYears) : QVariant(QMetaType::fromType<int>()));
    q.addBindValue(nowColumn());
    const auto id = insertReturningId(q);
    if (!id)
        return id.failure();
    if (Done certified = certify(d_->db(), LedgerKind::Settings, *id); !certified)
        return certified.failure();
    if (Done committed = transaction->commit(); !committed)
        return committed.failure();
    return true;
}

Result<std::vector<ImageAlias>> Archive::imageAliases() const
{
    QSqlQuery q(d_->db());
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT a.sha256, a.crane_model, a.crane_number, a.reading_text, a.file_name, "
                               "r.crane_id, c.model, c.number, a.reading_moment FROM image_aliases a "
                               "JOIN readouts r ON r.sha256 = a.sha256 JOIN cranes c ON c.id = r.crane_id "
                               "ORDER BY a.id")))
        return Failure(sqlFailureOf(text::cannotRead, q.lastError()));
    std::vector<ImageAlias> out;
    while (q.next())
        out.push_back({q.value(0).toString().toStdString(), cp1251(q.value(1)), cp1251(q.value(2)),
            cp1251(q.value(3)), q.value(4).toString().toStdString(), q.value(5).toLongLong(),
            cp1251(q.value(6)), cp1251(q.value(7)), momentFromColumn(q.value(8))});
    return out;
}

Result<std::pair<std::string, std::string>> Archive::craneOfImage(const std::string& sha256) const
{
    QSqlQuery q(d_->db());
    q.prepare(QStringLiteral(
        "SELECT c.model, c.number FROM readouts r JOIN cranes c ON c.id = r.crane_id WHERE r.sha256 = ?"));
    q.addBindValue(QString::fromStdString(sha256));
    if (!q.exec())
        return Failure(sqlFailureOf(text::cannotRead, q.lastError()));
    if (!q.next())
        return Failure({{}, text::noReadout(sha256)});
    return std::pair {cp1251(q.value(0)), cp1251(q.value(1))};
}

}  // namespace nkp::archive
