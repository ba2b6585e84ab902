// The archive session: every call answered in the session's thread by a
// typed signal, the connection kept there, a server that does not answer
// announced and left behind when the session goes.
#include "archive/ArchiveSession.h"
#include "PostgresServer.h"
#include "TempFolder.h"
#include "generator/HistoryGenerator.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fstream>
#include <iterator>
#include <netinet/in.h>
#include <optional>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using namespace nkp;
using namespace nkp::archive;

// Handles events until `done` or `ms` have passed.
bool waitFor(const std::function<bool()>& done, int ms = 20000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms)
        QEventLoop().processEvents(QEventLoop::WaitForMoreEvents, 50);
    return done();
}

// What the session answered, call by call.
struct Answers {
    explicit Answers(ArchiveSession& s)
    {
        QObject::connect(&s, &ArchiveSession::reloaded, [this](std::uint64_t c, const auto& r) {
            rows = r;
            answered.push_back(c);
        });
        QObject::connect(&s, &ArchiveSession::historyReady, [this](std::uint64_t c, const CraneRow& r) {
            history = r;
            answered.push_back(c);
        });
        QObject::connect(&s, &ArchiveSession::dataFileReady, [this](std::uint64_t c, const auto& b) {
            bytes = b;
            answered.push_back(c);
        });
        QObject::connect(&s, &ArchiveSession::imported, [this](std::uint64_t c, const ImportReport& r) {
            added = r.added;
            answered.push_back(c);
        });
        QObject::connect(&s, &ArchiveSession::importProgress, [this](int done, int) { progress = done; });
        QObject::connect(&s, &ArchiveSession::savedAdded, [this](std::uint64_t c, AddOutcome o) {
            outcome = o;
            answered.push_back(c);
        });
        QObject::connect(&s, &ArchiveSession::exported, [this](std::uint64_t c) { answered.push_back(c); });
        QObject::connect(&s, &ArchiveSession::failed, [this](std::uint64_t c, const nkp::Failure& e) {
            error = e.text();
            failed.push_back(c);
        });
        QObject::connect(&s, &ArchiveSession::stillWaiting, [this] { ++waiting; });
    }
    bool got(std::uint64_t call) const
    {
        return std::count(answered.begin(), answered.end(), call)
            + std::count(failed.begin(), failed.end(), call)
            > 0;
    }
    std::vector<std::uint64_t> answered, failed;
    std::vector<CraneRow> rows;
    CraneRow history;
    std::vector<std::uint8_t> bytes;
    int added = -1, progress = 0, waiting = 0;
    std::optional<AddOutcome> outcome;
    std::string error;
};

// A port on which the kernel takes connections that nobody ever serves.
class SilentServer {
public:
    SilentServer()
    {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (fd_ >= 0 && ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0
            && ::listen(fd_, 4) == 0
            && ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) == 0)
            port = ntohs(address.sin_port);
    }
    ~SilentServer() { ::close(fd_); }
    int port = 0;

private:
    int fd_ = -1;
};

std::vector<std::uint8_t> fileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace

TEST(ArchiveSession, EveryCallIsAnsweredInOrderByItsSignal)
{
    test::TempFolder folder;
    generator::HistoryOptions options;
    options.seed = 4;
    options.count = 5;
    std::vector<std::string> files;
    for (const auto& r : generator::generateHistory(options))
        files.push_back(folder.write("in/" + r.fileName, r.bytes));
    ArchiveSession session(folder.path("a/archive.sqlite"));
    Answers a(session);

    // Reading needs an archive; adding makes one.
    const auto missing = session.reload();
    const auto import = session.import({folder.path("in")});
    const auto reload = session.reload();
    ASSERT_TRUE(waitFor([&] { return a.got(reload); }));
    EXPECT_EQ(a.failed, std::vector<std::uint64_t> {missing});
    EXPECT_EQ(a.answered, (std::vector<std::uint64_t> {import, reload}));
    EXPECT_EQ(a.added, 5);
    EXPECT_EQ(a.progress, 5);
    ASSERT_EQ(a.rows.size(), 1u);
    EXPECT_EQ(a.rows[0].readouts.size(), 5u);

    const auto history = session.history(a.rows[0].craneId);
    ASSERT_TRUE(waitFor([&] { return a.got(history); }));
    ASSERT_EQ(a.history.readouts.size(), 5u);
    EXPECT_EQ(a.history.trend.points.size(), 5u);

    const ArchivedReadout& third = a.history.readouts[2];
    const auto data = session.dataFile(third.sha256);
    ASSERT_TRUE(waitFor([&] { return a.got(data); }));
    EXPECT_EQ(a.bytes, fileBytes(folder.path("in/" + third.fileName)));

    const auto saved = session.addSaved(files[1]);
    ASSERT_TRUE(waitFor([&] { return a.got(saved); }));
    EXPECT_EQ(a.outcome, AddOutcome::AlreadyThere);

    const auto exported = session.exportCsv(folder.path("out.csv"), {{"a", "b"}});
    const auto unknown = session.dataFile(std::string(64, '0'));
    ASSERT_TRUE(waitFor([&] { return a.got(unknown); }));
    EXPECT_TRUE(a.got(exported));
    EXPECT_EQ(fileBytes(folder.path("out.csv")).size(), 3u + 5u);  // BOM, "a;b\r\n"
    EXPECT_EQ(a.failed.back(), unknown);
    EXPECT_EQ(session.pending(), 0);
}

