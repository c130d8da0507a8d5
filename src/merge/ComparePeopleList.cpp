#include "merge/ComparePeopleList.h"

void ComparePeopleList::setPeople(const QList<FTPerson*>& people)
{
    m_sorted = people;
    PeopleMatching::sortPeople(m_sorted, m_sortMode);
    arrange();
}

void ComparePeopleList::setSortMode(int matchMode)
{
    m_sortMode = matchMode;
    PeopleMatching::sortPeople(m_sorted, m_sortMode);
    arrange();
}

void ComparePeopleList::setFilter(const PeopleMatching::Filter& filter)
{
    m_filter = filter;
    arrange();
}

void ComparePeopleList::remove(const FTPerson* person)
{
    if (m_sorted.removeAll(const_cast<FTPerson*>(person)) > 0)
        arrange();
}

int ComparePeopleList::rowOf(const FTPerson* person) const
{
    if (m_rows.isEmpty() && !m_arranged.isEmpty()) {
        m_rows.reserve(m_arranged.size());
        for (qsizetype i = 0; i < m_arranged.size(); ++i)
            m_rows.insert(m_arranged[i], int(i));
    }
    return m_rows.value(person, -1);
}

void ComparePeopleList::arrange()
{
    m_rows.clear();
    if (!m_filter) {
        m_arranged = m_sorted;
        return;
    }
    m_arranged.clear();
    for (FTPerson* p : std::as_const(m_sorted))
        if (m_filter(p))
            m_arranged << p;
}
