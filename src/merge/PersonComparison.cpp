#include "merge/PersonComparison.h"

#include "merge/CompareFormats.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "model/FTPicture.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"
#include "model/FTSpouseRel.h"
#include "model/FTStory.h"

#include "platform/Localizer.h"

#include <QDateTime>
#include <QSet>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace {
using Step = PersonComparison::Step;
using Kind = PersonComparison::Kind;
using Side = PersonComparison::Side;
using Finding = PersonComparison::Finding;

QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

// Change stamps, record numbers and the extra fields never count; pictures leave out their thumbnails too.
constexpr unsigned kOptions = FTManagedObject::CompareWithoutLastChange | FTManagedObject::CompareWithoutNumericId
    | FTManagedObject::CompareWithoutExtraData;
constexpr unsigned kPictureOptions = kOptions | FTManagedObject::CompareWithoutThumbNailImageData;

QStringList differingAttributes(const FTManagedObject* a, const FTManagedObject* b, unsigned options)
{
    if (!a)
        return {};
    return a->compareWith(b, options).value_or(QStringList());
}

QString sideText(Side side)
{
    return side == Side::SourceOnly ? L("InSourceButNotInTarget") : L("InTargetButNotInSource");
}

// "(null)" stands where the account names something that is not there, as in the heading of a missing birth.
QString orNull(const QString& text, bool present)
{
    return present ? text : QStringLiteral("(null)");
}

// Writes the lines of one step and records its findings. A count line stands as the step's heading; otherwise the
// heading is written before the first line that needs it, once.
class StepWriter {
public:
    StepWriter(PersonComparison& result, Step step)
        : m_result(result)
        , m_step(step)
    {
    }

    int differences() const { return m_differences; }
    QString& text() { return m_result.text; }

    void countLine(const char* key, int sourceCount, int targetCount)
    {
        text() += QStringLiteral("\n - ") + L(key) + ' ' + QString::number(sourceCount) + ' ' + L("ConjunctiveIn")
            + ' ' + L("sourceDb") + ' ' + L("ConjunctiveAnd") + ' ' + QString::number(targetCount) + ' '
            + L("ConjunctiveIn") + ' ' + L("targetDb") + '\n';
        m_headed = true;
        Finding f = finding(Kind::Count, Side::Both, {});
        f.sourceCount = sourceCount;
        f.targetCount = targetCount;
        add(f);
    }
    void heading(const char* key)
    {
        if (m_headed)
            return;
        text() += QStringLiteral("\n - ") + L(key) + '\n';
        m_headed = true;
    }
    Finding finding(Kind kind, Side side, const QString& item) const
    {
        Finding f;
        f.step = m_step;
        f.kind = kind;
        f.side = side;
        f.item = item;
        return f;
    }
    void add(const Finding& f)
    {
        m_result.findings << f;
        m_differences += f.differences;
    }

private:
    PersonComparison& m_result;
    Step m_step;
    bool m_headed = false;
    int m_differences = 0;
};

// Two lines per attribute: the source record's value, then the target record's.
void appendAttributes(QString& text, const QStringList& attributes, const FTManagedObject* source,
    const FTManagedObject* target, int indent)
{
    const QString blanks = QStringLiteral("   ").repeated(indent);
    for (const QString& name : attributes) {
        const Key key(name);
        text += blanks + L("source") + ' ' + name + QStringLiteral(" = ")
            + PersonComparison::describeValue(source ? source->value(key) : QVariant()) + '\n';
        text += blanks + L("target") + ' ' + name + QStringLiteral(" = ")
            + PersonComparison::describeValue(target ? target->value(key) : QVariant()) + '\n';
    }
}

// "\n - <label>: Name, Title\n" and the attribute lines.
void appendAttributeList(QString& text, const char* key, const QStringList& attributes,
    const FTManagedObject* source, const FTManagedObject* target)
{
    QStringList names;
    for (const QString& a : attributes)
        names << FTManagedObject::capitalized(a);
    text += QStringLiteral("\n - ") + L(key) + QStringLiteral(": ") + names.join(QStringLiteral(", ")) + '\n';
    appendAttributes(text, attributes, source, target, 2);
}

