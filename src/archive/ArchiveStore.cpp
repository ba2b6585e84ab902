#include "archive/ArchiveDb.h"

#include <QDateTime>

// The writer: one read-out in one transaction.
namespace nkp::archive {

Result<AddOutcome> Archive::add(const PreparedReadout& p)
{
    if (d_->readOnly) {
        return failed(
            text::readOnly(QSqlDatabase::database(d_->connection, false).databaseName().toStdString()));
    }
    if (Done prepared = d_->prepareWriter(); !prepared)
        return prepared.failure();
    State::Writer& w = *d_->writer;
    const auto fail = [&](QSqlQuery& q) {
        Failure failure = failed(sqlFailure(text::cannotWrite, q.lastError()));
        q.finish();
        d_->rollback();
        return failure;
    };
    if (Done begun = d_->begin(); !begun)
        return begun.failure();
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
            d_->rollback();
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
    if (Done committed = d_->commit(); !committed)
        return committed.failure();
    return added ? AddOutcome::Added : AddOutcome::AlreadyThere;
}

}  // namespace nkp::archive
