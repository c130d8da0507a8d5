#include "editor/PersonNameFilter.h"

#include "model/FTPerson.h"

#include "platform/store/TextMatch.h"

#include <algorithm>

namespace {
bool isPartSeparator(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('_') || c == QChar(0x00A0) || c == QLatin1Char('\n');
}
}

PersonNameFilter::PersonNameFilter(const QList<FTPerson*>& people)
{
    setPeople(people);
}

QString PersonNameFilter::fold(const QString& text)
{
    // Folding keeps the separators as they are; a no-break space may become a blank, which is a separator too.
    return TextMatch::fold(text);
}

void PersonNameFilter::setPeople(const QList<FTPerson*>& people)
{
    struct Keyed {
        FTPerson* person;
        QString label;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(size_t(people.size()));
    for (FTPerson* p : people)
        if (p && !p->isDeleted())
            keyed.push_back({p, p->nameWithBirthAndDeathYears()});
    std::stable_sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) { return a.label < b.label; });
    m_people.clear();
    m_people.reserve(keyed.size());
    for (const Keyed& k : keyed)
        m_people.push_back({k.person, fold(k.person->name())});
    m_words.clear();
    m_filter.clear();
    m_matching.resize(m_people.size());
    for (size_t i = 0; i < m_people.size(); ++i)
        m_matching[i] = int(i);
    m_shown.clear();
    m_shown.reserve(qsizetype(m_people.size()));
    for (const Entry& e : m_people)
        m_shown << e.person;
}

QStringList PersonNameFilter::words(const QString& filter)
{
    QStringList out;
    for (const QString& piece : filter.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        out << fold(piece);
    return out;
}

bool PersonNameFilter::matches(const QString& foldedName, const QStringList& foldedWords)
{
    const QStringView name(foldedName);
    for (const QString& word : foldedWords) {
        bool found = name.startsWith(word);
        for (qsizetype i = 0; !found && i + word.size() < name.size(); ++i)
            found = isPartSeparator(name[i]) && name.mid(i + 1).startsWith(word);
        if (!found)
            return false;
    }
    return true;
}

bool PersonNameFilter::setFilterString(const QString& filter)
{
    const QStringList newWords = words(filter);
    m_filter = filter;
    if (newWords == m_words)
        return false;
    // A filter that only lengthens words or adds them shows a part of what is shown now: only that is searched.
    const bool narrower = std::all_of(m_words.begin(), m_words.end(), [&](const QString& old) {
        return std::any_of(newWords.begin(), newWords.end(), [&](const QString& w) { return w.startsWith(old); });
    });
    std::vector<int> candidates;
    if (narrower) {
        candidates.swap(m_matching);
    } else {
        candidates.resize(m_people.size());
        for (size_t i = 0; i < m_people.size(); ++i)
            candidates[i] = int(i);
    }
    m_words = newWords;
    m_matching.clear();
    for (int i : candidates)
        if (m_words.isEmpty() || matches(m_people[size_t(i)].folded, m_words))
            m_matching.push_back(i);
    m_shown.clear();
    m_shown.reserve(qsizetype(m_matching.size()));
    for (int i : m_matching)
        m_shown << m_people[size_t(i)].person;
    return true;
}