int compareAttributesOfPerson(const FTPerson* source, const FTPerson* target, PersonComparison& result)
{
    StepWriter w(result, Step::Attributes);
    const QStringList attributes = differingAttributes(source, target, kOptions);
    if (attributes.isEmpty())
        return 0;
    appendAttributeList(w.text(), "DifferentAttributes", attributes, source, target);
    Finding f = w.finding(Kind::Attributes, Side::Both, {});
    f.attributes = attributes;
    f.differences = int(attributes.size());
    w.add(f);
    return w.differences();
}

const FTEvent* presentEvent(const FTEvent* event)
{
    return event && !event->isEmptyEvent() ? event : nullptr;
}

// A birth or death: absent on one side counts once, whatever it holds; otherwise the fields, of which only the date
// as typed stands for the date.
int compareVitalEvent(Step step, const FTEvent* sourceEvent, const FTEvent* targetEvent, PersonComparison& result)
{
    const bool birth = step == Step::Birth;
    StepWriter w(result, step);
    const FTEvent* s = presentEvent(sourceEvent);
    const FTEvent* t = presentEvent(targetEvent);
    if (!s && !t)
        return 0;
    if (!s || !t) {
        const QString word = L(birth ? "BEvent" : "DEvent").toLower();
        w.text() += QStringLiteral("\n - ") + L(birth ? "DiffNumBirthEvents" : "DiffNumDeath") + '\n';
        w.text() += QStringLiteral("    ") + L("source") + ' ' + word + QStringLiteral(" = ")
            + orNull(s ? s->eventDescription() : QString(), s) + '\n';
        w.text() += QStringLiteral("    ") + L("target") + ' ' + word + QStringLiteral(" = ")
            + orNull(t ? t->eventDescription() : QString(), t) + '\n';
        w.add(w.finding(Kind::OneSide, s ? Side::SourceOnly : Side::TargetOnly, (s ? s : t)->eventDescription()));
        return w.differences();
    }
    QStringList attributes = differingAttributes(s, t, kOptions);
    for (const char* derived : { "qual", "day", "month", "year" })
        attributes.removeAll(QString::fromLatin1(derived));
    if (attributes.isEmpty())
        return 0;
    appendAttributeList(w.text(), birth ? "DiffBirthEvents" : "DiffDeathEvents", attributes, s, t);
    Finding f = w.finding(Kind::Attributes, Side::Both, s->eventDescription());
    f.attributes = attributes;
    f.differences = int(attributes.size());
    w.add(f);
    return w.differences();
}

// The person's other personal events: the index made for a whole comparison when there is one, else the events
// themselves (the same records).
QList<FTEvent*> otherPersonalEvents(const FTPerson* person)
{
    QList<FTEvent*> events;
    if (!person)
        return events;
    if (const QSet<FTEvent*>* indexed = person->otherEventsSet())
        events = QList<FTEvent*>(indexed->begin(), indexed->end());
    else
        events = person->otherEvents();
    std::sort(events.begin(), events.end(), [](const FTEvent* a, const FTEvent* b) {
        if (a->year() != b->year())
            return a->year() < b->year();
        if (a->month() != b->month())
            return a->month() < b->month();
        if (a->day() != b->day())
            return a->day() < b->day();
        if (const int c = a->place().compare(b->place()))
            return c < 0;
        return a->numericId() < b->numericId();
    });
    return events;
}

int compareOtherPersonalEventsOf(const FTPerson* source, const FTPerson* target, PersonComparison& result)
{
    StepWriter w(result, Step::OtherPersonalEvents);
    const QList<FTEvent*> sourceEvents = otherPersonalEvents(source);
    const QList<FTEvent*> targetEvents = otherPersonalEvents(target);
    if (sourceEvents.size() != targetEvents.size())
        w.countLine("DiffNumPersEvents", int(sourceEvents.size()), int(targetEvents.size()));
    QSet<const FTEvent*> matched;
    auto oneSide = [&](const FTEvent* e, Side side) {
        w.heading("DiffPersEvents");
        w.text() += QStringLiteral("      ") + L("Event").toLower() + ' ' + sideText(side) + QStringLiteral(". ")
            + e->eventDescription() + '\n';
        w.add(w.finding(Kind::OneSide, side, e->eventDescription()));
    };
    for (const FTEvent* s : sourceEvents) {
        // A target event may stand for several equal source events.
        const auto equal = std::find_if(targetEvents.begin(), targetEvents.end(),
            [&](const FTEvent* t) { return differingAttributes(s, t, kOptions).isEmpty(); });
        if (equal != targetEvents.end())
            matched.insert(*equal);
        else
            oneSide(s, Side::SourceOnly);
    }
    for (const FTEvent* t : targetEvents)
        if (!matched.contains(t))
            oneSide(t, Side::TargetOnly);
    return w.differences();
}

