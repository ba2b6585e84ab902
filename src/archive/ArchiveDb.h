#pragma once

#include "archive/Archive.h"
#include "archive/ArchiveSql.h"
#include "archive/ArchiveText.h"
#include "base/Failure.h"
#include "base/InputFiles.h"
#include "signing/Verification.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>

// What the archive's files share inside the library: the connection's state,
// how database failures become the archive's texts, and the column forms of
// texts and moments.
namespace nkp::archive {

std::string sqlError(const QSqlError& e);
// The database's cause after the archive's lead text: missing rights
// (SQLSTATE 42501) named as such whatever was being done.
std::string sqlFailure(std::string (*lead)(const std::string&), const QSqlError& e);
// Windows-1251 bytes to and from the database's UTF-8.
QString utf8(const std::string& cp1251);
std::string cp1251(const QVariant& value);
// "yyyy-mm-dd hh:mm:ss": sorts as text on both databases.
QString momentColumn(const std::optional<base::DateTime>& m);
std::optional<base::DateTime> momentFromColumn(const QVariant& value);

// Stops the program when the calling thread runs a QGuiApplication's event
// loop and NKP_ARCHIVE_THREAD_CHECK is set (the window tests set it): a
// window never waits on a lock or a server. Headless programs, and threads
// of a window's sessions, pass.
void checkNotGuiThread();

// Runs `sql`, waiting while another connection holds the lock: a file that
// another program is making an archive of this moment is only read once it is.
bool execWaiting(QSqlQuery& q, const QString& sql);

// What an open database is, found before anything is written to it.
struct Recognised {
    enum Kind { Empty, Ours, Foreign } kind = Empty;
    int version = 0;                // of an archive of ours
    bool hasApplicationId = false;  // SQLite: ours says so in its header
};

// Recognises the database: an empty one, an archive of this program (its
// application id, or the schema_version, cranes and readouts tables of an
// older one), or anything else. Fails when the catalogue or the
// version cannot be read, the version is damaged or newer. Reads only.
Result<Recognised> recognise(const QSqlDatabase& db, const std::string& location);

// The read-outs' columns of the figures the continuity checks and the due
// dates need, and their values of a read-out, in the same order.
const QStringList& figureColumns();
QVariantList figureValues(const ReadoutFigures& figures);
// Reads the figures from the query's columns starting at `first`.
void readFigureColumns(const QSqlQuery& q, int first, ReadoutFigures& figures);

// The read-outs' columns the crane and history tables read, in the order
// the query reads them. On SQLite an index holds them all: the stored data
// file lies in the row before columns added later, and reaching those
// through the file's overflow pages made reading the tables several times
// slower; the index answers the query without touching the rows. A schema
// version that adds a column to them makes the index again.
const QStringList& summaryColumns();
QString summaryIndexStatement();

// The log's word for a kind ("reading", "partial", ...) and back.
QString logKindCode(LogKind kind);
std::optional<LogKind> logKindOfCode(const QString& code);

// Whether a new log entry gets its ledger row at once: not while an older
// archive is brought to the crane log's version, before the ledger exists
// (the ledger's own version enters every entry then).
enum class Certify { Now, Later };

// Adds an entry to the crane's log as its next number, inside the caller's
// writer's transaction (Archive::State::begin).
Result<LogEntry> appendLogEntry(
    const QSqlDatabase& db, Certify certify, const NewLogEntry& entry, const std::string& readoutSha256);

// The entries a new read-out brings: "Замена ограничителя" when the crane's
// read-out before it has another limiter serial, then "Считывание". Inside
// the caller's transaction.
std::optional<Failure> logReadout(const QSqlDatabase& db, Certify certify, std::int64_t craneId,
    const PreparedReadout& p, std::optional<std::string> previousSerial);

// Fills the figures of every stored read-out from its data file and writes
// each crane's log of the read-outs kept so far (schema migration).
std::optional<Failure> fillCraneLog(const QSqlDatabase& db);

// "yyyy-mm-dd hh:mm:ss" of now, UTC.
QString nowColumn();

// The records the ledger certifies, and how the ledger keeps them
// (ArchiveLedger.cpp tells the canonical text and the hash chain).
enum class LedgerKind { Readout, LogEntry, TrustedKey, Settings, SignatureCheck };
inline constexpr int kLedgerKindCount = 5;
QString ledgerKindCode(LedgerKind kind);
std::optional<LedgerKind> ledgerKindOfCode(const QString& code);
const std::string& genesisHash();
std::string ledgerHash(const std::string& previousHash, const std::string& canonical);
// Hands the canonical text of every record of `kind` (or of the one `id`)
// to `take`, by id.
Done forEachRecordText(const QSqlDatabase& db, LedgerKind kind, std::optional<qlonglong> id,
    const std::function<void(qlonglong, std::string)>& take);

// Appends ledger rows inside the caller's transaction, which holds the
// writer's lock (SQLite: BEGIN IMMEDIATE; PostgreSQL: the ledger's advisory
// lock), so that the chain has one end.
class LedgerWriter {
public:
    explicit LedgerWriter(const QSqlDatabase& db)
        : db_(db)
    {
    }
    Done append(LedgerKind kind, qlonglong id);
    Done appendText(LedgerKind kind, qlonglong id, const std::string& canonical);

private:
    QSqlDatabase db_;
    std::optional<std::string> last_;
};
Done certify(const QSqlDatabase& db, LedgerKind kind, qlonglong id);
// Runs a prepared INSERT ... RETURNING id.
Result<qlonglong> insertReturningId(QSqlQuery& q);
// Enters what an archive of schema 5 holds into the new ledger (migration).
Done fillLedger(const QSqlDatabase& db);

// The archive's own trusted keys, and how signature statuses are stored.
Result<signing::TrustedKeys> trustedKeysOf(const QSqlDatabase& db);
QString signatureStatusCode(signing::SignatureStatus status);
signing::SignatureStatus signatureStatusOfCode(const QString& code);
// The statuses found when a key was trusted after its read-outs came, by read-out.
Result<std::map<qlonglong, signing::SignatureStatus>> laterSignatureChecks(const QSqlDatabase& db);

// The PostgreSQL advisory lock every writer of an archive takes first.
inline constexpr int kWriterLock = 7245020;

struct Archive::State {
    QString connection;
    Dialect dialect;
    bool readOnly = false;
    int version = 0;
    // The writer's statements, prepared on the first add and kept: preparing
    // costs a PostgreSQL server a round trip each time.
    struct Writer {
        QSqlQuery findReadout, addCrane, findCrane, addReadout, previousSerial, addAlias;
    };
    std::optional<Writer> writer;
    // An SQLite archive's file and its companions are inputs while it is open:
    // no output replaces them.
    fileio::InputScope inputs;

