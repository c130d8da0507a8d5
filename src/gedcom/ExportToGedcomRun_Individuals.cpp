#include "gedcom/ExportToGedcomRun.h"

#include "gedcom/GedcomDate.h"
#include "gedcom/GedcomWriter.h"

#include "model/FTAssociation.h"
#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "model/FTPicture.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"
#include "model/FTSpouseRel.h"
#include "model/UtilsPics.h"

#include "platform/FTLog.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

const QString kNote = QStringLiteral("NOTE");

QString numbered(const char* prefix, qint64 number) { return QLatin1String(prefix) + QString::number(number); }

QString withLineFeeds(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

// A coordinate with six decimals. The stored value is a float: read it to the float's own precision, so that
// 151.2 is written 151.200000 and not 151.199997.
QString coordinate(float value)
{
    const double shortest = QString::number(double(std::fabs(value)), 'g', 7).toDouble();
    return QString::number(shortest, 'f', 6);
}

bool isLdsOrdinance(const QString& subtype)
{
    static const QSet<QString> ordinances{"BAPL", "CONL", "ENDL", "SLGC", "SLGS"};
    return ordinances.contains(subtype);
}

template <class T> bool byKey(const T* a, const T* b) { return a->primaryKey() < b->primaryKey(); }

} // namespace

// ---- Individuals ---------------------------------------------------------------------------------------------

void ExportToGedcomRun::writeINDI_Records()
{
    QElapsedTimer timer;
    timer.start();
    // Everyone was listed when numbered; nothing has changed since.
    QList<FTPerson*> people = m_selective ? m_people.values() : std::exchange(m_everyone, {});
    std::sort(people.begin(), people.end(), [this](const FTPerson* a, const FTPerson* b) {
        const qint64 ia = personId(a), ib = personId(b);
        return ia != ib ? ia < ib : a->primaryKey() < b->primaryKey();
    });
    double shown = 0;
    for (qsizetype n = 0; n < people.size(); ++n) {
        const double fraction = double(n + 1) / people.size();
        if (fraction - shown > 0.1) {
            shown = fraction;
            setProgress(50 + int(30 * fraction));
        }
        m_walk.releasePoint();
        FTPerson* person = people[n];
        m_pendingNotes.clear();
        // Kept for the families' children, written next: the person is being read now.
        birthDateOf(person);
        if (!passes(person))
            continue;
        createINDIGedRec(person);
        createCOMMENTGedRec(person);
        createPendingNotesRecords();
        ++m_individuals;
    }
    FTLog(QStringLiteral("%1 seconds to write INDI records to Gedcom file")
              .arg(double(timer.nsecsElapsed()) / 1e9, 6, 'f', 1));
}

