#include "reports/PeopleIndexModel.h"

#include "reports/ListingReport.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/FTSpouseRel.h"

#include "platform/FTLog.h"
#include "platform/Localizer.h"
#include "platform/Prompts.h"
#include "platform/store/ReleasingWalk.h"
#include "platform/store/TextMatch.h"

#include <QCollator>
#include <QElapsedTimer>
#include <QLocale>
#include <QSet>

#include <algorithm>
#include <climits>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

QString fold(const QString& text)
{
    return TextMatch::fold(text);
}

// "X & Y" split at the first "&": the person's part and the spouse's part, each trimmed.
void splitAtAmpersand(const QString& text, QString* own, QString* spouse)
{
    const QString trimmed = text.trimmed();
    const qsizetype amp = trimmed.indexOf(QLatin1Char('&'));
    if (amp < 0) {
        *own = trimmed;
        spouse->clear();
        return;
    }
    *own = trimmed.left(amp).trimmed();
    *spouse = trimmed.mid(amp + 1).trimmed();
}

// A year filter as a test of one event: the comparison prefixes in the order the field tests them, and what 0
// means for "=", "<" and "<=".
std::function<bool(const FTEvent*)> yearTest(const QString& text, const QStringList& prefixOrder)
{
    for (const QString& prefix : prefixOrder) {
        if (!text.startsWith(prefix))
            continue;
        const int n = ListingReport::leadingInteger(text.mid(prefix.size()));
        if (prefix == QLatin1String("=")) {
            if (n == 0)
                return [](const FTEvent* e) { return e && e->year() == 0; };
            return [n](const FTEvent* e) { return e && e->year() == n; };
        }
        if (prefix == QLatin1String("<=")) {
            if (n == 0)
                return [](const FTEvent* e) { return !e || e->year() <= 0; };
            return [n](const FTEvent* e) { return e && e->year() <= n; };
        }
        if (prefix == QLatin1String("<")) {
            if (n == 0)
                return [](const FTEvent* e) { return !e; };
            return [n](const FTEvent* e) { return e && e->year() < n; };
        }
        if (prefix == QLatin1String(">="))
            return [n](const FTEvent* e) { return e && e->year() >= n; };
        return [n](const FTEvent* e) { return e && e->year() > n; };
    }
    const int n = ListingReport::leadingInteger(text);
    return [n](const FTEvent* e) { return e && e->year() == n; };
}

int yearOf(const FTEvent* event)
{
    return event ? event->year() : 0;
}
}

struct PeopleIndexModel::Keys {
    QString family;
    QString given;
    QString title;
    QString name;
};

PeopleIndexModel::PeopleIndexModel(FTMoc* moc)
    : m_moc(moc)
{
}

PeopleIndexModel::~PeopleIndexModel() = default;

bool& PeopleIndexModel::largeListWarningPending()
{
    static bool pending = true;
    return pending;
}

QString PeopleIndexModel::withoutBlanks(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text)
        if (!c.isSpace())
            out += c;
    return out;
}

void PeopleIndexModel::populateFamilyNames()
{
    bool any = false;
    ReleasingWalk walk(*m_moc);
    for (FTPerson* person : m_moc->fetch<FTPerson>()) {
        walk.releasePoint();
        if (!person->primitiveValue(Key("familyName")).toString().isEmpty())
            continue;
        person->familyNameCreate();
        any = true;
    }
    if (any)
        m_moc->saveMoc();
}

void PeopleIndexModel::refresh()
{
    const QString spouses = filters.spousesName;
    filters = Filters();
    filters.spousesName = spouses;
    m_keys.clear();
    m_people = m_moc->fetch<FTPerson>();
    m_shown = m_people;
}

const PeopleIndexModel::Keys& PeopleIndexModel::keysOf(const FTPerson* person) const
{
    std::shared_ptr<Keys>& keys = m_keys[person];
    if (!keys) {
        keys = std::make_shared<Keys>();
        keys->family = fold(person->familyName());
        keys->given = fold(person->givenNames());
        keys->title = fold(person->title());
        keys->name = fold(person->name());
    }
    return *keys;
}

