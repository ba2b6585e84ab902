#include "archive/ArchiveDb.h"

#include "archive/StoredFile.h"
#include "recorder/DataFileReader.h"

#include <cmath>

// Reading the archive: cranes, read-outs and stored data files.
namespace nkp::archive {
namespace {

const QString kReadoutColumns
    = QStringLiteral("SELECT %1 FROM readouts").arg(summaryColumns().join(QStringLiteral(", ")));

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
    r.signature = signatureStatusOfCode(q.value(15).toString());
    readFigureColumns(q, 16, r.figures);
    return r;
}

// Runs the prepared query of read-outs and reads its rows; a signature
// checked again when its key was trusted later shows that check.
Result<std::vector<ArchivedReadout>> readoutRows(const QSqlDatabase& db, QSqlQuery& q)
{
    if (!q.exec()) {
        return failed(sqlFailure(text::cannotRead, q.lastError()));
    }
    std::vector<ArchivedReadout> out;
    while (q.next())
        out.push_back(readoutOfRow(q));
    const auto later = laterSignatureChecks(db);
    if (!later)
        return later.failure();
    if (!later->empty())
        for (ArchivedReadout& r : out)
            if (const auto it = later->find(r.id); it != later->end())
                r.signature = it->second;
    return out;
}

}  // namespace

const QStringList& summaryColumns()
{
    static const QStringList columns
        = QStringList {QStringLiteral("id"), QStringLiteral("crane_id"), QStringLiteral("sha256"),
              QStringLiteral("file_name"), QStringLiteral("crane_model"), QStringLiteral("crane_number"),
              QStringLiteral("owner"), QStringLiteral("reading_text"), QStringLiteral("reading_moment"),
              QStringLiteral("limiter_serial"), QStringLiteral("total_cycles"),
              QStringLiteral("characteristic"), QStringLiteral("normative"), QStringLiteral("imported_at"),
              QStringLiteral("overload_episodes"), QStringLiteral("signature_status")}
        + figureColumns();
    return columns;
}

QString summaryIndexStatement()
{
    QStringList rest = summaryColumns();
    rest.removeAll(QStringLiteral("id"));
    rest.removeAll(QStringLiteral("crane_id"));
    return QStringLiteral("CREATE INDEX readouts_summary ON readouts (crane_id, id, %1)")
        .arg(rest.join(QStringLiteral(", ")));
}

Result<std::vector<ArchivedCrane>> Archive::cranes() const
{
    QSqlQuery q(d_->db());
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT id, model, number, own_file FROM cranes ORDER BY id"))) {
        return failed(sqlFailure(text::cannotRead, q.lastError()));
    }
    std::vector<ArchivedCrane> out;
    while (q.next())
        out.push_back({q.value(0).toLongLong(), cp1251(q.value(1)), cp1251(q.value(2)),
            q.value(3).toString().toStdString()});
    return out;
}

Result<std::vector<ArchivedReadout>> Archive::readouts() const
{
    QSqlQuery q(d_->db());
    q.setForwardOnly(true);
    q.prepare(kReadoutColumns + QStringLiteral(" ORDER BY crane_id, id"));
    return readoutRows(d_->db(), q);
}

Result<std::vector<ArchivedReadout>> Archive::readoutsOfCrane(std::int64_t craneId) const
{
    QSqlQuery q(d_->db());
    q.setForwardOnly(true);
    q.prepare(kReadoutColumns + QStringLiteral(" WHERE crane_id = ? ORDER BY id"));
    q.addBindValue(static_cast<qlonglong>(craneId));
    return readoutRows(d_->db(), q);
}

Result<std::vector<std::uint8_t>> Archive::dataFile(const std::string& sha256) const
{
    QSqlQuery q(d_->db());
    q.prepare(QStringLiteral("SELECT data FROM readouts WHERE sha256 = ?"));
    q.addBindValue(QString::fromStdString(sha256).toLower());
    if (!q.exec()) {
        return failed(sqlFailure(text::cannotRead, q.lastError()));
    }
    if (!q.next()) {
        return failed(text::noReadout(sha256));
    }
    const QByteArray stored = q.value(0).toByteArray();
    auto bytes = unpackDataFile(stored.constData(), static_cast<std::size_t>(stored.size()));
    if (!bytes || bytes->size() < recorder::kImageSize
        || imageHash(*bytes) != QString::fromStdString(sha256).toLower().toStdString()) {
        return failed(text::damagedDataFile(sha256));
    }
    return std::move(*bytes);
}

}  // namespace nkp::archive
