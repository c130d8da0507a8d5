#include "merge/DuplicatePeopleSearch.h"

#include "shell/CsvWriter.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/ModelProgress.h"

#include "platform/Localizer.h"
#include "platform/store/ReleasingWalk.h"

#include <QSet>

#include <algorithm>
#include <optional>

namespace {
int yearOf(const FTEvent* e)
{
    return e ? e->year() : 0;
}

// A parent's name as the search compares it: none without that parent.
std::optional<QString> parentName(const FTPerson* parent)
{
    if (!parent)
        return std::nullopt;
    return parent->name().toCaseFolded();
}

// Both missing, or both there and equal.
bool sameOrBothMissing(const std::optional<QString>& a, const std::optional<QString>& b)
{
    return a.has_value() == b.has_value() && (!a || *a == *b);
}

// Missing sorts first, as a nil value does.
int compareOptional(const std::optional<QString>& a, const std::optional<QString>& b)
{
    if (!a || !b)
        return int(a.has_value()) - int(b.has_value());
    return a->compare(*b);
}
}

// What the sort and the comparisons read of a person, read once: the sort compares each person many times.
struct DuplicatePeopleSearch::Entry {
    FTPerson* person;
    QString name; // case-folded
    QString gender; // case-folded
    QChar cGender;
    int birthYear;
    int deathYear;
    std::optional<QString> father, mother;
    int numericId;
    std::optional<QString> spouses; // read on first need
};

void DuplicatePeopleSearch::Criteria::cascade()
{
    bool previous = true;
    for (bool* b : {&bName, &bBirthYear, &bDeathYear, &bFathersName, &bMothersName, &bSpouses}) {
        if (!previous)
            *b = false;
        previous = *b;
    }
}

DuplicatePeopleSearch::DuplicatePeopleSearch(FTMoc* moc)
    : m_moc(moc)
{
}

DuplicatePeopleSearch::~DuplicatePeopleSearch() = default;

void DuplicatePeopleSearch::readPeople()
{
    m_read = true;
    if (!m_moc)
        return;
    ReleasingWalk walk(*m_moc);
    const QList<FTPerson*> people = m_moc->fetch<FTPerson>();
    m_people.reserve(size_t(people.size()));
    for (FTPerson* p : people) {
        walk.releasePoint();
        const QString gender = p->gender();
        m_people.push_back(Entry {p, p->name().toCaseFolded(), gender.toCaseFolded(),
                                  gender.isEmpty() ? QChar() : gender.at(0), yearOf(p->birth()), yearOf(p->death()),
                                  parentName(p->naturalFather()), parentName(p->naturalMother()), p->numericId(),
                                  std::nullopt});
    }
    std::sort(m_people.begin(), m_people.end(), [](const Entry& a, const Entry& b) {
        if (const int c = a.name.compare(b.name))
            return c < 0;
        if (const int c = a.gender.compare(b.gender))
            return c < 0;
        if (a.birthYear != b.birthYear)
            return a.birthYear < b.birthYear;
        if (a.deathYear != b.deathYear)
            return a.deathYear < b.deathYear;
        if (const int c = compareOptional(a.father, b.father))
            return c < 0;
        if (const int c = compareOptional(a.mother, b.mother))
            return c < 0;
        return a.numericId < b.numericId;
    });
}

bool DuplicatePeopleSearch::sameAs(Entry& a, Entry& b, const Criteria& c) const
{
    if (c.bName && (a.cGender != b.cGender || a.name != b.name))
        return false;
    if (c.bBirthYear && a.birthYear != b.birthYear)
        return false;
    if (c.bDeathYear && a.deathYear != b.deathYear)
        return false;
    if (c.bFathersName && !sameOrBothMissing(a.father, b.father))
        return false;
    if (c.bMothersName && !sameOrBothMissing(a.mother, b.mother))
        return false;
    if (c.bSpouses) {
        for (Entry* e : {&a, &b})
            if (!e->spouses) {
                const QString s = e->person->spousesString();
                e->spouses = s.isEmpty() ? std::nullopt : std::optional<QString>(s.toCaseFolded());
            }
        if (!sameOrBothMissing(a.spouses, b.spouses))
            return false;
    }
    return true;
}

QList<FTPerson*> DuplicatePeopleSearch::findDuplicates(Criteria& criteria, ModelProgress* progress)
{
    criteria.cascade();
    if (progress)
        progress->setPercent(50);
    if (!m_read)
        readPeople();
    const qsizetype count = qsizetype(m_people.size());
    std::vector<bool> listed(m_people.size(), false);
    ModelProgress::Steps steps(progress, count, 2);
    for (qsizetype i = 0; i + 1 < count; ++i) {
        steps.at(i);
        if (sameAs(m_people[size_t(i)], m_people[size_t(i + 1)], criteria))
            listed[size_t(i)] = listed[size_t(i + 1)] = true;
    }
    // With no criterion ticked there are no pairs to look at: everyone is listed.
    QList<FTPerson*> found;
    for (size_t i = 0; i < m_people.size(); ++i)
        if (listed[i] || !criteria.bName)
            found << m_people[i].person;
    if (progress)
        progress->setPercent(0);
    return found;
}

QStringList DuplicatePeopleSearch::csvFields(const FTPerson* p)
{
    const FTPerson* father = p->naturalFather();
    const FTPerson* mother = p->naturalMother();
    return {QString::number(p->numericId()),
            CsvWriter::escapedQuoted(p->name()),
            CsvWriter::number(yearOf(p->birth())),
            CsvWriter::number(yearOf(p->death())),
            CsvWriter::escapedQuoted(father ? father->nameWithBirthAndDeathYears() : QString()),
            CsvWriter::escapedQuoted(mother ? mother->nameWithBirthAndDeathYears() : QString()),
            CsvWriter::escapedQuoted(p->spousesString())};
}

bool DuplicatePeopleSearch::writeCsv(const QList<FTPerson*>& people, const QString& databaseName,
                                     ModelProgress* progress, QString* path)
{
    CsvWriter csv;
    if (!csv.create(QStringLiteral("%1_%2").arg(databaseName, LocalizedString(QStringLiteral("DuplicatePeopleFile")))))
        return false;
    if (path)
        *path = csv.outputPath();
    if (progress)
        progress->setPercent(0);
    // The header is a whole line of its own, line end included.
    bool ok = csv.write(LocalizedString(QStringLiteral("DuplicateCsvHeaderRow")));
    ModelProgress::Steps steps(progress, people.size(), 2);
    for (qsizetype i = 0; ok && i < people.size(); ++i) {
        steps.at(i);
        ok = csv.writeLine(csvFields(people[i]));
    }
    ok = csv.close() && ok;
    if (progress)
        progress->setPercent(100);
    return ok;
}
