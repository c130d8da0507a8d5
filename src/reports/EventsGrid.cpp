#include "reports/EventsGrid.h"

#include "reports/ReportTextFile.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/ModelProgress.h"

#include "shell/Utils.h"
#include "shell/UtilsFunctions.h"

#include "platform/Localizer.h"
#include "platform/store/ReleasingWalk.h"
#include "platform/store/TextMatch.h"

#include <QMap>

#include <algorithm>
#include <optional>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

bool isGridEvent(const FTEvent* e)
{
    const int type = e->type();
    return e->year() > 0
        && (type == FTEvent::BirthEvent || type == FTEvent::DeathEvent || type == FTEvent::OtherPersonalEvent);
}

// By year, month, day, sort key, then tag: the order of a row's cells and of the events table.
bool earlier(const FTEvent* a, const FTEvent* b)
{
    if (a->year() != b->year())
        return a->year() < b->year();
    if (a->month() != b->month())
        return a->month() < b->month();
    if (a->day() != b->day())
        return a->day() < b->day();
    if (a->lDate() != b->lDate())
        return a->lDate() < b->lDate();
    return a->subtype() < b->subtype();
}

// A cell's line: tag and date, quotes doubled so that neither can end the cell early.
QString cellText(const FTEvent* e)
{
    QString text = QStringLiteral("%1 %2").arg(e->subtype(), e->date());
    return text.replace(QLatin1Char('"'), QLatin1String("\"\""));
}
}

EventsGrid::EventsGrid(FTMoc* moc)
    : m_moc(moc)
    , m_people(moc->fetch<FTPerson>())
{
    sortPeople();
}

QStringList EventsGrid::eventTypeEntries() const
{
    QMap<QString, int> counts;
    ReleasingWalk walk(*m_moc);
    m_moc->forEachObject(QString::fromLatin1(FTEvent::kEntityName), [&counts, &walk](ManagedObject* o) {
        walk.releasePoint();
        const auto* e = static_cast<FTEvent*>(o);
        if (e->type() == FTEvent::OtherPersonalEvent && !e->subtype().isEmpty())
            ++counts[e->subtype()];
        return true;
    });
    const QMap<QString, QString> names = Utils::eventTypesDictionary(142);
    QStringList out;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        out << QStringLiteral("%1 (%2)").arg(names.value(it.key(), it.key())).arg(it.value());
    out << L("None");
    return out;
}

QList<FTPerson*> EventsGrid::shownPeople() const
{
    const bool typed = !m_subtype.isEmpty();
    if (m_words.isEmpty() && !typed)
        return m_people;
    QList<FTPerson*> out;
    for (FTPerson* p : m_people) {
        if (typed && m_typePeople.contains(p) == m_inverted)
            continue;
        if (!m_words.isEmpty() && !nameMatches(p->name(), m_words))
            continue;
        out << p;
    }
    return out;
}

void EventsGrid::setNameFilter(const QString& text)
{
    QString trimmed = text;
    TrimString(&trimmed);
    m_words.clear();
    for (const QString& word : trimmed.split(QLatin1Char(' ')))
        if (!word.isEmpty() && word != QLatin1String(" "))
            m_words << TextMatch::fold(word);
}

void EventsGrid::setEventType(const QString& tag)
{
    m_typePeople.clear();
    if (tag.isEmpty() || tag == L("None")) {
        m_subtype.clear();
        return;
    }
    m_subtype = tag;
    ReleasingWalk walk(*m_moc);
    m_moc->forEachObject(QString::fromLatin1(FTEvent::kEntityName), [this, &walk](ManagedObject* o) {
        walk.releasePoint();
        const auto* e = static_cast<FTEvent*>(o);
        if (e->type() == FTEvent::OtherPersonalEvent && e->subtype() == m_subtype)
            if (const FTPerson* p = e->person())
                m_typePeople.insert(p);
        return true;
    });
}

void EventsGrid::setNotTheEventType(bool inverted)
{
    m_inverted = inverted;
}

void EventsGrid::sortByFamilyName()
{
    m_byFamilyName = true;
    sortPeople();
}

void EventsGrid::sortByName()
{
    m_byFamilyName = false;
    sortPeople();
}

void EventsGrid::sortPeople()
{
    QList<std::pair<QString, FTPerson*>> keyed;
    keyed.reserve(m_people.size());
    for (FTPerson* p : std::as_const(m_people))
        keyed.append({ m_byFamilyName ? p->familyName() + QChar(0) + p->name() : p->name(), p });
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (qsizetype i = 0; i < keyed.size(); ++i)
        m_people[i] = keyed[i].second;
}

bool EventsGrid::nameMatches(const QString& name, const QStringList& foldedWords)
{
    const QString folded = TextMatch::fold(name);
    static const QChar kStarts[] = { QLatin1Char(' '), QLatin1Char('_'), QChar(0x00A0), QLatin1Char('(') };
    for (const QString& word : foldedWords) {
        bool found = folded.startsWith(word);
        for (const QChar start : kStarts) {
            if (found)
                break;
            found = folded.contains(start + word);
        }
        if (!found)
            return false;
    }
    return true;
}

