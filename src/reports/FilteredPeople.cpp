#include "reports/FilteredPeople.h"

#include "reports/ListingReport.h"
#include "reports/NarrativeReport.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/FTSpouseRel.h"
#include "model/ModelProgress.h"

#include "shell/RtfWriter.h"

#include "platform/Localizer.h"
#include "platform/store/ReleasingWalk.h"
#include "platform/store/TextMatch.h"

namespace {
const QString& kCrLf = ListingReport::kCrLf;
const auto L = ListingReport::label;
const auto t = ListingReport::rtf;
int yearOf(const FTEvent* event)
{
    return event ? event->year() : 0;
}
QString placeOf(const FTEvent* event)
{
    return event ? event->place() : QString();
}
QString dateOf(const FTEvent* event)
{
    return event ? event->date() : QString();
}
bool isYearField(int field)
{
    return field >= FilteredPeople::BirthYearBefore && field <= FilteredPeople::DeathYearAfter;
}
}

QString FilteredPeople::fieldKey(Field field)
{
    static const char* const keys[FieldCount] = { "nameFilter", "lastNameFilter", "titleFilter", "birthPlaceFilter",
        "deathPlaceFilter", "birthYearBeforeFilter", "birthYearAfterFilter", "deathYearBeforeFilter",
        "deathYearAfterFilter", "causeOfDeathFilter" };
    return QString::fromLatin1(keys[field]);
}

FilteredPeople::FilteredPeople(FTMoc* moc)
    : m_moc(moc)
{
}

bool FilteredPeople::matches(const FTPerson* p) const
{
    for (int f = 0; f < FieldCount; ++f) {
        const QString& text = filters[f];
        if (text.isEmpty())
            continue;
        const int year = ListingReport::leadingInteger(text);
        bool ok = true;
        switch (Field(f)) {
        case Name: ok = TextMatch::contains(p->name(), text); break;
        case LastName: ok = TextMatch::endsWith(p->name(), text); break;
        case Title: ok = TextMatch::contains(p->title(), text); break;
        case BirthPlace: ok = TextMatch::contains(placeOf(p->birth()), text); break;
        case DeathPlace: ok = TextMatch::contains(placeOf(p->death()), text); break;
        // A "before" year leaves out people without the year; an "after" year does too, unless it is 0 or less.
        case BirthYearBefore: ok = yearOf(p->birth()) != 0 && yearOf(p->birth()) <= year; break;
        case BirthYearAfter: ok = yearOf(p->birth()) >= year; break;
        case DeathYearBefore: ok = yearOf(p->death()) != 0 && yearOf(p->death()) <= year; break;
        case DeathYearAfter: ok = yearOf(p->death()) >= year; break;
        case CauseOfDeath: ok = TextMatch::contains(p->causeOfDeath(), text); break;
        case FieldCount: break;
        }
        if (!ok)
            return false;
    }
    return true;
}

QList<FTPerson*> FilteredPeople::people() const
{
    struct Row {
        FTPerson* person;
        QString name;
        int year;
    };
    QList<Row> rows;
    ReleasingWalk walk(*m_moc);
    m_moc->forEachObject(QString::fromLatin1(FTPerson::kEntityName), [&](ManagedObject* o) {
        walk.releasePoint();
        auto* p = static_cast<FTPerson*>(o);
        if (matches(p))
            rows.push_back({ p, p->name(), yearOf(p->birth()) });
        return true;
    });
    std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
        const int byName = a.name.compare(b.name);
        return byName != 0 ? byName < 0 : a.year < b.year;
    });
    QList<FTPerson*> out;
    out.reserve(rows.size());
    for (const Row& r : std::as_const(rows))
        out << r.person;
    return out;
}

int FilteredPeople::estimatedPages(qsizetype count, bool oneLinePerPerson)
{
    return int(count / (oneLinePerPerson ? 80 : 14));
}

QString FilteredPeople::filtersDescription() const
{
    QStringList parts;
    for (int f = 0; f < FieldCount; ++f) {
        if (filters[f].isEmpty())
            continue;
        const QString label = LocalizedString(fieldKey(Field(f)));
        if (!isYearField(f))
            parts << QStringLiteral("%1 '%2'").arg(label, filters[f]);
        else
            parts << QStringLiteral("%1 %2 %3")
                         .arg(label, f == BirthYearBefore || f == DeathYearBefore ? QStringLiteral("<=")
                                                                                  : QStringLiteral(">="))
                         .arg(ListingReport::leadingInteger(filters[f]));
    }
    return parts.isEmpty() ? L("None") : parts.join(QStringLiteral(" %1 ").arg(L("ConjunctiveAnd")));
}

QString FilteredPeople::oneLine(const FTPerson* p) const
{
    QString s = QStringLiteral("\\pard\\plain \\s0\\f0\\fs16\\keepn ") + kCrLf + t(p->nameWithBirthAndDeathYears());
    s += QStringLiteral(", ") + t(p->gender());
    if (!p->title().isEmpty())
        s += QStringLiteral(", ") + t(p->title());
    if (!placeOf(p->birth()).isEmpty())
        s += QStringLiteral(", %1. %2").arg(t(L("BirthShort")), t(placeOf(p->birth())));
    if (!placeOf(p->death()).isEmpty())
        s += QStringLiteral(", %1. %2").arg(t(L("DeathShort")), t(placeOf(p->death())));
    if (!p->causeOfDeath().isEmpty())
        s += QStringLiteral(", ") + t(p->causeOfDeath());
    return s + QStringLiteral("\\par ") + kCrLf;
}

