// Family records: couples, their marriages and other family events, the links from parents to children and their
// types; then, once every family exists, the people's own family links (pedigree types) and their adoptions.
#include "gedcom/ImportGedcomThread.h"

#include "gedcom/GedRec.h"
#include "gedcom/GedcomForest.h"
#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "model/FTSpouseRel.h"
#include "platform/FTLog.h"
#include "platform/Localizer.h"

#include <QElapsedTimer>

namespace {

// The type bit of a parent-child word. Files of this program and others write the English words; older files of
// this program wrote the words of the user's language. 0 for a word that is neither.
int pcRelTypeForWord(const QString& value)
{
    static const struct {
        const char* word;
        int type;
    } kWords[] = { { "Natural", FTPcRel::kNatural }, { "Adopted", FTPcRel::kAdopted }, { "Step", FTPcRel::kStep },
        { "Foster", FTPcRel::kFoster } };
    const QString word = value.trimmed();
    if (word.isEmpty())
        return 0;
    for (const auto& w : kWords)
        if (word.compare(QLatin1String(w.word), Qt::CaseInsensitive) == 0
            || word.compare(LocalizedString(QLatin1String(w.word)), Qt::CaseInsensitive) == 0)
            return w.type;
    return 0;
}

// The pedigree word of a person's link to a family (GEDCOM PEDI): the link type it gives, -1 for "sealing" (an
// ordinance that says nothing about the kind of link), 0 for a word not known.
int pcRelTypeForPedigree(const QString& value)
{
    const QString word = value.trimmed();
    if (word.compare(QLatin1String("birth"), Qt::CaseInsensitive) == 0)
        return FTPcRel::kNatural;
    if (word.compare(QLatin1String("sealing"), Qt::CaseInsensitive) == 0)
        return -1;
    return pcRelTypeForWord(word);
}

// The person of an individual record; nullptr for any other record. Only individual records have people as their
// subjects, so the tag tells without asking the object its class (these lookups run for every partner and child).
FTPerson* personOf(const GedRec* record)
{
    return record && record->hasType("INDI") ? static_cast<FTPerson*>(record->subjectId()) : nullptr;
}

QString elapsed(const QElapsedTimer& timer)
{
    return QString::number(double(timer.nsecsElapsed()) / 1e6, 'f', 3);
}

} // namespace

// ---- Family records ------------------------------------------------------------------------------------------------

void ImportGedcomThread::processFAM(GedRec* fam)
{
    FTPerson* husband = nullptr;
    FTPerson* wife = nullptr;
    getHusbandAndWife(&husband, &wife, fam);

    if (!husband && wife) {
        husband = createPlaceholderPartner(QStringLiteral("Husband of %1").arg(wife->name()), m_male);
    } else if (husband && !wife) {
        wife = createPlaceholderPartner(QStringLiteral("Wife of %1").arg(husband->name()), m_female);
    } else if (!husband && !wife) {
        husband = createPlaceholderPartner(QString(), m_male);
        wife = createPlaceholderPartner(QString(), m_female);
        husband->setName(QStringLiteral("Husband of %1").arg(wife->numericId()));
        wife->setName(QStringLiteral("Wife of %1").arg(husband->numericId()));
    }

    // The same person named as both partners: nothing of the family can be placed, so all of it goes to the log.
    // Identity, not the number: two records may carry the same digits.
    if (husband == wife) {
        FTLog(QStringLiteral("GedRecFAM(identical partner IDs): %1").arg(fam->lineNo()));
        return;
    }
    m_familyPartners.insert(fam, { husband, wife });

    FTSpouseRel* couple = nullptr;
    FTEvent* marriage = nullptr;
    if (!existingSpouseRelForHusband(husband, wife)) {
        couple = attachSpouses(husband, wife);
        if (couple) {
            fam->setSubjectId(couple);
            couple->setNumericId(fam->numericId());
            m_maxSpouseRelId = qMax(m_maxSpouseRelId, fam->numericId());
            marriage = getMarriageEventsFor(couple, fam);
        }
    }

    getChildrenOf(husband, wife, fam);
    use(fam);

    for (GedRec* line : fam->subRecords()) {
        const QString& tag = line->type();
        if (line->hasType("CHIL")) {
            processFAM_CHIL_SLGC_Records(line);
        } else if (line->isFamilyEvent() || line->hasType("HUSB") || line->hasType("WIFE")) {
            continue;
        } else if (line->hasType("RESI") && m_header.bLegacy) {
            // This program writes a couple's residence as a family event: each partner gets it.
            processEVENT_STRUCTURE_For(husband, line);
            // The second reading needs the lines the first one marked.
            line->forEachLine([](GedRec* r) { r->setFlags(r->flags() & ~GedRec::Consumed); });
            processEVENT_STRUCTURE_For(wife, line);
        } else if (line->hasType("NCHI") || line->hasType("SUBM") || line->hasType("RIN")) {
            continue;
        } else if (line->hasType("SLGS")) {
            processLDSEvent(couple, line);
        } else if (line->hasType("SOUR")) {
            if (marriage)
                processSOURCE_CITATION_STRUCTURE_For(marriage, line, QStringLiteral("Marriage"));
        } else if (line->hasType("OBJE")) {
            processMULTIMEDIA_LINK_For(husband, line);
            processMULTIMEDIA_LINK_For(wife, line);
        } else if (line->hasType("NOTE")) {
            processNOTE_STRUCTURE_For(marriage, line);
        } else if (line->hasType("REFN")) {
            if (couple)
                processUSER_REFERENCE_NUMBER_For(couple, line);
            else
                line->setErrorReason(GedRec::ReasonSingleParentFamilyRefn, GedRec::ActionIgnored);
        } else if (line->hasType("CHAN")) {
            addLastChangeDateTo(couple, line);
        } else if (m_header.bFTW && (line->hasType("_MEND") || line->hasType("_MSTAT"))) {
            QString text;
            appendStringByRecursingGedRecs(line, text, true);
            FTManagedObject* owner = marriage ? static_cast<FTManagedObject*>(marriage) : husband;
            appendNotes(text, owner ? owner : wife);
            line->setErrorReason(GedRec::ReasonCustomTag, GedRec::ActionAppendedToNotes);
        } else if (m_header.bFTW && tag.startsWith(QLatin1String("_FA")) && line->isConsumed()) {
            continue;
        } else {
            processInvalidTagFor(QStringLiteral("FAM_RECORD"), line);
        }
    }
}

