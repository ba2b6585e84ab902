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
bool fillOverloadEpisodes(const QSqlDatabase& db, std::string* error)
{
    QSqlQuery rows(db);
    rows.setForwardOnly(true);
    if (!rows.exec(QStringLiteral("SELECT id, data FROM readouts"))) {
        setError(error, sqlFailure(text::cannotPrepare, rows.lastError()));
        return false;
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
            setError(error, sqlFailure(text::cannotPrepare, update.lastError()));
            return false;
        }
    }
    return true;
}

}  // namespace

// Recognises the database: an empty one, an archive of this program (its
// application id, or the schema_version, cranes and readouts tables of an
// older one), or anything else. Fails with `error` when the catalogue or the
// version cannot be read, the version is damaged or newer. Reads only.
std::optional<Recognised> recognise(const QSqlDatabase& db, const std::string& location, std::string* error)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    const bool postgres = db.driverName() == QStringLiteral("QPSQL");
    Recognised out;
    int applicationId = 0;
    if (!postgres) {
        // Asking fails only when the file is no database or cannot be read.
        if (!execWaiting(q, QStringLiteral("PRAGMA application_id")) || !q.next()) {
            setError(error, text::cannotOpen(location, sqlError(q.lastError())));
            return std::nullopt;
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
        setError(error, text::cannotOpen(location, sqlError(q.lastError())));
        return std::nullopt;
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
        setError(error, text::notAnArchive(location));
        return std::nullopt;
    }
    if (!execWaiting(q, QStringLiteral("SELECT version FROM schema_version"))) {
        setError(error, sqlFailure(text::cannotRead, q.lastError()));
        return std::nullopt;
    }
    // One small whole number; anything else was not written by a program.
    const bool row = q.next();
    const QVariant value = row ? q.value(0) : QVariant();
    const bool whole = value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::Int;
    const long long version = whole ? value.toLongLong() : 0;
    if (!row || q.next() || !whole || version < 1 || version > 9999) {
        setError(
            error, text::damagedSchemaVersion(row ? value.toString().left(40).toStdString() : std::string()));
        return std::nullopt;
    }
    if (version > kSchemaVersion) {
        setError(error, text::newerSchema(version, kSchemaVersion));
        return std::nullopt;
    }
    out.kind = Recognised::Ours;
    out.version = static_cast<int>(version);
    return out;
}

bool migrateConnection(const std::string& connectionName, int target, std::string* error)
{
    QSqlDatabase db = QSqlDatabase::database(QString::fromStdString(connectionName), false);
    Dialect dialect;
    dialect.postgres = db.driverName() == QStringLiteral("QPSQL");
    QSqlQuery q(db);
    const auto fail = [&](const QSqlError& e) {
        setError(error, sqlFailure(text::cannotPrepare, e));
        q.exec(QStringLiteral("ROLLBACK"));
        return false;
    };
    if (!q.exec(dialect.postgres ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN IMMEDIATE")))
        return fail(q.lastError());
    // Two programs opening a new PostgreSQL archive at once create it once.
    if (dialect.postgres && !q.exec(QStringLiteral("SELECT pg_advisory_xact_lock(7245019)")))
        return fail(q.lastError());
    // Again inside the transaction: another program may have made it meanwhile.
    const auto found = recognise(db, db.databaseName().toStdString(), error);
    if (!found) {
        q.exec(QStringLiteral("ROLLBACK"));
        return false;
    }
    for (int step = found->version + 1; step <= target; ++step) {
        for (const QString& statement : migrationStep(dialect, step))
            if (!q.exec(statement))
                return fail(q.lastError());
        if (step == kOverloadEpisodesVersion && !fillOverloadEpisodes(db, error)) {
            q.exec(QStringLiteral("ROLLBACK"));
            return false;
        }
        if (step == kCraneLogVersion) {
            if (const auto failed = fillCraneLog(db, dialect.postgres)) {
                setError(error, failed->reason);
                q.exec(QStringLiteral("ROLLBACK"));
                return false;
            }
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
    return true;
}

}  // namespace nkp::archive
