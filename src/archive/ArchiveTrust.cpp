#include "archive/ArchiveDb.h"

// The archive's own trusted keys: one table that every program sharing the
// archive reads, so that all of them show the same statuses.
namespace nkp::archive {

Result<signing::TrustedKeys> Archive::trustedKeys() const
{
    return trustedKeysOf(d_->db());
}

std::vector<std::string> trustOutcomeLines(const signing::PublicKey& key, const TrustOutcome& outcome)
{
    const std::string who = key.signer + ", ключ " + key.fingerprint();
    if (outcome.alreadyTrusted)
        return {"ключ уже в доверенных: " + who};
    return {"ключ добавлен в доверенные: " + who,
        "проверено подписей считываний: " + std::to_string(outcome.checked)};
}

Result<TrustOutcome> Archive::trustKey(const signing::PublicKey& key)
{
    auto transaction = d_->write();
    if (!transaction)
        return transaction.failure();
    const auto failWith
        = [](const QSqlQuery& q) { return failed(sqlFailure(text::cannotWrite, q.lastError())); };
    const QString print = QString::fromStdString(key.fingerprint());
    QSqlQuery q(d_->db());
    q.prepare(QStringLiteral("SELECT id FROM trusted_keys WHERE fingerprint = ?"));
    q.addBindValue(print);
    if (!q.exec())
        return failWith(q);
    if (q.next()) {
        q.finish();
        return TrustOutcome {true, 0};
    }
    q.prepare(QStringLiteral("INSERT INTO trusted_keys (fingerprint, signer, public_key, added_at) "
                             "VALUES (?, ?, ?, ?) RETURNING id"));
    for (const QString& value : {print, QString::fromStdString(key.signer),
             QString::fromStdString(signing::publicKeyText(key)), nowColumn()})
        q.addBindValue(value);
    const auto keyId = insertReturningId(q);
    if (!keyId)
        return keyId.failure();
    LedgerWriter ledger(d_->db());
    if (Done certified = ledger.append(LedgerKind::TrustedKey, *keyId); !certified)
        return certified.failure();
    // The read-outs that came signed with this key before it was trusted
    // are checked now; the check is kept beside them (the read-out rows are
    // never changed). The stored file's hash is what the signature covers.
    q.prepare(QStringLiteral("SELECT r.id, r.file_sha256, r.signature FROM readouts r "
                             "WHERE r.signature_status = ? AND r.signature_key = ? AND NOT EXISTS "
                             "(SELECT 1 FROM signature_checks k WHERE k.readout_id = r.id) ORDER BY r.id"));
    q.addBindValue(signatureStatusCode(signing::SignatureStatus::Untrusted));
    q.addBindValue(print);
    if (!q.exec())
        return failWith(q);
    const signing::TrustedKeys only {{key}};
    std::vector<std::pair<qlonglong, signing::SignatureStatus>> checks;
    while (q.next())
        checks.emplace_back(q.value(0).toLongLong(),
            signing::verifyDigest(
                q.value(1).toString().toStdString(), q.value(2).toString().toStdString(), only)
                .status);
    q.finish();
    QSqlQuery add(d_->db());
    add.prepare(QStringLiteral("INSERT INTO signature_checks (readout_id, key_id, status, checked_at) "
                               "VALUES (?, ?, ?, ?) RETURNING id"));
    for (const auto& [readoutId, status] : checks) {
        add.bindValue(0, readoutId);
        add.bindValue(1, *keyId);
        add.bindValue(2, signatureStatusCode(status));
        add.bindValue(3, nowColumn());
        const auto checkId = insertReturningId(add);
        if (!checkId)
            return checkId.failure();
        if (Done certified = ledger.append(LedgerKind::SignatureCheck, *checkId); !certified)
            return certified.failure();
    }
    if (Done committed = transaction->commit(); !committed)
        return committed.failure();
    return TrustOutcome {false, static_cast<int>(checks.size())};
}

}  // namespace nkp::archive
