#pragma once

#include "merge/PeopleMatching.h"

#include <QHash>
#include <QList>
#include <QStringList>

#include <array>
#include <vector>

class FTPerson;

// One side's list of people in the compare-and-merge window as it is shown: every person of the side, in the order
// of the match mode, narrowed by the search. Row numbers are positions in arranged().
//
//   ComparePeopleList list;
//   list.setPeople(moc->fetch<FTPerson>());
//   list.setSortMode(PeopleMatching::matchMode());
//   list.setSearch(PeopleSearch(PeopleMatching::SearchField::Name, "an"));
class ComparePeopleList {
public:
    // Every person of the side, in any order; sorted at once.
    void setPeople(const QList<FTPerson*>& people);
    void setSortMode(int matchMode);
    int sortMode() const { return m_sortMode; }
    // An empty search shows everyone.
    void setSearch(const PeopleSearch& search);
    bool isFiltered() const { return !m_search.isEmpty(); }
    // Drops a person (about to be deleted) from the list.
    void remove(const FTPerson* person);
    // The people's names, places, years or ids changed: the next search reads them again.
    void forgetSearchValues();

    const QList<FTPerson*>& arranged() const { return m_arranged; }
    // Everyone, in order, whatever the search.
    const QList<FTPerson*>& sorted() const { return m_sorted; }
    qsizetype count() const { return m_arranged.size(); }
    FTPerson* at(qsizetype row) const { return row >= 0 && row < m_arranged.size() ? m_arranged[row] : nullptr; }
    // The row of a person; -1 when not shown.
    int rowOf(const FTPerson* person) const;

private:
    void arrange();
    const QStringList& foldedTexts(PeopleMatching::SearchField field);

    QList<FTPerson*> m_sorted;
    QList<FTPerson*> m_arranged;
    PeopleSearch m_search;
    int m_sortMode = 0;
    // The searched value of every person, by field, in the order of m_sorted; made by the first search of the field
    // (the names with the list) and kept for the next keystrokes: reading and folding the names of 100,000 people
    // for every letter typed would take longer than a user waits.
    std::array<QStringList, 7> m_foldedTexts;
    std::array<std::vector<int>, 7> m_numbers;
    mutable QHash<const FTPerson*, int> m_rows; // made on the first rowOf() after a change
};
