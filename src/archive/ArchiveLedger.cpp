#include "archive/ArchiveDb.h"

#include "archive/StoredFile.h"
#include "signing/Keys.h"

#include <QDateTime>

#include <array>
#include <charconv>

// The ledger: one row per record that is evidence (read-out, log entry,
// trusted key, crane settings, later check of a signature), each holding
// the record's canonical text and a hash that chains it to the row before.
//
// Canonical text of a record (UTF-8, LF line ends, byte for byte stable):
//   kind=readout|log|key|settings|check
//   then one line "name=value" per column of the record, in a fixed order
//   (ledgerColumns below); a NULL is "\N"; integers in decimal; floating
//   numbers in the shortest form that reads back to the same value (C
//   locale, "."); texts as stored, with "\" written "\\", LF "\n", CR "\r".
// hash = lower-case hex SHA-256 of (previous row's hash as 64 hex digits,
// followed by the canonical text); the first row's previous hash is 64 zeros.
namespace nkp::archive {
namespace {

struct RecordSource {
    const char* code;
    const char* from;  // the table, and for a read-out its crane
    QStringList columns;
};

const RecordSource& sourceOf(LedgerKind kind)
{
    static const std::array<RecordSource, kLedgerKindCount> sources = [] {
        QStringList readout = {QStringLiteral("r.id"), QStringLiteral("r.crane_id"),
            QStringLiteral("c.model"), QStringLiteral("c.number"), QStringLiteral("c.own_file"),
            QStringLiteral("r.sha256"), QStringLiteral("r.file_sha256"), QStringLiteral("r.file_name"),
            QStringLiteral("r.crane_model"), QStringLiteral("r.crane_number"), QStringLiteral("r.owner"),
            QStringLiteral("r.reading_text"), QStringLiteral("r.reading_moment"),
            QStringLiteral("r.limiter_serial"), QStringLiteral("r.total_cycles"),
            QStringLiteral("r.characteristic"), QStringLiteral("r.normative"),
            QStringLiteral("r.imported_at"), QStringLiteral("r.overload_episodes")};
        for (const QString& column : figureColumns())
            readout << QStringLiteral("r.") + column;
        readout << QStringLiteral("r.signature") << QStringLiteral("r.signature_status")
                << QStringLiteral("r.signature_key");
        const auto prefixed = [](std::initializer_list<const char*> names) {
            QStringList out;
            for (const char* name : names)
                out << QStringLiteral("r.") + QString::fromLatin1(name);
            return out;
        };
        return std::array<RecordSource, kLedgerKindCount> {
            RecordSource {"readout", "readouts r LEFT JOIN cranes c ON c.id = r.crane_id", readout},
            RecordSource {"log", "crane_log r",
                prefixed({"id", "crane_id", "number", "day", "kind", "text", "author", "certificate",
                    "entered_at", "corrects", "readout_sha"})},
            RecordSource {
                "key", "trusted_keys r", prefixed({"id", "fingerprint", "signer", "public_key", "added_at"})},
            RecordSource {"settings", "crane_settings r",
                prefixed({"id", "crane_id", "reading_months", "partial_months", "full_months",
                    "service_life_years", "changed_at"})},
            RecordSource {"check", "signature_checks r",
                prefixed({"id", "readout_id", "key_id", "status", "checked_at"})},
        };
    }();
    return sources[static_cast<std::size_t>(kind)];
}

void appendValue(std::string& text, const QVariant& value)
{
    if (value.isNull()) {
        text += "\\N";
        return;
    }
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Bool:
        text += std::to_string(value.toLongLong());
        return;
    case QMetaType::Double: {
        char buffer[64];
        const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value.toDouble());
        text.append(buffer, ec == std::errc() ? end : buffer);
        return;
    }
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        text += "sha256:"
            + signing::sha256Hex(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                static_cast<std::size_t>(bytes.size())));
        return;
    }
    default:
        break;
    }
    for (const char c : value.toString().toStdString()) {
        if (c == '\\')
            text += "\\\\";
        else if (c == '\n')
            text += "\\n";
        else if (c == '\r')
            text += "\\r";
        else
            text += c;
    }
}

