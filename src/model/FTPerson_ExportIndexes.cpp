#include "model/FTPerson.h"

#include "model/FTPicture.h"
#include "model/FTSourceRel.h"

#include <algorithm>

struct FTPerson::ExportIndexes {
    std::unique_ptr<QSet<FTSpouseRel*>> spouseOfFamilies;
    std::unique_ptr<QSet<FTSpouseRel*>> childOfFamilies;
    std::unique_ptr<QSet<FTPicture*>> pictures;
    std::unique_ptr<QSet<FTEvent*>> otherEvents;
    std::unique_ptr<QSet<FTSourceRel*>> sourceRels;
};

FTPerson::FTPerson() = default;
FTPerson::~FTPerson() = default;

namespace {
template <class T> void addTo(std::unique_ptr<QSet<T*>>& set, T* item)
{
    if (!set)
        set = std::make_unique<QSet<T*>>();
    if (item)
        set->insert(item);
}
}

void FTPerson::addSpouseOfFamily(FTSpouseRel* couple)
{
    if (!m_exportIndexes)
        m_exportIndexes = std::make_unique<ExportIndexes>();
    addTo(m_exportIndexes->spouseOfFamilies, couple);
}

void FTPerson::addChildOfFamily(FTSpouseRel* couple)
{
    if (!m_exportIndexes)
        m_exportIndexes = std::make_unique<ExportIndexes>();
    addTo(m_exportIndexes->childOfFamilies, couple);
}

void FTPerson::addPictureToPicturesSet(FTPicture* picture)
{
    if (!m_exportIndexes)
        m_exportIndexes = std::make_unique<ExportIndexes>();
    addTo(m_exportIndexes->pictures, picture);
}

void FTPerson::addOtherEventToOtherEventsSet(FTEvent* event)
{
    if (!m_exportIndexes)
        m_exportIndexes = std::make_unique<ExportIndexes>();
    addTo(m_exportIndexes->otherEvents, event);
}

void FTPerson::addSourceRelToSourceRelsSet(FTSourceRel* citation)
{
    if (!m_exportIndexes)
        m_exportIndexes = std::make_unique<ExportIndexes>();
    addTo(m_exportIndexes->sourceRels, citation);
}

const QSet<FTSpouseRel*>* FTPerson::spouseOfFamilies() const
{
    return m_exportIndexes ? m_exportIndexes->spouseOfFamilies.get() : nullptr;
}

const QSet<FTSpouseRel*>* FTPerson::childOfFamilies() const
{
    return m_exportIndexes ? m_exportIndexes->childOfFamilies.get() : nullptr;
}

const QSet<FTPicture*>* FTPerson::picturesSet() const
{
    return m_exportIndexes ? m_exportIndexes->pictures.get() : nullptr;
}

const QSet<FTEvent*>* FTPerson::otherEventsSet() const
{
    return m_exportIndexes ? m_exportIndexes->otherEvents.get() : nullptr;
}

const QSet<FTSourceRel*>* FTPerson::sourceRelsSet() const
{
    return m_exportIndexes ? m_exportIndexes->sourceRels.get() : nullptr;
}

QList<FTPicture*> FTPerson::picturesArrayFromPicturesSet() const
{
    const QSet<FTPicture*>* set = picturesSet();
    QList<FTPicture*> out = set ? set->values() : QList<FTPicture*>();
    std::sort(out.begin(), out.end(), [](const FTPicture* a, const FTPicture* b) {
        return a->seqNo() != b->seqNo() ? a->seqNo() < b->seqNo() : a->primaryKey() < b->primaryKey();
    });
    return out;
}

QList<FTSourceRel*> FTPerson::sourceRelsArrayFromSourceRelsSet() const
{
    // A citation's number is its row key, given in the order the citations were made.
    const QSet<FTSourceRel*>* set = sourceRelsSet();
    QList<FTSourceRel*> out = set ? set->values() : QList<FTSourceRel*>();
    std::sort(out.begin(), out.end(),
        [](const FTSourceRel* a, const FTSourceRel* b) { return a->primaryKey() < b->primaryKey(); });
    return out;
}

void FTPerson::removeGedcomExportIndexes()
{
    m_exportIndexes.reset();
}
