#include "archive/ArchiveDb.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include <atomic>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// Opening an archive: the connection, its options and the recognition of
// the database before anything is written.
namespace nkp::archive {
namespace {

QString nextConnectionName()
{
    static std::atomic<int> counter {0};
    return QStringLiteral("nkp_archive_%1").arg(++counter);
}

// Whether the user may write the file: its mode bits too, which the
// superuser's access() would ignore.
bool mayWrite(const std::string& path)
{
    struct stat st { };
    return ::stat(path.c_str(), &st) == 0 && (st.st_mode & 0222) != 0
        && ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

}  // namespace

Archive::Archive(std::unique_ptr<State> state)
    : d_(std::move(state))
{
}

Archive::~Archive() = default;

Result<std::unique_ptr<Archive>> Archive::open(const std::string& location, OpenMode mode)
{
    checkNotGuiThread();
    auto state = std::make_unique<State>();
    state->connection = nextConnectionName();
    state->dialect.postgres = isPostgresLocation(location);
    const QString driver = state->dialect.postgres ? QStringLiteral("QPSQL") : QStringLiteral("QSQLITE");
    if (!QSqlDatabase::isDriverAvailable(driver)) {
        return failed(text::driverMissing(
            driver.toStdString(), state->dialect.postgres ? "libqt6sql6-psql" : "libqt6sql6-sqlite"));
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(driver, state->connection);
    // Options of the connection that may write, once the database is known to be ours.
    QString writerOptions;
    bool missing = false;
    if (state->dialect.postgres) {
        const auto where = parsePostgresAddress(location);
        if (!where)
            return where.failure();
        db.setDatabaseName(QString::fromStdString(where->database));
        if (!where->user.empty())
            db.setUserName(QString::fromStdString(where->user));
        if (!where->host.empty())
            db.setHostName(QString::fromStdString(where->host));
        if (where->port > 0)
            db.setPort(where->port);
        db.setConnectOptions(QStringLiteral("connect_timeout=10"));
    } else {
        state->inputs = fileio::InputScope(archiveFiles(location));
        const QFileInfo file(QString::fromStdString(location));
        const std::string path = file.absoluteFilePath().toStdString();
        missing = !file.exists();
        if (missing && mode == OpenMode::Existing) {
            return failed(text::notFound(location));
        }
        if (!missing) {
            if (!file.isFile()) {
                return failed(text::notAFile(location));
            }
            state->readOnly = !mayWrite(path) || !QFileInfo(file.absolutePath()).isWritable();
        } else if (!QDir().mkpath(file.absolutePath())) {
            return failed(text::folderNotMade(file.absolutePath().toStdString()));
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
        return failed(text::cannotOpen(location, sqlError(db.lastError())));
    }
    const auto found = recognise(db, location);
    if (!found)
        return found.failure();
    if (found->kind == Recognised::Empty && mode == OpenMode::Existing) {
        return failed(text::emptyDatabase(location));
    }
    const bool update
        = found->version < kSchemaVersion || (!state->dialect.postgres && !found->hasApplicationId);
    if (!state->dialect.postgres && !missing && !state->readOnly) {
        // Ours: opened again to write.
        db.close();
        db.setConnectOptions(writerOptions);
        if (!db.open()) {
            return failed(text::cannotOpen(location, sqlError(db.lastError())));
        }
    }
    QSqlQuery q(db);
    if (!state->dialect.postgres) {
        q.exec(QStringLiteral("PRAGMA foreign_keys = ON"));
        if (!state->readOnly) {
            // WAL lets readers go on while one writer imports.
            if (!execWaiting(q, QStringLiteral("PRAGMA journal_mode = WAL")) || !q.next()) {
                return failed(text::cannotOpen(location, sqlError(q.lastError())));
            }
            q.exec(QStringLiteral("PRAGMA synchronous = NORMAL"));
        }
    }
    if (found->version < kSchemaVersion && state->readOnly) {
        return failed(found->kind == Recognised::Empty ? text::emptyAndReadOnly(location)
                                                       : text::outdatedAndReadOnly(location));
    }
    if (update && !state->readOnly) {
        if (Done migrated = migrateConnection(state->connection.toStdString(), kSchemaVersion); !migrated)
            return migrated.failure();
    }
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

}  // namespace nkp::archive
