#include "base/ColumnTable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Item {
    std::string name;
    double weight = 0;
};

std::string weightText(double weight, char separator)
{
    std::string text = std::to_string(static_cast<int>(weight * 10));
    text.insert(text.size() - 1, 1, separator);
    return text;
}

const nkp::table::Columns<Item> kColumns = {
    {"Имя", [](const Item& i, char) { return i.name; }},
    {"Масса; т", [](const Item& i, char sep) { return weightText(i.weight, sep); },
        [](const Item& i) { return std::optional<double>(i.weight); }, nkp::table::Alignment::Right},
};

}  // namespace

TEST(ColumnTable, CsvHasTheHeadingsThenOneLinePerRowWithTheGivenSeparator)
{
    const std::vector<Item> items = {{"кран", 2.5}, {"=1+1", 10}, {"a\"b", 1.5}};
    EXPECT_EQ(nkp::table::csvText(kColumns, items, ',', false),
        "Имя;\"Масса; т\"\r\n"
        "кран;2,5\r\n"
        "'=1+1;10,0\r\n"
        "\"a\"\"b\";1,5\r\n");
    EXPECT_EQ(
        nkp::table::csvText(kColumns, std::vector<Item> {}, '.', true), "\xEF\xBB\xBFИмя;\"Масса; т\"\r\n");
    EXPECT_EQ(nkp::table::csvText(kColumns, std::vector<Item> {{"x", 1}}, '.', false),
        "Имя;\"Масса; т\"\r\nx;1.0\r\n");
}
