#include "shell/FindPersonSearch.h"

#include "shell/SystemFlags.h"
#include "shell/UtilsFunctions.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/FTSpouseRel.h"

#include "platform/Localizer.h"
#include "platform/UserDefaults.h"
#include "platform/store/ReleasingWalk.h"
#include "platform/store/TextMatch.h"

#include <QCollator>
#include <QHash>
#include <QSet>
#include <QStringList>

#include <algorithm>
#include <functional>

namespace {
const QString kCurrentSearchMenuOption = QStringLiteral("currentSearchMenuOption");
const QString kIncludeTitlesInSearch = QStringLiteral("includeTitlesInSearch");

const char* const kKindKeys[FindPersonSearch::kKindCount] = {
    "TbSearchNames",
    "TbSearchNamesTitles",
    "TbSearchNotes",
    "TbSearchComments",
    "TbSearchBirthPlace",
    "TbSearchDeathPlace",
    "TbSearchBirthYear",
    "TbSearchDeathYear",
    "TbSearchCauseOfDeath",
    "TbSearchMarriageYear",
    "TbSearchMarriageNotes",
    "TbSearchPersonalEventNotes",
    "TbSearchNumericId",
    "TbSearchReferenceNo",
    "TbSearchUnconnectedPeople",
};

// The words of a typed text: the pieces between single blanks, without the empty ones.
QStringList wordsOf(const QString& text)
{
    QStringList words;
    for (const QString& piece : text.split(QLatin1Char(' ')))
        if (!piece.isEmpty())
            words << piece;
    return words;
}

// Every word at the start of the value or right after one of `separators`.
bool allWordsMatch(const QString& value, const QStringList& words, const QString& separators)
{
    for (const QString& word : words) {
        bool found = TextMatch::beginsWith(value, word);
        for (int i = 0; !found && i < separators.size(); ++i)
            found = TextMatch::contains(value, separators.at(i) + word);
        if (!found)
            return false;
    }
    return true;
}

// A value of a person as the text the search reads. A year of 0 is no year: an undated birth must not be found
// by a typed 0, nor show a year in the list.
QString searchText(const FTPerson* person, const QString& keyPath)
{
    const QVariant value = person->valueForKeyPath(keyPath);
    if (keyPath.endsWith(QLatin1String(".year")) && value.toInt() == 0)
        return {};
    return TextMatch::textOf(value);
}

int compareLocalizedCaseInsensitive(const QString& a, const QString& b)
{
    static const QCollator collator = [] {
        QCollator c;
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return collator.compare(a, b);
}

void sortByName(QList<FTPerson*>& people)
{
    QHash<const FTPerson*, QString> names;
    for (const FTPerson* p : people)
        names.insert(p, p->name());
    std::stable_sort(people.begin(), people.end(), [&names](const FTPerson* a, const FTPerson* b) {
        return compareLocalizedCaseInsensitive(names.value(a), names.value(b)) < 0;
    });
}

// The people once each, in the order first met; missing ones are skipped.
void addOnce(QList<FTPerson*>& people, QSet<const FTPerson*>& seen, FTPerson* person)
{
    if (person && !seen.contains(person)) {
        seen.insert(person);
        people << person;
    }
}

FTPerson* personOwner(const FTEvent* event)
{
    FTManagedObject* owner = event->owner();
    return owner && owner->isKindOfEntity(QString::fromLatin1(FTPerson::kEntityName)) ? static_cast<FTPerson*>(owner)
                                                                                      : nullptr;
}

FTSpouseRel* coupleOwner(const FTEvent* event)
{
    FTManagedObject* owner = event->owner();
    return owner && owner->isKindOfEntity(QString::fromLatin1(FTSpouseRel::kEntityName))
        ? static_cast<FTSpouseRel*>(owner)
        : nullptr;
}

// The owners of the events that match, once each in the order met.
QList<FTPerson*> ownersOfEvents(const FTMoc* moc, const std::function<bool(const FTEvent*)>& matches)
{
    QList<FTPerson*> people;
    QSet<const FTPerson*> seen;
    ReleasingWalk walk(*moc);
    const QList<FTEvent*> events = moc->fetch<FTEvent>([&](const FTEvent* e) {
        walk.releasePoint();
        return matches(e);
    });
    for (const FTEvent* event : events)
        addOnce(people, seen, personOwner(event));
    return people;
}

// Both partners of each couple whose event matches, once each in the order met.
QList<FTPerson*> partnersOfCouplesWithEvents(const FTMoc* moc, const std::function<bool(const FTEvent*)>& matches)
{
    QList<FTPerson*> people;
    QSet<const FTPerson*> seen;
    ReleasingWalk walk(*moc);
    const QList<FTEvent*> events = moc->fetch<FTEvent>([&](const FTEvent* e) {
        walk.releasePoint();
        return matches(e);
    });
    for (const FTEvent* event : events)
        if (const FTSpouseRel* couple = coupleOwner(event))
            for (FTPerson* partner : couple->partners())
                addOnce(people, seen, partner);
    return people;
}

int birthYearOf(const FTPerson* person)
{
    const FTEvent* birth = person->birth();
    return birth ? birth->year() : 0;
}

QString birthPlaceOf(const FTPerson* person)
{
    const FTEvent* birth = person->birth();
    return birth ? birth->place() : QString();
}
}

// ---- Kinds and the current option ------------------------------------------------------------------------------

QString FindPersonSearch::kindKey(Kind kind)
{
    return kind >= 0 && kind < kKindCount ? QString::fromLatin1(kKindKeys[kind]) : QString();
}

QString FindPersonSearch::kindTitle(Kind kind)
{
    return kind >= 0 && kind < kKindCount ? LocalizedString(kKindKeys[kind]) : QString();
}

FindPersonSearch::Kind FindPersonSearch::kindForTitle(const QString& title)
{
    for (int k = 0; k < kKindCount; ++k)
        if (title == kindTitle(Kind(k)))
            return Kind(k);
    return NoKind;
}

QString FindPersonSearch::columnIdentifier(Column column)
{
    switch (column) {
    case IdColumn:
        return QStringLiteral("ID");
    case NameColumn:
        return QStringLiteral("name");
    case BirthYearColumn:
        return QStringLiteral("birthYear");
    case WhateverColumn:
        return QStringLiteral("whatever");
    }
    return {};
}

QString FindPersonSearch::currentSearchMenuOption()
{
    UserDefaults& defaults = UserDefaults::standard();
    if (!defaults.contains(kCurrentSearchMenuOption))
        defaults.setString(kCurrentSearchMenuOption, LocalizedString("TbSearchNamesTitles"));
    return defaults.stringForKey(kCurrentSearchMenuOption);
}

void FindPersonSearch::setCurrentSearchMenuOption(const QString& title)
{
    UserDefaults::standard().setString(kCurrentSearchMenuOption, title);
}

FindPersonSearch::Kind FindPersonSearch::currentKind()
{
    return kindForTitle(currentSearchMenuOption());
}

QString FindPersonSearch::findInLabel()
{
    return QStringLiteral("%1 %2").arg(LocalizedString("FindIn"), currentSearchMenuOption());
}

QString FindPersonSearch::foundInTitle()
{
    return QStringLiteral("%1 %2").arg(LocalizedString("FoundIn"), currentSearchMenuOption());
}

// ---- Searching -------------------------------------------------------------------------------------------------

FindPersonSearch::FindPersonSearch(FTMoc* moc)
    : m_moc(moc)
{
}

void FindPersonSearch::setMoc(FTMoc* moc)
{
    m_moc = moc;
    m_keys.clear();
    m_message.clear();
    m_sortColumn = -1;
}

bool FindPersonSearch::findPerson(const QString& text)
{
    const Kind kind = currentKind();
    setRows(m_moc ? searchFor(text, kind) : QList<FTPerson*>());
    if (m_keys.isEmpty()) {
        if (kind == UnconnectedPeople)
            m_message = LocalizedString("NoUnconnectedPeople");
        else
            m_message = QStringList { LocalizedString("NegatingNo"), currentSearchMenuOption(),
                LocalizedString("foundFor"), QStringLiteral("\"%1\"").arg(text) }
                            .join(QLatin1Char(' '));
        m_keys << 0;
    }
    QString trimmed = text;
    return TrimString(&trimmed).isEmpty() && rowCount() > kLargeResultCount;
}

QList<FTPerson*> FindPersonSearch::searchFor(const QString& text, Kind kind) const
{
    if (!m_moc)
        return {};
    if (kind == UnconnectedPeople)
        return searchForUnconnectedPeople();
    if (text.isEmpty())
        return {};
    switch (kind) {
    case BirthPlace:
    case DeathPlace:
        return searchForBirthAndDeathPlace(text, kind == DeathPlace);
    case MarriageYear:
        return searchMarriagesForYear(text);
    case MarriageNotes:
        return searchMarriageNotesFor(text);
    case PersonalEventNotes:
        return searchPersonalEventNotesFor(text);
    case Names:
    case NamesTitles: {
        UserDefaults::standard().setBool(kIncludeTitlesInSearch, kind == NamesTitles);
        QList<FTPerson*> people;
        for (ManagedObject* o : m_moc->findObjectName(text, QString::fromLatin1(FTPerson::kEntityName)))
            people << static_cast<FTPerson*>(o);
        return people;
    }
    case NumericId: {
        QList<FTPerson*> people = searchByKey(QStringLiteral("numericId"), text);
        std::stable_sort(people.begin(), people.end(),
            [](const FTPerson* a, const FTPerson* b) { return a->numericId() < b->numericId(); });
        return people;
    }
    case Notes:
    case Comments:
    case CauseOfDeath:
    case ReferenceNo:
    case BirthYear:
    case DeathYear: {
        static const QHash<int, QString> keys {
            { Notes, QStringLiteral("notes") },
            { Comments, QStringLiteral("comments") },
            { CauseOfDeath, QStringLiteral("causeOfDeath") },
            { ReferenceNo, QStringLiteral("userId") },
            { BirthYear, QStringLiteral("birth.year") },
            { DeathYear, QStringLiteral("death.year") },
        };
        QList<FTPerson*> people = searchByKey(keys.value(kind), text);
        sortByName(people);
        return people;
    }
    default:
        return {};
    }
}

QList<FTPerson*> FindPersonSearch::searchByKey(const QString& keyPath, const QString& text) const
{
    if (!m_moc)
        return {};
    const QStringList words = wordsOf(text);
    // A word begins the value or one of its words, after a blank, an underscore, a no-break space or a line end.
    const QString separators = QStringLiteral(" _\u00a0\n");
    ReleasingWalk walk(*m_moc);
    return m_moc->fetch<FTPerson>([&](const FTPerson* p) {
        walk.releasePoint();
        return words.isEmpty() || allWordsMatch(searchText(p, keyPath), words, separators);
    });
}

QList<FTPerson*> FindPersonSearch::searchForBirthAndDeathPlace(const QString& text, bool deathPlace) const
{
    if (!m_moc || text.isEmpty())
        return {};
    const QStringList words = wordsOf(text);
    const int type = deathPlace ? FTEvent::DeathEvent : FTEvent::BirthEvent;
    QList<FTPerson*> people = ownersOfEvents(m_moc, [&](const FTEvent* e) {
        return e->type() == type && allWordsMatch(e->place(), words, QStringLiteral(" _"));
    });
    sortByName(people);
    return people;
}

QList<FTPerson*> FindPersonSearch::searchMarriagesForYear(const QString& text) const
{
    if (!m_moc)
        return {};
    QString year = text;
    TrimString(&year);
    return partnersOfCouplesWithEvents(m_moc, [&](const FTEvent* e) {
        return e->type() == FTEvent::MarriageEvent
            && TextMatch::beginsWith(e->year() ? QString::number(e->year()) : QString(), year);
    });
}

QList<FTPerson*> FindPersonSearch::searchMarriageNotesFor(const QString& text) const
{
    if (!m_moc)
        return {};
    const QStringList words = wordsOf(text);
    return partnersOfCouplesWithEvents(m_moc, [&](const FTEvent* e) {
        return e->type() == FTEvent::MarriageEvent && allWordsMatch(e->notes(), words, QStringLiteral(" \n"));
    });
}

QList<FTPerson*> FindPersonSearch::searchPersonalEventNotesFor(const QString& text) const
{
    if (!m_moc)
        return {};
    const QStringList words = wordsOf(text);
    return ownersOfEvents(m_moc, [&](const FTEvent* e) {
        const int type = e->type();
        return (type == FTEvent::BirthEvent || type == FTEvent::DeathEvent || type == FTEvent::OtherPersonalEvent)
            && allWordsMatch(e->notes(), words, QStringLiteral(" \n"));
    });
}

QList<FTPerson*> FindPersonSearch::searchForUnconnectedPeople() const
{
    if (!m_moc)
        return {};
    ReleasingWalk walk(*m_moc);
    return m_moc->fetch<FTPerson>([&walk](const FTPerson* p) {
        walk.releasePoint();
        return p->isUnconnected();
    });
}

// ---- Rows ------------------------------------------------------------------------------------------------------

void FindPersonSearch::setRows(const QList<FTPerson*>& people)
{
    m_keys.clear();
    m_message.clear();
    m_sortColumn = -1;
    m_sortAscending = true;
    m_needsValidating = false;
    for (const FTPerson* p : people)
        m_keys << p->primaryKey();
}

FTPerson* FindPersonSearch::personAt(int row) const
{
    if (!m_moc || row < 0 || row >= m_keys.size() || m_keys.at(row) <= 0)
        return nullptr;
    return static_cast<FTPerson*>(
        m_moc->objectWithPrimaryKey(QString::fromLatin1(FTPerson::kEntityName), m_keys.at(row)));
}

QList<FTPerson*> FindPersonSearch::people() const
{
    QList<FTPerson*> out;
    for (int row = 0; row < m_keys.size(); ++row)
        if (FTPerson* p = personAt(row))
            out << p;
    return out;
}

QString FindPersonSearch::nameDetail(const FTPerson* person, Kind kind) const
{
    auto birthOrDeathPlace = [&](const FTEvent* event, const char* word) {
        const QString place = event ? event->place() : QString();
        return place.isEmpty() ? QString() : QStringLiteral(", %1 %2").arg(LocalizedString(word), place);
    };
    switch (kind) {
    case ReferenceNo:
        return person->userId().isEmpty() ? QString()
                                          : QStringLiteral(", %1 = %2").arg(LocalizedString("RefNo"), person->userId());
    case BirthPlace:
        return birthOrDeathPlace(person->birth(), "born");
    case DeathPlace:
        return birthOrDeathPlace(person->death(), "died");
    case CauseOfDeath:
        return person->causeOfDeath().isEmpty() ? QString() : QStringLiteral(", %1").arg(person->causeOfDeath());
    case NamesTitles:
        return person->title().isEmpty() ? QString() : QStringLiteral(", %1").arg(person->title());
    case Names: {
        QString spouses;
        for (const FTPerson* spouse : person->spouses())
            spouses += QStringLiteral(" + %1").arg(spouse->firstName());
        return spouses;
    }
    default:
        return {};
    }
}

QVariant FindPersonSearch::cellValue(int row, Column column) const
{
    if (row < 0 || row >= m_keys.size())
        return {};
    if (m_keys.at(row) <= 0)
        return column == IdColumn ? QVariant() : QVariant(m_message);
    const FTPerson* person = personAt(row);
    if (!person)
        return {};
    switch (column) {
    case IdColumn:
        return person->numericId();
    case NameColumn:
        return person->nameWithBirthAndDeathYears() + nameDetail(person, currentKind());
    case BirthYearColumn:
        if (const int year = birthYearOf(person))
            return year;
        return {};
    case WhateverColumn:
        return birthPlaceOf(person);
    }
    return {};
}

void FindPersonSearch::sortByColumn(Column column)
{
    if (hasMessageRow())
        return;
    QList<FTPerson*> people = this->people();
    bool ascending = true;
    switch (column) {
    case IdColumn:
        ascending = !(m_sortColumn == IdColumn && m_sortAscending);
        std::stable_sort(people.begin(), people.end(), [ascending](const FTPerson* a, const FTPerson* b) {
            return ascending ? a->numericId() < b->numericId() : a->numericId() > b->numericId();
        });
        break;
    case NameColumn: {
        // The list shows names with their years: people of one name come in the order of their years.
        QHash<const FTPerson*, QString> keys;
        for (const FTPerson* p : people)
            keys.insert(p, gVovadid ? p->nameWithBirthAndDeathYears() : p->name());
        std::stable_sort(people.begin(), people.end(), [&keys](const FTPerson* a, const FTPerson* b) {
            return compareLocalizedCaseInsensitive(keys.value(a), keys.value(b)) < 0;
        });
        break;
    }
    case BirthYearColumn:
        std::stable_sort(people.begin(), people.end(),
            [](const FTPerson* a, const FTPerson* b) { return birthYearOf(a) < birthYearOf(b); });
        break;
    case WhateverColumn:
        std::stable_sort(people.begin(), people.end(), [](const FTPerson* a, const FTPerson* b) {
            return compareLocalizedCaseInsensitive(birthPlaceOf(a), birthPlaceOf(b)) < 0;
        });
        break;
    }
    m_keys.clear();
    for (const FTPerson* p : people)
        m_keys << p->primaryKey();
    m_sortColumn = column;
    m_sortAscending = ascending;
}

void FindPersonSearch::removePerson(const FTPerson* person)
{
    if (person)
        m_keys.removeAll(person->primaryKey());
}

void FindPersonSearch::validate()
{
    if (!m_needsValidating)
        return;
    for (int row = 0; row < m_keys.size();) {
        if (m_keys.at(row) <= 0 || personAt(row))
            ++row;
        else
            m_keys.removeAt(row);
    }
    m_needsValidating = false;
}
