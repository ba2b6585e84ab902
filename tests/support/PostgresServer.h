#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

// A throw-away PostgreSQL server for the tests: initdb in a temporary folder,
// listening only on a Unix socket there. The server refuses to run as root,
// so under root it runs as "nobody".
namespace nkp::test {

class PostgresServer {
public:
    PostgresServer()
    {
        const std::filesystem::path root("/usr/lib/postgresql");
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(root, ec)) {
            const auto bin = entry.path() / "bin";
            if (std::filesystem::exists(bin / "initdb") && std::filesystem::exists(bin / "pg_ctl"))
                bin_ = bin.string();
        }
        if (bin_.empty()) {
            // test.sh sets NKP_REQUIRE_POSTGRES: there the tests fail instead of skipping.
            (required() ? error_ : skipReason_)
                = "PostgreSQL server binaries not found under /usr/lib/postgresql/*/bin";
            return;
        }
        dir_ = std::filesystem::temp_directory_path() / ("nkp_pg_" + std::to_string(::getpid()));
        std::filesystem::remove_all(dir_, ec);
        std::filesystem::create_directories(dir_);
        user_ = ::geteuid() == 0 ? "nobody"
                                 : std::string(std::getenv("USER") ? std::getenv("USER") : "postgres");
        if (::geteuid() == 0)
            run("chown nobody:nogroup '" + dir_.string() + "'");
        port_ = 20000 + ::getpid() % 20000;
        if (!asUser("'" + bin_ + "/initdb' -D '" + data() + "' -A trust -U " + user_
                + " -E UTF8 --no-locale >'" + dir_.string() + "/initdb.log' 2>&1")) {
            error_ = "initdb failed, see " + dir_.string() + "/initdb.log";
            return;
        }
        if (!asUser("'" + bin_ + "/pg_ctl' -D '" + data() + "' -w -t 60 -l '" + dir_.string()
                + "/server.log' -o \"-k '" + dir_.string() + "' -c listen_addresses='' -p "
                + std::to_string(port_) + " -c fsync=off\" start >/dev/null 2>&1")) {
            error_ = "the server did not start, see " + dir_.string() + "/server.log";
            return;
        }
        started_ = true;
    }

    ~PostgresServer()
    {
        if (started_)
            asUser("'" + bin_ + "/pg_ctl' -D '" + data() + "' -m immediate -w stop >/dev/null 2>&1");
        std::error_code ec;
        if (!dir_.empty())
            std::filesystem::remove_all(dir_, ec);
    }

    // Whether a missing server is a failure rather than a reason to skip.
    static bool required()
    {
        const char* required = std::getenv("NKP_REQUIRE_POSTGRES");
        return required && *required && std::string(required) != "0";
    }

    bool available() const { return started_; }
    const std::string& skipReason() const { return skipReason_; }
    const std::string& error() const { return error_; }

    // A new empty database and its address.
    std::string createDatabase(const std::string& name)
    {
        asUser("'" + bin_ + "/createdb' -h '" + dir_.string() + "' -p " + std::to_string(port_) + " -U "
            + user_ + " " + name + " >/dev/null 2>&1");
        return url(name);
    }

    // The address of `database`, as the server's user or as `user`.
    std::string url(const std::string& database, const std::string& user = {}) const
    {
        std::string host;
        for (char c : dir_.string())
            host += c == '/' ? std::string("%2F") : std::string(1, c);
        return "postgresql://" + (user.empty() ? user_ : user) + "@" + host + ":" + std::to_string(port_)
            + "/" + database;
    }

    // Runs one SQL statement (no single quotes) in `database` as the server's user.
    bool execute(const std::string& database, const std::string& statement) const
    {
        return asUser("'" + bin_ + "/psql' -h '" + dir_.string() + "' -p " + std::to_string(port_) + " -U "
            + user_ + " -d " + database + " -v ON_ERROR_STOP=1 -q -c '" + statement + "' >/dev/null 2>&1");
    }

    // Prefix that runs a command as the server's user.
    std::string asUserPrefix() const
    {
        return ::geteuid() == 0 ? "setpriv --reuid=nobody --regid=nogroup --clear-groups " : "";
    }

private:
    static bool run(const std::string& command) { return std::system(command.c_str()) == 0; }
    bool asUser(const std::string& command) const
    {
        if (::geteuid() != 0)
            return run(command);
        return run("cd / && setpriv --reuid=nobody --regid=nogroup --clear-groups sh -c \"" + escaped(command)
            + "\"");
    }
    static std::string escaped(const std::string& s)
    {
        std::string out;
        for (char c : s) {
            if (c == '"' || c == '\\' || c == '$' || c == '`')
                out += '\\';
            out += c;
        }
        return out;
    }
    std::string data() const { return (dir_ / "data").string(); }

    std::string bin_, user_, skipReason_, error_;
    std::filesystem::path dir_;
    int port_ = 0;
    bool started_ = false;
};

}  // namespace nkp::test
