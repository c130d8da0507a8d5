#pragma once

#include "merge/PeopleMatching.h"

#include <QHash>
#include <QList>

class FTPerson;

// One side's list of people in the compare-and-merge window as it is shown: every person of the side, in the order
// of the match mode, narrowed by the search. Row numbers are positions in arranged().
//
//   ComparePeopleList list;
//   list.setPeople(moc->fetch<FTPerson>());
//   list.setSortMode(PeopleMatching::matchMode());
//   list.setFilter(PeopleMatching::searchFilter(field, text));
class ComparePeopleList {
public:
    // Every person of the side, in any order; sorted at once.
    void setPeople(const QList<FTPerson*>& people);
    void setSortMode(int matchMode);
    int sortMode() const { return m_sortMode; }
    // Null shows everyone.
    void setFilter(const PeopleMatching::Filter& filter);
    bool isFiltered() const { return bool(m_filter); }
    // Drops a person (about to be deleted) from the list.
    void remove(const FTPerson* person);

    const QList<FTPerson*>& arranged() const { return m_arranged; }
    // Everyone, in order, whatever the filter.
    const QList<FTPerson*>& sorted() const { return m_sorted; }
    qsizetype count() const { return m_arranged.size(); }
    FTPerson* at(qsizetype row) const { return row >= 0 && row < m_arranged.size() ? m_arranged[row] : nullptr; }
    // The row of a person; -1 when not shown.
    int rowOf(const FTPerson* person) const;

private:
    void arrange();

    QList<FTPerson*> m_sorted;
    QList<FTPerson*> m_arranged;
    PeopleMatching::Filter m_filter;
    int m_sortMode = 0;
    mutable QHash<const FTPerson*, int> m_rows; // made on the first rowOf() after a change
};
