// Events and attributes of people (and of couples, for the families pass), their dates, places, addresses and
// telephone numbers.
#include "gedcom/ImportGedcomThread.h"

#include "gedcom/GedRec.h"
#include "gedcom/GedcomDate.h"
#include "gedcom/ImportGedcomListener.h"
#include "model/FTEvent.h"
#include "model/FTEventType.h"
#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/FTSpouseRel.h"
#include "platform/FTLog.h"
#include "shell/Utils.h"


namespace {

const Key kName("name");
const Key kDate("date");

bool isY(const QString& value)
{
    const QString v = value.trimmed();
    return v == QLatin1String("Y") || v == QLatin1String("y");
}

void replaceEach(QString& text, const char* what, const char* with)
{
    text.replace(QLatin1String(what), QLatin1String(with));
}

} // namespace

void ImportGedcomThread::processINDIEvents(GedRec* indi)
{
    auto* person = exactOrDynamicCast<FTPerson>(indi->subjectId());
    if (!person)
        return;
    for (GedRec* line : indi->subRecords()) {
        if (line->isConsumed())
            continue;
        if (line->isIndividualEvent() || line->isIndividualAttribute()) {
            processEVENT_STRUCTURE_For(person, line);
        } else if (line->isLDSIndividualOrdinance()) {
            processLDSEvent(person, line);
        } else if (line->isEventStructure()) {
            // An event under a tag that is no personal event (a family event written under the person, a custom
            // tag with a date or place): loaded as EVEN, its own tag and value kept in the event's type.
            line->setErrorReason(line->type().startsWith(u'_') ? GedRec::ReasonCustomTag
                                                               : GedRec::ReasonTagNotInGedcom55,
                                 GedRec::ActionLoadedAsEven);
            line->setEventSubtype(line->type(), line->value());
            processEVENT_STRUCTURE_For(person, line);
        }
    }
}

FTEvent* ImportGedcomThread::createEventOfType(int type, const QString& subtype)
{
    FTEvent* event = FTEvent::initInMoc(m_moc.get(), type, subtype);
    if (!event)
        return nullptr;
    event->setNumericId(++m_maxEventId);
    addEventTypeRelTo(event, subtype);
    return event;
}

void ImportGedcomThread::addEventTypeRelTo(FTEvent* event, const QString& tag)
{
    FTEventType* type = m_eventTypesDictionary.value(tag);
    if (!type)
        type = m_eventTypesDictionary.value(QStringLiteral("EVEN"));
    if (type && event)
        event->setEventType(type);
}

