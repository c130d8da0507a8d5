#pragma once

// What the windows of the sources editor share in their building.

#include <QList>
#include <QString>

#include <functional>

class FTSource;
class FTSourceRel;
class QAbstractItemModel;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QSplitter;
class QTableView;
class QTextEdit;
class QToolButton;
class QWidget;
class SourceListModel;
class WhereUsedModel;

namespace SourcesWindowHelpers {
// A push button that never becomes the default (Return stays with the text fields), with a theme icon when named,
// calling `action` when clicked.
QPushButton* makeButton(
    const QString& objectName, const QString& text, std::function<void()> action, const QString& icon = {});
// The window's "Close" button, the default one.
QPushButton* makeCloseButton(std::function<void()> action);
// The help button (a theme icon without a frame).
QToolButton* makeHelpButton(const QString& objectName, std::function<void()> action);
// The window's background in the panel colour.
void usePanelColour(QWidget* window);

// A read-only list of rows named `objectName` over `model`: whole rows selected (one, or several with
// `several`), alternating colours, one line a row, no row numbers, cells of `pointSize`.
QTableView* makeListTable(const QString& objectName, QAbstractItemModel* model, bool several, int pointSize);

// The selected sources of a table of `list`, in row order; and the one citation selected in a table of
// `citations` (null for none).
QList<FTSource*> selectedSources(const QTableView* table, const SourceListModel* list);
FTSourceRel* selectedCitation(const QTableView* table, const WhereUsedModel* citations);

// A framed, selectable label for a source's description.
QLabel* makeSourceLabel(const QString& objectName);
// A read-only view of a citation's notes in `pointSize`, stacked under `table` in a split view of which the
// table takes the larger part.
QTextEdit* makeNotesView(int pointSize);
QSplitter* stackTableOverNotes(QTableView* table, QTextEdit* notes);

// The option menu of a source search field: one checkable entry per option (SourceSearch), the one titled
// `current` ticked, opened from the field's find icon; the placeholder names the option. `chosen` receives the
// entry the user picks.
QMenu* makeSearchMenu(QLineEdit* field, QWidget* owner, const QString& current, std::function<void(QAction*)> chosen);
// Ticks `option` alone in its menu, keeps its title as the user's choice and names it in the placeholder;
// answers the title.
QString chooseSearchOption(QMenu* menu, QLineEdit* field, QAction* option);
}
