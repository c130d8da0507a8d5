#include "shell/ui/SetFontSize.h"

#include <QApplication>
#include <QHeaderView>
#include <QStandardItemModel>
#include <QTableView>

#include <gtest/gtest.h>

// 11 points is the desktop's text size; other sizes keep their distance from it, and the rows their text.
TEST(SetFontSize, ElevenIsTheDesktopsSizeAndRowsFitTheText)
{
    const QFont desktop = QApplication::font();
    struct Case {
        int desktopSize, given, expected;
    };
    for (const Case c : {Case {9, 11, 9}, Case {9, 14, 12}, Case {10, 6, 5}, Case {11, 11, 11}, Case {2, 6, 1}}) {
        SCOPED_TRACE(c.desktopSize * 100 + c.given);
        QFont font = desktop;
        font.setPointSize(c.desktopSize);
        QApplication::setFont(font);
        EXPECT_EQ(desktopPointSize(c.given), c.expected);

        QTableView table;
        QStandardItemModel model(3, 2);
        table.setModel(&model);
        SetFontSize(&table, c.given);
        EXPECT_EQ(table.font().pointSize(), c.expected);
        EXPECT_EQ(table.font().family(), desktop.family());
        EXPECT_EQ(table.rowHeight(2), int(c.expected * 1.3 * table.logicalDpiY() / 72.0));
        if (c.expected >= 9)
            EXPECT_GE(table.rowHeight(2), table.fontMetrics().height()) << "the text fits its row";
        SetFontSize(&table, 0);
        EXPECT_EQ(table.font().pointSize(), c.expected) << "a size of 0 changes nothing";
    }
    QApplication::setFont(desktop);
}