FTEvent* ImportGedcomThread::processEVENT_STRUCTURE_For(FTManagedObject* owner, GedRec* line)
{
    if (!owner)
        return nullptr;
    QString tag = line->type();
    if (m_header.bFTW && tag.startsWith(QLatin1String("_FA")))
        tag = QStringLiteral("EVEN");

    auto* person = exactOrDynamicCast<FTPerson>(owner);
    auto* couple = person ? nullptr : exactOrDynamicCast<FTSpouseRel>(owner);
    int type = 0;
    if (person) {
        if (line->hasType("BIRT"))
            type = FTEvent::BirthEvent;
        else if (line->hasType("DEAT"))
            type = FTEvent::DeathEvent;
        else if (line->isIndividualEvent() || line->isIndividualAttribute())
            type = FTEvent::OtherPersonalEvent;
        else if (line->isEventStructure())
            type = FTEvent::OtherPersonalEvent, tag = QStringLiteral("EVEN");
        else
            return nullptr;
    } else if (couple) {
        if (line->hasType("MARR"))
            type = FTEvent::MarriageEvent;
        else if (line->isFamilyEvent() || tag == QLatin1String("EVEN"))
            type = FTEvent::OtherMarriageEvent;
        else
            return nullptr;
    } else {
        showMessage(QStringLiteral("Something is wrong - unknown class for eventOwner"));
        return nullptr;
    }

    // A title or occupation also became the person's title, when the person was made (writeValuesFromEventLines).
    if (person && givesTitle(line))
        use(line);

    const auto defaultName = [this](const QString& t) {
        const QString n = m_eventNamesDictionary.value(t);
        return n.isEmpty() ? t : n;
    };

    FTEvent* event = nullptr;
    // The text on the event's own line ("1 EVEN Sailed for Europe") names the event unless a TYPE line does; then
    // it describes the event and is kept at the head of its notes.
    const QString lineText = isY(line->value()) ? QString() : withoutControlEnds(line->value()).trimmed();
    QString nameFromLine;
    QString description;
    if (type == FTEvent::BirthEvent && person->birth()) {
        FTLog(QStringLiteral("Multiple Birth event for %1").arg(person->nameWithBirthAndDeathYears()));
        event = createEventOfType(FTEvent::OtherPersonalEvent, QStringLiteral("EVEN"));
        event->setName(QStringLiteral("Alternate Birth"));
        description = lineText;
    } else if (type == FTEvent::DeathEvent && person->death()) {
        FTLog(QStringLiteral("Multiple Death event for %1").arg(person->nameWithBirthAndDeathYears()));
        event = createEventOfType(FTEvent::OtherPersonalEvent, QStringLiteral("EVEN"));
        event->setName(QStringLiteral("Alternate Death"));
        description = lineText;
    } else if (type == FTEvent::MarriageEvent && couple->marriage()) {
        FTLog(QStringLiteral("Multiple Marriage event for %1").arg(couple->marriage()->ownerName()));
        event = createEventOfType(FTEvent::OtherMarriageEvent, QStringLiteral("EVEN"));
        event->setName(QStringLiteral("Alternate Marriage"));
        description = lineText;
    } else {
        event = createEventOfType(type, tag);
        if (!event)
            return nullptr;
        const QString& value = line->value();
        if (m_header.bTMG && line->hasSubRecords()) {
            GedRec* first = line->subRecords().first();
            if (first->hasType("CONC") || first->hasType("CONT")) {
                // This program writes the event's name and a note as one text: "name||note".
                QString text = withoutControlEnds(value);
                appendTextSubRecordsOf(line, text);
                QString name = defaultName(tag);
                const qsizetype bars = text.indexOf(QLatin1String("||"));
                if (bars >= 0 && bars <= 90) {
                    name = text.left(bars);
                    text.remove(0, bars + 2);
                }
                event->setName(name);
                appendNotes(text, event);
                use(line);
                line->setErrorReason(GedRec::ReasonContinuationNotAllowed, GedRec::ActionAppendedToNotes);
            } else {
                event->setName(value.isEmpty() ? defaultName(tag) : value);
                nameFromLine = lineText;
            }
        } else if (!value.isEmpty() && !isY(value)) {
            event->setName(value);
            nameFromLine = lineText;
        } else {
            // "Y": the event is known to have happened; a death keeps that as its date.
            if (isY(value) && type == FTEvent::DeathEvent)
                event->setString(kDate, QStringLiteral("Y"));
            else
                event->setName(defaultName(tag));
        }
    }

    event->setOwner(owner);
    use(line);

    for (GedRec* sub : line->subRecords()) {
        if (sub->isConsumed())
            continue;
        // Tags compared in place: this loop sees every line under an event.
        if (sub->hasType("DATE")) {
            processEventDateFor(event, sub);
        } else if (sub->hasType("PLAC")) {
            processPLACEFor(event, sub);
        } else if (sub->hasType("ADDR")) {
            processADDRESSFor(event, sub);
        } else if (sub->hasType("PHON")) {
            processPHONEFor(event, sub);
        } else if (sub->hasType("TYPE")) {
            const QString name = sub->value().trimmed();
            if (!name.isEmpty() && name != tag) {
                // (A custom tag loaded as EVEN carries its line's text in its TYPE already.)
                if (!nameFromLine.isEmpty() && !name.contains(nameFromLine))
                    description = nameFromLine;
                event->setName(name);
            }
            use(sub);
        } else if (sub->hasType("SOUR")) {
            processSOURCE_CITATION_STRUCTURE_For(event, sub, QString());
        } else if (sub->hasType("NOTE")) {
            processNOTE_STRUCTURE_For(event, sub);
        } else if (sub->hasType("OBJE")) {
            // A picture of a couple's event belongs to the two people, not to the event.
            if (person) {
                processMULTIMEDIA_LINK_For(person, sub);
            } else {
                if (FTPerson* husband = couple->husband())
                    processMULTIMEDIA_LINK_For(husband, sub);
                if (FTPerson* wife = couple->wife())
                    processMULTIMEDIA_LINK_For(wife, sub);
            }
        } else if (sub->hasType("AGE") || sub->hasType("AGNC") || sub->hasType("FAMC")
                   || sub->hasType("HUSB") || sub->hasType("WIFE")) {
            continue;
        } else if (sub->hasType("CAUS")) {
            // The person's cause of death was written when the person was made (writeValuesFromEventLines).
            event->setCauseOfEvent(sub->value());
            use(sub);
            if (m_header.bFTW)
                for (GedRec* under : sub->subRecords())
                    if (under->hasType("SOUR"))
                        processSOURCE_CITATION_STRUCTURE_For(event, under, QString());
        } else if (m_header.bKinloom && (sub->hasType("_Comment") || sub->hasType("_CMTS"))) {
            processCOMMENT_STRUCTURE_For(event, sub);
        } else {
            processInvalidTagFor(QStringLiteral("EVENT_DETAIL"), sub);
        }
    }

    if (!tag.isEmpty() && event->stringValue(kName).isEmpty())
        event->setName(defaultName(tag));
    if (!description.isEmpty()) {
        const QString notes = event->notes();
        event->setNotes(notes.isEmpty() ? description : description + u'\n' + notes);
    }
    return event;
}