QString FilteredPeople::block(const FTPerson* p) const
{
    QString s = QStringLiteral("\\pard\\plain \\s0\\f0\\fs16\\keepn ") + kCrLf;
    s += QStringLiteral("\\par \\b %1\\b0 ").arg(t(p->nameWithBirthAndDeathYears()));
    // Only a known gender is named: an unknown one is not a woman.
    if (p->gender() == L("MaleShort"))
        s += QStringLiteral(", ") + t(L("Male"));
    else if (p->gender() == L("FemaleShort"))
        s += QStringLiteral(", ") + t(L("Female"));
    if (!p->title().isEmpty())
        s += QStringLiteral(", ") + t(p->title());
    s += QStringLiteral("\\li1440 ");

    auto event = [&](const FTEvent* e, const char* shortKey) {
        const QString date = dateOf(e), place = placeOf(e);
        if (date.isEmpty() && place.isEmpty())
            return;
        s += QStringLiteral("\\par %1. ").arg(t(L(shortKey)));
        if (!date.isEmpty())
            s += t(date) + ' ';
        if (!place.isEmpty())
            s += QStringLiteral("%1 %2").arg(t(L("ConjunctiveAt")), t(place));
    };
    event(p->birth(), "BirthShort");

    const QList<FTSpouseRel*> couples = p->spouseRelsArray();
    for (qsizetype i = 0; i < couples.size(); ++i) {
        const FTSpouseRel* couple = couples[i];
        const FTEvent* marriage = couple->marriage();
        s += marriage ? QStringLiteral("\\par %1.").arg(t(L("MarriageShort"))) : QStringLiteral("\\par +.");
        if (couples.size() > 1)
            s += QStringLiteral("(%1)").arg(i + 1);
        if (!dateOf(marriage).isEmpty())
            s += ' ' + t(dateOf(marriage));
        const FTPerson* partner = couple->partnerOf(p);
        s += QStringLiteral(" %1 ").arg(t(partner ? partner->name() : QString()));
        if (!placeOf(marriage).isEmpty())
            s += QStringLiteral(" %1 %2").arg(t(L("ConjunctiveAt")), t(placeOf(marriage)));
    }

    event(p->death(), "DeathShort");
    if (!p->causeOfDeath().isEmpty())
        s += QStringLiteral("\\par %1: %2").arg(t(L("CauseOfDeath")), t(p->causeOfDeath()));
    if (const FTPerson* father = p->naturalFather())
        s += QStringLiteral("\\par %1: %2").arg(t(L("Father")), t(father->nameWithBirthAndDeathYears()));
    if (const FTPerson* mother = p->naturalMother())
        s += QStringLiteral("\\par %1: %2").arg(t(L("Mother")), t(mother->nameWithBirthAndDeathYears()));
    const QList<FTPerson*> children = p->naturalChildren();
    for (qsizetype i = 0; i < children.size(); ++i) {
        s += i == 0 ? QStringLiteral("\\par %1 [%2] : ").arg(t(L("Children"))).arg(children.size())
                    : QStringLiteral(", ");
        s += t(children[i]->name());
        if (const int year = yearOf(children[i]->birth()))
            s += QStringLiteral(" (%1)").arg(year);
    }
    return s + QStringLiteral("\\par ") + kCrLf;
}

bool FilteredPeople::generate(RtfWriter& writer, const QList<FTPerson*>& people, ModelProgress* progress) const
{
    if (moment.isValid())
        writer.setDateTime(moment);
    if (!ListingReport::begin(writer, ListingReport::baseName(modelName, QStringLiteral("FilteredReport")), 9,
                              RtfWriter::standardStyles({ 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 13, 23, 24 })))
        return false;
    bool written = writer.write(t(QStringLiteral("%1 %2 %3 %4")
                                      .arg(L("FilteredFile"), modelName, L("ConjunctiveOn"), writer.titleDateText()))
                                + QStringLiteral(" \\par \\par ") + kCrLf);
    written = writer.write(QStringLiteral("%1: %2 \\par \\par ").arg(t(L("Filters")), t(filtersDescription())) + kCrLf)
        && written;

    ModelProgress::begin(progress, L("FilteredReportTitle"));
    ModelProgress::Steps steps(progress, people.size(), 1);
    ReleasingWalk walk(*m_moc);
    for (qsizetype i = 0; i < people.size() && written; ++i) {
        walk.releasePoint();
        const FTPerson* p = people[i];
        // A blank line between initials; a person without a name forms a group of their own.
        if (oneLinePerPerson && i > 0 && p->name().left(1) != people[i - 1]->name().left(1))
            written = writer.write(QStringLiteral(" \\par"));
        written = writer.write(oneLinePerPerson ? oneLine(p) : block(p)) && written;
        steps.at(i);
    }
    if (progress)
        progress->setPercent(100);
    return NarrativeReport::endReportFile(writer, written);
}
