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
    table->verticalHeader()->setDefaultSectionSize(int(pointSize * 1.3));
}
