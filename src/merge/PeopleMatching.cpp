#include "merge/PeopleMatching.h"

#include "merge/PersonComparison.h"

#include "model/FTEvent.h"
#include "model/FTPerson.h"
#include "model/ModelProgress.h"

#include "platform/Localizer.h"
#include "platform/UserDefaults.h"
#include "platform/store/ReleasingWalk.h"
#include "platform/store/TextMatch.h"

#include <algorithm>
#include <optional>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

const QString kMatchMode = QStringLiteral("matchMode");

int birthYear(const FTPerson* p)
{
    const FTEvent* birth = p->birth();
    return birth ? birth->year() : 0;
}

// The number a text begins with, as a search by year or id reads it: "1850 Smith" is 1850, "Smith" 0.
int leadingInteger(const QString& text)
{
    const QString t = text.trimmed();
    qsizetype end = 0;
    if (end < t.size() && (t[end] == QLatin1Char('-') || t[end] == QLatin1Char('+')))
        ++end;
    while (end < t.size() && t[end].isDigit() && t[end].unicode() < 128)
        ++end;
    bool ok = false;
    const qlonglong value = t.left(end).toLongLong(&ok);
    return ok ? int(std::clamp<qlonglong>(value, INT_MIN, INT_MAX)) : 0;
}

QString birthDate(const FTPerson* p)
{
    const FTEvent* birth = p->birth();
    return birth ? birth->date() : QString();
}

bool sameName(const FTPerson* a, const FTPerson* b)
{
    return a->name().compare(b->name(), Qt::CaseInsensitive) == 0;
}

// The mode-0 rule for one candidate of the same name: answers whether the scan stops here.
bool takeSameNamed(QList<int>& rows, int row, const FTPerson* candidate, const FTPerson* person)
{
    rows.append(row);
    const QString date = birthDate(candidate);
    if (date.isEmpty() || date != birthDate(person))
        return false;
    rows = { row };
    return candidate->numericId() == person->numericId();
}
}

int PeopleMatching::matchMode()
{
    return int(UserDefaults::standard().integerForKey(kMatchMode));
}

void PeopleMatching::setMatchMode(int mode)
{
    UserDefaults::standard().setInteger(kMatchMode, mode);
}

void PeopleMatching::sortPeople(QList<FTPerson*>& people, int matchMode)
{
    // The keys are read once: a comparison of 100,000 names would otherwise read each name thirty times over.
    struct Keyed {
        QString name;
        int year;
        int id;
        FTPerson* person;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(size_t(people.size()));
    {
        // Every person of a database, often: those read for their keys are given back as it goes.
        std::optional<ReleasingWalk> walk;
        if (!people.isEmpty())
            walk.emplace(*people.first()->context());
        for (FTPerson* p : std::as_const(people)) {
            walk->releasePoint();
            keyed.push_back({ p->name(), birthYear(p), p->numericId(), p });
        }
    }
    auto byName = [](const Keyed& a, const Keyed& b) {
        if (const int c = a.name.compare(b.name, Qt::CaseInsensitive))
            return c < 0;
        if (a.year != b.year)
            return a.year < b.year;
        return a.id < b.id;
    };
    auto byId = [](const Keyed& a, const Keyed& b) {
        if (a.id != b.id)
            return a.id < b.id;
        if (const int c = a.name.compare(b.name, Qt::CaseInsensitive))
            return c < 0;
        return a.year < b.year;
    };
    if (matchMode == 0)
        std::stable_sort(keyed.begin(), keyed.end(), byName);
    else
        std::stable_sort(keyed.begin(), keyed.end(), byId);
    for (size_t i = 0; i < keyed.size(); ++i)
        people[qsizetype(i)] = keyed[i].person;
}

QStringList PeopleMatching::searchMenuTitles()
{
    return { L("CompareSearchMenuName"), L("CompareSearchMenuTitle"), L("CompareSearchMenuBPlace"),
        L("CompareSearchMenuBYear"), L("CompareSearchMenuDPlace"), L("CompareSearchMenuDYear"),
        L("CompareSearchMenuID") };
}

PeopleSearch::PeopleSearch(Field field, const QString& text)
    : m_field(field)
{
    const QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.isEmpty())
        return;
    switch (field) {
    case Field::BirthYear:
    case Field::DeathYear:
    case Field::Id:
        m_number = std::make_shared<const int>(leadingInteger(words.first()));
        return;
    default:
        break;
    }
    QStringList folded;
    for (const QString& word : words)
        folded << fold(word);
    m_words = std::make_shared<const QStringList>(folded);
}

QString PeopleSearch::fieldText(Field field, const FTPerson* p)
{
    switch (field) {
    case Field::Name:
        return p->name();
    case Field::Title:
        return p->title();
    case Field::BirthPlace:
        return p->birth() ? p->birth()->place() : QString();
    case Field::DeathPlace:
        return p->death() ? p->death()->place() : QString();
    default:
        return {};
    }
}