    QSqlDatabase db() const
    {
        checkNotGuiThread();
        return QSqlDatabase::database(connection, false);
    }

    // Prepares the writer's statements outside any transaction.
    Done prepareWriter()
    {
        if (writer)
            return {};
        const QSqlDatabase database = db();
        Writer w {QSqlQuery(database), QSqlQuery(database), QSqlQuery(database), QSqlQuery(database),
            QSqlQuery(database), QSqlQuery(database)};
        QString figures, marks;
        for (const QString& column : figureColumns()) {
            figures += QStringLiteral(", ") + column;
            marks += QStringLiteral(", ?");
        }
        const std::pair<QSqlQuery*, QString> statements[] = {
            {&w.findReadout,
                QStringLiteral("SELECT c.model, c.number FROM readouts r JOIN cranes c ON c.id = r.crane_id "
                               "WHERE r.sha256 = ?")},
            {&w.addCrane,
                QStringLiteral(
                    "INSERT INTO cranes (model, number, own_file) VALUES (?, ?, ?) ON CONFLICT DO NOTHING")},
            {&w.findCrane,
                QStringLiteral("SELECT id FROM cranes WHERE model = ? AND number = ? AND own_file = ?")},
            {&w.addReadout,
                QStringLiteral(
                    "INSERT INTO readouts (crane_id, sha256, file_name, crane_model, crane_number, "
                    "owner, reading_text, reading_moment, limiter_serial, total_cycles, "
                    "characteristic, normative, overload_episodes, imported_at, data, file_sha256, "
                    "signature, signature_status, signature_key%1) "
                    "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?%2) ON CONFLICT DO "
                    "NOTHING "
                    "RETURNING id")
                    .arg(figures, marks)},
            {&w.previousSerial,
                QStringLiteral(
                    "SELECT limiter_serial FROM readouts WHERE crane_id = ? AND reading_moment < ? "
                    "ORDER BY reading_moment DESC, id DESC LIMIT 1")},
            {&w.addAlias,
                QStringLiteral("INSERT INTO image_aliases (sha256, crane_model, crane_number, reading_text, "
                               "reading_moment, file_name, seen_at) VALUES (?, ?, ?, ?, ?, ?, ?) "
                               "ON CONFLICT DO NOTHING")},
        };
        for (const auto& [query, sql] : statements) {
            query->setForwardOnly(true);
            if (!query->prepare(sql)) {
                return failed(sqlFailure(text::cannotWrite, query->lastError()));
            }
        }
        writer.emplace(std::move(w));
        return {};
    }

