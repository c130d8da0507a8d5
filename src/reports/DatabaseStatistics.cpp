#include "reports/DatabaseStatistics.h"

#include "reports/ListingReport.h"
#include "reports/NarrativeReport.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/FTPicture.h"
#include "model/ModelProgress.h"

#include "shell/RtfWriter.h"

#include "platform/Localizer.h"
#include "platform/store/ReleasingWalk.h"

#include <array>

namespace {
const QString& kCrLf = ListingReport::kCrLf;
const auto L = ListingReport::label;
const auto t = ListingReport::rtf;

struct Kind {
    const char* label;
    const char* entity;
    int eventType; // 0: every record of the entity
};
const Kind kKinds[] = {
    { "StatsPeople", "Person", 0 }, { "StatsBirths", "Event", FTEvent::BirthEvent },
    { "StatsDeaths", "Event", FTEvent::DeathEvent }, { "StatsEvents", "Event", 0 },
    { "StatsMarriages", "Event", FTEvent::MarriageEvent }, { "StatsOtherMarriage", "Event", FTEvent::OtherMarriageEvent },
    { "StatsOtherPersonal", "Event", FTEvent::OtherPersonalEvent }, { "StatsEventTypes", "EventType", 0 },
    { "StatsPictures", "Picture", 0 }, { "StatsStoryPages", "Story", 0 }, { "StatsProjectViews", "ProjectView", 0 },
    { "StatsSources", "Source", 0 }, { "StatsSourceCitations", "SourceRel", 0 }, { "StatsPcRels", "PcRel", 0 },
    { "StatsSpouseRels", "SpouseRel", 0 },
};

struct Aged {
    FTPerson* person;
    int age;
    QString nameWithYears;
    QString familyName;
};
}

DatabaseStatistics::DatabaseStatistics(FTMoc* moc)
    : m_moc(moc)
{
}

void DatabaseStatistics::countRecords(ModelProgress* progress)
{
    m_rows.clear();
    m_lifespansAdded = false;
    QList<const Kind*> kinds;
    for (const Kind& k : kKinds)
        kinds << &k;
    std::stable_sort(kinds.begin(), kinds.end(), [](const Kind* a, const Kind* b) {
        return L(a->label).compare(L(b->label), Qt::CaseInsensitive) < 0;
    });
    ModelProgress::begin(progress, L("StatsReport"));
    for (qsizetype i = 0; i < kinds.size(); ++i) {
        const Kind* kind = kinds[i];
        if (progress)
            progress->setPercent(int((i + 1) * 80 / kinds.size()));
        const QString entity = QString::fromLatin1(kind->entity);
        const int type = kind->eventType;
        const int n = type == 0 ? m_moc->count(entity)
                                : m_moc->count(entity, [type](const ManagedObject* o) {
                                      return static_cast<const FTEvent*>(o)->type() == type;
                                  });
        if (n > 0)
            add(L(kind->label), n, true);
        if (entity == QLatin1String("Picture"))
            add(L("PicThumbs"), m_moc->count<FTPicture>([](const FTPicture* p) { return p->originalPicture() != nullptr; }),
                true);
    }
    if (progress)
        progress->setPercent(0);
}