void ExportToGedcomRun::createINDIGedRec(FTPerson* person)
{
    const qint64 id = personId(person);
    const bool depersonalized = isDepersonalized(person);
    w.writeLine(0, QStringLiteral("INDI"), {}, numbered("I", id));
    addPersonalNameStructure(1, person);
    // A GEDCOM file knows the sex as M or F, and U when it is not recorded.
    w.writeLine(1, QStringLiteral("SEX"), GedcomWriter::gedcomSex(person->gender()));

    if (depersonalized) {
        if (m_options.depersonalizeOption > 1)
            addEventStructure(1, person->birth());
    } else {
        if (!person->notes().trimmed().isEmpty())
            addPendingNote(1, numbered("IN", id), person->notes());
        if (m_options.includeCustomTags) {
            if (person->modelDefaultFocalPerson())
                w.writeLine(1, QStringLiteral("_FPER"), QStringLiteral("Y"));
            if (!person->comments().trimmed().isEmpty())
                w.writePointerLine(1, QStringLiteral("_CMTS"), numbered("IC", id));
        }
        const QString afn = person->ancestralFileNumber();
        if (!afn.trimmed().isEmpty())
            w.writeLine(1, QStringLiteral("AFN"), afn);
        addEventStructure(1, person->birth());
        addEventStructure(1, person->death());
        QList<FTEvent*> others = person->otherEvents();
        std::sort(others.begin(), others.end(), [this](const FTEvent* a, const FTEvent* b) {
            const quint32 da = a->lDate(), db = b->lDate();
            return da != db ? da < db : eventId(a) < eventId(b);
        });
        for (FTEvent* event : std::as_const(others))
            addEventStructure(1, event);
        if (m_options.includeCustomTags && !person->title().trimmed().isEmpty())
            w.writeLine(1, QStringLiteral("_OCTI"), person->title());
        QList<FTAssociation*> associations = person->associationsTo();
        std::sort(associations.begin(), associations.end(), byKey<FTAssociation>);
        for (FTAssociation* association : std::as_const(associations))
            addAssociatedStructure(1, association);
    }

    QList<FTFamily*> spouseOf = m_spouseOfFamilies.of(person);
    std::sort(spouseOf.begin(), spouseOf.end(), [&](const FTFamily* a, const FTFamily* b) {
        return a->marriageDate != b->marriageDate ? a->marriageDate < b->marriageDate : a->numericId < b->numericId;
    });
    for (const FTFamily* family : std::as_const(spouseOf))
        w.writePointerLine(1, QStringLiteral("FAMS"), numbered("F", family->numericId));
    for (const FTFamily* family : m_childOfFamilies.of(person)) {
        w.writePointerLine(1, QStringLiteral("FAMC"), numbered("F", family->numericId));
        if (!m_options.includeCustomTags)
            continue;
        const auto rec = std::find_if(family->children.begin(), family->children.end(),
                                      [person](const FTChildRec& r) { return r.child == person; });
        if (rec != family->children.end())
            addRelationshipLines(2, *rec);
    }

    if (!depersonalized) {
        addPictures(1, person);
        addSourceCitations(1, citationsOfPerson(person));
        if (!person->userId().trimmed().isEmpty())
            w.writeLine(1, QStringLiteral("REFN"), person->userId());
    }
}

void ExportToGedcomRun::createCOMMENTGedRec(FTPerson* person)
{
    // A depersonalised person's comments stay private like the rest of the record.
    if (!m_options.includeCustomTags || isDepersonalized(person))
        return;
    const QString comments = person->comments().trimmed();
    if (!comments.isEmpty())
        w.writeText(0, QStringLiteral("_CMTS"), comments, numbered("IC", personId(person)));
}

void ExportToGedcomRun::addPersonalNameStructure(int level, FTPerson* person)
{
    QString name;
    if (isDepersonalized(person)) {
        const bool living = m_options.includeLivingPeople && m_options.depersonalizeLivingPeople && isLiving(person);
        name = living ? QStringLiteral("Living") : QStringLiteral("Recent");
        if (m_options.depersonalizeOption > 0)
            name += QChar(0x00A0) + person->firstName();
    } else {
        name = person->name();
        const QString family = person->familyName();
        const int at = family.isEmpty() ? -1 : int(name.lastIndexOf(family, -1, Qt::CaseInsensitive));
        if (at >= 0) {
            name.insert(at, u'/');
            name += u'/';
        }
    }
    w.writeLine(level, QStringLiteral("NAME"), name);
}

// ---- Events --------------------------------------------------------------------------------------------------