void ImportGedcomThread::getHusbandAndWife(FTPerson** husband, FTPerson** wife, GedRec* fam)
{
    *husband = nullptr;
    *wife = nullptr;
    for (GedRec* line : fam->subRecords()) {
        if (*husband && *wife)
            break;
        const bool isHusband = line->hasType("HUSB");
        if ((!isHusband && !line->hasType("WIFE")) || !line->valueIsPointer())
            continue;
        FTPerson* person = personOf(recordForPointerOf(line));
        // A pointer to no person counts as a missing partner; the log says which pointer it was.
        if (!person)
            printBadPointer(line);
        (isHusband ? *husband : *wife) = person;
        use(line);
    }
}

FTPerson* ImportGedcomThread::createPlaceholderPartner(const QString& name, const QString& gender)
{
    auto* person = m_moc->insertObject<FTPerson>();
    int id = ++m_maxPersonId;
    while (m_personIds.contains(id))
        id = ++m_maxPersonId;
    m_personIds.insert(id);
    person->setNumericId(id);
    person->setGender(gender);
    if (!name.isEmpty())
        person->setName(name);
    return person;
}

FTSpouseRel* ImportGedcomThread::existingSpouseRelForHusband(FTPerson* husband, FTPerson* wife) const
{
    if (!husband || !wife)
        return nullptr;
    for (FTSpouseRel* couple : husband->spouseRels())
        if (couple->partners().contains(wife))
            return couple;
    return nullptr;
}

FTSpouseRel* ImportGedcomThread::attachSpouses(FTPerson* husband, FTPerson* wife)
{
    if (!husband || !wife)
        return nullptr;
    // A partner of unknown gender still makes a couple: the family record says the two belong together.
    if (!husband->gender().isEmpty() && husband->gender() == wife->gender())
        m_errorMessages.append(QStringLiteral("Created a same sex union during import between %1 and %2")
                                   .arg(husband->name(), wife->name()));
    FTSpouseRel* couple = FTSpouseRel::initInMoc(m_moc.get());
    couple->addPartnersObject(husband);
    couple->addPartnersObject(wife);
    return couple;
}

FTEvent* ImportGedcomThread::getMarriageEventsFor(FTSpouseRel* couple, GedRec* fam)
{
    FTEvent* marriage = nullptr;
    for (GedRec* line : fam->subRecords()) {
        if (line->isFamilyEvent()) {
            FTEvent* event = processEVENT_STRUCTURE_For(couple, line);
            if (line->hasType("MARR") && event)
                marriage = event;
        } else if (m_header.bFTW && line->type().startsWith(QLatin1String("_FA"))) {
            processEVENT_STRUCTURE_For(couple, line);
        }
    }
    if (!marriage && !couple->marriage()) {
        // Every couple has a marriage event, empty when the file gives none.
        if (FTEvent* event = createEventOfType(FTEvent::MarriageEvent, QStringLiteral("MARR"))) {
            event->setOwner(couple);
            marriage = event;
        }
    }
    return marriage;
}

