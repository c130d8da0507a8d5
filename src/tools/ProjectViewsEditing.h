#pragma once

#include "shell/AncestralViewsList.h"

#include <QDateTime>
#include <QList>
#include <QString>

class FTMoc;
class FTPerson;
class FTProjectView;

// The project views editor's work: every view of the database by name beside the members of the chosen one;
// adding and removing views; the focal person's ancestral view (one a person, renamed and refreshed on every run);
// making the chosen view current (offering its root as the focal person) or no view current; and the listing of
// the chosen view's members as an RTF file in the reports folder, short (name and years) or long (births,
// marriages and deaths).
//
//   ProjectViewsEditing editing(moc);
//   editing.selectRow(0);
//   editing.selectAsCurrentActiveView();     // current; asks about the root of an ancestral view
//   editing.print();                          // asks short or long, writes, opens: the path, or empty
class ProjectViewsEditing {
public:
    explicit ProjectViewsEditing(FTMoc* moc);

    FTMoc* moc() const { return m_list.moc(); }
    AncestralViewsList& list() { return m_list; }
    const QList<FTProjectView*>& views() const { return m_list.views(); }
    int selectedRow() const { return m_list.selectedRow(); }
    FTProjectView* selectedView() const { return m_list.selectedView(); }
    // Chooses a row (-1: none) without making its view current.
    void selectRow(int row) { m_list.setSelectedRow(row); }
    // The views again, by name, keeping the chosen view chosen.
    void reload();

    // The members of the chosen view, by name with years; empty without one.
    QList<FTPerson*> members() const;

    // A new plain view (undoable), named for the user to rename, and chosen.
    FTProjectView* addView();
    // Deletes the chosen view; a message without one.
    void removeView();

    // "<name>'s ancestors": the focal person's ancestral view, made once a person.
    static QString ancestralViewName(const FTPerson& person);
    // Builds or refreshes the focal person's ancestral view, makes it current, saves and chooses it. Null
    // without a focal person.
    FTProjectView* createAncestralViewForFocalPerson();
    // The chosen view becomes current ("SelectViewTryAgain" without one); for an ancestral view the user is asked
    // whether its root becomes the focal person.
    void selectAsCurrentActiveView();
    // No view is current.
    void deactivateActiveView();

    // The moment the listing's title names (now unless set).
    void setDateTime(const QDateTime& moment) { m_moment = moment; }
    // Asks short or long entries, writes the chosen view's listing and opens it in the RTF application the user
    // chose: the path written, or empty after a message.
    QString print();
    // The listing of `view` alone: the path written (a free name after the view's, never over a file), or empty
    // after a message.
    QString writeReport(FTProjectView* view, bool longEntries);

private:
    AncestralViewsList m_list;
    QDateTime m_moment;
};