EventsGrid::Events EventsGrid::eventsOf(const QList<FTPerson*>& people, ModelProgress* progress)
{
    Events out;
    int earliest = 0;
    ModelProgress::Steps steps(progress, people.size(), 1);
    std::optional<ReleasingWalk> walk;
    if (!people.isEmpty())
        walk.emplace(*people.first()->context());
    for (qsizetype i = 0; i < people.size(); ++i) {
        steps.at(i);
        walk->releasePoint();
        const FTPerson* p = people[i];
        QList<FTEvent*> own;
        auto take = [&own](FTEvent* e) {
            if (e && isGridEvent(e))
                own << e;
        };
        take(p->birth());
        take(p->death());
        for (FTEvent* e : p->otherEvents())
            take(e);
        if (own.isEmpty())
            continue;
        // The couple's events first, so that a marriage on the day of another event comes before it.
        QList<FTEvent*> list;
        for (FTEvent* e : p->marriageEvents())
            if (e->year() > 0)
                list << e;
        for (FTEvent* e : std::as_const(own))
            if (e->year() > 100 && (earliest == 0 || e->year() < earliest))
                earliest = e->year();
        list << own;
        std::stable_sort(list.begin(), list.end(), earlier);
        out.lastYear = std::max(out.lastYear, list.last()->year());
        out.lists.insert(p, list);
    }
    out.firstDecade = earliest / 10 * 10;
    return out;
}

QString EventsGrid::headerLine(int firstDecade, int lastDecade)
{
    QString line = L("EventsReportCsvHeader");
    line += QStringLiteral(",\"%1 %2\"").arg(L("PreviousShort")).arg(firstDecade);
    for (int d = firstDecade; d <= lastDecade; d += 10)
        line += QStringLiteral(",%1-%2").arg(d).arg(d + 9);
    return line + QLatin1Char('\n');
}

QString EventsGrid::rowLine(const FTPerson* person, const QList<FTEvent*>& events, int firstDecade)
{
    QString line = QStringLiteral("%1,\"%2\",\"%3\",%4,%5")
                       .arg(QString::number(person->numericId()), cleanCsvString(person->nameWithBirthAndDeathYears()),
                           cleanCsvString(person->familyName()),
                           stringFromInt(person->birth() ? person->birth()->year() : 0, QStringLiteral("Birth")),
                           stringFromInt(person->death() ? person->death()->year() : 0, QStringLiteral("Death")));
    const int first = firstDecade / 10;
    // Decades are column numbers; the column before the first decade takes every earlier event.
    auto column = [first](const FTEvent* e) {
        const int d = e->year() / 10;
        return d == 0 ? 0 : std::max(d, first - 1);
    };
    int current = first - 2;
    qsizetype i = 0;
    while (i < events.size()) {
        const int d = column(events[i]);
        if (d <= 0 || d <= current) {
            ++i;
            continue;
        }
        line += QString(d - current - 1, QLatin1Char(','));
        line += QStringLiteral(",\"") + cellText(events[i]);
        for (++i; i < events.size(); ++i) {
            const int next = column(events[i]);
            if (next > d)
                break;
            if (next > 0)
                line += QLatin1Char('\n') + cellText(events[i]);
        }
        line += QLatin1Char('"');
        current = d;
    }
    return line + QLatin1Char('\n');
}

bool EventsGrid::generate(const QList<FTPerson*>& people, QString* path, ModelProgress* progress) const
{
    ModelProgress::begin(progress, QString());
    ReportTextFile file;
    if (!file.create(QStringLiteral("%1_%2").arg(modelName, L("EventsReportFileName")), QStringLiteral("csv"), 100))
        return false;
    if (path)
        *path = file.path();
    ModelProgress::begin(progress, L("SortingEvents"));
    const Events events = eventsOf(people, progress);
    const int first = std::max(events.firstDecade, 1700);
    // The heading goes on to the decade of the latest event, and at least to the present one.
    const int now = (moment.isValid() ? moment : QDateTime::currentDateTime()).date().year();
    const int last = std::max(events.lastYear, now) / 10 * 10;
    bool written = file.write(headerLine(first, last));
    ModelProgress::begin(progress, L("WritingEvents"));
    ModelProgress::Steps steps(progress, people.size(), 1);
    QString chunk;
    for (qsizetype i = 0; i < people.size() && written; ++i) {
        steps.at(i);
        chunk += rowLine(people[i], events.lists.value(people[i]), first);
        if (chunk.size() > 1 << 16) {
            written = file.write(chunk);
            chunk.clear();
        }
    }
    written = written && file.write(chunk);
    if (progress)
        progress->setPercent(100);
    return file.close() && written;
}

QString EventsGrid::cleanCsvString(const QString& text)
{
    QString out = text;
    out.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    out.replace(QLatin1Char('\r'), QLatin1String("\\r"));
    out.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return out;
}

QString EventsGrid::stringFromInt(int year, const QString& column)
{
    if (year != 0)
        return QString::number(year);
    return column == QLatin1String("Birth") ? QStringLiteral("0") : QStringLiteral("?");
}

QList<FTEvent*> EventsGrid::eventsOfPerson(const FTPerson* person, bool dateAscending)
{
    QList<FTEvent*> out;
    if (!person)
        return out;
    if (FTEvent* b = person->birth())
        out << b;
    if (FTEvent* d = person->death())
        out << d;
    out << person->otherEvents();
    std::stable_sort(out.begin(), out.end(), [dateAscending](const FTEvent* a, const FTEvent* b) {
        if (a->lDate() != b->lDate())
            return dateAscending ? a->lDate() < b->lDate() : a->lDate() > b->lDate();
        return a->subtype() < b->subtype();
    });
    return out;
}
