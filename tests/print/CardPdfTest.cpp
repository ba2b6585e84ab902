#include "PdfText.h"

#include "print/PrintDocuments.h"

#include <QImage>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

using namespace nkp;
using namespace nkp::print;
using namespace nkp::print::test;

namespace {

QString renderCard(const screen::MainState& state, const QString& name)
{
    const QString path = artefactPath(name);
    EXPECT_TRUE(writePdf(path, PdfDocument::CardWithAppendix, state, {}, ','));
    return path;
}

void expectHolds(const QString& text, const QString& value, const char* what)
{
    EXPECT_TRUE(squeezed(text).contains(squeezed(value)))
        << what << " '" << value.toStdString() << "' missing";
}

}  // namespace

TEST(CardPdf, HoldsEveryValueOfTheLoadedReadoutAndTypedChanges)
{
    screen::MainState s = loadedGeneratedState();
    ASSERT_FALSE(s.texts.craneModel.empty());
    s.texts.craneOwner = cp1251(QStringLiteral("ООО Правка владельца 42"));  // typed into the window
    s.texts.programVersion = "7.1";
    // As long as the field may be: it shrinks on its line but is printed whole.
    s.texts.craneMaker = cp1251(QStringLiteral("ЗАО Завод подъёмно-транспортного оборудования №12"));
    s.texts.serviceOrganisation = cp1251(QStringLiteral("ООО Служба технического надзора Северо-Западная"));

    const QString pdf = renderCard(s, QStringLiteral("card.pdf"));
    savePngRenders(pdf, QStringLiteral("card"));
    ASSERT_EQ(pdfPageCount(pdf), 3);
    const QString card = pdfText(pdf, 1, 1);

    expectHolds(card, QStringLiteral("Информационная карта"), "title");
    expectHolds(card,
        QStringLiteral("по данным регистратора параметров ") + utf8(s.texts.limiterModel)
            + QStringLiteral(" №") + utf8(s.texts.limiterNumber),
        "QRL_trv");
    expectHolds(card,
        QStringLiteral("на кран ") + utf8(s.texts.craneModel) + QStringLiteral(" №")
            + utf8(s.texts.craneNumber),
        "QRL_kran");
    const std::pair<const char*, const std::string*> values[] = {
        {"Edit_Name", &s.texts.engineerName},
        {"Edit_NUd", &s.texts.certificateNumber},
        {"Edit_DateUd", &s.texts.certificateDate},
        {"Edit_Org", &s.texts.serviceOrganisation},
        {"Edit_DataSch", &s.texts.readingDate},
        {"Edit_VProg", &s.texts.programVersion},
        {"Edit_IzgotTRV", &s.texts.limiterMaker},
        {"Edit_IzgotKran", &s.texts.craneMaker},
        {"Edit_GodIzgot", &s.texts.craneYear},
        {"Edit_GrRegNag", &s.texts.craneClassGroup},
        {"Edit_Vlad", &s.texts.craneOwner},
        {"Edit_DataUst", &s.texts.installationDate},
        {"Label_0", &s.texts.cycles0},
        {"Label_12", &s.texts.cycles12},
        {"Label_25", &s.texts.cycles25},
        {"Label_50", &s.texts.cycles50},
        {"Label_100", &s.texts.cycles100},
        {"Label_Per1", &s.texts.overload1},
        {"Label_Per2", &s.texts.overload2},
        {"Label_Per3", &s.texts.overload3},
        {"Label_Per4", &s.texts.overload4},
        {"Label_Per5", &s.texts.overload5},
        {"Label_Read1", &s.texts.readingStamp1},
        {"Label_Read2", &s.texts.readingStamp2},
        {"Label_Read3", &s.texts.readingStamp3},
        {"Label_RezhA", &s.texts.craneGroup},
        {"Label_KIspU", &s.texts.utilisationClass},
        {"Label_RezhQ", &s.texts.loadMode},
        {"Label_KNag", &s.texts.loadSpectrumFactor},
        {"Label_QSum", &s.texts.liftedMass},
        {"L_TimeAll", &s.texts.operatingTime},
    };
    for (const auto& [name, value] : values) {
        EXPECT_FALSE(value->empty()) << name;
        expectHolds(card, utf8(*value), name);
    }
    expectHolds(
        card, utf8(s.texts.limiterModel) + QStringLiteral(" №") + utf8(s.texts.limiterNumber), "QRLabel_oMN");
    expectHolds(
        card, utf8(s.texts.craneModel) + QStringLiteral(" №") + utf8(s.texts.craneNumber), "QRLabel_kMN");
    expectHolds(card, utf8(s.texts.characteristicNumber) + QLatin1Char('/') + utf8(s.texts.normativeNumber),
        "QRL_nhchn");
    expectHolds(card, QStringLiteral("ООО Правка владельца 42"), "typed owner");

    for (const char16_t* caption : {u"1. Информация об операторе и организации, проводившей считывание",
             u"2. Идентификация ограничителя", u"3. Идентификация крана", u"4. Установка регистратора",
             u"5. Накопительная информация о параметрах работы крана",
             u"Таблица нарабоки крана по степени загрузки", u"Диапазон нагрузок", u"Рабочие циклы",
             u"Прегрузка более 25% №5", u"Информация с РП считана",
             u"Оценка наработки и режима работы крана по ИСО 4301/1-85", u"Общая наработка крана в моточасах",
             u"Информацию подтверждаю", u"12,5%< M <25%"})
        expectHolds(card, QString::fromUtf16(caption), "caption");

    // The date line leaves room for two digits after "20" (not " 200").
    expectHolds(card, QStringLiteral("__________________ 20 г."), "date line");
    EXPECT_FALSE(card.contains(QStringLiteral(" 200 ")));
}

