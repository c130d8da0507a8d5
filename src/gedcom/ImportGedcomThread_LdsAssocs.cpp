// LDS ordinances (events with a status and a temple code) and associations between people.
#include "gedcom/ImportGedcomThread.h"

#include "gedcom/GedRec.h"
#include "model/FTAssociation.h"
#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/FTSpouseRel.h"
#include "platform/FTLog.h"

#include <QElapsedTimer>

void ImportGedcomThread::processLDSEvent(FTManagedObject* owner, GedRec* line)
{
    int type = 0;
    if (dynamic_cast<FTPerson*>(owner)) {
        if (!line->isLDSIndividualOrdinance())
            return;
        type = FTEvent::OtherPersonalEvent;
    } else if (dynamic_cast<FTSpouseRel*>(owner)) {
        if (!line->hasType("SLGS"))
            return;
        type = FTEvent::OtherMarriageEvent;
    } else {
        return;
    }
    const QString& tag = line->type();
    FTEvent* event = createEventOfType(type, tag);
    if (!event)
        return;
    event->setOwner(owner);
    const QString name = m_eventNamesDictionary.value(tag);
    event->setName(name.isEmpty() ? tag : name);
    use(line);

    bool hasStatusLine = false;
    for (GedRec* sub : line->subRecords()) {
        const QString& subTag = sub->type();
        if (subTag == QLatin1String("STAT")) {
            event->setLdsStatus(sub->value());
            hasStatusLine = true;
            use(sub);
        } else if (subTag == QLatin1String("DATE")) {
            processEventDateFor(event, sub);
        } else if (subTag == QLatin1String("TEMP")) {
            event->setLdsTempleCode(sub->value());
            use(sub);
        } else if (subTag == QLatin1String("PLAC")) {
            processPLACEFor(event, sub);
        } else if (subTag == QLatin1String("SOUR")) {
            processSOURCE_CITATION_STRUCTURE_For(event, sub, QString());
        } else if (subTag == QLatin1String("NOTE")) {
            processNOTE_STRUCTURE_For(event, sub);
        } else if (subTag == QLatin1String("FAMC")) {
            processLdsChildSealingFamcRecord(event, sub);
        } else {
            processInvalidTagFor(QStringLiteral("LDS_EVENT"), sub);
        }
    }
    // Some programs write the status on the ordinance line itself.
    if (!hasStatusLine && !line->value().isEmpty())
        event->setLdsStatus(line->value());
}

void ImportGedcomThread::processLdsChildSealingFamcRecord(FTEvent* event, GedRec* famc)
{
    GedRec* ordinance = famc->owner();
    if (!ordinance || !ordinance->hasType("SLGC")) {
        processInvalidTagFor(QStringLiteral("LDS_EVENT"), famc);
        return;
    }
    // The parents are named once the families exist.
    ordinance->setSubjectId(event);
    m_ldsChildSealingFamcRecords.append(famc);
}

bool ImportGedcomThread::processLDSChildSealingFamcRecords()
{
    QElapsedTimer timer;
    timer.start();
    for (GedRec* famc : std::as_const(m_ldsChildSealingFamcRecords)) {
        if (!famc->valueIsPointer())
            continue;
        auto* event = dynamic_cast<FTEvent*>(famc->owner()->subjectId());
        if (!event)
            continue;
        GedRec* family = recordForPointerOf(famc);
        if (!family) {
            printBadPointer(famc);
            continue;
        }
        auto* couple = dynamic_cast<FTSpouseRel*>(family->subjectId());
        if (!couple)
            continue; // no couple was made of the family: the line stays for the log
        FTPerson* father = nullptr;
        FTPerson* mother = nullptr;
        for (FTPerson* partner : couple->partners())
            (partner->gender() == m_male ? father : mother) = partner;
        appendNotes(QStringLiteral("LDS Sealing to Parents \"%1\" and \"%2\"")
                        .arg(father ? father->name() : QString(), mother ? mother->name() : QString()),
                    event);
        famc->setErrorReason(GedRec::ReasonTagNotRecognised, GedRec::ActionAppendedToNotes,
                             QStringLiteral("LDS Sealing to Parents"));
        use(famc);
    }
    FTLog(QStringLiteral("%1 msecs in processLDSChildSealingFamcRecords\n\n")
              .arg(double(timer.nsecsElapsed()) / 1e6, 0, 'f', 3));
    return true;
}

// ---- Associations --------------------------------------------------------------------------------------------------

void ImportGedcomThread::processINDIAssocs(GedRec* indi)
{
    auto* person = dynamic_cast<FTPerson*>(indi->subjectId());
    if (!person)
        return;
    for (GedRec* line : indi->subRecords()) {
        if (!line->hasType("ASSO"))
            continue;
        GedRec* target = recordForPointerOf(line);
        auto* other = target ? dynamic_cast<FTPerson*>(target->subjectId()) : nullptr;
        if (!other) {
            // A pointer to no person: said so in the log, not just listed.
            printBadPointer(line);
            continue;
        }
        processASSO_STRUCTURE_For(person, other, line);
    }
}

void ImportGedcomThread::processASSO_STRUCTURE_For(FTPerson* from, FTPerson* to, GedRec* line)
{
    if (!from || !to)
        return;
    FTAssociation* association = FTAssociation::initInMoc(m_moc.get());
    association->setFromPerson(from);
    association->setToPerson(to);
    use(line);
    for (GedRec* sub : line->subRecords()) {
        if (sub->hasType("TYPE")) {
            continue;
        } else if (sub->hasType("RELA")) {
            association->setFromRelationship(sub->value());
            use(sub);
        } else if (sub->hasType("NOTE")) {
            // Read like any note: a pointer is followed, continuation lines are joined.
            processNOTE_STRUCTURE_For(association, sub);
        } else {
            FTLog(QStringLiteral(" *-OTHER-*"));
        }
    }
}
