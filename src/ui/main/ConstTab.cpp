#include "ui/main/ConstTab.h"

#include "analysis/FileDamage.h"
#include "analysis/ResourceUse.h"
#include "screen/MainStateFields.h"
#include "ui/common/DamageWarning.h"
#include "ui/common/ResourceColor.h"
#include "ui/common/ScreenFit.h"
#include "ui/common/UiText.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

QGroupBox* makeGroup(QWidget* parent, const char* name, const QString& title)
{
    auto* box = new QGroupBox(title, parent);
    box->setObjectName(QString::fromLatin1(name));
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(6, 2, 6, 4);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(2);
    return box;
}

QGridLayout* gridOf(QGroupBox* box)
{
    return static_cast<QGridLayout*>(box->layout());
}

QLabel* caption(const QString& text)
{
    return new QLabel(text);
}

// A column head that may wrap onto a second line.
QLabel* head(const QString& text)
{
    auto* label = new QLabel(text);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

// A label that shows a value, framed like a read-only field.
QLabel* framedValue(QLabel* label)
{
    label->setFrameShape(QFrame::StyledPanel);
    label->setFrameShadow(QFrame::Sunken);
    label->setMinimumWidth(96);
    return label;
}

}  // namespace

ConstTab::ConstTab(nkp::screen::MainState& state, char decimalSeparator, QWidget* parent)
    : QWidget(parent)
    , state_(state)
    , decimalSeparator_(decimalSeparator)
{
    setObjectName(QStringLiteral("TabSheet_Const"));
    auto* left = new QVBoxLayout;
    left->setSpacing(4);
    left->addWidget(GroupBox7 = buildOperator());
    left->addWidget(GroupBox4 = buildCrane());
    left->addWidget(GroupBox_PP_Izg = buildLimiter());
    left->addWidget(GroupBox5 = buildReadings());
    left->addStretch(1);
    auto* right = new QVBoxLayout;
    right->setSpacing(4);
    right->addWidget(GroupBox_CiklNagr = buildCycles());
    right->addWidget(GroupBox1 = buildOverloads());
    right->addWidget(GroupBox3 = buildModes());
    right->addStretch(1);
    // The two columns scroll on screens too small for them; the damage
    // warning stays above them, always in sight.
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("TabSheet_Const_Content"));
    auto* columns = new QHBoxLayout(content);
    columns->setContentsMargins(4, 4, 4, 4);
    columns->setSpacing(6);
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);
    Label_Damage = nkp::ui::damageBanner();
    connect(Label_Damage, &QLabel::linkActivated, this, &ConstTab::errorLogRequested);
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(0, 0, 0, 0);
    page->setSpacing(4);
    page->addWidget(Label_Damage);
    Label_Signature = new QLabel;
    Label_Signature->setObjectName(QStringLiteral("Label_Signature"));
    Label_Signature->setTextFormat(Qt::PlainText);  // the signer's text is the file's
    // A long signer's text is cut at the window's edge, never widens it.
    Label_Signature->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    Label_Signature->hide();
    page->addWidget(Label_Signature);
    page->addWidget(nkp::ui::scrollable(content), 1);

    Edit_HarCh->setReadOnly(true);
    // The crane model's field holds its design text whole.
    Edit_MKran->setMinimumWidth(
        Edit_MKran->fontMetrics().horizontalAdvance(QStringLiteral("КС-ХХХХХА-ХХ")) + 16);
    bindEdits();
    refresh();
}

QLineEdit* ConstTab::edit(const char* name)
{
    auto* e = new QLineEdit;
    e->setObjectName(QString::fromLatin1(name));
    controls_.insert(e->objectName(), e);
    return e;
}

QLabel* ConstTab::value(const char* name)
{
    // The texts come from the read-out: never taken for markup.
    auto* l = new QLabel;
    l->setTextFormat(Qt::PlainText);
    l->setObjectName(QString::fromLatin1(name));
    controls_.insert(l->objectName(), l);
    return l;
}

void ConstTab::addEdits(QGridLayout* grid, std::initializer_list<EditCell> cells)
{
    for (const EditCell& c : cells) {
        grid->addWidget(caption(QString::fromUtf8(c.caption)), c.row, c.column);
        grid->addWidget(this->*c.member = edit(c.name), c.row, c.column + 1, 1, c.span);
    }
}

QGroupBox* ConstTab::buildOperator()
{
    QGroupBox* box = makeGroup(this, "GroupBox7", QStringLiteral(" Информация об операторе "));
    addEdits(gridOf(box),
        {{0, 0, "Инормацию считал:", &ConstTab::Edit_Name, "Edit_Name", 3},
            {1, 0, "Удост. №", &ConstTab::Edit_NUd, "Edit_NUd", 1},
            {1, 2, "действительно до", &ConstTab::Edit_DateUd, "Edit_DateUd", 1},
            {2, 0, "Организация:", &ConstTab::Edit_Org, "Edit_Org", 3},
            {3, 0, "Дата считывания:", &ConstTab::Edit_DataSch, "Edit_DataSch", 2}});
    return box;
}