void PeopleIndexModel::personChanged(const FTPerson* person)
{
    m_keys.remove(person);
}

void PeopleIndexModel::removePerson(FTPerson* person)
{
    m_people.removeAll(person);
    m_shown.removeAll(person);
    m_keys.remove(person);
}

bool PeopleIndexModel::matchesFields(const FTPerson* person, const QString& family, const QString& given,
                                     const QString& title, const std::optional<int>& id) const
{
    if (id && person->numericId() != *id)
        return false;
    if (family.isEmpty() && given.isEmpty() && title.isEmpty())
        return true;
    const Keys& keys = keysOf(person);
    return (family.isEmpty() || keys.family.contains(family)) && (given.isEmpty() || keys.given.contains(given))
        && (title.isEmpty() || keys.title.contains(title));
}

void PeopleIndexModel::changeFilter(const std::function<void(int)>& progress)
{
    std::optional<int> id;
    if (!filters.id.trimmed().isEmpty())
        id = ListingReport::leadingInteger(filters.id);

    QString family, spouseFamily, given, spouseGiven;
    splitAtAmpersand(filters.familyName, &family, &spouseFamily);
    splitAtAmpersand(filters.givenNames, &given, &spouseGiven);
    family = fold(family);
    given = fold(given);
    const QString title = fold(filters.title.trimmed());

    std::function<bool(const FTEvent*)> birthTest, deathTest;
    if (!filters.birthYear.isEmpty()) {
        filters.birthYear = withoutBlanks(filters.birthYear);
        if (!filters.birthYear.isEmpty())
            birthTest = yearTest(filters.birthYear, {"=", "<=", "<", ">=", ">"});
    }
    if (!filters.deathYear.isEmpty()) {
        filters.deathYear = withoutBlanks(filters.deathYear);
        if (!filters.deathYear.isEmpty())
            deathTest = yearTest(filters.deathYear, {"=", ">=", ">", "<=", "<"});
    }

    QSet<FTPerson*> kin;
    const bool byKinship = filters.kinship > 0;
    if (byKinship) {
        if (FTPerson* focal = m_moc->focalPerson())
            kin = focal->peopleInKinship(filters.kinship, progress);
    }

    m_shown.clear();
    ReleasingWalk walk(*m_moc);
    for (FTPerson* person : std::as_const(m_people)) {
        walk.releasePoint();
        if (!matchesFields(person, family, given, title, id))
            continue;
        if (birthTest && !birthTest(person->birth()))
            continue;
        if (deathTest && !deathTest(person->death()))
            continue;
        if (byKinship && !kin.contains(person))
            continue;
        if (filters.hasSourceReferences && !person->hasSourceRels())
            continue;
        m_shown.append(person);
    }
    if (!spouseFamily.isEmpty() || !spouseGiven.isEmpty())
        narrowToSpouses(fold(spouseFamily), fold(spouseGiven));
    refineSearch();
}

void PeopleIndexModel::keepPartnersOf(const std::function<bool(const Keys&)>& matches)
{
    // The people who match, then their partners: each person's names are looked at once, and only the couples of
    // those who match are read.
    QSet<const FTPerson*> partners;
    ReleasingWalk walk(*m_moc);
    for (const FTPerson* candidate : std::as_const(m_people)) {
        walk.releasePoint();
        if (!matches(keysOf(candidate)))
            continue;
        for (const FTSpouseRel* couple : candidate->spouseRels())
            if (const FTPerson* partner = couple->partnerOf(candidate))
                partners.insert(partner);
    }
    QList<FTPerson*> kept;
    for (FTPerson* person : std::as_const(m_shown))
        if (partners.contains(person))
            kept.append(person);
    m_shown = kept;
}

