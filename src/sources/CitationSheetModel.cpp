#include "sources/CitationSheetModel.h"

#include "sources/SourceHooks.h"

#include "model/FTEvent.h"
#include "model/FTEventType.h"
#include "model/FTMoc.h"
#include "model/FTMocUndoManager.h"
#include "model/FTPerson.h"
#include "model/FTPicture.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"

#include "platform/Localizer.h"

namespace {
struct LastSheet {
    QString pageRef;
    QSize size;
};
std::array<LastSheet, CitationSheetModel::kKindCount>& lastSheets()
{
    static std::array<LastSheet, CitationSheetModel::kKindCount> last;
    return last;
}

QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

QString eventTypeName(const FTEvent* event)
{
    const FTEventType* type = event ? event->eventType() : nullptr;
    return type ? type->name() : QString();
}
}

const CitationSheetModel::KindData& CitationSheetModel::kindData(Kind kind)
{
    static const std::array<KindData, kKindCount> data { {
        { "PersonSourceReference", "helpForPersonSourceReference", { "Name", "Title", "Notes" }, false },
        { "EventSourceReference", "helpForEventSourceReference", { "Date", "Place", "Notes" }, false },
        { "PicSourceReference", "helpForPictureSourceReference", { "Image", "Date", "Notes" }, true },
    } };
    return data[size_t(indexOf(kind))];
}

QString CitationSheetModel::lastPageRef(Kind kind)
{
    return lastSheets()[size_t(indexOf(kind))].pageRef;
}

QSize CitationSheetModel::prevSize(Kind kind)
{
    return lastSheets()[size_t(indexOf(kind))].size;
}

void CitationSheetModel::forgetLastSheets()
{
    lastSheets().fill(LastSheet());
}

CitationSheetModel::CitationSheetModel(Kind kind, FTSourceRel* citation)
    : m_kind(kind)
    , m_citation(citation)
    , m_source(citation ? citation->source() : nullptr)
    , m_owner(nullptr)
{
    if (citation) {
        switch (kind) {
        case Kind::Person:
            m_owner = citation->person();
            break;
        case Kind::Event:
            m_owner = citation->event();
            break;
        case Kind::Picture:
            m_owner = citation->picture();
            break;
        }
    }
    m_flags.fill(kindData(kind).flagsAtOpening);
}

QString CitationSheetModel::heading() const
{
    const QString addTo = LocalizedHelpString(QStringLiteral("AddSourceRefTo"));
    switch (m_kind) {
    case Kind::Person: {
        const auto* person = dynamic_cast<const FTPerson*>(m_owner);
        return QStringLiteral("%1 %2\n%3").arg(addTo, L("Person"), person ? person->nameWithBirthAndDeathYears() : QString());
    }
    case Kind::Event: {
        const auto* event = dynamic_cast<const FTEvent*>(m_owner);
        return QStringLiteral("%1 %2 %3\n%4 %5")
            .arg(addTo, eventTypeName(event), L("Event"), L("ConjunctiveFor"), event ? event->ownerName() : QString());
    }
    case Kind::Picture: {
        const auto* picture = dynamic_cast<const FTPicture*>(m_owner);
        return QStringLiteral("%1 %2 \"%3\" %4 %5")
            .arg(addTo, L("Picture"), picture ? picture->name() : QString(), L("ConjunctiveFor"),
                picture ? picture->ownersName() : QString());
    }
    }
    return QString();
}

QStringList CitationSheetModel::topicWords() const
{
    QStringList words;
    for (const char* key : kindData(m_kind).topicKeys)
        words << L(key);
    return words;
}

void CitationSheetModel::setTopicFlag(int index, bool on)
{
    if (index < 0 || index >= int(m_flags.size()))
        return;
    m_flags[size_t(index)] = on;
    changeTopic();
}

QString CitationSheetModel::topicFromFlags() const
{
    QString text = m_kind == Kind::Event ? eventTypeName(m_citation ? m_citation->event() : nullptr) : QString();
    const QStringList words = topicWords();
    for (size_t i = 0; i < m_flags.size(); ++i) {
        if (!m_flags[i])
            continue;
        if (!text.isEmpty())
            text += QStringLiteral(", ");
        text += words[qsizetype(i)];
    }
    return text;
}

void CitationSheetModel::changeTopic()
{
    if (m_citation && !m_deleted)
        m_citation->setItemDescribed(topicFromFlags());
}

void CitationSheetModel::useSamePageRefAsPrevious(bool on)
{
    const bool wasOn = m_samePageRef;
    m_samePageRef = on;
    if (!m_citation || m_deleted)
        return;
    if (on) {
        if (!wasOn)
            m_pageRefBeforeSame = m_citation->reference();
        // A page reference that was never remembered is no page reference.
        const QString previous = lastPageRef(m_kind);
        m_citation->setReference(previous.isEmpty() ? QString() : previous);
        m_pageRefFromSame = m_citation->reference();
        return;
    }
    // Unticking takes back what the tick did: the citation's own page reference returns, unless it was changed
    // since.
    m_citation->setReference(wasOn && m_citation->reference() == m_pageRefFromSame ? m_pageRefBeforeSame : QString());
}

void CitationSheetModel::addReference(FTSource* source)
{
    if (!source || !m_citation || m_deleted)
        return;
    m_source = source;
    m_citation->setSource(source);
    if (FTMoc* moc = m_citation->moc()) {
        moc->setActiveSource(source);
        moc->setActiveSourcePageRef(QString());
        SourceHooks::noteActiveSourceChanged(*moc);
    }
}

void CitationSheetModel::deleteSourceReference()
{
    if (!m_citation || m_deleted)
        return;
    // Read while the citation is whole: the next sheet of this kind offers it.
    m_pageRefAtDeletion = m_citation->reference();
    FTMoc* moc = m_citation->moc();
    if (moc && moc->undoManager())
        moc->undoManager()->setActionName(L("DeleteSourceRef"));
    if (moc)
        moc->deleteObject(m_citation);
    m_deleted = true;
}

void CitationSheetModel::close(const QSize& size)
{
    if (!m_citation)
        return;
    LastSheet& last = lastSheets()[size_t(indexOf(m_kind))];
    last.pageRef = m_deleted ? m_pageRefAtDeletion : m_citation->reference();
    last.size = size;
}