bool PeopleSearch::matchesFolded(const QString& folded) const
{
    if (!m_words)
        return true;
    for (const QString& word : *m_words) {
        // At the start, or after a blank, a no-break space or an underscore.
        bool found = false;
        for (qsizetype at = folded.indexOf(word); at >= 0 && !found; at = folded.indexOf(word, at + 1)) {
            const QChar before = at > 0 ? folded[at - 1] : QChar(' ');
            found = before == QLatin1Char(' ') || before == QLatin1Char('_') || before == QChar(0x00A0);
        }
        if (!found)
            return false;
    }
    return true;
}

QString PeopleSearch::fold(const QString& text)
{
    // Folding decomposes, drops the marks and folds the case of each character on its own, so a character's
    // folding is the same wherever it stands. Only the main thread searches.
    static QHash<char16_t, QString> folded;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (u < 128) {
            out += QChar(u >= 'A' && u <= 'Z' ? char16_t(u + 32) : u);
        } else if (QChar::isSurrogate(u)) {
            // A character outside the basic plane is its two units together.
            const qsizetype length = QChar::isHighSurrogate(u) && i + 1 < text.size() ? 2 : 1;
            out += TextMatch::fold(text.mid(i, length));
            i += length - 1;
        } else {
            auto it = folded.constFind(u);
            if (it == folded.constEnd())
                it = folded.insert(u, TextMatch::fold(QString(QChar(u))));
            out += it.value();
        }
    }
    return out;
}

int PeopleSearch::fieldNumber(Field field, const FTPerson* p)
{
    switch (field) {
    case Field::BirthYear:
        return p->birth() ? p->birth()->year() : kNoNumber;
    case Field::DeathYear:
        return p->death() ? p->death()->year() : kNoNumber;
    case Field::Id:
        return p->numericId();
    default:
        return kNoNumber;
    }
}

bool PeopleSearch::matches(const FTPerson* p) const
{
    if (m_number)
        return matchesNumber(fieldNumber(m_field, p));
    return matchesFolded(fold(fieldText(m_field, p)));
}

QList<int> PeopleMatching::findMatchForPerson(const FTPerson* person, const QList<FTPerson*>& arranged, int matchMode)
{
    QList<int> rows;
    if (!person)
        return rows;
    if (matchMode == 1) {
        for (qsizetype i = 0; i < arranged.size(); ++i)
            if (arranged[i]->numericId() == person->numericId())
                return { int(i) };
        return rows;
    }
    if (matchMode != 0)
        return rows;
    for (qsizetype i = 0; i < arranged.size(); ++i)
        if (sameName(arranged[i], person) && takeSameNamed(rows, int(i), arranged[i], person))
            break;
    return rows;
}

PeopleMatching::MatchIndex::MatchIndex(const QList<FTPerson*>& arranged, int matchMode)
    : m_arranged(arranged)
    , m_mode(matchMode)
{
    for (qsizetype i = 0; i < arranged.size(); ++i) {
        const FTPerson* p = arranged[i];
        if (matchMode == 0)
            m_rowsByName[p->name().toCaseFolded()].append(int(i));
        else if (matchMode == 1 && !m_firstRowById.contains(p->numericId())) // the first row of an id is its match
            m_firstRowById.insert(p->numericId(), int(i));
    }
}

QList<int> PeopleMatching::MatchIndex::findMatchForPerson(const FTPerson* person) const
{
    QList<int> rows;
    if (!person)
        return rows;
    if (m_mode == 1) {
        const auto it = m_firstRowById.constFind(person->numericId());
        if (it != m_firstRowById.constEnd())
            rows.append(it.value());
        return rows;
    }
    if (m_mode != 0)
        return rows;
    const auto it = m_rowsByName.constFind(person->name().toCaseFolded());
    if (it == m_rowsByName.constEnd())
        return rows;
    for (const int row : it.value()) {
        const FTPerson* candidate = m_arranged[row];
        if (sameName(candidate, person) && takeSameNamed(rows, row, candidate, person))
            break;
    }
    return rows;
}

QString PeopleMatching::countText(qsizetype i, qsizetype count)
{
    return QStringLiteral("%1 %2 %3").arg(i).arg(L("ConjunctiveOf")).arg(count);
}

QList<FTPerson*> PeopleMatching::removeMatchedRecords(
    const QList<FTPerson*>& source, const QList<FTPerson*>& target, int matchMode, ModelProgress* progress)
{
    // One index for the pass: looking each person up in the whole list would take 100,000 scans of 100,000 people.
    const MatchIndex index(target, matchMode);
    QList<FTPerson*> kept;
    ModelProgress::Steps steps(progress, source.size(), 2);
    if (progress)
        progress->setPercent(0);
    for (qsizetype i = 0; i < source.size(); ++i) {
        const FTPerson* person = source[i];
        const QList<int> rows = index.findMatchForPerson(person);
        const bool identical = std::any_of(rows.begin(), rows.end(),
            [&](int row) { return PersonComparison::compare(person, target[row]).count == 0; });
        if (!identical)
            kept << source[i];
        if (progress && i % 10 == 0)
            progress->setStatus(countText(i, source.size()));
        steps.at(i);
    }
    return kept;
}