void ExportToGedcomRun::addEventStructure(int level, FTEvent* event)
{
    if (!event)
        return;
    const int type = event->type();
    const QString subtype = event->subtype();
    QString tag;
    QString typeText;
    switch (type) {
    case FTEvent::BirthEvent:
    case FTEvent::DeathEvent:
    case FTEvent::MarriageEvent: {
        tag = type == FTEvent::BirthEvent ? QStringLiteral("BIRT")
            : type == FTEvent::DeathEvent ? QStringLiteral("DEAT")
                                          : QStringLiteral("MARR");
        // A birth, death or marriage keeps a name of its own ("11th President", "Age: 53", the text another
        // program wrote on the event's line) as its type; the import reads a type back as the name.
        const QString own = event->stringValue("name").trimmed();
        if (!own.isEmpty() && own != m_eventNames.value(tag))
            typeText = own;
        break;
    }
    case FTEvent::OtherPersonalEvent:
    case FTEvent::OtherMarriageEvent:
        tag = subtype.isEmpty() ? QStringLiteral("EVEN") : subtype;
        typeText = event->stringValue("name");
        break;
    default: return;
    }
    if (!m_eventNames.contains(tag)) {
        // An event of a kind GEDCOM does not know keeps its tag as the type, so nothing is lost.
        if (typeText.trimmed().isEmpty() && tag != QLatin1String("EVEN"))
            typeText = tag;
        tag = QStringLiteral("EVEN");
    }
    typeText = typeText.trimmed();

    const bool coupleEvent = type == FTEvent::MarriageEvent || type == FTEvent::OtherMarriageEvent;
    bool depersonalized = false;
    FTPerson* owner = nullptr;
    if (coupleEvent) {
        if (const FTSpouseRel* couple = event->spouseRel())
            for (const FTPerson* partner : couple->partners())
                depersonalized = depersonalized || isDepersonalized(partner);
    } else {
        owner = event->person();
        depersonalized = isDepersonalized(owner);
    }

    const QString dateText = event->stringValue("date").trimmed();
    const QString notes = event->notes().trimmed();
    // GEDCOM has no line break in a place: its lines are joined, and all of it is written.
    QString place = withLineFeeds(event->place()).trimmed();
    place.replace(QLatin1String("\n"), QLatin1String(", "));
    // A death keeps the person's cause of death; any event may have a cause of its own.
    QString cause = event->causeOfEvent().trimmed();
    if (type == FTEvent::DeathEvent && owner && !owner->causeOfDeath().trimmed().isEmpty())
        cause = owner->causeOfDeath().trimmed();

    // A death without a date of someone born more than 130 years ago is known to have happened.
    bool knownToHaveDied = false;
    if (type == FTEvent::DeathEvent && dateText.isEmpty() && owner && owner->birth()) {
        const int born = owner->birth()->year();
        knownToHaveDied = born != 0 && m_now.date().year() - born > 130;
    }
    const bool yesDate = dateText.compare(QLatin1String("Y"), Qt::CaseInsensitive) == 0;

    QList<FTSourceRel*> citations;
    if (!depersonalized)
        citations = citationsOfEvent(event);
    if (dateText.isEmpty() && place.isEmpty() && notes.isEmpty() && typeText.isEmpty() && cause.isEmpty()
        && !knownToHaveDied && citations.isEmpty())
        return;

    if (depersonalized) {
        w.writeLine(level, tag);
        if (!coupleEvent && type == FTEvent::BirthEvent && event->year() != 0)
            w.writeLine(level + 1, QStringLiteral("DATE"), QString::number(event->year()));
        return;
    }

    // "Y" (happened, date unknown) is the value of the event line itself; GEDCOM has no such date.
    const bool yesValue = (yesDate && (type == FTEvent::DeathEvent || type == FTEvent::MarriageEvent)) || knownToHaveDied;
    w.writeLine(level, tag, yesValue ? QStringLiteral("Y") : QString());
    if (!typeText.isEmpty() && !isLdsOrdinance(subtype))
        w.writeLine(level + 1, QStringLiteral("TYPE"), typeText);
    if (!dateText.isEmpty() && !yesValue)
        w.writeLine(level + 1, QStringLiteral("DATE"),
                    GedcomDate::gedcomDate(event->qual(), event->day(), event->month(), event->year(), dateText));
    if (!cause.isEmpty())
        w.writeLine(level + 1, QStringLiteral("CAUS"), cause);

    if (!place.isEmpty()) {
        w.writeLongValue(level + 1, QStringLiteral("PLAC"), place);
        if (m_options.includeCustomTags) {
            const float latitude = event->latitude(), longitude = event->longitude();
            if (latitude != 0 || longitude != 0) {
                w.writeLine(level + 2, QStringLiteral("_LATI"), (latitude > 0 ? u'N' : u'S') + coordinate(latitude));
                w.writeLine(level + 2, QStringLiteral("_LONG"), (longitude > 0 ? u'E' : u'W') + coordinate(longitude));
            }
            const QString map = event->googleMapUrl().toString().trimmed();
            if (!map.isEmpty())
                w.writeLine(level + 2, QStringLiteral("_GMAP"), map);
        }
    }
    if (!notes.isEmpty())
        addPendingNote(level + 1, numbered("EN", eventId(event)), event->notes());
    if (!event->ldsStatus().trimmed().isEmpty())
        w.writeLine(level + 1, QStringLiteral("STAT"), event->ldsStatus().trimmed());
    if (!event->ldsTempleCode().trimmed().isEmpty())
        w.writeLine(level + 1, QStringLiteral("TEMP"), event->ldsTempleCode().trimmed());
    addSourceCitations(level + 1, citations);
}

