#include "archive/ArchiveAddress.h"
#include "archive/ArchiveDb.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include <charconv>

// Where an archive is: an SQLite file and its companions, or a PostgreSQL address.
namespace nkp::archive {
namespace {

QString percentDecoded(const std::string& part)
{
    return QUrl::fromPercentEncoding(QByteArray::fromStdString(part));
}

}  // namespace

Result<PostgresAddress> parsePostgresAddress(const std::string& location)
{
    const auto scheme = location.find("://");
    if (scheme == std::string::npos) {
        return failed(text::postgresBadHost(location));
    }
    std::string rest = location.substr(scheme + 3);
    PostgresAddress out;
    const auto slash = rest.find('/');
    if (slash == std::string::npos || slash + 1 >= rest.size()) {
        return failed(text::postgresNoDatabase(location));
    }
    out.database = percentDecoded(rest.substr(slash + 1)).toStdString();
    rest.resize(slash);
    const auto at = rest.rfind('@');
    if (at != std::string::npos) {
        std::string user = rest.substr(0, at);
        if (user.find(':') != std::string::npos) {
            return failed(text::postgresPasswordInAddress());
        }
        out.user = percentDecoded(user).toStdString();
        rest.erase(0, at + 1);
    }
    // "[::1]:5432": the brackets hold an IPv6 address, the port follows them.
    std::string::size_type portColon = std::string::npos;
    if (!rest.empty() && rest.front() == '[') {
        const auto close = rest.find(']');
        if (close == std::string::npos || (close + 1 < rest.size() && rest[close + 1] != ':')) {
            return failed(text::postgresBadHost(location));
        }
        if (close + 1 < rest.size())
            portColon = close + 1;
        out.host = percentDecoded(rest.substr(1, close - 1)).toStdString();
    } else {
        portColon = rest.rfind(':');
    }
    if (portColon != std::string::npos) {
        const std::string port = rest.substr(portColon + 1);
        const auto [end, ec] = std::from_chars(port.data(), port.data() + port.size(), out.port);
        if (ec != std::errc() || end != port.data() + port.size() || out.port <= 0 || out.port > 65535) {
            return failed(text::postgresBadPort(port));
        }
        rest.resize(portColon);
    }
    if (rest.empty() || rest.front() != '[')
        out.host = percentDecoded(rest).toStdString();
    return out;
}

bool isPostgresLocation(const std::string& location)
{
    const QString scheme = QString::fromStdString(location.substr(0, location.find("://") + 3)).toLower();
    return location.find("://") != std::string::npos
        && (scheme == QStringLiteral("postgresql://") || scheme == QStringLiteral("postgres://"));
}

std::string defaultLocation(const std::string& startFolder)
{
    const QString path
        = QDir(QString::fromStdString(startFolder)).filePath(QStringLiteral("Архив/archive.sqlite"));
    return path.toStdString();
}

std::vector<std::string> archiveFiles(const std::string& location)
{
    if (isPostgresLocation(location))
        return {};
    std::vector<std::string> names;
    // SQLite names the companions after the file a symbolic link leads to.
    const std::string real = QFileInfo(QString::fromStdString(location)).canonicalFilePath().toStdString();
    for (const std::string& name : {location, real})
        if (!name.empty())
            for (const char* suffix : {"", "-wal", "-shm", "-journal"})
                names.push_back(name + suffix);
    return names;
}

}  // namespace nkp::archive
