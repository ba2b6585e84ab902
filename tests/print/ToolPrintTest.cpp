// nkp3-tool print, run as a user runs it.
#include "PdfText.h"

#include "readout_generator/ReadoutGenerator.h"

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

    const QString x = dir.filePath(QStringLiteral("x.pdf"));
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