    // A writer's transaction: SQLite takes its write lock at once, so that
    // two writers wait for each other instead of failing on the upgrade.
    Done begin() const
    {
        QSqlQuery q(db());
        if (!q.exec(dialect.postgres ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN IMMEDIATE"))) {
            return failed(sqlFailure(text::cannotWrite, q.lastError()));
        }
        // PostgreSQL's writers take turns too: the ledger and each crane's
        // log grow at one end, and a reader may lock no row.
        if (dialect.postgres
            && !q.exec(QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(kWriterLock))) {
            Failure failure = failed(sqlFailure(text::cannotWrite, q.lastError()));
            rollback();
            return failure;
        }
        return {};
    }
    Done commit() const
    {
        QSqlQuery q(db());
        if (!q.exec(QStringLiteral("COMMIT"))) {
            Failure failure = failed(sqlFailure(text::cannotWrite, q.lastError()));
            rollback();
            return failure;
        }
        return {};
    }
    void rollback() const
    {
        QSqlQuery q(db());
        q.exec(QStringLiteral("ROLLBACK"));
    }
    // A writer's transaction: rolled back when it ends without commit(), so
    // that every early return of a writer leaves the archive as it was.
    class Transaction {
    public:
        explicit Transaction(const State& state)
            : state_(&state)
        {
        }
        Transaction(Transaction&& other) noexcept
            : state_(std::exchange(other.state_, nullptr))
        {
        }
        Transaction& operator=(Transaction&&) = delete;
        ~Transaction()
        {
            if (state_)
                state_->rollback();
        }
        Done commit() { return std::exchange(state_, nullptr)->commit(); }

    private:
        const State* state_;
    };

    // Refuses a read-only archive, prepares the writer's statements when
    // asked (outside the transaction), then begins a writer's transaction.
    Result<Transaction> write(bool withWriter = false);

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

inline Result<Archive::State::Transaction> Archive::State::write(bool withWriter)
{
    if (readOnly)
        return failed(text::readOnly(db().databaseName().toStdString()));
    if (withWriter) {
        if (Done prepared = prepareWriter(); !prepared)
            return prepared.failure();
    }
    if (Done begun = begin(); !begun)
        return begun.failure();
    return Transaction(*this);
}

}  // namespace nkp::archive
