#pragma once

#include "base/Failure.h"

#include <optional>
#include <string>
#include <vector>

namespace nkp::archive {

// "postgresql://user@host:port/dbname" taken apart; the scheme in any case,
// the host a name, an address, "[IPv6]" or a percent-encoded socket folder.
struct PostgresAddress {
    std::string user, host, database;
    int port = -1;
};
Result<PostgresAddress> parsePostgresAddress(const std::string& location);

// Whether `location` is a PostgreSQL address rather than an SQLite file.
bool isPostgresLocation(const std::string& location);

// Where the default archive lives below the start folder.
std::string defaultLocation(const std::string& startFolder);

// The files an SQLite archive at `location` is made of (the database and its
// -wal, -shm and -journal companions, also after a symbolic link); none for a
// PostgreSQL address. Names only: no database is opened.
std::vector<std::string> archiveFiles(const std::string& location);

}  // namespace nkp::archive
