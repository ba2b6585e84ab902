#include "archive/ArchiveDb.h"

#include "archive/StoredFile.h"
#include "recorder/DataFileLayout.h"

#include <QThread>
#include <QtConcurrent/QtConcurrentRun>

#include <deque>
#include <limits>
#include <set>

// The check of a whole archive: every stored file against its hashes and
// signature, then the ledger's chain against the records it certifies.
namespace nkp::archive {
namespace {

using signing::SignatureStatus;

// Stored files unpacked and checked ahead of the reader, per thread of the pool.
constexpr std::size_t kAheadPerThread = 4;
// Stored files read from the database at a time.
constexpr int kPage = 200;

struct ReadoutFacts {
    std::string sha256, fileSha256;
    SignatureStatus status = SignatureStatus::Missing;  // as the archive shows it
};

struct DataCheck {
    qlonglong id = 0;
    bool readable = false;
    std::string imageSha256;
    signing::Verification verification;
};

DataCheck checkData(qlonglong id, const QByteArray& stored, const std::optional<std::string>& signature,
    const signing::TrustedKeys& trusted)
{
    DataCheck out;
    out.id = id;
    const auto file = unpackDataFile(stored.constData(), static_cast<std::size_t>(stored.size()));
    if (!file || file->size() < recorder::kImageSize)
        return out;
    out.readable = true;
    out.imageSha256 = imageHash(*file);
    out.verification = signing::verify(*file, signature, trusted);
    return out;
}

// The value of "name=value" in a canonical text, as written there.
std::string fieldOf(const std::string& canonical, const std::string& name)
{
    const std::string key = "\n" + name + "=";
    const auto at = canonical.find(key);
    if (at == std::string::npos)
        return {};
    const auto begin = at + key.size();
    return canonical.substr(begin, canonical.find('\n', begin) - begin);
}

// How a record is named to the user (UTF-8).
std::string recordName(LedgerKind kind, qlonglong id, const std::string& canonical)
{
    const std::string number = "№" + std::to_string(id);
    switch (kind) {
    case LedgerKind::Readout:
        return "считывание " + number + " (файл " + fieldOf(canonical, "file_name") + ")";
    case LedgerKind::LogEntry:
        return "запись журнала крана " + number;
    case LedgerKind::TrustedKey:
        return "доверенный ключ " + number + " (" + fieldOf(canonical, "fingerprint") + ")";
    case LedgerKind::Settings:
        return "настройки крана " + number;
    case LedgerKind::SignatureCheck:
        break;
    }
    return "проверка подписи " + number;
}

std::string changed(const std::string& what)
{
    return "архив изменён: " + what;
}

}  // namespace

std::string verifySummaryText(const VerifyReport& r)
{
    return "архив не изменён: строк реестра " + std::to_string(r.ledgerRows) + ", считываний "
        + std::to_string(r.readouts) + ", записей журнала " + std::to_string(r.logEntries)
        + ", доверенных ключей " + std::to_string(r.keys) + ", настроек кранов " + std::to_string(r.settings);
}

std::string signatureCountsText(const VerifyReport& r)
{
    std::string out = "подписи:";
    for (const auto status : {SignatureStatus::Valid, SignatureStatus::Missing, SignatureStatus::Changed,
             SignatureStatus::Untrusted, SignatureStatus::Damaged})
        out += (status == SignatureStatus::Valid ? " " : ", ") + signing::shortStatusText(status) + " "
            + std::to_string(r.signatures[static_cast<std::size_t>(status)]);
    return out;
}

std::string headHashText(const VerifyReport& r)
{
    return "хеш последней строки реестра: " + r.headHash;
}

Result<VerifyReport> Archive::verify(
    const std::function<void(int, int)>& progress, const std::atomic<bool>* cancel) const
{
    const QSqlDatabase db = d_->db();
    VerifyReport report;
    const auto trusted = trustedKeysOf(db);
    if (!trusted)
        return trusted.failure();
    const auto later = laterSignatureChecks(db);
    if (!later)
        return later.failure();
    std::map<qlonglong, ReadoutFacts> facts;
    {
        QSqlQuery q(db);
        q.setForwardOnly(true);
        if (!q.exec(QStringLiteral("SELECT id, sha256, file_sha256, signature_status FROM readouts")))
            return failed(sqlFailure(text::cannotRead, q.lastError()));
        while (q.next()) {
            ReadoutFacts& f = facts[q.value(0).toLongLong()];
            f.sha256 = q.value(1).toString().toStdString();
            f.fileSha256 = q.value(2).toString().toStdString();
            const auto checked = later->find(q.value(0).toLongLong());
            f.status
                = checked != later->end() ? checked->second : signatureStatusOfCode(q.value(3).toString());
        }
    }

    // Every stored file: unpacked, hashed and its signature verified in the
    // pool a few rows ahead of the reader; what differs is kept by read-out.
    std::map<qlonglong, std::string> dataProblems;
    const int total = static_cast<int>(facts.size());
    int done = 0;
    const auto take = [&](const DataCheck& c) {
        const auto f = facts.find(c.id);
        if (f == facts.end())
            return;
        if (!c.readable)
            dataProblems[c.id] = "сохранённый файл повреждён";
        else if (c.imageSha256 != f->second.sha256 || c.verification.dataSha256 != f->second.fileSha256)
            dataProblems[c.id] = "сохранённый файл не совпадает со своим SHA-256";
        else if (c.verification.status != f->second.status)
            dataProblems[c.id] = "подпись в архиве «" + signing::shortStatusText(f->second.status)
                + "», а проверка показывает «" + signing::shortStatusText(c.verification.status) + "»";
        if (c.readable)
            ++report.signatures[static_cast<std::size_t>(c.verification.status)];
        if (progress)
            progress(++done, total);
    };
    {
        // A page of stored files at a time: no client library holds them all.
        QSqlQuery q(db);
        q.setForwardOnly(true);
        q.prepare(QStringLiteral("SELECT id, data, signature FROM readouts WHERE id > ? ORDER BY id LIMIT %1")
                      .arg(kPage));
        const std::size_t ahead
            = kAheadPerThread * static_cast<std::size_t>(std::max(1, QThread::idealThreadCount()));
        std::deque<QFuture<DataCheck>> pending;
        const signing::TrustedKeys& keys = *trusted;
        qlonglong last = std::numeric_limits<qlonglong>::min();
        bool more = true;
        int inPage = 0;
        while (more || !pending.empty()) {
            if (cancel && cancel->load()) {
                for (QFuture<DataCheck>& f : pending)
                    f.waitForFinished();
                report.cancelled = true;
                return report;
            }
            while (more && pending.size() < ahead) {
                if (!q.isActive()) {
                    q.bindValue(0, last);
                    if (!q.exec())
                        return failed(sqlFailure(text::cannotRead, q.lastError()));
                    inPage = 0;
                }
                if (!q.next()) {
                    more = inPage == kPage;
                    q.finish();
                    if (!more)
                        break;
                    continue;
                }
                ++inPage;
                last = q.value(0).toLongLong();
                const std::optional<std::string> signature = q.value(2).isNull()
                    ? std::nullopt
                    : std::optional<std::string>(q.value(2).toString().toStdString());
                pending.push_back(
                    QtConcurrent::run(checkData, last, q.value(1).toByteArray(), signature, std::cref(keys)));
            }
            if (!pending.empty()) {
                take(pending.front().result());
                pending.pop_front();
            }
        }
    }

    // The records as they are now, by kind and id; each is crossed off when
    // the chain reaches its ledger row, and what is left came without one.
    std::array<std::map<qlonglong, std::string>, kLedgerKindCount> records;
    for (int k = 0; k < kLedgerKindCount; ++k) {
        auto& into = records[static_cast<std::size_t>(k)];
        if (Done read = forEachRecordText(db, static_cast<LedgerKind>(k), std::nullopt,
                [&into](
                    qlonglong id, std::string text) { into.emplace_hint(into.end(), id, std::move(text)); });
            !read)
            return read.failure();
    }
    const auto count = [&records](LedgerKind kind) {
        return static_cast<int>(records[static_cast<std::size_t>(kind)].size());
    };
    report.readouts = count(LedgerKind::Readout);
    report.logEntries = count(LedgerKind::LogEntry);
    report.keys = count(LedgerKind::TrustedKey);
    report.settings = count(LedgerKind::Settings);

    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(
            QStringLiteral("SELECT id, kind, ref, canonical, previous_hash, hash FROM ledger ORDER BY id")))
        return failed(sqlFailure(text::cannotRead, q.lastError()));
    std::string previous = genesisHash();
    while (q.next()) {
        ++report.ledgerRows;
        const std::string number = "№" + q.value(0).toString().toStdString();
        const std::string canonical = q.value(3).toString().toStdString();
        const std::string linked = q.value(4).toString().toStdString();
        const std::string hash = q.value(5).toString().toStdString();
        const auto kind = ledgerKindOfCode(q.value(1).toString());
        if (linked != previous) {
            report.problem = changed(
                "перед строкой реестра " + number + " строка удалена или вставлена не в свой черёд");
            return report;
        }
        if (ledgerHash(linked, canonical) != hash || !kind) {
            report.problem = changed("строка реестра " + number + " изменена");
            return report;
        }
        previous = hash;
        const qlonglong ref = q.value(2).toLongLong();
        auto& ofKind = records[static_cast<std::size_t>(*kind)];
        const auto record = ofKind.find(ref);
        const std::string name = recordName(*kind, ref, canonical);
        if (record == ofKind.end()) {
            report.problem = changed(name + " — запись удалена");
            return report;
        }
        if (record->second != canonical) {
            report.problem = changed(name + " — запись изменена после внесения");
            return report;
        }
        if (const auto data = dataProblems.find(ref);
            *kind == LedgerKind::Readout && data != dataProblems.end()) {
            report.problem = changed(name + " — " + data->second);
            return report;
        }
        ofKind.erase(record);
    }
    for (int k = 0; k < kLedgerKindCount; ++k)
        if (const auto& left = records[static_cast<std::size_t>(k)]; !left.empty()) {
            report.problem
                = changed(recordName(static_cast<LedgerKind>(k), left.begin()->first, left.begin()->second)
                    + " — запись внесена без строки реестра");
            return report;
        }
    report.headHash = previous;
    return report;
}

}  // namespace nkp::archive
