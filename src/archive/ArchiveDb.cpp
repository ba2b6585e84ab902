#include "archive/ArchiveDb.h"

#include "analysis/NumberFormat.h"
#include "base/Codec.h"

#include <QCoreApplication>
#include <QThread>

#include <charconv>

namespace nkp::archive {

std::string sqlError(const QSqlError& e)
{
    const QString text = e.text().trimmed();
    return text.isEmpty() ? text::unknownDatabaseError() : text.toStdString();
}

std::string sqlFailure(std::string (*lead)(const std::string&), const QSqlError& e)
{
    return e.nativeErrorCode() == QStringLiteral("42501") ? text::noRights(sqlError(e)) : lead(sqlError(e));
}

QString utf8(const std::string& cp1251)
{
    return QString::fromStdString(codec::cp1251ToUtf8(cp1251));
}

std::string cp1251(const QVariant& value)
{
    return codec::utf8ToCp1251(value.toString().toStdString());
}

QString momentColumn(const std::optional<base::DateTime>& m)
{
    if (!m)
        return {};
    using analysis::formatTwoDigits;
    const std::string text = std::to_string(m->year) + "-" + formatTwoDigits(m->month) + "-"
        + formatTwoDigits(m->day) + " " + formatTwoDigits(m->hour) + ":" + formatTwoDigits(m->minute) + ":"
        + formatTwoDigits(m->second);
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::optional<base::DateTime> momentFromColumn(const QVariant& value)
{
    if (value.isNull())
        return std::nullopt;
    const std::string t = value.toString().toStdString();
    if (t.size() != 19)
        return std::nullopt;
    base::DateTime m;
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

void checkNotGuiThread()
{
    static const bool check = qEnvironmentVariableIsSet("NKP_ARCHIVE_THREAD_CHECK");
    const QCoreApplication* app = QCoreApplication::instance();
    if (check && app && app->inherits("QGuiApplication") && QThread::currentThread() == app->thread())
        qFatal("The archive was called on the thread of the window's event loop");
}

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

}  // namespace nkp::archive
