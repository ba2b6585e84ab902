#include "archive/Archive.h"

#include "analysis/NumberFormat.h"
#include "analysis/OverloadEpisodes.h"
#include "analysis/Readout.h"
#include "archive/ArchiveSql.h"
#include "archive/ArchiveText.h"
#include "archive/StoredFile.h"
#include "base/Codec.h"
#include "base/InputFiles.h"
#include "recorder/DataFileReader.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QUrl>
#include <QVariant>

#include <atomic>
#include <charconv>
#include <cmath>
#include <fcntl.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace nkp::archive {
namespace {

using base::DateTime;

std::string sqlError(const QSqlError& e)
{
    const QString text = e.text().trimmed();
    return text.isEmpty() ? text::unknownDatabaseError() : text.toStdString();
}

// The database's cause after the archive's lead text: missing rights
// (SQLSTATE 42501) named as such whatever was being done.
std::string sqlFailure(std::string (*lead)(const std::string&), const QSqlError& e)
{
    return e.nativeErrorCode() == QStringLiteral("42501") ? text::noRights(sqlError(e)) : lead(sqlError(e));
}

void setError(std::string* error, std::string text)
{
    if (error)
        *error = std::move(text);
}

QString utf8(const std::string& cp1251)
{
    return QString::fromStdString(codec::cp1251ToUtf8(cp1251));
}

std::string cp1251(const QVariant& value)
{
    return codec::utf8ToCp1251(value.toString().toStdString());
}

std::string trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// "yyyy-mm-dd hh:mm:ss": sorts as text on both databases.
QString momentColumn(const std::optional<DateTime>& m)
{
    if (!m)
        return {};
    using analysis::formatTwoDigits;
    const std::string text = std::to_string(m->year) + "-" + formatTwoDigits(m->month) + "-"
        + formatTwoDigits(m->day) + " " + formatTwoDigits(m->hour) + ":" + formatTwoDigits(m->minute) + ":"
        + formatTwoDigits(m->second);
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::optional<DateTime> momentFromColumn(const QVariant& value)
{
    if (value.isNull())
        return std::nullopt;
    const std::string t = value.toString().toStdString();
    if (t.size() != 19)
        return std::nullopt;
    DateTime m;
    int* fields[] = {&m.year, &m.month, &m.day, &m.hour, &m.minute, &m.second};
    const std::size_t starts[] = {0, 5, 8, 11, 14, 17};
    const std::size_t widths[] = {4, 2, 2, 2, 2, 2};
    for (int i = 0; i < 6; ++i) {
        const char* begin = t.data() + starts[i];
        if (std::from_chars(begin, begin + widths[i], *fields[i]).ec != std::errc())
            return std::nullopt;
    }
    return m;
}

QString percentDecoded(const std::string& part)
{
    return QUrl::fromPercentEncoding(QByteArray::fromStdString(part));
}

QString nextConnectionName()
{
    static std::atomic<int> counter {0};
    return QStringLiteral("nkp_archive_%1").arg(++counter);
}

}  // namespace

struct Archive::State {
    QString connection;
    Dialect dialect;
    bool readOnly = false;
    int version = 0;
    // The writer's statements, prepared on the first add and kept: preparing
    // costs a PostgreSQL server a round trip each time.
    struct Writer {
        QSqlQuery findReadout, addCrane, findCrane, addReadout;
    };
    std::optional<Writer> writer;
    // An SQLite archive's file and its companions are inputs while it is open:
    // no output replaces them.
    fileio::InputScope inputs;

    QSqlDatabase db() const { return QSqlDatabase::database(connection, false); }

