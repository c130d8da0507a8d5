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
    const double pixelsPerPoint = table.logicalDpiY() / 72.0;
    EXPECT_EQ(table.verticalHeader()->defaultSectionSize(), int(11 * 1.3 * pixelsPerPoint));
    EXPECT_GE(table.verticalHeader()->defaultSectionSize(), table.fontMetrics().height()) << "the text fits its row";
    SetFontSize(&table, 20);
    EXPECT_EQ(table.rowHeight(2), int(20 * 1.3 * pixelsPerPoint));
    SetFontSize(&table, 0);
    EXPECT_EQ(table.font().pointSize(), 20) << "a size of 0 changes nothing";
}