void DatabaseStatistics::addLifespans(Order order, ModelProgress* progress)
{
    struct Gender {
        int total = 0, lifespans = 0, under20 = 0, over80 = 0, over90 = 0, over100 = 0;
        qint64 sum = 0;
    } male, female;
    QList<Aged> list80, list90, list100;
    QList<FTPerson*> titled;
    std::array<int, 200> histogram {};
    int earliestYear = 10000;
    FTPerson* earliest = nullptr;

    const QString king = L("KingTitle"), queen = L("QueenTitle"), maleShort = L("MaleShort"),
                  femaleShort = L("FemaleShort");
    ReleasingWalk walk(*m_moc);
    const QList<FTPerson*> people = m_moc->fetch<FTPerson>();
    ModelProgress::begin(progress, L("StatsLifespan"));
    ModelProgress::Steps steps(progress, people.size(), 2);
    for (qsizetype i = 0; i < people.size(); ++i) {
        steps.at(i);
        walk.releasePoint();
        FTPerson* p = people[i];
        const QString title = p->title();
        if (!title.isEmpty() && (title.contains(king) || title.contains(queen)))
            titled << p;
        const FTEvent* birth = p->birth();
        const FTEvent* death = p->death();
        const int birthYear = birth ? birth->year() : 0;
        const int deathYear = death ? death->year() : 0;
        for (int year : { birthYear, deathYear })
            if (year > 0 && year < earliestYear) {
                earliestYear = year;
                earliest = p;
            }
        Gender* gender = p->gender() == maleShort ? &male : p->gender() == femaleShort ? &female : nullptr;
        if (gender)
            ++gender->total;
        const int age = death ? death->yearsSince(birth) : 0;
        // An age of 0 counts only when both years are known; a death recorded before the birth is no age at all.
        if (age == 0 && (birthYear == 0 || deathYear == 0 || deathYear < birthYear))
            continue;
        if (age < int(histogram.size()))
            ++histogram[age];
        if (!gender)
            continue;
        ++gender->lifespans;
        gender->sum += age;
        if (age <= 19) {
            ++gender->under20;
            continue;
        }
        const Aged aged { p, age, QString(), QString() };
        if (age > 79) {
            ++gender->over80;
            list80 << aged;
        }
        if (age > 89) {
            ++gender->over90;
            list90 << aged;
        }
        if (age > 99) {
            ++gender->over100;
            list100 << aged;
        }
    }

    auto genderRows = [this](const Gender& g, const char* plural, const char* average) {
        add(QStringLiteral("%1 %2").arg(L("NumberShort"), L(plural)), g.total, true);
        if (g.lifespans > 0)
            add(L(average), int(g.sum / g.lifespans), true);
        const QPair<const char*, int> bands[] = { { "LifespanUnder20", g.under20 }, { "LifespanOver80", g.over80 },
            { "LifespanOver90", g.over90 }, { "LifespanOver100", g.over100 } };
        for (const auto& band : bands)
            add(QStringLiteral("%1 %2").arg(L(plural), L(band.first)), band.second, true);
    };
    blank();
    genderRows(male, "Males", "AveMaleLifeSpan");
    blank();
    genderRows(female, "Females", "AveFemaleLifeSpan");

    if (earliest) {
        blank();
        add(L("EarliestRecorded"), 0, false);
        const int b = earliest->birth() ? earliest->birth()->year() : 0;
        const int d = earliest->death() ? earliest->death()->year() : 0;
        QString text = earliest->name();
        if (b != 0 && d != 0)
            text += QStringLiteral(" (%1 - %2)").arg(b).arg(d);
        else if (b != 0)
            text += QStringLiteral(", %1 %2 AD").arg(L("born")).arg(b);
        else if (d != 0)
            text += QStringLiteral(", %1 %2 AD").arg(L("died")).arg(d);
        add(text, 0, false);
    }

    qint64 all = 0;
    for (int n : histogram)
        all += n;
    if (all > 0) {
        blank();
        const QString ageAtDeath = L("StatsAgeAtDeath");
        int running = 0;
        for (int age = 0; age < int(histogram.size()); ++age) {
            running += histogram[age];
            const double percent = running * 100.0 / double(all);
            if (age == 0 && running != 0) {
                add(QStringLiteral("%1 < 1 %2 = %3%").arg(ageAtDeath, L("Year").toLower(),
                        QString::asprintf("%2.1f", percent)), running, false);
                running = 0;
            } else if (age > 0 && age % 10 == 0 && running != 0) {
                add(QStringLiteral("%1 %2 %3 %4 = %5%")
                        .arg(ageAtDeath, QString::asprintf("%02d", age - 9), L("ConjunctiveTo"),
                            QString::asprintf("%02d", age), QString::asprintf("%2.1f", percent)),
                    running, false);
                running = 0;
            }
        }
    }

    auto sorted = [order](QList<Aged> list) {
        for (Aged& a : list) {
            a.nameWithYears = a.person->nameWithBirthAndDeathYears();
            if (order == ByFamilyName)
                a.familyName = a.person->familyName();
        }
        std::stable_sort(list.begin(), list.end(), [order](const Aged& a, const Aged& b) {
            // Ages compare as numbers: as text "9" would come after "80".
            if (order == ByAgeAtDeath && a.age != b.age)
                return a.age > b.age;
            if (order == ByFamilyName) {
                const int byFamily = a.familyName.compare(b.familyName);
                if (byFamily != 0)
                    return byFamily < 0;
            }
            return a.nameWithYears.compare(b.nameWithYears) < 0;
        });
        return list;
    };
    const struct {
        const char* heading;
        const QList<Aged>* list;
        int maxAge;
    } groups[] = { { "Centenarians", &list100, INT_MAX }, { "Nonogenarians", &list90, 99 },
        { "Octigenarians", &list80, 89 } };
    for (const auto& group : groups) {
        blank();
        // The heading counts everyone at the age or above; the list shows only those below the next band.
        add(QStringLiteral("%1  (%2)").arg(L(group.heading)).arg(group.list->size()), 0, false);
        for (const Aged& a : sorted(*group.list))
            if (a.age <= group.maxAge)
                add(a.nameWithYears, a.age, true);
    }

    if (!titled.isEmpty()) {
        QList<QPair<QString, QString>> royals;
        for (const FTPerson* p : std::as_const(titled))
            royals.push_back({ p->nameWithBirthAndDeathYears(), p->title() });
        std::stable_sort(royals.begin(), royals.end(),
            [](const auto& a, const auto& b) { return a.first.compare(b.first) < 0; });
        blank();
        add(QStringLiteral("%1 (%2)").arg(L("Royalty")).arg(royals.size()), 0, false);
        for (const auto& r : std::as_const(royals))
            add(QStringLiteral("%1 - %2").arg(r.first, r.second), 0, false);
    }
    if (progress)
        progress->setPercent(0);
    m_lifespansAdded = true;
}

bool DatabaseStatistics::save(RtfWriter& writer) const
{
    if (moment.isValid())
        writer.setDateTime(moment);
    writer.setFileType(QStringLiteral("rtf"));
    if (!ListingReport::begin(writer, ListingReport::baseName(modelName, QStringLiteral("StatisticsFilename")), 8,
                              RtfWriter::standardStyles({ 0 }, 14)))
        return false;
    bool written = writer.write(QStringLiteral("\\pard\\plain \\s2\\f0\\fs28\\fi-1000\\li1000\\tx1000\\cf0\\par ") + kCrLf);
    written = writer.write(t(QStringLiteral("%1 %2 %3 %4")
                                 .arg(L("StatsReport"), modelName, L("CreatedOn"), writer.titleDateText()))
                           + QStringLiteral(" \\par \\par ") + kCrLf)
        && written;
    QString body = QStringLiteral("\\pard\\plain \\s23\\qj\\f0\\fs22\\li200\\tx4000\\cf2\\par\\b0 ") + kCrLf;
    for (const Row& row : m_rows)
        body += row.showCount ? QStringLiteral("%1 \\tab %2 \\par ").arg(t(row.name)).arg(row.count) + kCrLf
                              : QStringLiteral("%1 \\par ").arg(t(row.name)) + kCrLf;
    written = writer.write(body) && written;
    return NarrativeReport::endReportFile(writer, written);
}
