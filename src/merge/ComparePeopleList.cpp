#include "merge/ComparePeopleList.h"

#include "model/FTPerson.h"

#include "platform/store/ReleasingWalk.h"

void ComparePeopleList::setPeople(const QList<FTPerson*>& people)
{
    m_sorted = people;
    PeopleMatching::sortPeople(m_sorted, m_sortMode);
    forgetSearchValues();
}

void ComparePeopleList::setSortMode(int matchMode)
{
    m_sortMode = matchMode;
    PeopleMatching::sortPeople(m_sorted, m_sortMode);
    forgetSearchValues();
}

const QStringList& ComparePeopleList::foldedTexts(PeopleMatching::SearchField field)
{
    QStringList& texts = m_foldedTexts[size_t(field)];
    if (texts.isEmpty() && !m_sorted.isEmpty()) {
        texts.reserve(m_sorted.size());
        ReleasingWalk walk(*m_sorted.first()->context());
        for (const FTPerson* p : std::as_const(m_sorted)) {
            walk.releasePoint();
            texts << PeopleSearch::fold(PeopleSearch::fieldText(field, p));
        }
    }
    return texts;
}

void ComparePeopleList::setSearch(const PeopleSearch& search)
{
    m_search = search;
    arrange();
}

void ComparePeopleList::remove(const FTPerson* person)
{
    if (m_sorted.removeAll(const_cast<FTPerson*>(person)) > 0)
        forgetSearchValues();
}

void ComparePeopleList::forgetSearchValues()
{
    for (QStringList& texts : m_foldedTexts)
        texts.clear();
    for (std::vector<int>& numbers : m_numbers)
        numbers.clear();
    // The names are what is searched first, as soon as a letter is typed: read now, with the list.
    foldedTexts(PeopleMatching::SearchField::Name);
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
    if (m_search.isEmpty()) {
        m_arranged = m_sorted;
        return;
    }
    m_arranged.clear();
    const size_t field = size_t(m_search.field());
    if (m_search.isTextSearch()) {
        const QStringList& texts = foldedTexts(m_search.field());
        for (qsizetype i = 0; i < m_sorted.size(); ++i)
            if (m_search.matchesFolded(texts[i]))
                m_arranged << m_sorted[i];
        return;
    }
    std::vector<int>& numbers = m_numbers[field];
    if (numbers.empty()) {
        numbers.reserve(size_t(m_sorted.size()));
        for (const FTPerson* p : std::as_const(m_sorted))
            numbers.push_back(PeopleSearch::fieldNumber(m_search.field(), p));
    }
    for (qsizetype i = 0; i < m_sorted.size(); ++i)
        if (m_search.matchesNumber(numbers[size_t(i)]))
            m_arranged << m_sorted[i];
}