// Names on each side compared as lists: a count line when their numbers differ, then each name of one side that
// the other side lacks.
int compareNames(Step step, const QStringList& sourceNames, const QStringList& targetNames, const char* countKey,
    const char* headingKey, const QString& label, PersonComparison& result)
{
    StepWriter w(result, step);
    if (sourceNames.size() != targetNames.size())
        w.countLine(countKey, int(sourceNames.size()), int(targetNames.size()));
    auto oneSide = [&](const QString& name, Side side) {
        w.heading(headingKey);
        w.text() += QStringLiteral("      ") + label + ' ' + name + ' ' + sideText(side) + '\n';
        w.add(w.finding(Kind::OneSide, side, name));
    };
    for (const QString& name : sourceNames)
        if (!targetNames.contains(name))
            oneSide(name, Side::SourceOnly);
    for (const QString& name : targetNames)
        if (!sourceNames.contains(name))
            oneSide(name, Side::TargetOnly);
    return w.differences();
}

// Parents by name, each name once.
QStringList parentNames(const FTPerson* person)
{
    QStringList names;
    if (!person)
        return names;
    for (const FTPcRel* link : person->parents())
        if (const FTPerson* parent = link->parent())
            if (!names.contains(parent->name()))
                names << parent->name();
    return names;
}

QStringList childNames(const FTPerson* person)
{
    QStringList names;
    if (!person)
        return names;
    for (const FTPcRel* link : person->childRels())
        if (const FTPerson* child = link->child())
            names << child->nameWithBirthAndDeathYears();
    return names;
}

QStringList spouseNames(const FTPerson* person)
{
    QStringList names;
    if (!person)
        return names;
    for (const FTPerson* spouse : person->spouses())
        names << spouse->nameWithBirthAndDeathYears();
    return names;
}

QList<const FTEvent*> marriages(const FTPerson* person)
{
    QList<const FTEvent*> events;
    if (!person)
        return events;
    for (const FTSpouseRel* couple : person->spouseRels())
        if (const FTEvent* marriage = presentEvent(couple->marriage()))
            events << marriage;
    return events;
}

// Each source marriage needs an equal one on the target side; target marriages without one are only counted.
int compareMarriageEventsOf(const FTPerson* source, const FTPerson* target, PersonComparison& result)
{
    StepWriter w(result, Step::MarriageEvents);
    const QList<const FTEvent*> sourceEvents = marriages(source);
    const QList<const FTEvent*> targetEvents = marriages(target);
    if (sourceEvents.size() != targetEvents.size())
        w.countLine("DiffNumMarriages", int(sourceEvents.size()), int(targetEvents.size()));
    for (const FTEvent* s : sourceEvents) {
        const bool found = std::any_of(targetEvents.begin(), targetEvents.end(), [&](const FTEvent* t) {
            return t->type() == s->type() && t->subtype() == s->subtype() && t->date() == s->date()
                && differingAttributes(s, t, kOptions).isEmpty();
        });
        if (found)
            continue;
        const QString description = L("Type") + QStringLiteral(" = ") + s->subtype() + QStringLiteral(", ")
            + L("Date") + QStringLiteral(" = ") + s->date() + QStringLiteral(", ") + L("Name") + QStringLiteral(" = ")
            + s->stringValue("name") + QStringLiteral(", ") + L("Place") + QStringLiteral(" = ") + s->place()
            + QStringLiteral(", ") + L("Notes") + QStringLiteral(" = ") + s->notes();
        w.text() += QStringLiteral("\n - ") + L("DiffMarriageEvents") + ' ' + description + '\n';
        w.add(w.finding(Kind::OneSide, Side::SourceOnly, description));
    }
    return w.differences();
}

QString pictureFileName(const FTPicture* picture)
{
    const QString name = picture->filename();
    return name.isEmpty() ? picture->originalFilename() : name;
}

