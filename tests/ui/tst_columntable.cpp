// The one table model of the windows over a column list.
#include "ui/common/ColumnTableModel.h"

#include <QAbstractItemModelTester>
#include <QBrush>
#include <QSortFilterProxyModel>
#include <QtTest>

namespace {

struct Item {
    std::string name;
    std::optional<int> count;
};

nkp::table::Columns<Item> columns()
{
    return {
        {"Имя", [](const Item& i, char) { return i.name; }},
        {"Количество, шт",
            [](const Item& i, char sep) { return i.count ? std::to_string(*i.count) + sep : "-"; },
            [](const Item& i) { return i.count ? std::optional<double>(*i.count) : std::nullopt; },
            nkp::table::Alignment::Right},
    };
}

}  // namespace

class TestColumnTable : public QObject {
    Q_OBJECT
private slots:
    void servesTextsAlignmentHeadingsAndRoles();
    void sortsNumbersAsNumbersAndTextsAsTexts();
};

void TestColumnTable::servesTextsAlignmentHeadingsAndRoles()
{
    nkp::ui::TableModel<Item> model(columns(), ',');
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setRows({{"кран", 12}, {"таль", std::nullopt}});
    model.setCellRoles([](int row, int column, int role) {
        return role == Qt::BackgroundRole && row == 1 && column == 0 ? QVariant(QBrush(Qt::red)) : QVariant();
    });

    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.columnCount(), 2);
    struct Case {
        int row, column, role;
        QVariant expected;
    };
    const QVariant left = QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    const QVariant right = QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    const Case cases[] = {
        {0, 0, Qt::DisplayRole, QStringLiteral("кран")},
        {0, 1, Qt::DisplayRole, QStringLiteral("12,")},  // the separator reaches the texts
        {1, 1, Qt::DisplayRole, QStringLiteral("-")},
        {0, 0, Qt::TextAlignmentRole, left},
        {0, 1, Qt::TextAlignmentRole, right},
        {0, 0, nkp::ui::ColumnTableModel::kSortRole, QStringLiteral("кран")},
        {0, 1, nkp::ui::ColumnTableModel::kSortRole, 12.0},
        {1, 1, nkp::ui::ColumnTableModel::kSortRole, std::numeric_limits<double>::lowest()},
        {1, 0, Qt::BackgroundRole, QBrush(Qt::red)},
        {0, 0, Qt::BackgroundRole, QVariant()},
    };
    for (const Case& c : cases)
        QCOMPARE(model.index(c.row, c.column).data(c.role), c.expected);

    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Количество, шт"));
    QVERIFY(!model.headerData(1, Qt::Horizontal, Qt::ToolTipRole).isValid());
    model.setShownHeaders({QStringLiteral("Имя"), QStringLiteral("Кол.")});
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Кол."));
    QCOMPARE(
        model.headerData(1, Qt::Horizontal, Qt::ToolTipRole).toString(), QStringLiteral("Количество, шт"));

    // Long headings on two lines, broken at the blank nearest the middle.
    model.setTwoLineHeaders(10);
    QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Имя"));
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Количество,\nшт"));
    const struct {
        const char *heading, *shown;
    } headings[] = {
        {"Перегрузок (эпизодов)", "Перегрузок\n(эпизодов)"},
        {"Дата последнего считывания", "Дата последнего\nсчитывания"},
        {"Характеристическое", "Характеристическое"},  // no blank to break at
        {"Рост в год", "Рост в год"},                  // short enough
    };
    for (const auto& h : headings)
        QCOMPARE(nkp::ui::twoLineHeading(QString::fromUtf8(h.heading), 10), QString::fromUtf8(h.shown));

    model.setRows({});
    QCOMPARE(model.rowCount(), 0);
}

void TestColumnTable::sortsNumbersAsNumbersAndTextsAsTexts()
{
    nkp::ui::TableModel<Item> model(columns(), '.');
    model.setRows({{"б", 9}, {"в", std::nullopt}, {"а", 100}, {"г", 10}});
    QSortFilterProxyModel proxy;
    proxy.setSourceModel(&model);
    proxy.setSortRole(nkp::ui::ColumnTableModel::kSortRole);
    const auto order = [&proxy] {
        QString names;
        for (int r = 0; r < proxy.rowCount(); ++r)
            names += proxy.index(r, 0).data().toString();
        return names;
    };
    proxy.sort(1, Qt::AscendingOrder);
    QCOMPARE(order(), QStringLiteral("вбга"));  // no number first, then 9 < 10 < 100
    proxy.sort(0, Qt::DescendingOrder);
    QCOMPARE(order(), QStringLiteral("гвба"));
}

QTEST_MAIN(TestColumnTable)
#include "tst_columntable.moc"
