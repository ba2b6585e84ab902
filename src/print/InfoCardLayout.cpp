#include "print/InfoCardLayout.h"

#include "print/CardTexts.h"
#include "print/LoadBars.h"
#include "print/PageCanvas.h"
#include "print/Signature.h"

#include <QColor>
#include <QFontMetricsF>
#include <QPen>

#include <algorithm>
#include <array>
#include <vector>

namespace nkp::print {
namespace {

constexpr double kMargin = mm(10);
constexpr double kLeft = kMargin;
constexpr double kRight = kPageWidth - kMargin;
constexpr double kWidth = kRight - kLeft;
constexpr double kRow = 17;  // one line of 10 pt captions

struct Fonts {
    QFont title, subtitle, heading, caption, value;
};

Fonts cardFonts(const PageCanvas& canvas)
{
    return {canvas.font(FontFace::Arial, {18, true, true}), canvas.font(FontFace::Arial, {12, true, true}),
        canvas.font(FontFace::Arial, {10, true, true}), canvas.font(FontFace::Arial, {10, false, false}),
        canvas.font(FontFace::Arial, {10, true, false})};
}

using CaptionValues = std::vector<std::pair<QString, QString>>;

// Captions each followed by its value on one line from x to at most `right`.
// Typed texts may be longer than the line: the line's type then shrinks to
// fit, down to 60 %, and what still does not fit is cut with an ellipsis.
void captionRow(
    PageCanvas& canvas, const Fonts& f, double x, double y, double right, const CaptionValues& items)
{
    constexpr double kAfterCaption = 6, kBetweenItems = 16;
    const double gaps = static_cast<double>(items.size()) * (kAfterCaption + kBetweenItems) - kBetweenItems;
    const double room = right - x - gaps;
    QFont caption = f.caption, value = f.value;
    const auto textWidth = [&] {
        double width = 0;
        for (const auto& [captionText, valueText] : items)
            width += canvas.textWidth(caption, captionText) + canvas.textWidth(value, valueText);
        return width;
    };
    // Type sizes come in whole steps of the font engine: shrink until it fits.
    for (double factor = 1.0; factor > 0.6 && textWidth() > room;) {
        factor = std::max(factor * std::min(room / textWidth(), 0.97), 0.6);
        caption.setPointSizeF(f.caption.pointSizeF() * factor);
        value.setPointSizeF(f.value.pointSizeF() * factor);
    }
    for (const auto& [captionText, valueText] : items) {
        x += canvas.textAt(x, y, captionText, caption) + kAfterCaption;
        const QString shown = QFontMetricsF(value, canvas.painter().device())
                                  .elidedText(valueText, Qt::ElideRight, std::max(0.0, right - x + 1));
        x += canvas.textAt(x, y, shown, value) + kBetweenItems;
    }
}

void centred(PageCanvas& canvas, double y, const QString& text, const QFont& font)
{
    canvas.text(
        QRectF(kLeft, y, kWidth, canvas.lineHeight(font)), Qt::AlignHCenter | Qt::AlignTop, text, font);
}

void rightAligned(PageCanvas& canvas, double right, double y, const QString& text, const QFont& font)
{
    // Blanks at the end count: the right-aligned labels keep them.
    canvas.textAt(right - canvas.textWidth(font, text), y, text, font);
}

void drawLoadTable(PageCanvas& canvas, const Fonts& f, const screen::MainState& s, double top)
{
    struct Band {
        const char16_t* caption;
        int gauge;
        QColor colour;
        const std::string* count;
    };
    const QColor green(0, 128, 0), yellow(255, 255, 0), red(255, 0, 0);
    const std::array<Band, 5> bands {{
        {u"  0%<   M <12,5%", s.gauges.band0, green, &s.texts.cycles0},
        {u"12,5%<   M    <25%", s.gauges.band12, green, &s.texts.cycles12},
        {u"25%<   M    <50%", s.gauges.band25, green, &s.texts.cycles25},
        {u"50%<   M  <100%", s.gauges.band50, yellow, &s.texts.cycles50},
        {u"100%<   M            ", s.gauges.band100, red, &s.texts.cycles100},
    }};

    constexpr double kHeadHeight = 22, kBandHeight = 24;
    constexpr double kCaptionRight = kLeft + 150, kBarLeft = kCaptionRight + 12;
    constexpr double kCountLeft = kBarLeft + kLoadBarFrameWidth + 12;
    const double height = kHeadHeight + bands.size() * kBandHeight + 4;

    QPainter& p = canvas.painter();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::black, 4));
    p.drawRect(QRectF(kLeft + 2, top + 2, kWidth - 4, height - 4));
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(QPointF(kCaptionRight + 6, top), QPointF(kCaptionRight + 6, top + height));
    p.drawLine(QPointF(kCountLeft - 6, top), QPointF(kCountLeft - 6, top + height));
    p.drawLine(QPointF(kLeft, top + kHeadHeight), QPointF(kRight, top + kHeadHeight));

