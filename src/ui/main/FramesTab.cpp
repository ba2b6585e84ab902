#include "ui/main/FramesTab.h"

#include "analysis/FrameCodeText.h"
#include "analysis/FrameTableText.h"
#include "analysis/Selection.h"
#include "ui/common/ScreenFit.h"
#include "ui/common/UiText.h"
#include "ui/main/FrameGridDelegate.h"
#include "ui/main/FrameTableModel.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>

namespace {

constexpr int kColumnWidth = 115;
constexpr int kRowHeight = 17;
constexpr int kNewestFirstColumn = 10995;  // the five newest of 11000 positions
constexpr int kWheelNotch = 120;           // angle delta of one wheel step

const char* const kRowCaptions[nkp::analysis::kFrameTableRows] = {"Номер кадра", "Дата записи",
    "Время записи", "Угол наклона стрелы, град", "Длина стрелы, м", "Вылет, м", "Давление, атм",
    "Масса груза, т", "Азимут, град", "Степень загрузки, %", "Запасовка/Режим", "Дискретные входы",
    "Выходн.реле", "Введенные/Сработав. огран.", "Коды отказа", "Контрольная сумма"};

QString info(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

}  // namespace

FramesTab::FramesTab(
    nkp::screen::MainState& state, nkp::UserPrompts& prompts, char decimalSeparator, QWidget* parent)
    : QWidget(parent)
    , state_(state)
    , prompts_(prompts)
    , decimalSeparator_(decimalSeparator)
{
    setObjectName(QStringLiteral("TabSheet_Cikl"));

    frameModel_ = new FrameTableModel(state_, decimalSeparator_, this);
    StringGrid_O_Otb = new QTableView(this);
    StringGrid_O_Otb->setObjectName(QStringLiteral("StringGrid_O_Otb"));
    StringGrid_O_Otb->setModel(frameModel_);
    StringGrid_O_Otb->horizontalHeader()->hide();
    StringGrid_O_Otb->verticalHeader()->hide();
    StringGrid_O_Otb->horizontalHeader()->setMinimumSectionSize(1);
    StringGrid_O_Otb->verticalHeader()->setMinimumSectionSize(1);
    StringGrid_O_Otb->horizontalHeader()->setDefaultSectionSize(kColumnWidth);
    StringGrid_O_Otb->verticalHeader()->setDefaultSectionSize(kRowHeight);
    StringGrid_O_Otb->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid_O_Otb->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid_O_Otb->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid_O_Otb->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid_O_Otb->setWordWrap(false);
    StringGrid_O_Otb->setFont(QFont(QStringLiteral("MS Sans Serif"), 8, QFont::Bold));
    QPalette palette = StringGrid_O_Otb->palette();
    palette.setColor(QPalette::Text, QColor(0, 0, 128));
    StringGrid_O_Otb->setPalette(palette);
    StringGrid_O_Otb->viewport()->setCursor(Qt::PointingHandCursor);
    const QString hint = QStringLiteral("Для расшифровки кодов укажите ячейку");
    StringGrid_O_Otb->setToolTip(hint);
    StringGrid_O_Otb->setStatusTip(hint);
    StringGrid_O_Otb->setItemDelegate(new FrameGridDelegate(StringGrid_O_Otb));
    const int frame = 2 * StringGrid_O_Otb->frameWidth();
    StringGrid_O_Otb->setFixedSize(kColumnWidth * nkp::analysis::kFrameTableColumns + frame,
        kRowHeight * nkp::analysis::kFrameTableRows + frame);
    // A click on a coded cell decodes it.
    connect(StringGrid_O_Otb, &QTableView::clicked, this,
        [this](const QModelIndex& index) { decodeCell(index.row(), index.column()); });
    // The wheel and PageUp/PageDown over the table page through the frames;
    // Ctrl+Home and Ctrl+End go to the first and the last.
    StringGrid_O_Otb->installEventFilter(this);
    StringGrid_O_Otb->viewport()->installEventFilter(this);

    ScrollBar_Cikl = new QScrollBar(Qt::Horizontal, this);
    ScrollBar_Cikl->setObjectName(QStringLiteral("ScrollBar_Cikl"));
    ScrollBar_Cikl->setRange(0, 100);
    ScrollBar_Cikl->setPageStep(nkp::analysis::kFrameTableColumns);
    ScrollBar_Cikl->setFixedWidth(StringGrid_O_Otb->width());
    connect(ScrollBar_Cikl, &QScrollBar::valueChanged, this, &FramesTab::ScrollBar_CiklChange);

    // The table and the selections scroll on screens too small for them.
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("TabSheet_Cikl_Content"));
    auto* table = new QGridLayout;
    table->setSpacing(0);
    table->addWidget(buildCaptions(), 0, 0, 2, 1);
    table->addWidget(StringGrid_O_Otb, 0, 1);
    table->addWidget(ScrollBar_Cikl, 1, 1);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(table);
    layout->addWidget(buildSelections());
    layout->addStretch(1);
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(0, 0, 0, 0);
    page->addWidget(nkp::ui::scrollable(content));
    ScrollBar_CiklChange();
}

