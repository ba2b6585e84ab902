#pragma once

#include <string>

// Every failure text of the archive, in Russian (UTF-8), in one place. A
// database's own cause follows a text in the database's language.
namespace nkp::archive::text {

std::string notFound(const std::string& location);
std::string emptyDatabase(const std::string& location);
std::string notAnArchive(const std::string& location);
std::string newerSchema(long long version, int known);
std::string damagedSchemaVersion(const std::string& stored);
std::string notAFile(const std::string& location);
std::string folderNotMade(const std::string& folder);
std::string driverMissing(const std::string& driver, const std::string& package);
std::string cannotOpen(const std::string& location, const std::string& cause);
std::string cannotPrepare(const std::string& cause);
std::string cannotRead(const std::string& cause);
std::string cannotWrite(const std::string& cause);
// SQLSTATE 42501: the user may not read or write the archive's tables.
std::string noRights(const std::string& cause);
std::string readOnly(const std::string& location);
std::string emptyAndReadOnly(const std::string& location);
std::string outdatedAndReadOnly(const std::string& location);
std::string unknownDatabaseError();

std::string postgresNoDatabase(const std::string& location);
std::string postgresPasswordInAddress();
std::string postgresBadPort(const std::string& port);
std::string postgresBadHost(const std::string& location);

std::string noReadout(const std::string& sha256);
std::string damagedDataFile(const std::string& sha256);
std::string craneVanished();
std::string cannotAdd(const std::string& path, const std::string& cause);

// Why a file was not imported.
std::string tooShort(std::size_t size);
std::string tooLarge();
std::string notARegularFile();
std::string noSuchFile();
std::string noSuchFileOrFolder();
std::string hashFailed();

}  // namespace nkp::archive::text
