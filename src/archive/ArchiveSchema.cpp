#include "archive/ArchiveDb.h"

#include "analysis/OverloadEpisodes.h"
#include "archive/StoredFile.h"
#include "recorder/DataFileReader.h"

#include <set>

// Recognising a database and bringing an archive's schema up to date.
namespace nkp::archive {
namespace {

// Counts the overload episodes of every read-out stored before the count
// had its column, from the stored data file.
Done fillOverloadEpisodes(const QSqlDatabase& db)
{
    QSqlQuery rows(db);
    rows.setForwardOnly(true);
    if (!rows.exec(QStringLiteral("SELECT id, data FROM readouts"))) {
        return failed(sqlFailure(text::cannotPrepare, rows.lastError()));
    }
    std::vector<std::pair<qlonglong, int>> counts;
    while (rows.next()) {
        const QByteArray stored = rows.value(1).toByteArray();
        auto image = unpackDataFile(stored.constData(), static_cast<std::size_t>(stored.size()));
        // A damaged stored file counts no episode; the rest of it stays readable.
        const int count = !image || image->size() < recorder::kIdentificationOffset
            ? 0
            : analysis::countOverloadEpisodes(recorder::DataFileReader(std::move(*image)));
        counts.emplace_back(rows.value(0).toLongLong(), count);
    }
    rows.finish();
    QSqlQuery update(db);
    update.prepare(QStringLiteral("UPDATE readouts SET overload_episodes = ? WHERE id = ?"));
    for (const auto& [id, count] : counts) {
        update.bindValue(0, count);
        update.bindValue(1, id);
        if (!update.exec()) {
            return failed(sqlFailure(text::cannotPrepare, update.lastError()));
        }
    }
    return {};
}

}  // namespace

// Recognises the database: an empty one, an archive of this program (its
// application id, or the schema_version, cranes and readouts tables of an
// older one), or anything else. Fails when the catalogue or the
// version cannot be read, the version is damaged or newer. Reads only.
Result<Recognised> recognise(const QSqlDatabase& db, const std::string& location)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    const bool postgres = db.driverName() == QStringLiteral("QPSQL");
    Recognised out;
    int applicationId = 0;
    if (!postgres) {
        // Asking fails only when the file is no database or cannot be read.
        if (!execWaiting(q, QStringLiteral("PRAGMA application_id")) || !q.next()) {
            return failed(text::cannotOpen(location, sqlError(q.lastError())));
        }
        applicationId = q.value(0).toInt();
        out.hasApplicationId = applicationId == kApplicationId;
    }
    // The catalogue lists every table, also those the user may not read.
    if (!execWaiting(q,
            postgres ? QStringLiteral("SELECT c.relname FROM pg_catalog.pg_class c JOIN "
                                      "pg_catalog.pg_namespace n ON n.oid = c.relnamespace WHERE "
                                      "n.nspname = current_schema() AND c.relkind IN ('r', 'p', 'v', "
                                      "'m', 'f')")
                     : QStringLiteral("SELECT name FROM sqlite_master"))) {
        return failed(text::cannotOpen(location, sqlError(q.lastError())));
    }
    std::set<QString> names;
    while (q.next())
        names.insert(q.value(0).toString());
    q.finish();
    if (names.empty() && (applicationId == 0 || out.hasApplicationId))
        return out;
    const bool tables = names.count(QStringLiteral("schema_version")) && names.count(QStringLiteral("cranes"))
        && names.count(QStringLiteral("readouts"));
    if ((applicationId != 0 && !out.hasApplicationId) || !tables) {
        out.kind = Recognised::Foreign;
        return failed(text::notAnArchive(location));
    }
    if (!execWaiting(q, QStringLiteral("SELECT version FROM schema_version"))) {
        return failed(sqlFailure(text::cannotRead, q.lastError()));
    }
    // One small whole number; anything else was not written by a program.
    const bool row = q.next();
    const QVariant value = row ? q.value(0) : QVariant();
    const bool whole = value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::Int;
    const long long version = whole ? value.toLongLong() : 0;
    if (!row || q.next() || !whole || version < 1 || version > 9999) {
        return failed(
            text::damagedSchemaVersion(row ? value.toString().left(40).toStdString() : std::string()));
    }
    if (version > kSchemaVersion) {
        return failed(text::newerSchema(version, kSchemaVersion));
    }
    out.kind = Recognised::Ours;
    out.version = static_cast<int>(version);
    return out;
}

Done migrateConnection(const std::string& connectionName, int target)
{
    QSqlDatabase db = QSqlDatabase::database(QString::fromStdString(connectionName), false);
    Dialect dialect;
    dialect.postgres = db.driverName() == QStringLiteral("QPSQL");
    QSqlQuery q(db);
    const auto fail = [&](const QSqlError& e) {
        Failure failure = failed(sqlFailure(text::cannotPrepare, e));
        q.exec(QStringLiteral("ROLLBACK"));
        return failure;
    };
    if (!q.exec(dialect.postgres ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN IMMEDIATE")))
        return fail(q.lastError());
    // Two programs opening a new PostgreSQL archive at once create it once.
    if (dialect.postgres && !q.exec(QStringLiteral("SELECT pg_advisory_xact_lock(7245019)")))
        return fail(q.lastError());
    // Again inside the transaction: another program may have made it meanwhile.
    const auto found = recognise(db, db.databaseName().toStdString());
    if (!found) {
        q.exec(QStringLiteral("ROLLBACK"));
        return found.failure();
    }
    for (int step = found->version + 1; step <= target; ++step) {
        for (const QString& statement : migrationStep(dialect, step))
            if (!q.exec(statement))
                return fail(q.lastError());
        if (step == kOverloadEpisodesVersion) {
            if (Done filled = fillOverloadEpisodes(db); !filled) {
                q.exec(QStringLiteral("ROLLBACK"));
                return filled;
            }
        }
        if (step == kCraneLogVersion) {
            if (const auto logFailure = fillCraneLog(db)) {
                q.exec(QStringLiteral("ROLLBACK"));
                return *logFailure;
            }
        }
        if (step == kLedgerVersion) {
            if (Done filled = fillLedger(db); !filled) {
                q.exec(QStringLiteral("ROLLBACK"));
                return filled;
            }
            for (const QString& statement : appendOnlyTriggers(dialect))
                if (!q.exec(statement))
                    return fail(q.lastError());
            if (!dialect.postgres && !q.exec(summaryIndexStatement()))
                return fail(q.lastError());
        }
        q.prepare(QStringLiteral("UPDATE schema_version SET version = ?"));
        q.addBindValue(step);
        if (!q.exec())
            return fail(q.lastError());
    }
    // The file says whose it is from now on (written with the transaction).
    if (!dialect.postgres && !found->hasApplicationId
        && !q.exec(QStringLiteral("PRAGMA application_id = %1").arg(kApplicationId)))
        return fail(q.lastError());
    if (!q.exec(QStringLiteral("COMMIT")))
        return fail(q.lastError());
    return {};
}

}  // namespace nkp::archive
