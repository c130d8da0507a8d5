#include "shell/ui/SetFontSize.h"

#include <QHeaderView>
#include <QStandardItemModel>
#include <QTableView>

#include <gtest/gtest.h>

TEST(SetFontSize, FontAndRowHeight)
{
    QTableView table;
    QStandardItemModel model(3, 2);
    table.setModel(&model);
    const QString family = table.font().family();
    SetFontSize(&table, 11);
    EXPECT_EQ(table.font().pointSize(), 11);
    EXPECT_EQ(table.font().family(), family);
    EXPECT_EQ(table.verticalHeader()->defaultSectionSize(), 14);  // 11 x 1.3 = 14.3
    SetFontSize(&table, 20);
    EXPECT_EQ(table.rowHeight(2), 26);
    SetFontSize(&table, 0);
    EXPECT_EQ(table.font().pointSize(), 20) << "a size of 0 changes nothing";
}
