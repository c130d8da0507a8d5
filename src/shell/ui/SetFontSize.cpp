#include "shell/ui/SetFontSize.h"

#include <algorithm>

#include <QApplication>
#include <QHeaderView>
#include <QTableView>

namespace {
constexpr int kDesignedTextSize = 11;
}

int desktopPointSize(int pointSize)
{
    const int desktop = QApplication::font().pointSize();
    // A desktop font given in pixels has no point size to measure from.
    if (desktop <= 0)
        return pointSize;
    return std::max(1, desktop + pointSize - kDesignedTextSize);
}

void SetFontSize(QTableView* table, int pointSize)
{
    if (!table || pointSize <= 0)
        return;
    pointSize = desktopPointSize(pointSize);
    QFont font = table->font();
    font.setPointSize(pointSize);
    table->setFont(font);
    table->verticalHeader()->setMinimumSectionSize(0);
    // Rows are 1.3 times the font size in points; the table measures in pixels, which are smaller than points
    // on most Linux screens (96 dots per inch), so a row counted in pixels would cut its text off.
    table->verticalHeader()->setDefaultSectionSize(int(pointSize * 1.3 * table->logicalDpiY() / 72.0));
}
