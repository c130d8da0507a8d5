#pragma once

#include <QFont>
#include <QLineF>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>

class FTPerson;

// Where a person's timeline puts everything in a view of a given size: ten decade columns fit the view's
// width; each dated event of the person and the spouses (and, with the parents' and children's events
// included, of theirs) is written into the column of its decade with the person's age and the date, rows of
// one decade stacked down their column. The window paints exactly this (PersonalTimelineView).
//
//   const PersonalTimelineLayout layout = PersonalTimelineLayout::make(person, true, view->size(), view->font());
//   for (const auto& row : layout.rows) ... draw row.text in row.rect
struct PersonalTimelineLayout {
    struct Label {
        QString text;  // "1950-1959"
        QPointF at;    // its top left
    };
    struct Row {
        QString text;  // "12.  3-Jun-1963\nMarried Hal Hart"
        int decade = 0;
        QRectF rect;   // where the text is drawn: its measured height, not the 1000 points it may take
    };

    double columnWidth = 0;
    int firstDecade = 0;
    int lastDecade = 0;
    QList<Label> labels;
    QList<Row> rows;
    QList<QLineF> lines;  // the line under the labels, then one at each column boundary inside the view

    // The layout of `person` in a view of `size`, text measured in `font`. Rows whose year is below 10 are
    // skipped; with no dated row there is one label, "0-9".
    static PersonalTimelineLayout make(FTPerson* person, bool includeRelatedEvents, const QSizeF& size,
        const QFont& font);
    // The height `text` takes when laid out `width` wide in `font`.
    static double textHeight(const QString& text, double width, const QFont& font);
};