void ImportGedcomThread::processEventDateFor(FTEvent* event, GedRec* line)
{
    const QString& value = line->value();
    event->setGedcomDate(value);
    const GedcomDate::Reading r = GedcomDate::processEventDate(value);
    if (!r.notes.isEmpty())
        appendNotes(r.notes, event);
    if (r.hasDate && r.year != 0) {
        event->setQual(r.qual);
        event->setDay(r.day);
        event->setMonth(r.month);
        event->setYear(r.year);
        event->setString(kDate, r.date);
    } else if (r.hasDate && isY(value)
               && (event->type() == FTEvent::DeathEvent || event->type() == FTEvent::MarriageEvent)) {
        event->setString(kDate, QStringLiteral("Y"));
    }
    if (r.errorReason != 0)
        line->setErrorReason(r.errorReason, r.errorAction);
    use(line);
}

void ImportGedcomThread::processPLACEFor(FTEvent* event, GedRec* line)
{
    if (m_header.bFTW) {
        QString text;
        appendStringByRecursingGedRecs(line, text, false);
        event->setPlace(Utils::cleanPlaceName(text, true));
    } else {
        // A long place goes on in CONC lines, a place of several lines in CONT lines.
        QString text = line->value();
        for (GedRec* sub : line->subRecords())
            appendContinuation(sub, text);
        event->setPlace(Utils::cleanPlaceName(text, true));
        if (m_header.bKinloom)
            processEventGeocodingFor(event, line);
    }
    use(line);
}

void ImportGedcomThread::processEventGeocodingFor(FTEvent* event, GedRec* line)
{
    float latitude = 0;
    float longitude = 0;
    for (GedRec* sub : line->subRecords()) {
        const QString& v = sub->value();
        if (sub->hasType("_LATI")) {
            if (v.startsWith(u'N') || v.startsWith(u'S')) {
                latitude = v.mid(1).toFloat() * (v.startsWith(u'S') ? -1.0f : 1.0f);
                use(sub);
            }
        } else if (sub->hasType("_LONG")) {
            if (v.startsWith(u'E') || v.startsWith(u'W')) {
                longitude = v.mid(1).toFloat() * (v.startsWith(u'W') ? -1.0f : 1.0f);
                use(sub);
            }
        } else if (sub->hasType("_GMAP")) {
            event->saveGoogleMapUrl(v);
            use(sub);
        }
    }
    if (latitude != 0 && longitude != 0) {
        event->setLatitude(latitude);
        event->setLongitude(longitude);
    }
}

void ImportGedcomThread::processADDRESSFor(FTManagedObject* row, GedRec* line)
{
    QString text = QStringLiteral("Address: ");
    appendStringByRecursingGedRecs(line, text, false);
    if (text.size() >= 10)
        for (qsizetype i = qMin<qsizetype>(10, text.size()) - 1; i >= 0; --i)
            if (text[i] == u'\n')
                text.remove(i, 1);
    replaceEach(text, "\n\n", "\n");
    replaceEach(text, "  ", " ");
    replaceEach(text, "\n", ", ");
    replaceEach(text, ": , ", ": ");
    replaceEach(text, ": ,", ": ");
    appendNotes(text, row);
    line->setErrorReason(GedRec::ReasonTagNotRecognised, GedRec::ActionAppendedToNotesWithSubRecords);
}

void ImportGedcomThread::processPHONEFor(FTManagedObject* row, GedRec* line)
{
    QString text = QStringLiteral("Phone: ");
    appendStringByRecursingGedRecs(line, text, false);
    for (qsizetype i = qMin<qsizetype>(10, text.size()) - 1; i >= 0; --i)
        if (text[i] == u'\n')
            text.remove(i, 1);
    replaceEach(text, "\n\n", "\n");
    replaceEach(text, "  ", " ");
    replaceEach(text, "\n", ",");
    appendNotes(text, row);
    line->setErrorReason(GedRec::ReasonTagNotRecognised, GedRec::ActionAppendedToNotes);
}
