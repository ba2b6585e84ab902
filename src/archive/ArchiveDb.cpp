#include "archive/ArchiveDb.h"

#include "base/Codec.h"

#include <QCoreApplication>
#include <QThread>

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
    const std::string text = base::isoText(*m);
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::optional<base::DateTime> momentFromColumn(const QVariant& value)
{
    if (value.isNull())
        return std::nullopt;
    return base::parseIsoText(value.toString().toStdString());
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
