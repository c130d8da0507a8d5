#pragma once

#include <QList>
#include <QString>

class FTSource;

// What a source menu button (SelectASourceButton) tells its owner when the user chooses from its menu. The toolbar
// chooses the active source; every other owner (the citations page, the citation sheets, the active source panel,
// the picture citations window) cites the chosen source. An owner that can let the user pick among several sources
// (the source search dialog) answers respondsToSourceSearch(); the menu then offers the search entry and hands it
// groups of several sources.
//
//   class Page : public SelectASourceDelegate {
//       void addReference(FTSource* s) override { person->addReferenceToSource(s); }
//   };
class SelectASourceDelegate {
public:
    virtual ~SelectASourceDelegate() = default;

    // True for the toolbar: one source goes to setActiveSource(), and a group of several is refused with a message
    // that asks for unique titles.
    virtual bool isToolbar() const { return false; }
    virtual void setActiveSource(FTSource* /*source*/) { }
    // One source chosen by any other owner.
    virtual void addReference(FTSource* /*source*/) { }
    // Whether selectASourceFromArray() is answered.
    virtual bool respondsToSourceSearch() const { return false; }
    // Several candidates (a group of the menu, or every source for the search entry), with the text to show above
    // the list that the user picks from.
    virtual void selectASourceFromArray(const QList<FTSource*>& /*sources*/, const QString& /*criteria*/) { }
};