void ImportGedcomThread::getChildrenOf(FTPerson* husband, FTPerson* wife, GedRec* fam)
{
    if (!husband && !wife)
        return;
    const bool readsLinkTypes = m_header.bKinloom || m_header.bFTW;
    for (GedRec* line : fam->subRecords()) {
        if (!line->hasType("CHIL") || !line->valueIsPointer())
            continue;
        FTPerson* child = personOf(recordForPointerOf(line));
        if (!child) {
            printBadPointer(line);
            continue;
        }
        if (husband)
            attachParent(husband, child, FTPcRel::kNatural);
        if (wife)
            attachParent(wife, child, FTPcRel::kNatural);
        if (readsLinkTypes) {
            for (GedRec* sub : line->subRecords()) {
                if (sub->hasType("_RelToFather") || sub->hasType("_FREL"))
                    processAttributesOfPcRel(linkBetween(husband, child), sub);
                else if (sub->hasType("_RelToMother") || sub->hasType("_MREL"))
                    processAttributesOfPcRel(linkBetween(wife, child), sub);
            }
        }
        use(line);
    }
}

FTPcRel* ImportGedcomThread::attachParent(FTPerson* parent, FTPerson* child, int pcRelType)
{
    if (!parent || !child)
        return nullptr;
    // Refuses the person as his own child and a child already linked (listed twice, or in two families of one
    // parent): each is linked once.
    return parent->attachChild(child, pcRelType, false, nullptr);
}

FTPcRel* ImportGedcomThread::linkBetween(FTPerson* parent, FTPerson* child)
{
    if (!parent || !child)
        return nullptr;
    for (FTPcRel* link : parent->children())
        if (link->child() == child)
            return link;
    return nullptr;
}

void ImportGedcomThread::processAttributesOfPcRel(FTPcRel* link, GedRec* line)
{
    const int type = pcRelTypeForWord(line->value());
    if (type != 0) {
        if (link)
            link->setPcRelType(type);
    } else if (!line->value().trimmed().isEmpty()) {
        line->setErrorReason(GedRec::ReasonUnrecognisedValue, GedRec::ActionIgnored);
    }
    for (GedRec* sub : line->subRecords()) {
        if (sub->hasType("NOTE")) {
            // A file of this program writes a link's note under the family's child line and again under the
            // child's family line: the same note read twice is kept once.
            const QString before = link ? link->notes() : QString();
            processNOTE_STRUCTURE_For(link, sub);
            if (link && !before.isEmpty() && link->notes() != before) {
                const QString added = link->notes().mid(before.size() + 1);
                if (before == added || before.startsWith(added + u'\n') || before.endsWith(u'\n' + added)
                    || before.contains(u'\n' + added + u'\n'))
                    link->setNotes(before);
            }
        } else if (sub->hasType("_PROB")) {
            // "<certainty> <six 0/1 flags>": direct, indirect, primary, secondary, original, derivative.
            const QStringList parts = sub->value().split(u' ');
            if (parts.size() != 2)
                continue;
            bool ok = false;
            const uint certainty = parts[0].toUInt(&ok);
            if (link && ok && certainty <= 100)
                link->setCertainty(int(certainty));
            const QString& flags = parts[1];
            if (link && flags.size() == 6) {
                // Plain calls: the undefined-behaviour checker misreads calls through a table of member pointers.
                auto on = [&flags](int i) { return flags[i] == u'1'; };
                if (on(0))
                    link->setDirectEvidence(true);
                if (on(1))
                    link->setIndirectEvidence(true);
                if (on(2))
                    link->setPrimaryInformation(true);
                if (on(3))
                    link->setSecondaryInformation(true);
                if (on(4))
                    link->setOriginalSource(true);
                if (on(5))
                    link->setDerivativeSource(true);
            }
            use(sub);
        }
    }
    use(line);
}

void ImportGedcomThread::processFAM_CHIL_SLGC_Records(GedRec* chil)
{
    if (!chil->hasSubRecords())
        return;
    FTPerson* child = personOf(recordForPointerOf(chil));
    if (!child)
        return;
    for (GedRec* sub : chil->subRecords())
        if (sub->hasType("SLGC"))
            processLDSEvent(child, sub);
}

std::pair<FTPerson*, FTPerson*> ImportGedcomThread::familyPartners(GedRec* fam) const
{
    return m_familyPartners.value(fam, { nullptr, nullptr });
}

// ---- The people's own links to their families ----------------------------------------------------------------------

void ImportGedcomThread::flagRedundantGedRecs(GedRec* line)
{
    // The family records make the links; the pointer itself repeats them. What stands under a FAMC line is read
    // after the families pass; under a FAMS line nothing belongs to the link, so such lines stay for the log.
    if (line->hasType("FAMC") || line->hasType("FAMS"))
        use(line);
}