    // Prepares the writer's statements outside any transaction.
    bool prepareWriter(std::string* error)
    {
        if (writer)
            return true;
        const QSqlDatabase database = db();
        Writer w {QSqlQuery(database), QSqlQuery(database), QSqlQuery(database), QSqlQuery(database)};
        const std::pair<QSqlQuery*, QString> statements[] = {
            {&w.findReadout, QStringLiteral("SELECT 1 FROM readouts WHERE sha256 = ?")},
            {&w.addCrane,
                QStringLiteral(
                    "INSERT INTO cranes (model, number, own_file) VALUES (?, ?, ?) ON CONFLICT DO NOTHING")},
            {&w.findCrane,
                QStringLiteral("SELECT id FROM cranes WHERE model = ? AND number = ? AND own_file = ?")},
            {&w.addReadout,
                QStringLiteral(
                    "INSERT INTO readouts (crane_id, sha256, file_name, crane_model, crane_number, "
                    "owner, reading_text, reading_moment, limiter_serial, total_cycles, "
                    "characteristic, normative, overload_episodes, imported_at, data) "
                    "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) ON CONFLICT DO NOTHING")},
        };
        for (const auto& [query, sql] : statements) {
            query->setForwardOnly(true);
            if (!query->prepare(sql)) {
                setError(error, sqlFailure(text::cannotWrite, query->lastError()));
                return false;
            }
        }
        writer.emplace(std::move(w));
        return true;
    }