// ---- Associations and parent-child links ---------------------------------------------------------------------

void ExportToGedcomRun::addAssociatedStructure(int level, FTAssociation* association)
{
    // An association points at an individual of the same file: one left out of the file cannot be named.
    FTPerson* to = association ? association->toPerson() : nullptr;
    if (!to || !passes(to))
        return;
    w.writePointerLine(level, QStringLiteral("ASSO"), numbered("I", personId(to)));
    const QString relationship = association->fromRelationship().trimmed();
    if (!relationship.isEmpty())
        w.writeLine(level + 1, QStringLiteral("RELA"), relationship);
    const QString notes = association->notes().trimmed();
    if (!notes.isEmpty())
        w.writeText(level + 1, kNote, notes);
}

void ExportToGedcomRun::addAttributesOfPcRel(int level, FTPcRel* link)
{
    const QString evidence = link->evidenceAsBinaryString();
    if (!evidence.isEmpty())
        w.writeLine(level, QStringLiteral("_PROB"), evidence);
    const QString notes = link->notes().trimmed();
    if (!notes.isEmpty())
        w.writeText(level, kNote, notes);
}

void ExportToGedcomRun::addRelationshipLines(int level, const FTChildRec& rec)
{
    const std::pair<FTPcRel*, QString> lines[] = { { rec.fatherPcRel, QStringLiteral("_FREL") },
                                                   { rec.motherPcRel, QStringLiteral("_MREL") } };
    for (const auto& [link, tag] : lines) {
        if (!link)
            continue;
        const LinkFacts& facts = linkFacts(link);
        w.writeLine(level, tag, pcRelTypeWord(facts.type));
        if (!facts.plain)
            addAttributesOfPcRel(level + 1, link);
    }
}

// ---- Pictures ------------------------------------------------------------------------------------------------

void ExportToGedcomRun::addPictures(int level, FTPerson* person)
{
    QList<FTPicture*> pictures = person->pictures();
    if (pictures.isEmpty())
        return;
    std::sort(pictures.begin(), pictures.end(), [](const FTPicture* a, const FTPicture* b) {
        return a->seqNo() != b->seqNo() ? a->seqNo() < b->seqNo() : a->primaryKey() < b->primaryKey();
    });
    for (FTPicture* picture : std::as_const(pictures))
        addMultimediaLink(level, picture);
}