void ImportGedcomThread::processCHILD_TO_FAMILY_LINK_For(FTPerson* child, GedRec* famc)
{
    if (!famc->hasSubRecords() || !famc->valueIsPointer())
        return;
    GedRec* fam = recordForPointerOf(famc);
    if (!fam || !fam->hasType("FAM")) {
        printBadPointer(famc);
        return;
    }
    const auto [father, mother] = familyPartners(fam);
    FTPcRel* fatherLink = linkBetween(father, child);
    FTPcRel* motherLink = linkBetween(mother, child);
    const bool linked = fatherLink || motherLink;
    const bool readsLinkTypes = m_header.bKinloom || m_header.bFTW;
    for (GedRec* sub : famc->subRecords()) {
        const QString& tag = sub->type();
        if (tag == QLatin1String("PEDI")) {
            const int type = pcRelTypeForPedigree(sub->value());
            if (type == 0) {
                sub->setErrorReason(GedRec::ReasonUnrecognisedValue, GedRec::ActionIgnored);
            } else if (!linked) {
                sub->setErrorReason(GedRec::ReasonInvalidValue, GedRec::ActionIgnored,
                    QStringLiteral("the family @%1@ does not list this person as a child").arg(famc->fwdPtr()));
            } else if (type > 0) {
                for (FTPcRel* link : { fatherLink, motherLink }) {
                    if (!link || link->intPcRelType() == type)
                        continue;
                    link->setPcRelType(type);
                    FTLog(QStringLiteral("change %1 -> %2 to %3")
                              .arg(link->parent()->name(), child->name(), link->stringPcRelType()));
                }
            }
            use(sub);
        } else if (tag == QLatin1String("NOTE")) {
            // A note on the link belongs to both parents' links; without a link it stays for the log.
            if (fatherLink)
                processNOTE_STRUCTURE_For(fatherLink, sub);
            if (motherLink)
                processNOTE_STRUCTURE_For(motherLink, sub);
        } else if (readsLinkTypes && (tag == QLatin1String("_FREL") || tag == QLatin1String("_RelToFather"))) {
            processAttributesOfPcRel(fatherLink, sub);
        } else if (readsLinkTypes && (tag == QLatin1String("_MREL") || tag == QLatin1String("_RelToMother"))) {
            processAttributesOfPcRel(motherLink, sub);
        } else {
            processInvalidTagFor(QStringLiteral("CHILD_TO_FAMILY_LINK"), sub);
        }
    }
}

bool ImportGedcomThread::processIndividualAdoptionRecords()
{
    QElapsedTimer timer;
    timer.start();
    for (GedRec* indi : m_forest->records()) {
        FTPerson* person = personOf(indi);
        if (!person)
            continue;

        // The pedigree types first: an adoption event below is the more specific word.
        for (GedRec* line : indi->subRecords())
            if (line->hasType("FAMC"))
                processCHILD_TO_FAMILY_LINK_For(person, line);

        for (GedRec* adop : indi->subRecords()) {
            if (!adop->hasType("ADOP"))
                continue;
            FTPerson* father = nullptr;
            FTPerson* mother = nullptr;
            for (GedRec* famc : adop->subRecords()) {
                if (!famc->hasType("FAMC"))
                    continue;
                use(famc);
                GedRec* fam = recordForPointerOf(famc);
                if (!fam || !fam->hasType("FAM")) {
                    printBadPointer(famc);
                    continue;
                }
                const auto [husband, wife] = familyPartners(fam);
                bool byHusband = true;
                bool byWife = true;
                if (GedRec* by = famc->firstSubRecord("ADOP")) {
                    const QString who = by->value().trimmed().toUpper();
                    byHusband = who == QLatin1String("HUSB") || who == QLatin1String("BOTH");
                    byWife = who == QLatin1String("WIFE") || who == QLatin1String("BOTH");
                    if (!byHusband && !byWife) {
                        by->setErrorReason(GedRec::ReasonUnrecognisedValue, GedRec::ActionIgnored);
                        byHusband = byWife = true;
                    }
                    use(by);
                }
                if (byHusband && husband)
                    father = husband;
                if (byWife && wife)
                    mother = wife;
            }
            if (!father && !mother)
                continue;
            for (FTPcRel* link : person->parents()) {
                FTPerson* parent = link->parent();
                if (!parent || (parent != father && parent != mother) || link->intPcRelType() == FTPcRel::kAdopted)
                    continue;
                FTLog(QStringLiteral("change %1 -> %2 to Adopted").arg(parent->name(), person->name()));
                link->setPcRelType(FTPcRel::kAdopted);
            }
            break;
        }
    }
    FTLog(QStringLiteral("%1 msecs in processIndividualAdoptionRecords\n\n").arg(elapsed(timer)));
    return saveMoc();
}