QGroupBox* ConstTab::buildCrane()
{
    QGroupBox* box = makeGroup(this, "GroupBox4", QStringLiteral(" Индентификация крана "));
    QGridLayout* g = gridOf(box);
    addEdits(g,
        {{0, 0, "Кран ", &ConstTab::Edit_MKran, "Edit_MKran", 1},
            {0, 2, "№", &ConstTab::Edit_NKran, "Edit_NKran", 1},
            {2, 0, "Год изготовления:", &ConstTab::Edit_GodIzgot, "Edit_GodIzgot", 1},
            {3, 0, "Грурппа режима нагружения:", &ConstTab::Edit_GrRegNag, "Edit_GrRegNag", 1},
            {4, 0, "Владелец крана:", &ConstTab::Edit_Vlad, "Edit_Vlad", 3},
            {5, 0, "Дата установки РП:", &ConstTab::Edit_DataUst, "Edit_DataUst", 1}});
    // The crane maker is shown, not typed.
    g->addWidget(caption(QStringLiteral("Завод-изготовитель крана:")), 1, 0);
    g->addWidget(framedValue(Edit_IzgotKran = value("Edit_IzgotKran")), 1, 1, 1, 3);
    return box;
}

QGroupBox* ConstTab::buildLimiter()
{
    QGroupBox* box = makeGroup(this, "GroupBox_PP_Izg", QStringLiteral(" Идентификация ограничителя "));
    addEdits(gridOf(box),
        {{0, 0, "Ограничитель", &ConstTab::Edit_ModTRV, "Edit_ModTRV", 1},
            {0, 2, "зав. №", &ConstTab::Edit_NTRV, "Edit_NTRV", 1},
            {1, 0, "Версия программы:", &ConstTab::Edit_VProg, "Edit_VProg", 1},
            {2, 0, "Изготовитель ТРВ:", &ConstTab::Edit_IzgotTRV, "Edit_IzgotTRV", 3}});
    return box;
}

QGroupBox* ConstTab::buildReadings()
{
    QGroupBox* box = makeGroup(this, "GroupBox5", QStringLiteral("Даты считывания"));
    QGridLayout* g = gridOf(box);
    QLabel** labels[] = {&Label_Read1, &Label_Read2, &Label_Read3};
    const char* names[] = {"Label_Read1", "Label_Read2", "Label_Read3"};
    for (int i = 0; i < 3; ++i) {
        g->addWidget(caption(QStringLiteral("Считывание №%1").arg(i + 1)), i, 0);
        g->addWidget(framedValue(*labels[i] = value(names[i])), i, 1);
    }
    g->setColumnStretch(2, 1);
    return box;
}

QGroupBox* ConstTab::buildCycles()
{
    QGroupBox* box = makeGroup(this, "GroupBox_CiklNagr", QStringLiteral("Наработка крана в циклах"));
    QGridLayout* g = gridOf(box);
    g->addWidget(head(QStringLiteral("Диапазон нагрузок")), 0, 0);
    g->addWidget(head(QStringLiteral("Диаграмма распределения циклов")), 0, 1);
    g->addWidget(head(QStringLiteral("Рабочие циклы")), 0, 2);
    const QString bands[] = {QStringLiteral("0% < M < 12.5%"), QStringLiteral("12,5% < M < 25%"),
        QStringLiteral("25% < M < 50%"), QStringLiteral("50% < M < 100%"), QStringLiteral("100% < M")};
    QProgressBar** gauges[] = {&CGauge_N0, &CGauge_N12, &CGauge_N25, &CGauge_N50, &CGauge_N100};
    const char* gaugeNames[] = {"CGauge_N0", "CGauge_N12", "CGauge_N25", "CGauge_N50", "CGauge_N100"};
    QLabel** counts[] = {&Label_0, &Label_12, &Label_25, &Label_50, &Label_100};
    const char* countNames[] = {"Label_0", "Label_12", "Label_25", "Label_50", "Label_100"};
    for (int i = 0; i < 5; ++i) {
        g->addWidget(caption(bands[i]), i + 1, 0);
        auto* gauge = new QProgressBar;
        gauge->setObjectName(QString::fromLatin1(gaugeNames[i]));
        gauge->setRange(0, 100);
        gauge->setValue(0);
        gauge->setTextVisible(false);
        gauge->setMaximumHeight(14);
        controls_.insert(gauge->objectName(), gauge);
        g->addWidget(*gauges[i] = gauge, i + 1, 1);
        QLabel* count = value(countNames[i]);
        count->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        g->addWidget(*counts[i] = count, i + 1, 2);
    }
    g->setColumnStretch(1, 1);
    return box;
}

QGroupBox* ConstTab::buildOverloads()
{
    QGroupBox* box = makeGroup(this, "GroupBox1", QStringLiteral("Перегрузки"));
    QGridLayout* g = gridOf(box);
    g->addWidget(head(QStringLiteral("Номер перегрузки")), 0, 0);
    g->addWidget(head(QStringLiteral("Дата и время перегузки")), 0, 1);
    QLabel** labels[] = {&Label_Per1, &Label_Per2, &Label_Per3, &Label_Per4, &Label_Per5};
    const char* names[] = {"Label_Per1", "Label_Per2", "Label_Per3", "Label_Per4", "Label_Per5"};
    for (int i = 0; i < 5; ++i) {
        g->addWidget(caption(QStringLiteral("Перегрузка №%1").arg(i + 1)), i + 1, 0);
        g->addWidget(framedValue(*labels[i] = value(names[i])), i + 1, 1);
    }
    g->setColumnStretch(2, 1);
    return box;
}

