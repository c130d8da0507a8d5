#pragma once

// What the windows of the database-wide editors share in their building.

#include <QList>
#include <QString>

#include <functional>

class EditorTableView;
class EventsByDateModel;
class FTEvent;
class QAbstractItemModel;
class QLineEdit;
class QSplitter;
class QWidget;

namespace ToolsWindowHelpers {
// A search field: the find icon in front, a clear button, `placeholder` while empty.
QLineEdit* makeSearchField(const QString& objectName, const QString& placeholder);
// A table of one list of texts: whole rows selected (several with `several`), edited in place by a double click
// or F2 when the model allows it.
EditorTableView* makeTextTable(const QString& objectName, QAbstractItemModel* model, bool several, int pointSize);
// The events table: several rows may be selected, the date edited in place (a double click or F2) and checked
// with Dates::validateDateField before it is stored (`checksBirthOwner`: a birth's owner's family is checked too),
// a click on the date column's header flips the order.
EditorTableView* makeEventsTable(
    const QString& objectName, EventsByDateModel* model, int pointSize, bool checksBirthOwner);
// The selected rows of a table, ascending.
QList<int> selectedRows(const EditorTableView* table);
// Two panes side by side, sharing the width in the proportion leftShare : rightShare.
QSplitter* sideBySide(QWidget* left, QWidget* right, int leftShare, int rightShare);
}
