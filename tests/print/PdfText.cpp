#include "PdfText.h"

#include "analysis/ReadoutLoader.h"
#include "base/Codec.h"
#include "generator/ReadoutGenerator.h"
#include "screen/MainStateLoad.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace nkp::print::test {
namespace {

QString run(const QString& program, const QStringList& args)
{
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(120000) || process.exitCode() != 0) {
        ADD_FAILURE() << program.toStdString() << " failed: " << process.readAllStandardError().toStdString();
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

}  // namespace

QString pdfText(const QString& pdf, int first, int last)
{
    QStringList args {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"),
        QStringLiteral("-f"), QString::number(first)};
    if (last > 0)
        args << QStringLiteral("-l") << QString::number(last);
    args << pdf << QStringLiteral("-");
    return run(QStringLiteral("pdftotext"), args);
}

int pdfPageCount(const QString& pdf)
{
    const QString info = run(QStringLiteral("pdfinfo"), {pdf});
    const auto match = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

QString artefactsDir()
{
    const QString dir = QStringLiteral(NKP_PRINT_ARTEFACTS);
    QDir().mkpath(dir);
    return dir;
}

QString artefactPath(const QString& name)
{
    return artefactsDir() + QLatin1Char('/') + name;
}

void savePngRenders(const QString& pdf, const QString& stem, int dpi)
{
    run(QStringLiteral("pdftoppm"),
        {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi), pdf, artefactPath(stem)});
}

QString squeezed(const QString& text)
{
    static const QRegularExpression blanks(QStringLiteral("[ \\t]+"));
    return QString(text).replace(blanks, QStringLiteral(" ")).trimmed();
}

screen::MainState loadedGeneratedState(int wrapIndex)
{
    generator::GeneratorOptions options;
    options.seed = 7;
    options.wrapIndex = wrapIndex;
    const std::vector<std::uint8_t> bytes = generator::generateDataFile(options);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("readout.nkp"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)
        || file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()))
            != static_cast<qint64>(bytes.size()))
        ADD_FAILURE() << "cannot write the generated read-out";
    file.close();
    screen::MainState state;
    const Done loaded = screen::loadReadout(QFile::encodeName(path).toStdString(), ',', state);
    EXPECT_TRUE(loaded) << loaded.error();
    return state;
}

QString utf8(const std::string& text)
{
    return QString::fromStdString(codec::cp1251ToUtf8(text));
}

std::string cp1251(const QString& text)
{
    return codec::utf8ToCp1251(text.toStdString());
}

}  // namespace nkp::print::test