void PeopleIndexModel::narrowToSpouses(const QString& familyText, const QString& givenText)
{
    keepPartnersOf([&](const Keys& keys) {
        return (familyText.isEmpty() || keys.family.contains(familyText))
            && (givenText.isEmpty() || keys.given.contains(givenText));
    });
}

void PeopleIndexModel::refineSearch()
{
    const QString text = fold(filters.spousesName.trimmed());
    if (!text.isEmpty())
        keepPartnersOf([&](const Keys& keys) { return keys.name.contains(text); });
}

bool PeopleIndexModel::sortByFamilyName(bool forDuplicates)
{
    bool withBirthYear = true;
    if (m_shown.size() > kLargeList && largeListWarningPending()) {
        largeListWarningPending() = false;
        if (forDuplicates) {
            Prompts::current().message(L("SortMessageOK"));
        } else {
            const QString info = QStringLiteral("%1 %2 %3 %4 %5")
                                     .arg(L("SortPeopleIndexInfo1"))
                                     .arg(m_shown.size())
                                     .arg(L("SortPeopleIndexInfo2"))
                                     .arg(int(m_shown.size() * 1.2 / 1000))
                                     .arg(L("SortPeopleIndexInfo3"));
            const int choice = Prompts::current().chooseWithTitle(L("SortPeopleIndexTitle"), L("SortPeopleIndexMsg"),
                info, {L("Continue"), L("SortOptionNamesOnly"), L("SortOptionCancel")});
            if (choice == 1)
                withBirthYear = false;
            else if (choice != 0)
                return false;
        }
    }

    QElapsedTimer timer;
    timer.start();
    QCollator collator{QLocale()};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    struct Row {
        FTPerson* person;
        QString familyName;
        QString givenNames;
        QString gender;
        int birthYear;
        int number;
        int family = 0;
        int given = 0;
    };
    // Names repeat: each distinct name is ranked once through the collator, and people are sorted by ranks.
    QHash<QString, int> familyRanks, givenRanks;
    std::vector<Row> rows;
    rows.reserve(size_t(m_shown.size()));
    ReleasingWalk walk(*m_moc);
    for (FTPerson* person : std::as_const(m_shown)) {
        walk.releasePoint();
        const FTEvent* birth = person->birth();
        // No birth event sorts before any year.
        rows.push_back({person, person->familyName(), person->givenNames(), person->gender().toCaseFolded(),
                        birth ? birth->year() : INT_MIN, person->numericId()});
        familyRanks.insert(rows.back().familyName, 0);
        givenRanks.insert(rows.back().givenNames, 0);
    }
    for (QHash<QString, int>* ranks : {&familyRanks, &givenRanks}) {
        // Folded first: the collator of the C locale compares code points, whatever its case setting.
        std::vector<std::pair<QCollatorSortKey, QString>> keyed;
        keyed.reserve(size_t(ranks->size()));
        for (auto it = ranks->cbegin(); it != ranks->cend(); ++it)
            keyed.emplace_back(collator.sortKey(it.key().toCaseFolded()), it.key());
        std::sort(keyed.begin(), keyed.end(),
            [](const auto& a, const auto& b) { return a.first.compare(b.first) < 0; });
        // Names that collate equal share a rank.
        int rank = -1;
        const QCollatorSortKey* previous = nullptr;
        for (const auto& [key, name] : keyed) {
            if (!previous || previous->compare(key) != 0)
                ++rank;
            previous = &key;
            (*ranks)[name] = rank;
        }
    }
    for (Row& row : rows) {
        row.family = familyRanks.value(row.familyName);
        row.given = givenRanks.value(row.givenNames);
    }
    std::stable_sort(rows.begin(), rows.end(), [withBirthYear](const Row& a, const Row& b) {
        if (a.family != b.family)
            return a.family < b.family;
        if (a.given != b.given)
            return a.given < b.given;
        if (const int c = a.gender.compare(b.gender))
            return c < 0;
        if (withBirthYear && a.birthYear != b.birthYear)
            return a.birthYear < b.birthYear;
        return a.number < b.number;
    });
    for (qsizetype i = 0; i < qsizetype(rows.size()); ++i)
        m_shown[i] = rows[size_t(i)].person;
    FTLog(QStringLiteral("%1 msecs to sort people array").arg(double(timer.nsecsElapsed()) / 1e6, 0, 'f', 3));
    return true;
}