QList<FTPicture*> sortedPictures(const FTPerson* person)
{
    QList<FTPicture*> pictures = person ? person->pictures() : QList<FTPicture*>();
    std::sort(pictures.begin(), pictures.end(), [](const FTPicture* a, const FTPicture* b) {
        if (const int c = a->filename().compare(b->filename()))
            return c < 0;
        if (const int c = a->name().compare(b->name()))
            return c < 0;
        return a->numericId() < b->numericId();
    });
    return pictures;
}

QStringList pictureDifferences(const FTPicture* source, const FTPicture* target)
{
    QStringList attributes = differingAttributes(source, target, kPictureOptions);
    attributes.removeAll(QStringLiteral("originalFilename"));
    return attributes;
}

int comparePicturesOf(const FTPerson* source, const FTPerson* target, PersonComparison& result)
{
    StepWriter w(result, Step::Pictures);
    const QList<FTPicture*> sourcePictures = sortedPictures(source);
    const QList<FTPicture*> targetPictures = sortedPictures(target);
    if (sourcePictures.size() != targetPictures.size())
        w.countLine("DiffNumPics", int(sourcePictures.size()), int(targetPictures.size()));
    QSet<const FTPicture*> noted;
    auto oneSide = [&](const FTPicture* p, Side side) {
        w.heading("DiffPics");
        w.text() += QStringLiteral("      ") + L("Picture").toLower() + ' ' + sideText(side) + QStringLiteral(". ")
            + L("PicFileName") + QStringLiteral(" = ") + pictureFileName(p) + '\n';
        w.add(w.finding(Kind::OneSide, side, pictureFileName(p)));
    };
    for (const FTPicture* s : sourcePictures) {
        // A target picture of the same file, in any letter case, or of no file may be this one.
        QList<const FTPicture*> candidates;
        for (const FTPicture* t : targetPictures)
            if (t->filename().isEmpty() || t->filename().compare(s->filename(), Qt::CaseInsensitive) == 0)
                candidates << t;
        if (candidates.isEmpty()) {
            oneSide(s, Side::SourceOnly);
            continue;
        }
        const auto exact = std::find_if(candidates.begin(), candidates.end(),
            [&](const FTPicture* t) { return pictureDifferences(s, t).isEmpty(); });
        if (exact != candidates.end()) {
            noted.insert(*exact);
            continue;
        }
        for (const FTPicture* t : std::as_const(candidates)) {
            if (noted.contains(t))
                continue;
            noted.insert(t);
            const QStringList attributes = pictureDifferences(s, t);
            if (attributes.isEmpty())
                continue;
            w.heading("DiffPics");
            w.text() += QStringLiteral("      ") + L("DiffPics2") + QStringLiteral(": ") + pictureFileName(s) + '\n';
            appendAttributes(w.text(), attributes, s, t, 3);
            Finding f = w.finding(Kind::Attributes, Side::Both, pictureFileName(s));
            f.attributes = attributes;
            f.differences = int(attributes.size());
            w.add(f);
        }
    }
    for (const FTPicture* t : targetPictures)
        if (!noted.contains(t))
            oneSide(t, Side::TargetOnly);
    // The transcriptions and pictures read for this are read again from the file when next needed.
    for (const QList<FTPicture*>* side : { &sourcePictures, &targetPictures })
        for (FTPicture* p : *side)
            if (p->context() && !p->isInserted() && !p->isDeleted())
                p->context()->releaseLazyValues(p);
    return w.differences();
}

int compareSourceRefsOf(const FTPerson* source, const FTPerson* target, PersonComparison& result)
{
    StepWriter w(result, Step::Citations);
    const QList<FTSourceRel*> sourceCitations = source ? source->allSourceRels() : QList<FTSourceRel*>();
    const QList<FTSourceRel*> targetCitations = target ? target->allSourceRels() : QList<FTSourceRel*>();
    if (sourceCitations.size() != targetCitations.size())
        w.countLine("DiffNumSources", int(sourceCitations.size()), int(targetCitations.size()));
    QStringList sourceDescriptions, targetDescriptions;
    for (const FTSourceRel* c : sourceCitations)
        sourceDescriptions << PersonComparison::sourceRelDescription(c);
    for (const FTSourceRel* c : targetCitations)
        targetDescriptions << PersonComparison::sourceRelDescription(c);
    auto oneSide = [&](const QString& description, Side side) {
        const QString trimmed = description.trimmed();
        w.text() += QStringLiteral("\n      ") + L("sourceCitation") + ' ' + sideText(side) + QStringLiteral(".\n         ")
            + trimmed + '\n';
        w.add(w.finding(Kind::OneSide, side, trimmed));
    };
    for (const QString& d : std::as_const(sourceDescriptions))
        if (!targetDescriptions.contains(d))
            oneSide(d, Side::SourceOnly);
    for (const QString& d : std::as_const(targetDescriptions))
        if (!sourceDescriptions.contains(d))
            oneSide(d, Side::TargetOnly);
    return w.differences();
}