TEST(ArchiveSession, TheLogSettingsDueDatesRemarksAndReportAreAnswered)
{
    test::TempFolder folder;
    generator::HistoryOptions options;
    options.count = 3;
    for (const auto& r : generator::generateHistory(options))
        folder.write("in/" + r.fileName, r.bytes);
    ArchiveSession session(folder.path("archive.sqlite"));
    Answers a(session);
    std::vector<LogEntry> log;
    std::optional<LogEntry> added;
    CraneSettings settings;
    std::vector<DueRow> due;
    std::vector<CraneRemark> remarks;
    std::optional<CraneReport> report;
    QObject::connect(&session, &ArchiveSession::logReady, [&](std::uint64_t c, std::int64_t, const auto& e) {
        log = e;
        a.answered.push_back(c);
    });
    QObject::connect(&session, &ArchiveSession::logEntryAdded, [&](std::uint64_t c, const LogEntry& e) {
        added = e;
        a.answered.push_back(c);
    });
    QObject::connect(&session, &ArchiveSession::craneSettingsReady,
        [&](std::uint64_t c, std::int64_t, const CraneSettings& s) {
            settings = s;
            a.answered.push_back(c);
        });
    QObject::connect(&session, &ArchiveSession::craneSettingsSaved,
        [&](std::uint64_t c, std::int64_t) { a.answered.push_back(c); });
    QObject::connect(&session, &ArchiveSession::dueListReady, [&](std::uint64_t c, const auto& rows) {
        due = rows;
        a.answered.push_back(c);
    });
    QObject::connect(&session, &ArchiveSession::remarksReady, [&](std::uint64_t c, const auto& r) {
        remarks = r;
        a.answered.push_back(c);
    });
    QObject::connect(&session, &ArchiveSession::craneReportReady, [&](std::uint64_t c, const CraneReport& r) {
        report = r;
        a.answered.push_back(c);
    });
    const auto reload = (session.import({folder.path("in")}), session.reload());
    ASSERT_TRUE(waitFor([&] { return a.got(reload); }));
    ASSERT_EQ(a.rows.size(), 1u);
    const std::int64_t crane = a.rows[0].craneId;
    const base::DateTime today {2030, 1, 1, 0, 0, 0};
    const auto calls = {session.addLogEntry({crane, {2029, 12, 1, 0, 0, 0}, LogKind::PartialExamination,
                            "ЧТО", {"Иванов", "12"}, {}}),
        session.addLogEntry({crane, {2029, 12, 1, 0, 0, 0}, LogKind::Note, "", {}, 99}),
        session.setCraneSettings(crane, {.partialMonths = 1}), session.craneSettings(crane),
        session.log(crane), session.dueList(today), session.remarks(crane),
        session.craneReport(crane, today)};
    ASSERT_TRUE(waitFor([&] { return a.got(*std::max_element(calls.begin(), calls.end())); }));
    EXPECT_EQ(a.failed.size(), 1u);  // no entry №99 to correct
    EXPECT_NE(a.error.find("№99"), std::string::npos) << a.error;
    ASSERT_TRUE(added);
    EXPECT_EQ(added->number, 4);  // after the three readings
    EXPECT_EQ(settings.partialMonths, 1);
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log.back().author, (LogAuthor {"Иванов", "12"}));
    ASSERT_EQ(due.size(), static_cast<std::size_t>(kDueItemCount));
    EXPECT_EQ(due[0].due.status, DueStatus::Overdue);  // the readings of 2019 first
    const auto partial = std::find_if(
        due.begin(), due.end(), [](const DueRow& r) { return r.due.item == DueItem::Partial; });
    ASSERT_NE(partial, due.end());
    EXPECT_EQ(partial->due.date, today);  // 01.12.2029 + 1 month
    EXPECT_EQ(partial->due.status, DueStatus::Soon);
    ASSERT_TRUE(report);
    EXPECT_EQ(report->log.size(), 4u);
    EXPECT_EQ(report->row.readouts.size(), 3u);
    EXPECT_EQ(report->remarks.size(), remarks.size());
    EXPECT_EQ(session.pending(), 0);
}

// A PostgreSQL server that takes the connection and never answers: the
// session says it waits, and goes at once when its owner closes.
TEST(ArchiveSession, AServerThatDoesNotAnswerIsAnnouncedAndLeftBehind)
{
    SilentServer silent;
    ASSERT_GT(silent.port, 0);
    auto session = std::make_unique<ArchiveSession>(
        "postgresql://nobody@127.0.0.1:" + std::to_string(silent.port) + "/archive");
    session->setPatience(50);
    Answers a(*session);
    session->reload();
    ASSERT_TRUE(waitFor([&] { return a.waiting > 0; }, 5000));
    EXPECT_EQ(session->pending(), 1);
    QElapsedTimer closing;
    closing.start();
    session.reset();
    EXPECT_LT(closing.elapsed(), 1000);
}