bool PeopleIndexModel::showDuplicates()
{
    const QStringList buttons = {L("ShowDuplicatesChoiceNameBirthDeath"), L("ShowDuplicatesChoiceNameBirth"),
        L("ShowDuplicatesChoiceName"), L("Cancel")};
    const int choice = Prompts::current().chooseWithTitle(
        L("ShowDuplicatesTitle"), L("ShowDuplicatesText"), L("ShowDuplicatesInfo"), buttons);
    if (choice < 0 || choice > 2)
        return false;
    return showDuplicates(DuplicateChoice(choice));
}

bool PeopleIndexModel::showDuplicates(DuplicateChoice choice)
{
    sortByFamilyName(true);
    // Each person is read once; neighbours are then compared on these.
    struct Entry {
        char gender;
        QString name;
        int born;
        int died;
    };
    std::vector<Entry> entries;
    entries.reserve(size_t(m_shown.size()));
    ReleasingWalk walk(*m_moc);
    for (const FTPerson* p : std::as_const(m_shown)) {
        walk.releasePoint();
        entries.push_back({p->cGender(), p->name(), choice != NameOnly ? yearOf(p->birth()) : 0,
                           choice == NameBirthDeath ? yearOf(p->death()) : 0});
    }
    QSet<FTPerson*> found;
    for (size_t i = 0; i + 1 < entries.size(); ++i) {
        const Entry& a = entries[i];
        const Entry& b = entries[i + 1];
        if (a.gender != b.gender || a.born != b.born || a.died != b.died
            || a.name.compare(b.name, Qt::CaseInsensitive) != 0)
            continue;
        found.insert(m_shown[qsizetype(i)]);
        found.insert(m_shown[qsizetype(i) + 1]);
    }
    if (found.isEmpty()) {
        Prompts::current().message(L("NoDuplicates"));
        return false;
    }
    QList<FTPerson*> kept;
    kept.reserve(found.size());
    for (FTPerson* person : std::as_const(m_shown))
        if (found.contains(person))
            kept.append(person);
    m_shown = kept;
    sortByFamilyName(true);
    return true;
}

QString PeopleIndexModel::relationshipToFocalPerson(FTPerson* person, FTPerson** commonAncestor) const
{
    if (commonAncestor)
        *commonAncestor = nullptr;
    FTPerson* focal = m_moc->focalPerson();
    if (!person || !focal)
        return {};
    FTPerson* ancestor = nullptr;
    QString text = focal->consanguinityWithPerson(person, &ancestor);
    if (text == L("None"))
        text = QStringLiteral("%1 %2").arg(L("NoConsanguinity"), focal->name());
    if (commonAncestor)
        *commonAncestor = ancestor;
    return text;
}

QString PeopleIndexModel::tidiedName(const QString& name)
{
    QString s = name;
    s.replace(QStringLiteral("- "), QStringLiteral("-"));
    s.replace(QStringLiteral(" -"), QStringLiteral("-"));
    if (s.endsWith(QLatin1Char('-')))
        s.chop(1);
    while (s.contains(QStringLiteral("  ")))
        s.replace(QStringLiteral("  "), QStringLiteral(" "));
    const QString andWord = L("ConjunctiveAnd");
    const QString joined = QStringLiteral("_%1_").arg(andWord);
    s.replace(QStringLiteral("_%1 ").arg(andWord), joined);
    s.replace(QStringLiteral(" %1_").arg(andWord), joined);
    const QString unknown = L("Unknown");
    s.replace(unknown.toUpper(), unknown, Qt::CaseInsensitive);
    return s;
}