std::string canonicalOfRow(const QSqlQuery& q, const RecordSource& source)
{
    std::string text = "kind=" + std::string(source.code) + "\n";
    for (int i = 0; i < source.columns.size(); ++i) {
        QString name = source.columns[i];
        name = name.startsWith(QStringLiteral("c.")) ? QStringLiteral("crane.") + name.mid(2) : name.mid(2);
        text += name.toStdString() + "=";
        appendValue(text, q.value(i));
        text += "\n";
    }
    return text;
}

}  // namespace

QString nowColumn()
{
    return QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

const std::string& genesisHash()
{
    static const std::string zeros(64, '0');
    return zeros;
}

std::string ledgerHash(const std::string& previousHash, const std::string& canonical)
{
    const std::string message = previousHash + canonical;
    return signing::sha256Hex(
        std::span(reinterpret_cast<const std::uint8_t*>(message.data()), message.size()));
}

QString ledgerKindCode(LedgerKind kind)
{
    return QString::fromLatin1(sourceOf(kind).code);
}

std::optional<LedgerKind> ledgerKindOfCode(const QString& code)
{
    for (int k = 0; k < kLedgerKindCount; ++k)
        if (ledgerKindCode(static_cast<LedgerKind>(k)) == code)
            return static_cast<LedgerKind>(k);
    return std::nullopt;
}

Done forEachRecordText(const QSqlDatabase& db, LedgerKind kind, std::optional<qlonglong> id,
    const std::function<void(qlonglong, std::string)>& take)
{
    const RecordSource& source = sourceOf(kind);
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT %1 FROM %2%3 ORDER BY r.id")
                  .arg(source.columns.join(QStringLiteral(", ")), QString::fromLatin1(source.from),
                      id ? QStringLiteral(" WHERE r.id = ?") : QString()));
    if (id)
        q.addBindValue(*id);
    if (!q.exec())
        return failed(sqlFailure(text::cannotRead, q.lastError()));
    while (q.next())
        take(q.value(0).toLongLong(), canonicalOfRow(q, source));
    return {};
}

Done LedgerWriter::append(LedgerKind kind, qlonglong id)
{
    std::optional<std::string> canonical;
    if (Done read = forEachRecordText(
            db_, kind, id, [&canonical](qlonglong, std::string text) { canonical = std::move(text); });
        !read)
        return read;
    if (!canonical)
        return failed(text::cannotWrite("запись для реестра не найдена"));
    return appendText(kind, id, *canonical);
}

Done LedgerWriter::appendText(LedgerKind kind, qlonglong id, const std::string& canonical)
{
    QSqlQuery q(db_);
    if (!last_) {
        q.setForwardOnly(true);
        if (!q.exec(QStringLiteral("SELECT hash FROM ledger ORDER BY id DESC LIMIT 1")))
            return failed(sqlFailure(text::cannotWrite, q.lastError()));
        last_ = q.next() ? q.value(0).toString().toStdString() : genesisHash();
        q.finish();
    }
    const std::string hash = ledgerHash(*last_, canonical);
    q.prepare(QStringLiteral(
        "INSERT INTO ledger (kind, ref, canonical, previous_hash, hash) VALUES (?, ?, ?, ?, ?)"));
    for (const QVariant& v :
        {QVariant(ledgerKindCode(kind)), QVariant(id), QVariant(QString::fromStdString(canonical)),
            QVariant(QString::fromStdString(*last_)), QVariant(QString::fromStdString(hash))})
        q.addBindValue(v);
    if (!q.exec())
        return failed(sqlFailure(text::cannotWrite, q.lastError()));
    last_ = hash;
    return {};
}

