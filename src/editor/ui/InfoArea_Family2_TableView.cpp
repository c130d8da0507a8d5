#include "editor/ui/InfoArea_Family2_TableView.h"

#include "editor/ui/FamilyChildrenDelegate.h"
#include "editor/ui/FamilyChildrenModel.h"

#include "model/FTEvent.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"

#include <QFontInfo>
#include <QHeaderView>
#include <QStyle>


InfoArea_Family2_TableView::InfoArea_Family2_TableView(QWidget* parent)
    : FamilyTableView(parent)
{
    setObjectName(QStringLiteral("tv"));
    setItemDelegate(new FamilyChildrenDelegate(this));
}

FamilyTableKeys::Move InfoArea_Family2_TableView::keyMove(
    const QString& column, FamilyTableKeys::Command command, int row) const
{
    return FamilyTableKeys::pageMove(column, command, row, model() ? model()->rowCount() : 0);
}

FamilyChildrenLayout::Widths InfoArea_Family2_TableView::columnWidthsFor(double visibleWidth) const
{
    // The widths are for an 11-point font as many pixels high: a larger face widens the fixed columns with it.
    const double scale = std::max(1.0, QFontInfo(font()).pixelSize() / 11.0);
    bool birthNotesEmpty = true;
    bool deathNotesEmpty = true;
    if (const FamilyChildrenModel* children = childrenModel())
        for (int r = 0; r < children->childCount(); ++r)
            if (const FTPerson* child = children->child(r)) {
                birthNotesEmpty = birthNotesEmpty && (!child->birth() || child->birth()->notes().isEmpty());
                deathNotesEmpty = deathNotesEmpty && (!child->death() || child->death()->notes().isEmpty());
            }
    // A narrowed notes column still shows its heading whole.
    int headingWidth = 0;
    for (const char* key : {"FamilyColumnBirthNotes", "FamilyColumnDeathNotes"})
        headingWidth = std::max(headingWidth, horizontalHeader()->fontMetrics().horizontalAdvance(
                                                  LocalizedString(QString::fromLatin1(key))));
    headingWidth += 2 * style()->pixelMetric(QStyle::PM_HeaderMargin) + 4;
    return FamilyChildrenLayout::pageColumnWidths(visibleWidth, scale, birthNotesEmpty, deathNotesEmpty,
                                                  headingWidth);
}
