#include "shell/ui/SetFontSize.h"

#include <QHeaderView>
#include <QTableView>

void SetFontSize(QTableView* table, int pointSize)
{
    if (!table || pointSize <= 0)
        return;
    QFont font = table->font();
    font.setPointSize(pointSize);
    table->setFont(font);
    table->verticalHeader()->setMinimumSectionSize(0);
    // Rows are 1.3 times the font size in points; the table measures in pixels, which are smaller than points
    // on most Linux screens (96 dots per inch), so a row counted in pixels would cut its text off.
    table->verticalHeader()->setDefaultSectionSize(int(pointSize * 1.3 * table->logicalDpiY() / 72.0));
}
