#include "editor/ui/FamilyDialogTableView.h"

FamilyDialogTableView::FamilyDialogTableView(QWidget* parent)
    : FamilyTableView(parent)
{
}

FamilyTableKeys::Move FamilyDialogTableView::keyMove(
    const QString& column, FamilyTableKeys::Command command, int row) const
{
    return FamilyTableKeys::dialogMove(column, command, row, model() ? model()->rowCount() : 0, m_usesDummyObject);
}

FamilyChildrenLayout::Widths FamilyDialogTableView::columnWidthsFor(double visibleWidth) const
{
    // Room for a whole day, month and year, as the dates are shown.
    const int date = fontMetrics().horizontalAdvance(QStringLiteral("28 May 1928"))
        + 2 * FamilyChildrenLayout::kCellMargin + 4;
    return FamilyChildrenLayout::dialogColumnWidths(visibleWidth, date);
}

void FamilyDialogTableView::setColumnWidths()
{
    if (childrenModel()) {
        FamilyTableView::setColumnWidths();
        return;
    }
    // The events: type, name, date and place.
    static const int weights[] = {25, 32, 15, 28};
    const int width = viewport()->width();
    for (int c = 0; model() && c < model()->columnCount() && c < 4; ++c)
        setColumnWidth(c, width * weights[c] / 100);
}
