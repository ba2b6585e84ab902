#include "ArchiveFiles.h"
#include "HandEdit.h"
#include "ToolRunner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace {

using nkp::test::craneReadout;
using nkp::test::TempFolder;

struct Case {
    const char* name;
    std::vector<std::string> edit;  // SQL run on a copy of the archive, triggers dropped
    std::vector<const char*> says;  // what the one line of `archive verify` names
};

// Signed, unsigned and changed read-outs go in; the archive checks out.
// Then each edit by hand, on a copy of its own, is named by `archive verify`.
TEST(LedgerTool, VerifyNamesTheFirstRowChangedRemovedOrInsertedOutOfTurn)
{
    TempFolder folder;
    const auto tool = [](const std::string& args) {
        const auto run = nkp::test::runTool(args);
        return std::pair {run.status, run.out + run.err};
    };
    folder.write("1.nkp", craneReadout(1, "КС", "1", "01.01.2022 10:00", "1", 5));
    folder.write("2.nkp", craneReadout(2, "КС", "1", "01.03.2022 10:00", "1", 6));
    folder.write("3.nkp", craneReadout(3, "КС", "1", "01.05.2022 10:00", "1", 7));
    folder.write("4.nkp", craneReadout(4, "КС", "1", "01.07.2022 10:00", "1", 8));
    ASSERT_EQ(tool("key new --signer Signer '" + folder.path("k.key") + "'").first, 0);
    for (const char* signedOne : {"1.nkp", "3.nkp", "4.nkp"})
        ASSERT_EQ(
            tool("sign '" + folder.path(signedOne) + "' --key '" + folder.path("k.key") + "'").first, 0);
    // Changed after signing: one byte of the identification.
    auto changed = craneReadout(3, "КС", "1", "01.05.2022 10:00", "1", 7);
    changed[changed.size() - 1] ^= 1;
    folder.write("3.nkp", changed);
    // Four's signature text damaged.
    const std::string damaged = "НКП-3 подпись: 1\n";
    folder.write("4.nkp.sig", std::vector<std::uint8_t>(damaged.begin(), damaged.end()));
    const std::string archive = folder.path("a.sqlite");
    auto [status, out] = tool("archive import '" + archive + "' '" + folder.path("1.nkp") + "' '"
        + folder.path("2.nkp") + "' '" + folder.path("3.nkp") + "' '" + folder.path("4.nkp") + "'");
    ASSERT_EQ(status, 0) << out;
    EXPECT_EQ(out.find("подпис"), std::string::npos) << "the import's lines stay as they were: " << out;
    std::tie(status, out) = tool("archive verify '" + archive + "'");
    EXPECT_EQ(status, 0) << out;
    EXPECT_NE(
        out.find("верна 0, нет 1, файл изменён 0, ключ не из доверенных 2, повреждена 1"), std::string::npos)
        << out;
    // "Подпись" per read-out (history: the last cell), and the crane's worst
    // (cranes: the last but one).
    const auto signatures = [&] {
        std::string cells;
        for (const auto& [args, fromEnd] :
            {std::pair {"history '" + archive + "' КС 1", 0}, std::pair {"cranes '" + archive + "'", 1}}) {
            std::istringstream lines(tool("archive " + args).second);
            std::string line;
            std::getline(lines, line);
            while (std::getline(lines, line)) {
                line.pop_back();  // CR
                std::size_t end = line.size();
                for (int k = 0; k < fromEnd; ++k)
                    end = line.rfind(';', end - 1);
                const std::size_t begin = line.rfind(';', end - 1) + 1;
                cells += line.substr(begin, end - begin) + "|";
            }
        }
        return cells;
    };
    EXPECT_EQ(signatures(), "ключ не из доверенных|нет|ключ не из доверенных|повреждена|повреждена|");
    std::tie(status, out) = tool("archive trust '" + archive + "' '" + folder.path("k.pub") + "'");
    EXPECT_EQ(status, 0) << out;
    EXPECT_NE(out.find("проверено подписей считываний: 2"), std::string::npos) << out;
    EXPECT_EQ(signatures(), "верна|нет|файл изменён|повреждена|файл изменён|");
    std::tie(status, out) = tool("archive trust '" + archive + "' '" + folder.path("k.pub") + "'");
    EXPECT_EQ(status, 0) << out;
    EXPECT_NE(out.find("ключ уже в доверенных"), std::string::npos) << out;
    std::tie(status, out) = tool("archive verify '" + archive + "'");
    EXPECT_EQ(status, 0) << out;
    EXPECT_NE(
        out.find("архив не изменён: строк реестра 11, считываний 4, записей журнала 4, доверенных ключей 1"),
        std::string::npos)
        << out;
    EXPECT_NE(
        out.find("верна 1, нет 1, файл изменён 1, ключ не из доверенных 0, повреждена 1"), std::string::npos)
        << out;
    // The chain's head, to be noted outside the archive: 64 hex digits on a line of its own.
    const auto head = out.find("хеш последней строки реестра: ");
    ASSERT_NE(head, std::string::npos) << out;
    EXPECT_EQ(
        out.find_first_not_of("0123456789abcdef", out.find(": ", head) + 2) - (out.find(": ", head) + 2),
        64u);

    // Ledger rows: 1 read-out 1, 2 its log entry, 3 read-out 2, 4 log, 5 read-out 3, ...
    const Case cases[] = {
        {"a read-out's column", {"UPDATE readouts SET owner = 'x' WHERE id = 2"},
            {"считывание №2 (файл 2.nkp)", "запись изменена после внесения"}},
        {"a read-out removed", {"DELETE FROM readouts WHERE id = 2"}, {"считывание №2", "запись удалена"}},
        {"a log entry removed", {"DELETE FROM crane_log WHERE id = 1"},
            {"запись журнала крана №1", "запись удалена"}},
        {"a read-out without its ledger row",
            {"CREATE TEMP TABLE t AS SELECT * FROM readouts WHERE id = 1",
                "UPDATE t SET id = 9, sha256 = 'f' || substr(sha256, 2)",
                "INSERT INTO readouts SELECT * FROM t"},
            {"считывание №9", "без строки реестра"}},
        {"a ledger row's text", {"UPDATE ledger SET canonical = canonical || ' ' WHERE id = 4"},
            {"строка реестра №4 изменена"}},
        {"a ledger row removed", {"DELETE FROM ledger WHERE id = 3"},
            {"перед строкой реестра №4 строка удалена или вставлена не в свой черёд"}},
        {"a stored file",
            {"UPDATE readouts SET data = (SELECT data FROM readouts WHERE id = 1) WHERE id = 2"},
            {"считывание №2", "сохранённый файл не совпадает"}},
        {"a trusted key", {"UPDATE trusted_keys SET signer = 'Other'"}, {"доверенный ключ №1"}},
    };
    for (int n = 0; const Case& c : cases) {
        const std::string copy = folder.path("copy" + std::to_string(++n) + ".sqlite");
        std::filesystem::copy_file(archive, copy);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("edit"));
            db.setDatabaseName(QString::fromStdString(copy));
            ASSERT_TRUE(db.open());
            EXPECT_TRUE(nkp::test::dropTriggers(db)) << c.name;
            EXPECT_TRUE(nkp::test::execAll(db, c.edit)) << c.name;
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("edit"));
        std::tie(status, out) = tool("archive verify '" + copy + "'");
        EXPECT_EQ(status, 4) << c.name << ": " << out;
        EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << c.name << ": " << out;
        EXPECT_EQ(out.rfind("архив изменён: ", 0), 0u) << c.name << ": " << out;
        for (const char* said : c.says)
            EXPECT_NE(out.find(said), std::string::npos) << c.name << ": " << out;
    }
}

}  // namespace
