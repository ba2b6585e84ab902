// nkp3-tool print, run as a user runs it.
#include "PdfText.h"

#include "SmallDisk.h"
#include "generator/ReadoutGenerator.h"

#include <sys/stat.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace nkp::print::test;

namespace {

int runTool(const QStringList& args)
{
    QProcess process;
    process.start(QStringLiteral(NKP_TOOL_PATH), QStringList {QStringLiteral("print")} + args);
    if (!process.waitForFinished(120000))
        return -1;
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

}  // namespace

TEST(ToolPrint, CardAndListingAsPdfAndBadCommandLines)
{
    QTemporaryDir dir;
    const QString nkp = dir.filePath(QStringLiteral("a.nkp"));
    {
        const auto bytes = nkp::generator::generateDataFile({});
        QFile f(nkp);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    }
    const QString card = dir.filePath(QStringLiteral("card.pdf"));
    ASSERT_EQ(runTool({QStringLiteral("card"), nkp, QStringLiteral("--pdf"), card}), 0);
    EXPECT_EQ(pdfPageCount(card), 3);
    EXPECT_TRUE(pdfText(card, 1, 1).contains(QStringLiteral("Информационная карта")));

    const QString oper = dir.filePath(QStringLiteral("oper.pdf"));
    ASSERT_EQ(runTool({QStringLiteral("oper"), nkp, QStringLiteral("--pdf"), oper, QStringLiteral("--from"),
                  QStringLiteral("0"), QStringLiteral("--to"), QStringLiteral("40")}),
        0);
    EXPECT_EQ(pdfPageCount(oper), 1);
    EXPECT_TRUE(pdfText(oper).contains(QStringLiteral("Страница 1")));

    const QString events = dir.filePath(QStringLiteral("events.pdf"));
    ASSERT_EQ(runTool({QStringLiteral("events"), nkp, QStringLiteral("--pdf"), events,
                  QStringLiteral("--threshold"), QStringLiteral("50")}),
        0);
    EXPECT_TRUE(pdfText(events, 1, 1).contains(QStringLiteral("Порог перегрузки 50 %")));
    EXPECT_TRUE(pdfText(events).contains(QStringLiteral("Спектр нагрузки")));

    const QString x = dir.filePath(QStringLiteral("x.pdf"));
    EXPECT_EQ(runTool({QStringLiteral("events"), nkp, QStringLiteral("--pdf"), x,
                  QStringLiteral("--threshold"), QStringLiteral("-3")}),
        2);
    EXPECT_EQ(runTool({QStringLiteral("events"), nkp, QStringLiteral("--pdf"), x, QStringLiteral("--from"),
                  QStringLiteral("3")}),
        2);
    EXPECT_EQ(runTool({QStringLiteral("card"), nkp, QStringLiteral("--pdf"), x, QStringLiteral("--threshold"),
                  QStringLiteral("3")}),
        2);
    EXPECT_EQ(runTool({QStringLiteral("oper"), nkp, QStringLiteral("--pdf"), x, QStringLiteral("--from"),
                  QStringLiteral("abc")}),
        2);
    EXPECT_EQ(runTool({QStringLiteral("card"), nkp, QStringLiteral("--pdf"), x, QStringLiteral("--to"),
                  QStringLiteral("5")}),
        2);
    EXPECT_EQ(runTool({QStringLiteral("poster"), nkp, QStringLiteral("--pdf"), x}), 2);
    EXPECT_EQ(runTool({QStringLiteral("card"), nkp}), 2);
    EXPECT_EQ(runTool({QStringLiteral("card"), dir.filePath(QStringLiteral("none.nkp")),
                  QStringLiteral("--pdf"), x}),
        1);
    EXPECT_EQ(runTool({QStringLiteral("card"), nkp, QStringLiteral("--pdf"),
                  dir.filePath(QStringLiteral("no/such/x.pdf"))}),
        1);
    EXPECT_FALSE(QFile::exists(x));
}

// The PDF replaces its file only when complete: a full disk, a pipe, a
// device or the read-out itself as the target fail with status 1 and leave
// what was there.
TEST(ToolPrint, FailedPdfKeepsTheOldFile)
{
    QTemporaryDir dir;
    const QString nkp = dir.filePath(QStringLiteral("g.nkp"));
    const auto bytes = nkp::generator::generateDataFile({});
    const QByteArray image(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
    {
        QFile f(nkp);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(image);
    }
    auto contents = [](const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    EXPECT_EQ(runTool({QStringLiteral("card"), nkp, QStringLiteral("--pdf"), nkp}), 1);
    EXPECT_EQ(runTool({QStringLiteral("card"), nkp, QStringLiteral("--pdf"),
                  dir.filePath(QStringLiteral("./g.nkp"))}),
        1);
    EXPECT_EQ(contents(nkp), image);
    EXPECT_EQ(
        runTool({QStringLiteral("card"), nkp, QStringLiteral("--pdf"), QStringLiteral("/dev/full")}), 1);
    const QString fifo = dir.filePath(QStringLiteral("fifo.pdf"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    EXPECT_EQ(runTool({QStringLiteral("card"), nkp, QStringLiteral("--pdf"), fifo}), 1);

    SmallDisk disk("nkp_print_full", 64 * 1024);
    if (!disk.mounted())
        GTEST_SKIP() << disk.skipReason();
    const QString old = QString::fromStdString(disk.path("card.pdf"));
    {
        QFile f(old);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("%PDF old card");
    }
    disk.fill(0);
    EXPECT_EQ(runTool({QStringLiteral("card"), nkp, QStringLiteral("--pdf"), old}), 1);
    EXPECT_EQ(contents(old), QByteArray("%PDF old card"));
    EXPECT_EQ(disk.strayFiles("card.pdf"), 0u);
}