QFrame* FramesTab::buildCaptions()
{
    Panel7 = new QFrame(this);
    Panel7->setObjectName(QStringLiteral("Panel7"));
    Panel7->setFrameShape(QFrame::StyledPanel);
    auto* column = new QVBoxLayout(Panel7);
    column->setContentsMargins(4, StringGrid_O_Otb->frameWidth(), 4, 2);
    column->setSpacing(0);
    for (const char* text : kRowCaptions) {
        auto* label = new QLabel(info(text));
        label->setFixedHeight(kRowHeight);
        column->addWidget(label);
    }
    column->addStretch(1);
    column->addSpacing(4);
    auto* count = new QHBoxLayout;
    Label72 = new QLabel(QStringLiteral("Отобрано кадров:"));
    Label72->setObjectName(QStringLiteral("Label72"));
    Label_O_OtbZap = new QLabel(nkp::ui::fromCp1251(state_.selectionCountText));
    Label_O_OtbZap->setObjectName(QStringLiteral("Label_O_OtbZap"));
    Label_O_OtbZap->setTextFormat(Qt::PlainText);
    count->addWidget(Label72);
    count->addWidget(Label_O_OtbZap);
    count->addStretch(1);
    column->addLayout(count);
    return Panel7;
}

QLineEdit* FramesTab::numberEdit(const char* name, const QString& text)
{
    auto* e = new QLineEdit(text);
    e->setObjectName(QString::fromLatin1(name));
    e->setMaximumWidth(60);
    e->installEventFilter(this);
    // Pasted text goes through the same rule as typed keys.
    e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), e));
    return e;
}

QPushButton* FramesTab::button(const char* name, int tag)
{
    auto* b = new QPushButton(QStringLiteral("Вывести"));
    b->setObjectName(QString::fromLatin1(name));
    b->setProperty("tag", tag);
    connect(b, &QPushButton::clicked, this, &FramesTab::BitBtn_OtborClick);
    return b;
}