    const double headY = top + 4;
    canvas.text(QRectF(kLeft, headY, kCaptionRight + 6 - kLeft, kRow), Qt::AlignHCenter,
        QStringLiteral("Диапазон нагрузок"), f.caption);
    canvas.text(QRectF(kCaptionRight + 6, headY, kCountLeft - kCaptionRight - 12, kRow), Qt::AlignHCenter,
        QStringLiteral("Диаграмма"), f.caption);
    canvas.text(QRectF(kCountLeft - 6, headY, kRight - kCountLeft + 6, kRow), Qt::AlignHCenter,
        QStringLiteral("Рабочие циклы"), f.caption);

    double y = top + kHeadHeight + 4;
    for (const Band& band : bands) {
        rightAligned(canvas, kCaptionRight, y + 1, QString::fromUtf16(band.caption), f.caption);
        const LoadBarRects rects = loadBarRects(kBarLeft, y + 1, band.gauge);
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(rects.frame);
        if (rects.bar.width() > 0) {
            p.setBrush(band.colour);
            p.drawRect(rects.bar);
            p.setBrush(Qt::NoBrush);
        }
        rightAligned(canvas, kRight - 14, y + 1, fromCp1251(*band.count), f.value);
        y += kBandHeight;
    }
}

// Rows of caption and value under a centred heading; returns the y after them.
double stampRows(PageCanvas& canvas, const Fonts& f, double y, const QString& heading,
    const std::vector<std::pair<QString, QString>>& rows, double valueLeft)
{
    centred(canvas, y, heading, f.heading);
    y += kRow + 3;
    for (const auto& [caption, value] : rows) {
        canvas.textAt(kLeft + 40, y, caption, f.caption);
        if (valueLeft > 0)
            canvas.textAt(valueLeft, y, value, f.value);
        else
            rightAligned(canvas, kRight - 14, y, value, f.value);
        y += kRow;
    }
    return y + 6;
}

}  // namespace

