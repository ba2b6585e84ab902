#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include <string>
#include <vector>

// Edits of an archive by hand, as someone with the file or the owner's
// rights could make them: the archive's own triggers dropped first.
namespace nkp::test {

// Runs each statement; false at the first that fails.
inline bool execAll(const QSqlDatabase& db, const std::vector<std::string>& statements)
{
    QSqlQuery q(db);
    for (const std::string& s : statements)
        if (!q.exec(QString::fromStdString(s)))
            return false;
    return true;
}

// Drops every trigger of the database.
inline bool dropTriggers(const QSqlDatabase& db)
{
    const bool postgres = db.driverName() == QStringLiteral("QPSQL");
    QSqlQuery q(db);
    if (!q.exec(postgres ? QStringLiteral("SELECT t.tgname, c.relname FROM pg_trigger t JOIN pg_class c "
                                          "ON c.oid = t.tgrelid WHERE NOT t.tgisinternal")
                         : QStringLiteral("SELECT name, tbl_name FROM sqlite_master WHERE type = 'trigger'")))
        return false;
    std::vector<std::string> drops;
    while (q.next())
        drops.push_back("DROP TRIGGER " + q.value(0).toString().toStdString()
            + (postgres ? " ON " + q.value(1).toString().toStdString() : std::string()));
    return execAll(db, drops);
}

// Takes an archive of this version back to schema version 5: no ledger, no
// trusted keys, no signatures, settings kept one row per crane (the crane
// with id 1 gets a reading interval of `readingMonths`).
inline std::vector<std::string> backToSchema5(bool postgres, int readingMonths)
{
    std::vector<std::string> out;
    if (postgres)
        out = {
            "DROP TRIGGER readouts_append_only ON readouts", "DROP TRIGGER readouts_no_truncate ON readouts"};
    else
        out = {"DROP TRIGGER readouts_no_update", "DROP TRIGGER readouts_no_delete",
            "DROP INDEX readouts_summary"};
    for (const char* table : {"ledger", "signature_checks", "trusted_keys", "crane_settings"})
        out.push_back("DROP TABLE " + std::string(table));
    for (const char* column : {"file_sha256", "signature", "signature_status", "signature_key"})
        out.push_back("ALTER TABLE readouts DROP COLUMN " + std::string(column));
    out.push_back("CREATE TABLE crane_settings (crane_id BIGINT PRIMARY KEY REFERENCES cranes (id), "
                  "reading_months INTEGER NOT NULL, partial_months INTEGER NOT NULL, "
                  "full_months INTEGER NOT NULL, service_life_years INTEGER)");
    out.push_back(
        "INSERT INTO crane_settings VALUES (1, " + std::to_string(readingMonths) + ", 12, 36, NULL)");
    out.push_back("UPDATE schema_version SET version = 5");
    return out;
}

}  // namespace nkp::test
