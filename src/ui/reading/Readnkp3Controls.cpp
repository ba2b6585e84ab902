// The controls of the reading window and their initial texts.
#include "ui/reading/Readnkp3.h"

#include "ui/common/ScreenFit.h"
#include "ui/help/Help.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

QLineEdit* makeEdit(QWidget* parent, const char* name, const QString& text)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setText(text);
    return edit;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

// A label and its field in one row of a group's grid; a long text's field
// spans the columns to the right.
void addRow(QGridLayout* grid, int row, int column, const QString& label, QWidget* field, int span = 1)
{
    auto* caption = new QLabel(label);
    caption->setBuddy(field);
    grid->addWidget(caption, row, column);
    grid->addWidget(field, row, column + 1, 1, span);
}

}  // namespace

void TForm_ReadNKP3::createControls()
{
    setObjectName(QStringLiteral("Form_ReadNKP3"));
    setWindowTitle(QStringLiteral("Считывание информации с НКП-3"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
        | Qt::MSWindowsFixedSizeDialogHint);

    GroupBox_InputInf = new QGroupBox(QStringLiteral("Информация об операторе"), this);
    GroupBox_InputInf->setObjectName(QStringLiteral("GroupBox_InputInf"));
    Edit_ServOrg = makeEdit(this, "Edit_ServOrg", QStringLiteral("ООО \"Сервисная огранизация\""));
    Edit_NameOper = makeEdit(this, "Edit_NameOper", QStringLiteral("Иванов И.И."));
    Edit_NUd = makeEdit(this, "Edit_NUd", QStringLiteral("Н\\3"));
    MaskEdit_DateUd = makeEdit(this, "MaskEdit_DateUd", QString());
    MaskEdit_DateUd->setInputMask(QStringLiteral("99.99.9999;_"));
    MaskEdit_DateUd->setMaxLength(10);
    MaskEdit_DateUd->setText(QStringLiteral("00.00.0000"));
    MaskEdit_DateRead = makeEdit(this, "MaskEdit_DateRead", QString());
    MaskEdit_DateRead->setInputMask(QStringLiteral("99.99.9999 09:99;_"));
    MaskEdit_DateRead->setMaxLength(16);
    MaskEdit_DateRead->setText(QStringLiteral("00.00.0000 00:00"));
    auto* operatorGrid = new QGridLayout(GroupBox_InputInf);
    addRow(operatorGrid, 0, 0, QStringLiteral("Сервисная организация:"), Edit_ServOrg, 3);
    addRow(operatorGrid, 1, 0, QStringLiteral("Инормацию считал:"), Edit_NameOper, 3);
    addRow(operatorGrid, 2, 0, QStringLiteral("Удост. №"), Edit_NUd);
    addRow(operatorGrid, 2, 2, QStringLiteral("Срок действия:"), MaskEdit_DateUd);
    addRow(operatorGrid, 3, 0, QStringLiteral("Дата считывания:"), MaskEdit_DateRead);

    GroupBox1 = new QGroupBox(QStringLiteral("Информация о кране"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    Edit_MKran = makeEdit(this, "Edit_MKran", QStringLiteral("КС-ХХХХХА-ХХ"));
    Edit_NKran = makeEdit(this, "Edit_NKran", QStringLiteral("0000000"));
    Edit_GodKran = makeEdit(this, "Edit_GodKran", QStringLiteral("2006"));
    Edit_AKran = makeEdit(this, "Edit_AKran", QStringLiteral("А1"));
    Edit_ZavKran = makeEdit(this, "Edit_ZavKran", QStringLiteral("ООО \"Завод-изготовитель\""));
    Edit_VladKran = makeEdit(this, "Edit_VladKran", QStringLiteral("ООО \"Владеле крана\""));
    auto* craneGrid = new QGridLayout(GroupBox1);
    addRow(craneGrid, 0, 0, QStringLiteral("Марка крана:"), Edit_MKran);
    addRow(craneGrid, 0, 2, QStringLiteral("№"), Edit_NKran);
    addRow(craneGrid, 1, 0, QStringLiteral("Год изготовления:"), Edit_GodKran);
    addRow(craneGrid, 1, 2, QStringLiteral("Нормативная группа режима нагружения:"), Edit_AKran);
    addRow(craneGrid, 2, 0, QStringLiteral("Завод изготовитель:"), Edit_ZavKran, 3);
    addRow(craneGrid, 3, 0, QStringLiteral("Владелец крана:"), Edit_VladKran, 3);

    GroupBox2 = new QGroupBox(QStringLiteral("Информация об ограничителе"), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    Edit_MTPB = makeEdit(this, "Edit_MTPB", QStringLiteral("ТРВ-140-ХХМ"));
    Edit_NTPB = makeEdit(this, "Edit_NTPB", QStringLiteral("0000000"));
    Edit_NKTPB = makeEdit(this, "Edit_NKTPB", QStringLiteral("0000000"));
    auto* limiterGrid = new QGridLayout(GroupBox2);
    addRow(limiterGrid, 0, 0, QStringLiteral("Модификация ограничителя:"), Edit_MTPB);
    addRow(limiterGrid, 0, 2, QStringLiteral("№"), Edit_NTPB);
    addRow(limiterGrid, 1, 0, QStringLiteral("№ контроллера:"), Edit_NKTPB);

    infEdits_ = {Edit_ServOrg, Edit_NameOper, Edit_NUd, MaskEdit_DateUd, Edit_MKran, Edit_NKran, Edit_GodKran,
        Edit_AKran, Edit_ZavKran, Edit_VladKran, Edit_MTPB, Edit_NTPB, Edit_NKTPB};

    BitBtn_SaveInf = makeButton(this, "BitBtn_SaveInf", QStringLiteral("Сохранить идентификацию"));
    BitBtn_LoadInf = makeButton(this, "BitBtn_LoadInf", QStringLiteral("Загрузить идентификацию"));
    CGauge_Process = new QProgressBar(this);
    CGauge_Process->setObjectName(QStringLiteral("CGauge_Process"));
    CGauge_Process->setRange(0, nkp::device::kGaugeMax);
    CGauge_Process->setValue(0);
    CGauge_Process->setTextVisible(false);
    QPalette gaugePalette = CGauge_Process->palette();
    gaugePalette.setColor(QPalette::Highlight, QColor(0, 0, 128));  // navy
    CGauge_Process->setPalette(gaugePalette);
    BitBtn_ReadNKP3 = makeButton(this, "BitBtn_ReadNKP3", QStringLiteral("Считать информацию"));
    BitBtn_SaveFile = makeButton(this, "BitBtn_SaveFile", QStringLiteral("Сохранить информацию"));
    BitBtn_Close = makeButton(this, "BitBtn_Close", QStringLiteral("Закрыть"));
    // Beside the gauge while a reading runs: the bytes so far and the way to
    // stop. Their room is kept when hidden so that the fixed window keeps its size.
    Label_Bytes = new QLabel(this);
    Label_Bytes->setObjectName(QStringLiteral("Label_Bytes"));
    Label_Bytes->setMinimumWidth(
        Label_Bytes->fontMetrics().horizontalAdvance(QStringLiteral("Считано 270336 из 270336 байт")) + 8);
    BitBtn_Abort = makeButton(this, "BitBtn_Abort", QStringLiteral("Прервать"));
    for (QWidget* w : {static_cast<QWidget*>(Label_Bytes), static_cast<QWidget*>(BitBtn_Abort)}) {
        QSizePolicy policy = w->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        w->setSizePolicy(policy);
        w->hide();
    }

    StatusBar_ReadNKP3 = new QStatusBar(this);
    StatusBar_ReadNKP3->setObjectName(QStringLiteral("StatusBar_ReadNKP3"));
    StatusBar_ReadNKP3->setSizeGripEnabled(false);
    StatusBar_ReadNKP3->setAutoFillBackground(true);
    statusLabel_ = new QLabel(QStringLiteral("Выполняемая операция..."), StatusBar_ReadNKP3);
    StatusBar_ReadNKP3->addWidget(statusLabel_, 1);

    auto* infButtons = new QHBoxLayout;
    infButtons->addWidget(BitBtn_SaveInf);
    infButtons->addWidget(BitBtn_LoadInf);
    auto* mainButtons = new QHBoxLayout;
    mainButtons->addWidget(BitBtn_ReadNKP3);
    mainButtons->addWidget(BitBtn_SaveFile);
    mainButtons->addWidget(BitBtn_Close);
    // The identification scrolls on screens too small for the window; the
    // gauge, the main buttons and the status line stay in sight.
    auto* fields = new QWidget(this);
    fields->setObjectName(QStringLiteral("Form_ReadNKP3_Fields"));
    auto* fieldsLayout = new QVBoxLayout(fields);
    fieldsLayout->setContentsMargins(0, 0, 0, 0);
    fieldsLayout->addWidget(GroupBox_InputInf);
    fieldsLayout->addWidget(GroupBox1);
    fieldsLayout->addWidget(GroupBox2);
    fieldsLayout->addLayout(infButtons);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 2);
    layout->setSpacing(4);
    fieldsLayout->setSpacing(2);
    // Close rows, so that the fixed window shows every field without scrolling.
    for (QGroupBox* group : {GroupBox_InputInf, GroupBox1, GroupBox2}) {
        auto* grid = static_cast<QGridLayout*>(group->layout());
        grid->setContentsMargins(8, 4, 8, 4);
        grid->setVerticalSpacing(3);
    }
    layout->addWidget(nkp::ui::scrollable(fields), 1);
    auto* gaugeRow = new QHBoxLayout;
    gaugeRow->addWidget(CGauge_Process, 1);
    gaugeRow->addWidget(Label_Bytes);
    gaugeRow->addWidget(BitBtn_Abort);
    layout->addLayout(gaugeRow);
    layout->addLayout(mainButtons);
    layout->addWidget(StatusBar_ReadNKP3);
    nkp::ui::fitToScreen(this, sizeHint().expandedTo(QSize(553, 407)));
    // A fixed-size window: only the close box, neither minimise nor maximise;
    // on any screen whole.
    setFixedSize(size().boundedTo(nkp::ui::kSmallestRoom));

    connect(BitBtn_ReadNKP3, &QPushButton::clicked, this, &TForm_ReadNKP3::BitBtn_ReadNKP3Click);
    connect(BitBtn_SaveFile, &QPushButton::clicked, this, &TForm_ReadNKP3::BitBtn_SaveFileClick);
    connect(BitBtn_SaveInf, &QPushButton::clicked, this, &TForm_ReadNKP3::BitBtn_SaveInfClick);
    connect(BitBtn_LoadInf, &QPushButton::clicked, this, &TForm_ReadNKP3::BitBtn_LoadInfClick);
    connect(BitBtn_Close, &QPushButton::clicked, this, &TForm_ReadNKP3::BitBtn_CloseClick);
    connect(BitBtn_Abort, &QPushButton::clicked, this, &TForm_ReadNKP3::BitBtn_AbortClick);
    // The window is modal: its own F1 opens the guide's page on reading.
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [this] { nkp::ui::showHelpFor(this); });
}