    // A writer's transaction: SQLite takes its write lock at once, so that
    // two writers wait for each other instead of failing on the upgrade.
    bool begin(std::string* error) const
    {
        QSqlQuery q(db());
        if (!q.exec(dialect.postgres ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN IMMEDIATE"))) {
            setError(error, sqlFailure(text::cannotWrite, q.lastError()));
            return false;
        }
        return true;
    }
    bool commit(std::string* error) const
    {
        QSqlQuery q(db());
        if (!q.exec(QStringLiteral("COMMIT"))) {
            setError(error, sqlFailure(text::cannotWrite, q.lastError()));
            rollback();
            return false;
        }
        return true;
    }
    void rollback() const
    {
        QSqlQuery q(db());
        q.exec(QStringLiteral("ROLLBACK"));
    }

    ~State()
    {
        writer.reset();
        {
            QSqlDatabase database = QSqlDatabase::database(connection, false);
            database.close();
        }
        QSqlDatabase::removeDatabase(connection);
    }
};

std::optional<PostgresAddress> parsePostgresAddress(const std::string& location, std::string* error)
{
    const auto scheme = location.find("://");
    if (scheme == std::string::npos) {
        setError(error, text::postgresBadHost(location));
        return std::nullopt;
    }
    std::string rest = location.substr(scheme + 3);
    PostgresAddress out;
    const auto slash = rest.find('/');
    if (slash == std::string::npos || slash + 1 >= rest.size()) {
        setError(error, text::postgresNoDatabase(location));
        return std::nullopt;
    }
    out.database = percentDecoded(rest.substr(slash + 1)).toStdString();
    rest.resize(slash);
    const auto at = rest.rfind('@');
    if (at != std::string::npos) {
        std::string user = rest.substr(0, at);
        if (user.find(':') != std::string::npos) {
            setError(error, text::postgresPasswordInAddress());
            return std::nullopt;
        }
        out.user = percentDecoded(user).toStdString();
        rest.erase(0, at + 1);
    }
    // "[::1]:5432": the brackets hold an IPv6 address, the port follows them.
    std::string::size_type portColon = std::string::npos;
    if (!rest.empty() && rest.front() == '[') {
        const auto close = rest.find(']');
        if (close == std::string::npos || (close + 1 < rest.size() && rest[close + 1] != ':')) {
            setError(error, text::postgresBadHost(location));
            return std::nullopt;
        }
        if (close + 1 < rest.size())
            portColon = close + 1;
        out.host = percentDecoded(rest.substr(1, close - 1)).toStdString();
    } else {
        portColon = rest.rfind(':');
    }
    if (portColon != std::string::npos) {
        const std::string port = rest.substr(portColon + 1);
        const auto [end, ec] = std::from_chars(port.data(), port.data() + port.size(), out.port);
        if (ec != std::errc() || end != port.data() + port.size() || out.port <= 0 || out.port > 65535) {
            setError(error, text::postgresBadPort(port));
            return std::nullopt;
        }
        rest.resize(portColon);
    }
    if (rest.empty() || rest.front() != '[')
        out.host = percentDecoded(rest).toStdString();
    return out;
}

namespace {

// Runs `sql`, waiting while another connection holds the lock: a file that
// another program is making an archive of this moment is only read once it is.
bool execWaiting(QSqlQuery& q, const QString& sql)
{
    const QStringList busy
        = {QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("261"), QStringLiteral("517")};
    for (int waited = 0; !q.exec(sql); waited += 20) {
        if (!busy.contains(q.lastError().nativeErrorCode()) || waited >= 30000)
            return false;
        QThread::msleep(20);
    }
    return true;
}

// What an open database is, found before anything is written to it.
struct Recognised {
    enum Kind { Empty, Ours, Foreign } kind = Empty;
    int version = 0;                // of an archive of ours
    bool hasApplicationId = false;  // SQLite: ours says so in its header
};

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

// Whether the user may write the file: its mode bits too, which the
// superuser's access() would ignore.
bool mayWrite(const std::string& path)
{
    struct stat st { };
    return ::stat(path.c_str(), &st) == 0 && (st.st_mode & 0222) != 0
        && ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

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

Archive::Archive(std::unique_ptr<State> state)
    : d_(std::move(state))
{
}

Archive::~Archive() = default;

bool Archive::isPostgresLocation(const std::string& location)
{
    const QString scheme = QString::fromStdString(location.substr(0, location.find("://") + 3)).toLower();
    return location.find("://") != std::string::npos
        && (scheme == QStringLiteral("postgresql://") || scheme == QStringLiteral("postgres://"));
}

std::string Archive::defaultLocation(const std::string& startFolder)
{
    const QString path
        = QDir(QString::fromStdString(startFolder)).filePath(QStringLiteral("Архив/archive.sqlite"));
    return path.toStdString();
}

std::vector<std::string> Archive::files(const std::string& location)
{
    if (isPostgresLocation(location))
        return {};
    std::vector<std::string> names;
    // SQLite names the companions after the file a symbolic link leads to.
    const std::string real = QFileInfo(QString::fromStdString(location)).canonicalFilePath().toStdString();
    for (const std::string& name : {location, real})
        if (!name.empty())
            for (const char* suffix : {"", "-wal", "-shm", "-journal"})
                names.push_back(name + suffix);
    return names;
}

std::unique_ptr<Archive> Archive::open(const std::string& location, OpenMode mode, std::string* error)
{
    auto state = std::make_unique<State>();
    state->connection = nextConnectionName();
    state->dialect.postgres = isPostgresLocation(location);
    const QString driver = state->dialect.postgres ? QStringLiteral("QPSQL") : QStringLiteral("QSQLITE");
    if (!QSqlDatabase::isDriverAvailable(driver)) {
        setError(error,
            text::driverMissing(
                driver.toStdString(), state->dialect.postgres ? "libqt6sql6-psql" : "libqt6sql6-sqlite"));
        return nullptr;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(driver, state->connection);
    // Options of the connection that may write, once the database is known to be ours.
    QString writerOptions;
    bool missing = false;
    if (state->dialect.postgres) {
        const auto where = parsePostgresAddress(location, error);
        if (!where)
            return nullptr;
        db.setDatabaseName(QString::fromStdString(where->database));
        if (!where->user.empty())
            db.setUserName(QString::fromStdString(where->user));
        if (!where->host.empty())
            db.setHostName(QString::fromStdString(where->host));
        if (where->port > 0)
            db.setPort(where->port);
        db.setConnectOptions(QStringLiteral("connect_timeout=10"));
    } else {
        state->inputs = fileio::InputScope(files(location));
        const QFileInfo file(QString::fromStdString(location));
        const std::string path = file.absoluteFilePath().toStdString();
        missing = !file.exists();
        if (missing && mode == OpenMode::Existing) {
            setError(error, text::notFound(location));
            return nullptr;
        }
        if (!missing) {
            if (!file.isFile()) {
                setError(error, text::notAFile(location));
                return nullptr;
            }
            state->readOnly = !mayWrite(path) || !QFileInfo(file.absolutePath()).isWritable();
        } else if (!QDir().mkpath(file.absolutePath())) {
            setError(error, text::folderNotMade(file.absolutePath().toStdString()));
            return nullptr;
        }
        db.setDatabaseName(file.absoluteFilePath());
        writerOptions = QStringLiteral("QSQLITE_BUSY_TIMEOUT=30000");
        // An existing file is first looked at read-only: nothing is written
        // to a database that turns out not to be ours.
        db.setConnectOptions(
            missing ? writerOptions : QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=30000"));
        // A reader of a WAL archive needs its -shm file, which it cannot make
        // in a folder it may not write; with no -wal file there nobody is
        // writing (a writer would need that folder too), so it is read as it stands.
        if (state->readOnly && !QFileInfo(file.absolutePath()).isWritable()
            && !QFileInfo::exists(file.absoluteFilePath() + QStringLiteral("-wal"))) {
            db.setDatabaseName(QUrl::fromLocalFile(file.absoluteFilePath()).toString(QUrl::FullyEncoded)
                + QStringLiteral("?immutable=1"));
            db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI"));
        }
    }
    if (!db.open()) {
        setError(error, text::cannotOpen(location, sqlError(db.lastError())));
        return nullptr;
    }
    const auto found = recognise(db, location, error);
    if (!found)
        return nullptr;
    if (found->kind == Recognised::Empty && mode == OpenMode::Existing) {
        setError(error, text::emptyDatabase(location));
        return nullptr;
    }
    const bool update
        = found->version < kSchemaVersion || (!state->dialect.postgres && !found->hasApplicationId);
    if (!state->dialect.postgres && !missing && !state->readOnly) {
        // Ours: opened again to write.
        db.close();
        db.setConnectOptions(writerOptions);
        if (!db.open()) {
            setError(error, text::cannotOpen(location, sqlError(db.lastError())));
            return nullptr;
        }
    }
    QSqlQuery q(db);
    if (!state->dialect.postgres) {
        q.exec(QStringLiteral("PRAGMA foreign_keys = ON"));
        if (!state->readOnly) {
            // WAL lets readers go on while one writer imports.
            if (!execWaiting(q, QStringLiteral("PRAGMA journal_mode = WAL")) || !q.next()) {
                setError(error, text::cannotOpen(location, sqlError(q.lastError())));
                return nullptr;
            }
            q.exec(QStringLiteral("PRAGMA synchronous = NORMAL"));
        }
    }
    if (found->version < kSchemaVersion && state->readOnly) {
        setError(error,
            found->kind == Recognised::Empty ? text::emptyAndReadOnly(location)
                                             : text::outdatedAndReadOnly(location));
        return nullptr;
    }
    if (update && !state->readOnly
        && !migrateConnection(state->connection.toStdString(), kSchemaVersion, error))
        return nullptr;
    state->version = kSchemaVersion;
    return std::unique_ptr<Archive>(new Archive(std::move(state)));
}

bool Archive::postgres() const
{
    return d_->dialect.postgres;
}

bool Archive::readOnly() const
{
    return d_->readOnly;
}

int Archive::schemaVersion() const
{
    return d_->version;
}

std::string Archive::connectionName() const
{
    return d_->connection.toStdString();
}

std::optional<PreparedReadout> prepareReadout(
    std::vector<std::uint8_t> bytes, const std::string& fileName, std::string* error)
{
    if (bytes.size() < recorder::kIdentificationOffset) {
        setError(error, text::tooShort(bytes.size()));
        return std::nullopt;
    }
    PreparedReadout p;
    p.sha256 = imageHash(bytes);
    if (p.sha256.empty()) {
        setError(error, text::hashFailed());
        return std::nullopt;
    }
    p.compressed = packDataFile(bytes);
    const recorder::DataFileReader reader(std::move(bytes));
    // The archive keeps no list of broken frames: the episode count below
    // passes over them on its own.
    const analysis::Readout r = analysis::readReadout(reader, analysis::FrameCheck::LeaveToDecoding);
    using recorder::IdField;
    p.fileName = fileName;
    p.craneModel = trimmed(r.text(IdField::CraneModel));
    p.craneNumber = trimmed(r.text(IdField::CraneNumber));
    p.owner = trimmed(r.text(IdField::CraneOwner));
    p.readingText = r.text(IdField::ReadingDate);
    p.readingMoment = r.readingMoment();
    p.limiterSerial = trimmed(r.text(IdField::LimiterNumber));
    p.totalCycles = r.totalCycles;
    p.characteristicNumber = r.characteristicNumber;
    p.normativeNumber = r.normativeNumber;
    p.overloadEpisodes = analysis::countOverloadEpisodes(reader);
    return p;
}

std::optional<PreparedReadout> prepareReadout(const std::string& path, std::string* error)
{
    QFile file(QString::fromStdString(path));
    const QFileInfo info(file);
    if (!info.isFile()) {
        setError(error, info.exists() ? text::notARegularFile() : text::noSuchFile());
        return std::nullopt;
    }
    if (info.size() > static_cast<qint64>(kMaxDataFileSize)) {
        setError(error, text::tooLarge());
        return std::nullopt;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        setError(error, file.errorString().toStdString());
        return std::nullopt;
    }
    // Read straight into the bytes that are kept; the file as long as it was found.
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(info.size()));
    const qint64 got = file.read(reinterpret_cast<char*>(bytes.data()), info.size());
    if (got < 0) {
        setError(error, file.errorString().toStdString());
        return std::nullopt;
    }
    bytes.resize(static_cast<std::size_t>(got));
    return prepareReadout(std::move(bytes), info.fileName().toStdString(), error);
}

AddOutcome Archive::add(const PreparedReadout& p, std::string* error)
{
    if (d_->readOnly) {
        setError(error,
            text::readOnly(QSqlDatabase::database(d_->connection, false).databaseName().toStdString()));
        return AddOutcome::Failed;
    }
    if (!d_->prepareWriter(error))
        return AddOutcome::Failed;
    State::Writer& w = *d_->writer;
    const auto fail = [&](QSqlQuery& q) {
        setError(error, sqlFailure(text::cannotWrite, q.lastError()));
        q.finish();
        d_->rollback();
        return AddOutcome::Failed;
    };
    if (!d_->begin(error))
        return AddOutcome::Failed;
    const QString sha = QString::fromStdString(p.sha256);
    w.findReadout.bindValue(0, sha);
    if (!w.findReadout.exec())
        return fail(w.findReadout);
    const bool known = w.findReadout.next();
    w.findReadout.finish();
    if (known) {
        d_->rollback();
        return AddOutcome::AlreadyThere;
    }
    const QString model = utf8(p.craneModel);
    const QString number = utf8(p.craneNumber);
    // A crane without a number stands for its one read-out only.
    const QString ownFile = p.craneNumber.empty() ? sha : QStringLiteral("");
    // The crane is mostly known already: looked up first, added only when new.
    const auto crane = [&](QSqlQuery& query) {
        query.bindValue(0, model);
        query.bindValue(1, number);
        query.bindValue(2, ownFile);
        return query.exec();
    };
    if (!crane(w.findCrane))
        return fail(w.findCrane);
    if (!w.findCrane.next()) {
        if (!crane(w.addCrane))
            return fail(w.addCrane);
        if (!crane(w.findCrane))
            return fail(w.findCrane);
        if (!w.findCrane.next()) {
            w.findCrane.finish();
            setError(error, text::craneVanished());
            d_->rollback();
            return AddOutcome::Failed;
        }
    }
    const qlonglong craneId = w.findCrane.value(0).toLongLong();
    w.findCrane.finish();
    QSqlQuery& q = w.addReadout;
    int column = 0;
    const auto bind = [&q, &column](const QVariant& value) { q.bindValue(column++, value); };
    bind(craneId);
    bind(sha);
    bind(QString::fromStdString(p.fileName));
    bind(model);
    bind(number);
    bind(utf8(p.owner));
    bind(utf8(p.readingText));
    bind(
        p.readingMoment ? QVariant(momentColumn(p.readingMoment)) : QVariant(QMetaType::fromType<QString>()));
    bind(utf8(p.limiterSerial));
    bind(static_cast<qlonglong>(p.totalCycles));
    bind(p.characteristicNumber);
    bind(p.normativeNumber);
    bind(p.overloadEpisodes);
    bind(QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    bind(QByteArray(
        reinterpret_cast<const char*>(p.compressed.data()), static_cast<qsizetype>(p.compressed.size())));
    if (!q.exec())
        return fail(q);
    const bool added = q.numRowsAffected() > 0;
    q.finish();
    if (!d_->commit(error))
        return AddOutcome::Failed;
    return added ? AddOutcome::Added : AddOutcome::AlreadyThere;
}

namespace {

const QString kReadoutColumns = QStringLiteral(
    "SELECT id, crane_id, sha256, file_name, crane_model, crane_number, owner, reading_text, reading_moment, "
    "limiter_serial, total_cycles, characteristic, normative, imported_at, overload_episodes FROM readouts");

ArchivedReadout readoutOfRow(const QSqlQuery& q)
{
    ArchivedReadout r;
    r.id = q.value(0).toLongLong();
    r.craneId = q.value(1).toLongLong();
    r.sha256 = q.value(2).toString().toStdString();
    r.fileName = q.value(3).toString().toStdString();
    r.craneModel = cp1251(q.value(4));
    r.craneNumber = cp1251(q.value(5));
    r.owner = cp1251(q.value(6));
    r.readingText = cp1251(q.value(7));
    r.readingMoment = momentFromColumn(q.value(8));
    r.limiterSerial = cp1251(q.value(9));
    r.totalCycles = q.value(10).toLongLong();
    // A number the program never writes (text, infinite, missing) is damaged.
    bool number = false;
    const double characteristic = q.value(11).toDouble(&number);
    r.characteristicNumber
        = number && !q.value(11).isNull() && std::isfinite(characteristic) ? characteristic : std::nan("");
    r.normativeNumber = q.value(12).toInt();
    r.importedAt = q.value(13).toString().toStdString();
    r.overloadEpisodes = q.value(14).toInt();
    return r;
}

}  // namespace

std::optional<std::vector<ArchivedCrane>> Archive::cranes(std::string* error) const
{
    QSqlQuery q(d_->db());
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT id, model, number, own_file FROM cranes ORDER BY id"))) {
        setError(error, sqlFailure(text::cannotRead, q.lastError()));
        return std::nullopt;
    }
    std::vector<ArchivedCrane> out;
    while (q.next())
        out.push_back({q.value(0).toLongLong(), cp1251(q.value(1)), cp1251(q.value(2)),
            q.value(3).toString().toStdString()});
    return out;
}

std::optional<std::vector<ArchivedReadout>> Archive::readouts(std::string* error) const
{
    QSqlQuery q(d_->db());
    q.setForwardOnly(true);
    if (!q.exec(kReadoutColumns + QStringLiteral(" ORDER BY crane_id, id"))) {
        setError(error, sqlFailure(text::cannotRead, q.lastError()));
        return std::nullopt;
    }
    std::vector<ArchivedReadout> out;
    while (q.next())
        out.push_back(readoutOfRow(q));
    return out;
}

std::optional<std::vector<ArchivedReadout>> Archive::readoutsOfCrane(
    std::int64_t craneId, std::string* error) const
{
    QSqlQuery q(d_->db());
    q.setForwardOnly(true);
    q.prepare(kReadoutColumns + QStringLiteral(" WHERE crane_id = ? ORDER BY id"));
    q.addBindValue(static_cast<qlonglong>(craneId));
    if (!q.exec()) {
        setError(error, sqlFailure(text::cannotRead, q.lastError()));
        return std::nullopt;
    }
    std::vector<ArchivedReadout> out;
    while (q.next())
        out.push_back(readoutOfRow(q));
    return out;
}

std::optional<std::vector<std::uint8_t>> Archive::dataFile(
    const std::string& sha256, std::string* error) const
{
    QSqlQuery q(d_->db());
    q.prepare(QStringLiteral("SELECT data FROM readouts WHERE sha256 = ?"));
    q.addBindValue(QString::fromStdString(sha256).toLower());
    if (!q.exec()) {
        setError(error, sqlFailure(text::cannotRead, q.lastError()));
        return std::nullopt;
    }
    if (!q.next()) {
        setError(error, text::noReadout(sha256));
        return std::nullopt;
    }
    const QByteArray stored = q.value(0).toByteArray();
    auto bytes = unpackDataFile(stored.constData(), static_cast<std::size_t>(stored.size()));
    if (!bytes || bytes->size() < recorder::kImageSize
        || imageHash(*bytes) != QString::fromStdString(sha256).toLower().toStdString()) {
        setError(error, text::damagedDataFile(sha256));
        return std::nullopt;
    }
    return bytes;
}

}  // namespace nkp::archive