void ExportToGedcomRun::addMultimediaLink(int level, FTPicture* picture)
{
    if (!picture)
        return;
    const QString stored = picture->filename();
    // A picture file reached through a link in the pictures folder is written as the file the link points to. A
    // picture whose file was not on this computer when it was imported keeps only the path it had there: the link
    // is written with that path, so that it survives the next import as well.
    const QString path
        = stored.isEmpty() ? picture->originalFilename().trimmed() : UtilsPics::resolveAliasedPath(stored);
    if (path.isEmpty())
        return;
    // Only a file on this computer can be offered to the picture export that follows.
    if (!stored.isEmpty() && !m_exportedPictureSet.contains(picture)) {
        m_exportedPictureSet.insert(picture);
        m_exportedPictures.append(picture);
    }
    w.writeLine(level, QStringLiteral("OBJE"));
    w.writeLine(level + 1, QStringLiteral("FILE"), path);
    w.writeLine(level + 1, QStringLiteral("FORM"), QFileInfo(path).suffix().toLower());
    w.writeLine(level + 1, QStringLiteral("TITL"), picture->name());
    const QString notes = picture->notes().trimmed();
    if (!notes.isEmpty())
        w.writeText(level + 1, kNote, notes);
    addSourceCitations(level + 1, citationsOfPicture(picture));
    if (!m_options.includeCustomTags)
        return;
    const QString original = picture->originalFilename().trimmed();
    if (!original.isEmpty() && !original.contains(QLatin1String("KinloomForVovovData")))
        w.writeLine(level + 1, QStringLiteral("_OFNM"), original);
    const QString crop = QFileInfo::exists(stored) ? picture->rclCut() : QString();
    w.writeLine(level + 1, QStringLiteral("_CROP"), crop.isEmpty() ? UtilsPics::stringFromRect(QRectF()) : crop);
    w.writeLine(level + 1, QStringLiteral("_SEQN"), QString::number(picture->seqNo()));
    if (!picture->date().trimmed().isEmpty())
        w.writeLine(level + 1, QStringLiteral("_DATE"), picture->date().trimmed());
}

// ---- Citations -----------------------------------------------------------------------------------------------

QList<FTSourceRel*> ExportToGedcomRun::citationsOfPerson(FTPerson* person)
{
    // The citations of the person's events and pictures are written under the events and pictures.
    QList<FTSourceRel*> out;
    for (FTSourceRel* c : person->sourceRels())
        if (!c->event() && !c->picture() && c->source())
            out.append(c);
    std::sort(out.begin(), out.end(), byKey<FTSourceRel>);
    return out;
}

QList<FTSourceRel*> ExportToGedcomRun::citationsOfPicture(FTPicture* picture)
{
    QList<FTSourceRel*> out;
    for (FTSourceRel* c : picture->sourceRels())
        if (c->source())
            out.append(c);
    std::sort(out.begin(), out.end(), byKey<FTSourceRel>);
    return out;
}

QList<FTSourceRel*> ExportToGedcomRun::citationsOfEvent(FTEvent* event)
{
    const bool coupleEvent = event->type() == FTEvent::MarriageEvent || event->type() == FTEvent::OtherMarriageEvent;
    QList<FTSourceRel*> out;
    for (FTSourceRel* c : event->sourceRels()) {
        if (!c->source())
            continue;
        // A couple's event is written with the citations that name no partner or the husband.
        if (coupleEvent && c->person() && c->person()->isFemale())
            continue;
        out.append(c);
    }
    std::sort(out.begin(), out.end(), byKey<FTSourceRel>);
    return out;
}

void ExportToGedcomRun::addSourceCitations(int level, const QList<FTSourceRel*>& citations)
{
    for (FTSourceRel* citation : citations) {
        FTSource* source = citation->source();
        w.writePointerLine(level, QStringLiteral("SOUR"), numbered("S", sourceId(source)));
        m_sourcesSet.insert(source);
        const QString reference = GedcomWriter::oneLine(citation->reference());
        if (!reference.trimmed().isEmpty())
            w.writeLongValue(level + 1, QStringLiteral("PAGE"), reference);
        // The quality of the evidence, as the import keeps it from a QUAY line: 0 to 3 in GEDCOM.
        static const Key kCertainty("certainty");
        const QVariant quality = citation->value(kCertainty);
        if (quality.isValid() && !quality.isNull() && quality.toInt() >= 0 && quality.toInt() <= 3)
            w.writeLine(level + 1, QStringLiteral("QUAY"), QString::number(quality.toInt()));
        if (!citation->notes().trimmed().isEmpty())
            addPendingNote(level + 1, numbered("CN", citation->numericId()), citation->notes());
        const QString topic = citation->itemDescribed().trimmed();
        if (!topic.isEmpty())
            w.writeLine(level + 1, QStringLiteral("_TOPI"), topic);
    }
}
