#pragma once

// What the windows that show a record's citations in a CitationTableView share in their building: the heading row
// with its field-choice buttons, the button that cites a source, and the sources editor opened on the selected
// citation's source.

#include <QString>

#include <functional>

class CitationTableView;
class FTMoc;
class QHBoxLayout;
class QLabel;
class QWidget;
class SelectASourceButton;
class SelectASourceDelegate;

namespace CitationPanes {
// `heading` in bold, taking the row's spare width, then the buttons that show every field of a source or its
// title only in every citations table (with their tool tips when `toolTips`); `refresh` is called after either.
QHBoxLayout* makeHeadingRow(QLabel* heading, std::function<void()> refresh, bool toolTips);
// The "Cite a Source" button: it offers the database's sources and hands the one chosen to `delegate`.
SelectASourceButton* makeCiteASourceButton(FTMoc* moc, SelectASourceDelegate* delegate, const QString& toolTip);
// The sources editor on the source of the citation selected in `table`, as a sheet on `owner`; `finished` runs
// when it closes. Nothing while the table's edit cannot end; "SelectSourceTryAgain" without such a citation.
void editSelectedSource(CitationTableView* table, FTMoc* moc, QWidget* owner, std::function<void()> finished);
}
