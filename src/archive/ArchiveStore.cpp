#include "archive/ArchiveDb.h"

// The writer: one read-out in one transaction.
namespace nkp::archive {

Result<AddOutcome> Archive::add(const PreparedReadout& p)
{
    auto transaction = d_->write(true);
    if (!transaction)
        return transaction.failure();
    State::Writer& w = *d_->writer;
    const auto fail = [](QSqlQuery& q) {
        Failure failure = failed(sqlFailure(text::cannotWrite, q.lastError()));
        q.finish();
        return failure;
    };
    const QString sha = QString::fromStdString(p.sha256);
    const QString model = utf8(p.craneModel);
    const QString number = utf8(p.craneNumber);
    const QString seenAt = nowColumn();
    const QVariant readingMoment = p.readingMoment ? QVariant(momentColumn(p.readingMoment))
                                                   : QVariant(QMetaType::fromType<QString>());
    w.findReadout.bindValue(0, sha);
    if (!w.findReadout.exec())
        return fail(w.findReadout);
    if (w.findReadout.next()) {
        const bool sameCrane
            = w.findReadout.value(0).toString() == model && w.findReadout.value(1).toString() == number;
        w.findReadout.finish();
        if (sameCrane)
            return AddOutcome::AlreadyThere;
        // The image under another identification: the archive keeps the
        // first copy and remembers this one for the remark.
        const QVariant values[] = {sha, model, number, utf8(p.readingText), readingMoment,
            QString::fromStdString(p.fileName), seenAt};
        for (int i = 0; i < 7; ++i)
            w.addAlias.bindValue(i, values[i]);
        if (!w.addAlias.exec())
            return fail(w.addAlias);
        w.addAlias.finish();
        if (Done committed = transaction->commit(); !committed)
            return committed.failure();
        return AddOutcome::SameImageOtherCrane;
    }
    w.findReadout.finish();
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
            return failed(text::craneVanished());
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
    bind(readingMoment);
    bind(utf8(p.limiterSerial));
    bind(static_cast<qlonglong>(p.totalCycles));
    bind(p.characteristicNumber);
    bind(p.normativeNumber);
    bind(p.overloadEpisodes);
    bind(seenAt);
    bind(QByteArray(
        reinterpret_cast<const char*>(p.compressed.data()), static_cast<qsizetype>(p.compressed.size())));
    // The signature is checked against the keys trusted as this transaction
    // sees them: a key trusted meanwhile by another program counts already.
    const auto trusted = trustedKeysOf(d_->db());
    if (!trusted)
        return trusted.failure();
    const signing::Verification check = signing::verifyDigest(p.fileSha256, p.signature, *trusted);
    bind(QString::fromStdString(p.fileSha256));
    bind(p.signature ? QVariant(QString::fromStdString(*p.signature))
                     : QVariant(QMetaType::fromType<QString>()));
    bind(signatureStatusCode(check.status));
    bind(check.record ? QVariant(QString::fromStdString(check.record->fingerprint))
                      : QVariant(QMetaType::fromType<QString>()));
    for (const QVariant& value : figureValues(p.figures))
        bind(value);
    if (!q.exec())
        return fail(q);
    const bool added = q.next();
    const qlonglong readoutId = added ? q.value(0).toLongLong() : 0;
    q.finish();
    if (!added)
        return AddOutcome::AlreadyThere;
    if (Done certified = certify(d_->db(), LedgerKind::Readout, readoutId); !certified)
        return certified.failure();
    // The crane's log tells of the reading, and of a new limiter before it.
    std::optional<std::string> previousSerial;
    if (p.readingMoment) {
        w.previousSerial.bindValue(0, craneId);
        w.previousSerial.bindValue(1, readingMoment);
        if (!w.previousSerial.exec())
            return fail(w.previousSerial);
        if (w.previousSerial.next())
            previousSerial = cp1251(w.previousSerial.value(0));
        w.previousSerial.finish();
    }
    if (const auto logFailure = logReadout(d_->db(), Certify::Now, craneId, p, previousSerial))
        return *logFailure;
    if (Done committed = transaction->commit(); !committed)
        return committed.failure();
    return AddOutcome::Added;
}

}  // namespace nkp::archive