QWidget* FramesTab::buildSelections()
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 4, 0, 0);

    GroupBox2 = new QGroupBox(QStringLiteral("Вывести кадры со степенью загрузки более..."), row);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    auto* load = new QHBoxLayout(GroupBox2);
    load->addWidget(new QLabel(QStringLiteral("М >")));
    load->addWidget(Edit_Mmax = numberEdit("Edit_Mmax", QStringLiteral("100")));
    load->addWidget(BitBtn_MaxM = button("BitBtn_MaxM", 1));
    connect(Edit_Mmax, &QLineEdit::returnPressed, this, [this] { runSelection(1); });

    GroupBox8 = new QGroupBox(QStringLiteral("Вывести кадры в диапазоне"), row);
    GroupBox8->setObjectName(QStringLiteral("GroupBox8"));
    auto* range = new QHBoxLayout(GroupBox8);
    range->addWidget(new QLabel(QStringLiteral("с")));
    range->addWidget(Edit_KHome = numberEdit("Edit_KHome", QStringLiteral("0")));
    range->addWidget(new QLabel(QStringLiteral("по")));
    range->addWidget(Edit_KEnd = numberEdit("Edit_KEnd", QStringLiteral("40")));
    range->addWidget(BitBtn_DKadr = button("BitBtn_DKadr", 2));
    connect(Edit_KHome, &QLineEdit::returnPressed, this, [this] { runSelection(2); });
    connect(Edit_KEnd, &QLineEdit::returnPressed, this, [this] { runSelection(2); });

    GroupBox9 = new QGroupBox(QStringLiteral("Вывести кадры по дате"), row);
    GroupBox9->setObjectName(QStringLiteral("GroupBox9"));
    auto* date = new QHBoxLayout(GroupBox9);
    DateTimePicker_Data = new QDateEdit(QDate::currentDate());
    DateTimePicker_Data->setObjectName(QStringLiteral("DateTimePicker_Data"));
    DateTimePicker_Data->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    DateTimePicker_Data->setCalendarPopup(true);
    // A click selects the day, month or year under the mouse, so that the
    // digits typed next replace it instead of being inserted into it.
    if (auto* text = DateTimePicker_Data->findChild<QLineEdit*>())
        text->installEventFilter(this);
    // Enter applies the day, as it applies the other selections.
    DateTimePicker_Data->installEventFilter(this);
    date->addWidget(DateTimePicker_Data);
    date->addWidget(BitBtn_DataSel = button("BitBtn_DataSel", 3));

    layout->addWidget(GroupBox2);
    layout->addWidget(GroupBox8);
    layout->addWidget(GroupBox9);
    return row;
}

void FramesTab::ScrollBar_CiklChange()
{
    frameModel_->showFrom(ScrollBar_Cikl->value());
}

void FramesTab::decodeCell(int row, int column)
{
    const int slot = ScrollBar_Cikl->value() + column;
    const int size = static_cast<int>(state_.FrameOrder.size());
    const int position = slot >= 0 && slot < size ? state_.FrameOrder[static_cast<std::size_t>(slot)] : -1;
    if (position < 0 || position >= static_cast<int>(state_.frames.size()))
        return;
    const nkp::analysis::FrameCodeText text = nkp::analysis::frameCodeText(state_.recordAt(position), row);
    if (text.empty())
        return;
    emit codeDecoded(nkp::ui::fromCp1251(text.brief), nkp::ui::fromCp1251(text.full));
}

void FramesTab::setScroll(int maximum, int position)
{
    {
        const QSignalBlocker blocker(ScrollBar_Cikl);
        ScrollBar_Cikl->setRange(0, maximum);
        ScrollBar_Cikl->setValue(position);
    }
    ScrollBar_CiklChange();
}

void FramesTab::showLoaded()
{
    // The list is the whole new read-out now; the count changes only with a selection.
    // The date picker starts at the day of the newest frame, near the data.
    const QDate newest = QDate::fromString(
        QString::fromLatin1(state_.newestFrameTime.substr(0, 10).c_str()), QStringLiteral("dd.MM.yyyy"));
    if (newest.isValid())
        DateTimePicker_Data->setDate(newest);
    setScroll(kNewestFirstColumn, kNewestFirstColumn);
}

void FramesTab::pageBy(int pages)
{
    scrollTo(ScrollBar_Cikl->value() + pages * ScrollBar_Cikl->pageStep());
}

void FramesTab::scrollTo(int position)
{
    ScrollBar_Cikl->setValue(std::clamp(position, ScrollBar_Cikl->minimum(), ScrollBar_Cikl->maximum()));
}

