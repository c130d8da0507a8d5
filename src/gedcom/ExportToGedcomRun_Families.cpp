#include "gedcom/ExportToGedcomRun.h"

#include "gedcom/GedcomWriter.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/FTPicture.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"
#include "model/FTSpouseRel.h"

#include "platform/FTLog.h"

#include <QElapsedTimer>

#include <algorithm>

namespace {
QString numbered(const char* prefix, qint64 number) { return QLatin1String(prefix) + QString::number(number); }
}

void ExportToGedcomRun::writeFAM_Records()
{
    QElapsedTimer timer;
    timer.start();
    double shown = 0;
    for (size_t n = 0; n < m_families.size(); ++n) {
        m_walk.releasePoint();
        m_pendingNotes.clear();
        createFAMGedRec(m_families[n].get());
        createPendingNotesRecords();
        const double fraction = double(n + 1) / m_families.size();
        if (fraction - shown > 0.2) {
            shown = fraction;
            setProgress(80 + int(18 * fraction));
        }
    }
    FTLog(QStringLiteral("%1 seconds to write FAM Records to Gedcom file")
              .arg(double(timer.nsecsElapsed()) / 1e9, 6, 'f', 1));
}

void ExportToGedcomRun::createFAMGedRec(FTFamily* family)
{
    w.writeLine(0, QStringLiteral("FAM"), {}, numbered("F", family->numericId));
    if (family->husband)
        w.writePointerLine(1, QStringLiteral("HUSB"), numbered("I", personId(family->husband)));
    if (family->wife)
        w.writePointerLine(1, QStringLiteral("WIFE"), numbered("I", personId(family->wife)));

    FTSpouseRel* couple = family->spouseRel;
    if (couple) {
        const bool hideLiving = m_options.includeLivingPeople && m_options.depersonalizeLivingPeople;
        const bool hideRecent = m_options.includeRecentlyDead && m_options.depersonalizeRecentlyDead;
        bool hidden = false;
        for (const FTPerson* partner : {family->husband, family->wife})
            if (partner)
                hidden = hidden || (hideLiving && isLiving(partner)) || (hideRecent && isRecentlyDead(partner));
        if (!hidden)
            addEventStructure(1, couple->marriage());
    }

    QList<FTChildRec> children = family->children;
    std::stable_sort(children.begin(), children.end(), [&](const FTChildRec& a, const FTChildRec& b) {
        const quint32 da = birthDateOf(a.child), db = birthDateOf(b.child);
        return da != db ? da < db : personId(a.child) < personId(b.child);
    });
    for (const FTChildRec& rec : std::as_const(children)) {
        if (!passes(rec.child))
            continue;
        w.writePointerLine(1, QStringLiteral("CHIL"), numbered("I", personId(rec.child)));
        if (m_options.includeCustomTags)
            addRelationshipLines(2, rec);
    }

    if (couple) {
        QList<FTEvent*> others = couple->otherMarriageEvents();
        std::sort(others.begin(), others.end(), [this](const FTEvent* a, const FTEvent* b) {
            const quint32 da = a->lDate(), db = b->lDate();
            return da != db ? da < db : eventId(a) < eventId(b);
        });
        for (FTEvent* event : std::as_const(others))
            addEventStructure(1, event);
        if (!couple->userId().trimmed().isEmpty())
            w.writeLine(1, QStringLiteral("REFN"), couple->userId());
    }
}

void ExportToGedcomRun::writeSOURCE_Records()
{
    QElapsedTimer timer;
    timer.start();
    // An export of chosen people writes the sources their written citations refer to. The whole database's export
    // writes every source: those the user keeps for later, cited by nobody yet, are part of it too.
    if (m_selective) {
        // A source's picture may cite another source: that one is written too, so that no citation points nowhere.
        QList<FTSource*> pending = m_sourcesSet.values();
        while (!pending.isEmpty()) {
            const FTSource* source = pending.takeLast();
            if (const FTPicture* picture = source->picture())
                for (const FTSourceRel* c : picture->sourceRels())
                    if (c->source() && !m_sourcesSet.contains(c->source())) {
                        m_sourcesSet.insert(c->source());
                        pending.append(c->source());
                    }
        }
    }
    QList<FTSource*> sources = m_selective ? m_sourcesSet.values() : m_moc->fetch<FTSource>();
    std::sort(sources.begin(), sources.end(), [this](const FTSource* a, const FTSource* b) {
        const qint64 ia = sourceId(a), ib = sourceId(b);
        return ia != ib ? ia < ib : a->primaryKey() < b->primaryKey();
    });
    for (FTSource* source : std::as_const(sources)) {
        m_walk.releasePoint();
        m_pendingNotes.clear();
        createSOURGedRec(source);
        createPendingNotesRecords();
        ++m_sourcesWritten;
    }
    FTLog(QStringLiteral("%1 seconds to write SOURCE Records to Gedcom file")
              .arg(double(timer.nsecsElapsed()) / 1e9, 6, 'f', 1));
}

void ExportToGedcomRun::createSOURGedRec(FTSource* source)
{
    const qint64 id = sourceId(source);
    w.writeLine(0, QStringLiteral("SOUR"), {}, numbered("S", id));
    w.writeShortText(1, QStringLiteral("AUTH"), source->author().trimmed());
    w.writeShortText(1, QStringLiteral("ABBR"), source->abbreviatedTitle().trimmed());
    const QString location = source->location().trimmed();
    if (!location.isEmpty()) {
        w.writeLine(1, QStringLiteral("REPO"));
        w.writeText(2, QStringLiteral("NOTE"), location);
    }
    if (m_options.includeCustomTags) {
        if (!source->type().trimmed().isEmpty())
            w.writeLine(1, QStringLiteral("_TYPE"), source->type().trimmed());
        if (!source->date().trimmed().isEmpty())
            w.writeLine(1, QStringLiteral("_DATE"), source->date().trimmed());
    }
    if (!source->notes().trimmed().isEmpty())
        addPendingNote(1, numbered("SN", id), source->notes());
    addMultimediaLink(1, source->picture());
    w.writeShortText(1, QStringLiteral("PUBL"), source->publisher().trimmed());
    w.writeShortText(1, QStringLiteral("TITL"), source->title().trimmed());
    if (!source->userId().trimmed().isEmpty())
        w.writeLine(1, QStringLiteral("REFN"), source->userId());
}