Done certify(const QSqlDatabase& db, LedgerKind kind, qlonglong id)
{
    return LedgerWriter(db).append(kind, id);
}

Result<qlonglong> insertReturningId(QSqlQuery& q)
{
    if (!q.exec() || !q.next())
        return failed(sqlFailure(text::cannotWrite, q.lastError()));
    const qlonglong id = q.value(0).toLongLong();
    q.finish();
    return id;
}

Result<signing::TrustedKeys> trustedKeysOf(const QSqlDatabase& db)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT public_key FROM trusted_keys ORDER BY id")))
        return failed(sqlFailure(text::cannotRead, q.lastError()));
    signing::TrustedKeys keys;
    // A row that is no key file trusts nothing (the ledger tells of its change).
    while (q.next())
        if (auto key = signing::parsePublicKey(q.value(0).toString().toStdString()))
            keys.keys.push_back(std::move(*key));
    return keys;
}

QString signatureStatusCode(signing::SignatureStatus status)
{
    static const QString codes[] = {QStringLiteral("valid"), QStringLiteral("missing"),
        QStringLiteral("changed"), QStringLiteral("untrusted"), QStringLiteral("damaged")};
    return codes[static_cast<int>(status)];
}

signing::SignatureStatus signatureStatusOfCode(const QString& code)
{
    for (const auto status : {signing::SignatureStatus::Valid, signing::SignatureStatus::Missing,
             signing::SignatureStatus::Changed, signing::SignatureStatus::Untrusted})
        if (signatureStatusCode(status) == code)
            return status;
    return signing::SignatureStatus::Damaged;
}

Result<std::map<qlonglong, signing::SignatureStatus>> laterSignatureChecks(const QSqlDatabase& db)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT readout_id, status FROM signature_checks")))
        return failed(sqlFailure(text::cannotRead, q.lastError()));
    std::map<qlonglong, signing::SignatureStatus> out;
    while (q.next())
        out[q.value(0).toLongLong()] = signatureStatusOfCode(q.value(1).toString());
    return out;
}

Done fillLedger(const QSqlDatabase& db)
{
    // The read-outs kept so far get the SHA-256 of their whole file; a
    // damaged stored file gets none, and the check of the archive names it.
    QSqlQuery rows(db);
    rows.setForwardOnly(true);
    if (!rows.exec(QStringLiteral("SELECT id, data FROM readouts ORDER BY id")))
        return failed(sqlFailure(text::cannotPrepare, rows.lastError()));
    std::vector<std::pair<qlonglong, QString>> hashes;
    while (rows.next()) {
        const QByteArray stored = rows.value(1).toByteArray();
        const auto file = unpackDataFile(stored.constData(), static_cast<std::size_t>(stored.size()));
        hashes.emplace_back(rows.value(0).toLongLong(),
            file ? QString::fromStdString(signing::sha256Hex(*file)) : QStringLiteral(""));
    }
    rows.finish();
    QSqlQuery update(db);
    update.prepare(QStringLiteral("UPDATE readouts SET file_sha256 = ? WHERE id = ?"));
    for (const auto& [id, hash] : hashes) {
        update.bindValue(0, hash);
        update.bindValue(1, id);
        if (!update.exec())
            return failed(sqlFailure(text::cannotPrepare, update.lastError()));
    }
    // What the archive holds enters the ledger first: read-outs, the log, the settings.
    LedgerWriter writer(db);
    for (const LedgerKind kind : {LedgerKind::Readout, LedgerKind::LogEntry, LedgerKind::Settings}) {
        std::vector<std::pair<qlonglong, std::string>> records;
        if (Done read = forEachRecordText(db, kind, std::nullopt,
                [&records](qlonglong id, std::string text) { records.emplace_back(id, std::move(text)); });
            !read)
            return read;
        for (const auto& [id, text] : records)
            if (Done added = writer.appendText(kind, id, text); !added)
                return added;
    }
    return {};
}

}  // namespace nkp::archive
