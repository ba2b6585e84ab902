#pragma once

#include <optional>
#include <string>

namespace nkp::archive {

// "postgresql://user@host:port/dbname" taken apart; the scheme in any case,
// the host a name, an address, "[IPv6]" or a percent-encoded socket folder.
struct PostgresAddress {
    std::string user, host, database;
    int port = -1;
};
std::optional<PostgresAddress> parsePostgresAddress(const std::string& location, std::string* error);

}  // namespace nkp::archive