QGroupBox* ConstTab::buildModes()
{
    QGroupBox* box
        = makeGroup(this, "GroupBox3", QStringLiteral(" Информация о режимах работы и ресурсе крана "));
    QGridLayout* g = gridOf(box);
    const QString captions[]
        = {QStringLiteral("Текущая группа режима работы крана:"), QStringLiteral("Класс использования:"),
            QStringLiteral("Режим нагружения:"), QStringLiteral("Суммарная масса поднятых грузов:"),
            QStringLiteral("Характеристическое число (текущее):"),
            QStringLiteral("Характеристическое число (нормативное):"),
            QStringLiteral("Коэффициент распределения нагрузок:"), QStringLiteral("Общая наработка крана:")};
    // The resource share stands on its own line under the two characteristic
    // numbers, so that the tab keeps its width.
    for (int i = 0; i < 8; ++i)
        g->addWidget(caption(captions[i]), i < 6 ? i : i + 1, 0);
    g->addWidget(Label_RezhA = value("Label_RezhA"), 0, 1);
    g->addWidget(Label_KIspU = value("Label_KIspU"), 1, 1);
    g->addWidget(Label_RezhQ = value("Label_RezhQ"), 2, 1);
    g->addWidget(Label_QSum = value("Label_QSum"), 3, 1);
    g->addWidget(Edit_HarCh = edit("Edit_HarCh"), 4, 1);
    g->addWidget(Label_NHarch = value("Label_NHarch"), 5, 1);
    Label_Resource = new QLabel;
    Label_Resource->setTextFormat(Qt::PlainText);
    Label_Resource->setObjectName(QStringLiteral("Label_Resource"));
    g->addWidget(Label_Resource, 6, 0, 1, 2, Qt::AlignLeft);
    g->addWidget(Label_KNag = value("Label_KNag"), 7, 1);
    g->addWidget(L_TimeAll = value("L_TimeAll"), 8, 1);
    Edit_HarCh->setMaximumWidth(90);
    return box;
}

void ConstTab::bindEdits()
{
    for (const nkp::screen::TextField& field : nkp::screen::mainStateTextFields()) {
        auto* e = qobject_cast<QLineEdit*>(controls_.value(QString::fromLatin1(field.name)));
        if (!e || !field.editable || e->isReadOnly())
            continue;
        auto member = field.member;
        connect(e, &QLineEdit::textEdited, this,
            [this, member](const QString& text) { state_.texts.*member = nkp::ui::toCp1251(text); });
    }
}

void ConstTab::refresh()
{
    for (const nkp::screen::TextField& field : nkp::screen::mainStateTextFields()) {
        QWidget* w = controls_.value(QString::fromLatin1(field.name));
        const QString text = nkp::ui::fromCp1251(state_.texts.*field.member);
        if (auto* e = qobject_cast<QLineEdit*>(w)) {
            if (e->text() != text) {
                e->setText(text);
                e->setCursorPosition(0);
            }
        } else if (auto* l = qobject_cast<QLabel*>(w)) {
            l->setText(text);
        }
    }
    for (const nkp::screen::GaugeField& field : nkp::screen::mainStateGaugeFields()) {
        if (auto* gauge = qobject_cast<QProgressBar*>(controls_.value(QString::fromLatin1(field.name))))
            gauge->setValue(state_.gauges.*field.member);
    }
    refreshResource();
    refreshDamage();
}

void ConstTab::showSignature(const QString& text, const QColor& colour, const QString& toolTip)
{
    Label_Signature->setText(text);
    Label_Signature->setToolTip(toolTip);
    Label_Signature->setStyleSheet(
        QStringLiteral("QLabel { background: %1; color: %2; padding: 2px 6px; }")
            .arg(
                colour.name(), colour.lightness() < 128 ? QStringLiteral("white") : QStringLiteral("black")));
    Label_Signature->setVisible(!text.isEmpty());
}

void ConstTab::refreshDamage()
{
    nkp::ui::showDamage(Label_Damage, nkp::analysis::damageWarning(state_.readout.diagnostics));
}

void ConstTab::refreshResource()
{
    // Before a read-out is loaded the numbers are design placeholders, not a crane's.
    Label_Resource->setVisible(!state_.filePath.empty());
    const nkp::analysis::ResourceUse use = nkp::analysis::resourceUse(state_.readout);
    Label_Resource->setText(nkp::ui::fromCp1251(nkp::analysis::resourceUseText(use, decimalSeparator_)));
    const QColor colour = nkp::ui::resourceColor(use.level);
    Label_Resource->setStyleSheet(colour.isValid()
            ? QStringLiteral("QLabel { background: %1; color: black; padding: 1px 4px; }").arg(colour.name())
            : QString());
}