int compareStoriesOf(const FTPerson* source, const FTPerson* target, PersonComparison& result)
{
    StepWriter w(result, Step::Story);
    FTStory* s = source ? source->story() : nullptr;
    FTStory* t = target ? target->story() : nullptr;
    if (!s && !t)
        return 0;
    const bool same = s && t && differingAttributes(s, t, kOptions).isEmpty();
    for (FTStory* story : { s, t })
        if (story && story->context() && !story->isInserted() && !story->isDeleted())
            story->context()->releaseLazyValues(story);
    if (same)
        return 0;
    w.heading("DiffStory");
    w.add(w.finding(Kind::Differs, !t ? Side::SourceOnly : !s ? Side::TargetOnly : Side::Both, {}));
    return w.differences();
}
}

QString PersonComparison::describeValue(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return QStringLiteral("(null)");
    switch (value.typeId()) {
    case QMetaType::QDateTime:
        return value.toDateTime().toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss +0000"));
    case QMetaType::QByteArray:
        return QStringLiteral("<%1 bytes>").arg(value.toByteArray().size());
    default:
        return value.toString();
    }
}

QString PersonComparison::sourceRelDescription(const FTSourceRel* citation)
{
    if (!citation)
        return {};
    const FTSource* source = citation->source();
    QString description = source ? source->sourceDescriptionForCompareAndMerge() : QStringLiteral("(null)");
    description.replace(QStringLiteral("\r\n"), QStringLiteral(", "));
    description.replace(QLatin1Char('\n'), QStringLiteral(", "));
    description.replace(QLatin1Char('\r'), QStringLiteral(", "));
    description += ' ';
    const std::pair<QString, const char*> parts[] = { { citation->reference(), "RefPage" },
        { citation->itemDescribed(), "RefTopic" }, { citation->notes(), "RefNotes" } };
    for (const auto& [text, label] : parts)
        if (!text.isEmpty())
            description += QStringLiteral(", ") + L(label) + QStringLiteral(" = ") + text;
    return description;
}

PersonComparison PersonComparison::compare(const FTPerson* source, const FTPerson* target)
{
    PersonComparison result;
    int total = compareAttributesOfPerson(source, target, result);
    total += compareVitalEvent(Step::Birth, source ? source->birth() : nullptr, target ? target->birth() : nullptr,
        result);
    total += compareVitalEvent(Step::Death, source ? source->death() : nullptr, target ? target->death() : nullptr,
        result);
    total += compareOtherPersonalEventsOf(source, target, result);
    total += compareNames(Step::Parents, parentNames(source), parentNames(target), "DiffNumParents", "DiffParents",
        L("Parent").toLower(), result);
    total += compareNames(Step::Children, childNames(source), childNames(target), "DiffNumChildren", "DiffChildren",
        L("child"), result);
    total += compareNames(Step::Spouses, spouseNames(source), spouseNames(target), "DiffNumSpouses", "DiffSpouses",
        L("Spouse").toLower(), result);
    total += compareMarriageEventsOf(source, target, result);
    // A couple's other events are not compared: they add nothing.
    total += comparePicturesOf(source, target, result);
    total += compareSourceRefsOf(source, target, result);
    total += compareStoriesOf(source, target, result);
    result.count = total;
    return result;
}

int PersonComparison::comparePerson(const FTPerson* source, const FTPerson* target, QTextDocument* account)
{
    const PersonComparison result = compare(source, target);
    if (result.count == 0 || !account)
        return result.count;
    QTextCursor cursor(account);
    cursor.movePosition(QTextCursor::End);
    const auto nameOf = [](const FTPerson* p) { return p ? p->nameWithIdBirthAndDeathYears() : QStringLiteral("(null)"); };
    cursor.insertText(nameOf(source) + ' ' + L("VersusShort") + ' ' + nameOf(target) + '\n', CompareFormats::boldRed());
    cursor.insertText(result.text + '\n', CompareFormats::plain());
    return result.count;
}
