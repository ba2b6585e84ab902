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

QString renderCard(const analysis::MainState& state, const QString& name)
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
    analysis::MainState s = loadedGeneratedState();
    ASSERT_FALSE(s.Edit_MKran.empty());
    s.Edit_Vlad = cp1251(QStringLiteral("ООО Правка владельца 42"));  // typed into the window
    s.Edit_VProg = "7.1";
    // As long as the field may be: it shrinks on its line but is printed whole.
    s.Edit_IzgotKran = cp1251(QStringLiteral("ЗАО Завод подъёмно-транспортного оборудования №12"));
    s.Edit_Org = cp1251(QStringLiteral("ООО Служба технического надзора Северо-Западная"));

    const QString pdf = renderCard(s, QStringLiteral("card.pdf"));
    savePngRenders(pdf, QStringLiteral("card"));
    ASSERT_EQ(pdfPageCount(pdf), 3);
    const QString card = pdfText(pdf, 1, 1);

    expectHolds(card, QStringLiteral("Информационная карта"), "title");
    expectHolds(card,
        QStringLiteral("по данным регистратора параметров ") + utf8(s.Edit_ModTRV) + QStringLiteral(" №")
            + utf8(s.Edit_NTRV),
        "QRL_trv");
    expectHolds(card,
        QStringLiteral("на кран ") + utf8(s.Edit_MKran) + QStringLiteral(" №") + utf8(s.Edit_NKran),
        "QRL_kran");
    const std::pair<const char*, const std::string*> values[] = {
        {"Edit_Name", &s.Edit_Name},
        {"Edit_NUd", &s.Edit_NUd},
        {"Edit_DateUd", &s.Edit_DateUd},
        {"Edit_Org", &s.Edit_Org},
        {"Edit_DataSch", &s.Edit_DataSch},
        {"Edit_VProg", &s.Edit_VProg},
        {"Edit_IzgotTRV", &s.Edit_IzgotTRV},
        {"Edit_IzgotKran", &s.Edit_IzgotKran},
        {"Edit_GodIzgot", &s.Edit_GodIzgot},
        {"Edit_GrRegNag", &s.Edit_GrRegNag},
        {"Edit_Vlad", &s.Edit_Vlad},
        {"Edit_DataUst", &s.Edit_DataUst},
        {"Label_0", &s.Label_0},
        {"Label_12", &s.Label_12},
        {"Label_25", &s.Label_25},
        {"Label_50", &s.Label_50},
        {"Label_100", &s.Label_100},
        {"Label_Per1", &s.Label_Per1},
        {"Label_Per2", &s.Label_Per2},
        {"Label_Per3", &s.Label_Per3},
        {"Label_Per4", &s.Label_Per4},
        {"Label_Per5", &s.Label_Per5},
        {"Label_Read1", &s.Label_Read1},
        {"Label_Read2", &s.Label_Read2},
        {"Label_Read3", &s.Label_Read3},
        {"Label_RezhA", &s.Label_RezhA},
        {"Label_KIspU", &s.Label_KIspU},
        {"Label_RezhQ", &s.Label_RezhQ},
        {"Label_KNag", &s.Label_KNag},
        {"Label_QSum", &s.Label_QSum},
        {"L_TimeAll", &s.L_TimeAll},
    };
    for (const auto& [name, value] : values) {
        EXPECT_FALSE(value->empty()) << name;
        expectHolds(card, utf8(*value), name);
    }
    expectHolds(card, utf8(s.Edit_ModTRV) + QStringLiteral(" №") + utf8(s.Edit_NTRV), "QRLabel_oMN");
    expectHolds(card, utf8(s.Edit_MKran) + QStringLiteral(" №") + utf8(s.Edit_NKran), "QRLabel_kMN");
    expectHolds(card, utf8(s.Edit_HarCh) + QLatin1Char('/') + utf8(s.Label_NHarch), "QRL_nhchn");
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
    analysis::MainState s = loadedGeneratedState();
    const QString pdf = renderCard(s, QStringLiteral("card-appendix.pdf"));
    const QString page1 = pdfText(pdf, 2, 2);
    const QString page2 = pdfText(pdf, 3, 3);
    for (const QString& page : {page1, page2}) {
        expectHolds(page, QStringLiteral("Оперативная информация"), "title");
        expectHolds(page,
            QStringLiteral("на кран ") + utf8(s.Edit_MKran) + QStringLiteral(" №") + utf8(s.Edit_NKran),
            "QRL_kran1/2");
        expectHolds(page, QStringLiteral("Кадры"), "bottom axis");
        expectHolds(page, utf8(s.Edit_Name), "QRLabel_Oper1/2");
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
    const analysis::MainState fresh;
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
    analysis::MainState s;
    s.CGauge_N0 = 0;     // no cycles: no bar
    s.CGauge_N12 = 50;   // half the busiest band
    s.CGauge_N25 = 100;  // the busiest band
    s.CGauge_N50 = 100;
    s.CGauge_N100 = 0;
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