std::optional<long long> FramesTab::numberOf(QLineEdit* edit)
{
    const std::optional<long long> n = nkp::analysis::parseEditNumber(edit->text().toStdString());
    if (!n) {
        prompts_.error("Ошибка", "Введите число");
        edit->setFocus();
    }
    return n;
}

void FramesTab::BitBtn_OtborClick()
{
    if (const QObject* b = sender())
        runSelection(b->property("tag").toInt());
}

void FramesTab::runSelection(int tag)
{
    int count = 0;
    if (tag == 1) {
        const std::optional<long long> threshold = numberOf(Edit_Mmax);
        if (!threshold)
            return;
        count = nkp::analysis::selectByLoad(state_, *threshold);
    } else if (tag == 2) {
        const std::optional<long long> from = numberOf(Edit_KHome);
        if (!from)
            return;
        const std::optional<long long> to = numberOf(Edit_KEnd);
        if (!to)
            return;
        if (*to < *from) {
            // Refused before anything is selected: the list and the table stay.
            prompts_.error("Ошибка", "Начальный кадр больше конечного");
            Edit_KHome->setFocus();
            return;
        }
        count = nkp::analysis::selectByRange(state_, *from, *to);
        if (count < 0)
            return;
    } else if (tag == 3) {
        const QString date = DateTimePicker_Data->date().toString(QStringLiteral("dd.MM.yyyy"));
        count = nkp::analysis::selectByDate(state_, date.toStdString());
    } else {
        return;
    }
    Label_O_OtbZap->setText(nkp::ui::fromCp1251(state_.selectionCountText));
    if (count > 0) {
        setScroll(count < 6 ? 5 : count - 5, std::max(count - 5, 0));
    } else {
        prompts_.information("Информация", "Кадров удовлетворяющих условию не обнаружено!");
    }
}

bool FramesTab::Edit_KeyPress(QChar key)
{
    return (key >= QLatin1Char('0') && key <= QLatin1Char('9')) || key.unicode() == 8;
}

bool FramesTab::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress
        && (watched == Edit_Mmax || watched == Edit_KHome || watched == Edit_KEnd)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        // Keys without a character (arrows, Delete) and control characters
        // such as the clipboard shortcuts are not typed characters.
        if (text.size() == 1 && text.at(0).isPrint() && !Edit_KeyPress(text.at(0)))
            return true;
    }
    if (event->type() == QEvent::KeyPress && watched == DateTimePicker_Data) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            DateTimePicker_Data->interpretText();
            runSelection(3);
            return true;
        }
    }
    if (event->type() == QEvent::MouseButtonRelease && watched->parent() == DateTimePicker_Data) {
        QDateEdit* picker = DateTimePicker_Data;
        QTimer::singleShot(0, picker, [picker] { picker->setSelectedSection(picker->currentSection()); });
    }
    if (watched == StringGrid_O_Otb || watched == StringGrid_O_Otb->viewport()) {
        if (event->type() == QEvent::Wheel) {
            // Whole steps of the wheel page back (away from the user) or on;
            // touchpads deliver small steps, which add up.
            wheelDelta_ += static_cast<QWheelEvent*>(event)->angleDelta().y();
            const int steps = wheelDelta_ / kWheelNotch;
            wheelDelta_ -= steps * kWheelNotch;
            if (steps != 0)
                pageBy(-steps);
            return true;
        }
        if (event->type() == QEvent::KeyPress && watched == StringGrid_O_Otb) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_PageUp || key == Qt::Key_PageDown) {
                pageBy(key == Qt::Key_PageUp ? -1 : 1);
                return true;
            }
            if ((key == Qt::Key_Home || key == Qt::Key_End)
                && static_cast<QKeyEvent*>(event)->modifiers().testFlag(Qt::ControlModifier)) {
                scrollTo(key == Qt::Key_Home ? ScrollBar_Cikl->minimum() : ScrollBar_Cikl->maximum());
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

QString FramesTab::firstFrameText() const
{
    return Edit_KHome->text();
}

QString FramesTab::lastFrameText() const
{
    return Edit_KEnd->text();
}