TEST(CardPdf, AppendixPagesWithChartsAndSignature)
{
    screen::MainState s = loadedGeneratedState();
    const QString pdf = renderCard(s, QStringLiteral("card-appendix.pdf"));
    const QString page1 = pdfText(pdf, 2, 2);
    const QString page2 = pdfText(pdf, 3, 3);
    for (const QString& page : {page1, page2}) {
        expectHolds(page, QStringLiteral("Оперативная информация"), "title");
        expectHolds(page,
            QStringLiteral("на кран ") + utf8(s.texts.craneModel) + QStringLiteral(" №")
                + utf8(s.texts.craneNumber),
            "QRL_kran1/2");
        expectHolds(page, QStringLiteral("Кадры"), "bottom axis");
        expectHolds(page, utf8(s.texts.engineerName), "QRLabel_Oper1/2");
        expectHolds(page, QStringLiteral("Информацию подтверждаю"), "signature");
    }
    expectHolds(page1, QStringLiteral("Приложение 1"), "page 1");
    expectHolds(page1, QStringLiteral("График изменения степени загрузки крана"), "QRChart_M");
    expectHolds(page1, QStringLiteral("График изменения массы груза на крюке"), "QRChart_Q");
    expectHolds(page2, QStringLiteral("Приложение 2"), "page 2");
    expectHolds(page2, QStringLiteral("График изменения длины стрелы крана"), "QRChart_L");
    expectHolds(page2, QStringLiteral("График изменения вылета крана"), "QRChart_R");
}

TEST(CardPdf, FreshWindowAndSingleLayoutsRender)
{
    // Nothing loaded yet: the design texts, no frames, no bars.
    const screen::MainState fresh;
    QTemporaryDir dir;
    for (int page = 0; page < 3; ++page) {
        const QString path = dir.filePath(QStringLiteral("p%1.pdf").arg(page));
        {
            QPdfWriter writer(path);
            const bool ok = page == 0 ? printInfoCard(writer, fresh)
                                      : printAppendixPage(writer, fresh, static_cast<AppendixPage>(page));
            ASSERT_TRUE(ok);
        }
        EXPECT_EQ(pdfPageCount(path), 1);
    }
    EXPECT_TRUE(pdfText(dir.filePath(QStringLiteral("p2.pdf"))).contains(QStringLiteral("Приложение 2")));

    // A PDF that cannot be created is reported, not drawn.
    EXPECT_FALSE(writePdf(
        dir.filePath(QStringLiteral("no/such/folder/x.pdf")), PdfDocument::CardWithAppendix, fresh, {}, ','));
}

TEST(CardPdf, LoadBarsDrawnToScale)
{
    screen::MainState s;
    s.gauges.band0 = 0;     // no cycles: no bar
    s.gauges.band12 = 50;   // half the busiest band
    s.gauges.band25 = 100;  // the busiest band
    s.gauges.band50 = 100;
    s.gauges.band100 = 0;
    const QString pdf = artefactPath(QStringLiteral("card-bars.pdf"));
    ASSERT_TRUE(writePdf(pdf, PdfDocument::CardWithAppendix, s, {}, ','));
    QProcess::execute(QStringLiteral("pdftoppm"),
        {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("96"), QStringLiteral("-f"),
            QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"), QStringLiteral("-singlefile"),
            pdf, artefactPath(QStringLiteral("card-bars"))});
    QImage page(artefactPath(QStringLiteral("card-bars.png")));
    ASSERT_FALSE(page.isNull());

    // At 96 dots per inch a layout unit is a pixel: measure the widest run of
    // each bar colour on every row.
    const auto longestRuns = [&page](QColor colour) {
        std::vector<int> runs;
        for (int y = 0; y < page.height(); ++y) {
            int best = 0, run = 0;
            for (int x = 0; x < page.width(); ++x) {
                const QColor c = page.pixelColor(x, y);
                const bool match = std::abs(c.red() - colour.red()) < 40
                    && std::abs(c.green() - colour.green()) < 40 && std::abs(c.blue() - colour.blue()) < 40;
                run = match ? run + 1 : 0;
                best = std::max(best, run);
            }
            if (best > 5)
                runs.push_back(best);
        }
        return runs;
    };
    const std::vector<int> green = longestRuns(QColor(0, 128, 0));
    const std::vector<int> yellow = longestRuns(QColor(255, 255, 0));
    const std::vector<int> red = longestRuns(QColor(255, 0, 0));
    ASSERT_FALSE(green.empty());
    EXPECT_NEAR(*std::max_element(green.begin(), green.end()), 281, 2);
    EXPECT_NEAR(*std::min_element(green.begin(), green.end()), 140, 2);  // the half band's rows
    ASSERT_FALSE(yellow.empty());
    EXPECT_NEAR(*std::max_element(yellow.begin(), yellow.end()), 281, 2);
    EXPECT_NEAR(static_cast<double>(yellow.size()), 15, 2);  // 15 high
    EXPECT_TRUE(red.empty());                                // the band without cycles has no bar
}