void drawInfoCard(PageCanvas& canvas, const screen::MainState& s)
{
    const Fonts f = cardFonts(canvas);
    const auto t = [](const std::string& text) { return fromCp1251(text); };

    double y = kMargin + 4;
    centred(canvas, y, QStringLiteral("Информационная карта"), f.title);
    y += 32;
    centred(canvas, y, recorderLine(s), f.subtitle);  // QRL_trv
    y += 21;
    centred(canvas, y, craneLine(s), f.subtitle);  // QRL_kran
    y += 32;

    // 1. The person and the organisation that read the recorder.
    canvas.textAt(kLeft, y,
        QStringLiteral("1. Информация об операторе и организации, проводившей считывание"), f.heading);
    y += kRow + 3;
    captionRow(canvas, f, kLeft + 10, y, kRight,
        {{QStringLiteral("Информацию считал:"), t(s.texts.engineerName)},
            {QStringLiteral("Удостоверение №"), t(s.texts.certificateNumber)},
            {QStringLiteral("действительно до"), t(s.texts.certificateDate)}});
    y += kRow;
    captionRow(canvas, f, kLeft + 10, y, kRight,
        {{QStringLiteral("Организация:"), t(s.texts.serviceOrganisation)},
            {QStringLiteral("Дата считывания:"), t(s.texts.readingDate)}});
    y += kRow + 14;

    // 2. and 3. side by side.
    const double rightColumn = kLeft + kWidth / 2 - 20;
    canvas.textAt(kLeft, y, QStringLiteral("2. Идентификация ограничителя"), f.heading);
    canvas.textAt(rightColumn, y, QStringLiteral("3. Идентификация крана"), f.heading);
    const CaptionValues limiter = {
        {QStringLiteral("Ограничитель:"),
            t(s.texts.limiterModel) + QStringLiteral(" №") + t(s.texts.limiterNumber)},
        {QStringLiteral("Версия программы/таблиц/РП:"), t(s.texts.programVersion)},
        {QStringLiteral("Изготовитель:"), t(s.texts.limiterMaker)},
    };
    const CaptionValues crane = {
        {QStringLiteral("Марка крана:"),
            t(s.texts.craneModel) + QStringLiteral(" №") + t(s.texts.craneNumber)},
        {QStringLiteral("Изготовитель:"), t(s.texts.craneMaker)},
        {QStringLiteral("Год изготовления крана:"), t(s.texts.craneYear)},
        {QStringLiteral("Группа режима нагружения:"), t(s.texts.craneClassGroup)},
        {QStringLiteral("Владелец:"), t(s.texts.craneOwner)},
    };
    y += kRow + 3;
    for (std::size_t i = 0; i < crane.size(); ++i) {
        if (i < limiter.size())
            captionRow(canvas, f, kLeft + 10, y, rightColumn - 8, {limiter[i]});
        captionRow(canvas, f, rightColumn + 10, y, kRight, {crane[i]});
        y += kRow;
    }
    y += 14;

    // 4. Installation.
    canvas.textAt(kLeft, y, QStringLiteral("4. Установка регистратора"), f.heading);
    y += kRow + 3;
    captionRow(canvas, f, kLeft + 10, y, kRight,
        {{QStringLiteral("Дата установки РП:"), t(s.texts.installationDate)}});
    y += kRow + 14;

    // 5. Accumulated information.
    canvas.textAt(
        kLeft, y, QStringLiteral("5. Накопительная информация о параметрах работы крана"), f.heading);
    y += kRow + 6;
    centred(canvas, y, QStringLiteral("Таблица нарабоки крана по степени загрузки"), f.heading);
    y += kRow + 3;
    drawLoadTable(canvas, f, s, y);
    y += 22 + 5 * 24 + 4 + 12;

    const double stampLeft = kLeft + 320;
    std::vector<std::pair<QString, QString>> rows;
    const std::array<const std::string*, 5> overloads {
        &s.texts.overload1, &s.texts.overload2, &s.texts.overload3, &s.texts.overload4, &s.texts.overload5};
    for (std::size_t i = 0; i < overloads.size(); ++i)
        rows.emplace_back(QStringLiteral("Прегрузка более 25% №%1").arg(i + 1), t(*overloads[i]));
    y = stampRows(canvas, f, y, QStringLiteral("Даты последних пяти перегрузок крана"), rows, stampLeft);

    rows.clear();
    for (const std::string* read : {&s.texts.readingStamp1, &s.texts.readingStamp2, &s.texts.readingStamp3})
        rows.emplace_back(QStringLiteral("Информация с РП считана"), t(*read));
    y = stampRows(canvas, f, y, QStringLiteral("Даты считывания регистратора параметров"), rows, stampLeft);

    rows = {
        {QStringLiteral("Текущая группа классификации (режима) крана по ИСО 4301/1-85"),
            t(s.texts.craneGroup)},
        {QStringLiteral("Характеристическое число текущее/нормативное"),
            t(s.texts.characteristicNumber) + QLatin1Char('/') + t(s.texts.normativeNumber)},
        {QStringLiteral("Класс использования по ИСО 4301/1-85"), t(s.texts.utilisationClass)},
        {QStringLiteral("Режим нагружения крана по ИСО 4301/1-85"), t(s.texts.loadMode)},
        {QStringLiteral("Коэффициент распределения нагрузок"), t(s.texts.loadSpectrumFactor)},
        {QStringLiteral("Общая масса грузов, поднятая за все время эксплуатации"), t(s.texts.liftedMass)},
        {QStringLiteral("Общая наработка крана в моточасах"), t(s.texts.operatingTime)},
    };
    stampRows(
        canvas, f, y, QStringLiteral("Оценка наработки и режима работы крана по ИСО 4301/1-85"), rows, 0);

    drawSignatureBlock(canvas, kLeft, kPageHeight - kMargin - 60, t(s.texts.engineerName));
    // In the bottom margin, below everything else: the file's signature.
    if (!s.fileSignature.empty())
        canvas.text(QRectF(kLeft, kPageHeight - kMargin + 4, kWidth, kMargin - 8),
            Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, t(s.fileSignature),
            canvas.font(FontFace::Arial, {7, false, false}));
}

}  // namespace nkp::print
