#include "sources/SourcePairMerge.h"

#include "sources/SourceCatalogue.h"

#include "model/FTMoc.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"

#include "platform/Localizer.h"
#include "platform/Prompts.h"

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

QString number(const FTSource* source)
{
    return source ? QString::number(source->numericId()) : QString();
}

// "a", "a and b", "a, b and c".
QString listed(const QStringList& names)
{
    if (names.size() < 2)
        return names.join(QString());
    return names.mid(0, names.size() - 1).join(QStringLiteral(", ")) + QLatin1Char(' ') + L("ConjunctiveAnd")
        + QLatin1Char(' ') + names.last();
}
}

const QStringList& SourcePairMerge::shownFields()
{
    static const QStringList fields = { QStringLiteral("type"), QStringLiteral("title"),
        QStringLiteral("abbreviatedTitle"), QStringLiteral("author"), QStringLiteral("publisher"),
        QStringLiteral("date"), QStringLiteral("location"), QStringLiteral("notes") };
    return fields;
}

SourcePairMerge::SourcePairMerge(FTSource* source1, FTSource* source2)
    : m_source1(source1)
    , m_source2(source2)
{
}

QStringList SourcePairMerge::differentFields() const
{
    if (!m_source1 || !m_source2)
        return {};
    const unsigned options = FTManagedObject::CompareWithoutLastChange | FTManagedObject::CompareWithoutNumericId
        | FTManagedObject::CompareWithoutThumbNailImageData;
    return m_source1->compareWith(m_source2, options).value_or(QStringList());
}

bool SourcePairMerge::differs(const QString& field) const
{
    return differentFields().contains(field);
}

QString SourcePairMerge::differences() const
{
    const QStringList names = differentFields();
    if (names.isEmpty())
        return L("SameFields");
    return L("DifferentFields") + listed(names);
}

QString SourcePairMerge::citationCount(const FTSource* source)
{
    return QStringLiteral("%1 = %2").arg(L("NumRefs")).arg(source ? source->numSourceRels() : 0);
}

QString SourcePairMerge::mergeButtonTitle() const
{
    return L("MergeSource1") + number(m_source1) + L("MergeSource2") + number(m_source2);
}

int SourcePairMerge::moveCitations()
{
    if (!m_source1 || !m_source2 || m_source1 == m_source2)
        return 0;
    const QList<FTSourceRel*> citations = m_source1->sourceRels();
    for (FTSourceRel* citation : citations)
        citation->setSource(m_source2);
    return int(citations.size());
}

QString SourcePairMerge::movedMessage(int moved) const
{
    QString message = QString::number(moved) + L("RefsMoved1") + number(m_source1) + L("RefsMoved2")
        + number(m_source2) + QStringLiteral("\n\n") + L("RefsMoved3") + number(m_source1) + L("RefsMoved4");
    if (m_source1 && m_source1->picture()) {
        const char* key = SourceCatalogue::mergeLosesPicture(m_source1, m_source2) ? "MergeDeletesPicture"
                                                                                     : "MergeMovesPicture";
        message += QStringLiteral("\n\n") + L(key).arg(number(m_source1), number(m_source2));
    }
    return message;
}

QString SourcePairMerge::deleteButtonTitle() const
{
    return L("DeleteSource") + QLatin1Char(' ') + number(m_source1);
}

QString SourcePairMerge::retainButtonTitle() const
{
    return L("RetainSource") + QLatin1Char(' ') + number(m_source1);
}

SourcePairMerge::Outcome SourcePairMerge::merge()
{
    Outcome outcome;
    if (!m_source1 || !m_source2 || m_source1 == m_source2)
        return outcome;
    FTMoc* moc = m_source2->moc();
    outcome.moved = moveCitations();
    const int answer = Prompts::current().chooseWithTitle(
        L("MergeSourceTitle"), movedMessage(outcome.moved), QString(), { deleteButtonTitle(), retainButtonTitle() });
    if (answer == 0) {
        SourceCatalogue::deleteMergedSource(m_source1, m_source2);
        m_source1 = nullptr;
        outcome.deleted = true;
    }
    if (moc)
        moc->saveMoc();
    return outcome;
}
