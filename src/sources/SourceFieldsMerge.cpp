#include "sources/SourceFieldsMerge.h"

#include "model/FTMoc.h"
#include "model/FTMocUndoManager.h"
#include "model/FTSource.h"

#include "shell/DisplayMsg.h"

#include "platform/Localizer.h"

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

QVariant valueOf(const FTSource* source, const QString& key)
{
    return source ? source->value(Key(key)) : QVariant();
}
}

const QStringList& SourceFieldsMerge::comparedFields()
{
    static const QStringList fields = QStringList { QStringLiteral("numericId") } + mergedFields();
    return fields;
}

const QStringList& SourceFieldsMerge::mergedFields()
{
    static const QStringList fields = { QStringLiteral("type"), QStringLiteral("title"),
        QStringLiteral("abbreviatedTitle"), QStringLiteral("author"), QStringLiteral("publisher"),
        QStringLiteral("date"), QStringLiteral("location"), QStringLiteral("notes") };
    return fields;
}

QList<int> SourceFieldsMerge::findMatch(const QList<FTSource*>& sources, const FTSource* source)
{
    QList<int> rows;
    if (!source)
        return rows;
    const QString title = source->title();
    for (int i = 0; i < sources.size(); ++i)
        if (sources[i]->title().compare(title, Qt::CaseInsensitive) == 0)
            rows << i;
    return rows;
}

SourceFieldsMerge::Comparison SourceFieldsMerge::highlightDifferences(const FTSource* source1, const FTSource* source2)
{
    Comparison c;
    for (const QString& field : comparedFields()) {
        const QVariant mine = valueOf(source1, field);
        const bool differs = mine.isValid() && mine != valueOf(source2, field);
        c.different << differs;
        c.count += differs ? 1 : 0;
    }
    if (c.count == 0)
        c.message = L("SourceAndTargetSame");
    else
        c.message
            = QStringLiteral("%1 %2%3 %4.")
                  .arg(QString::number(c.count), L("field"), c.count != 1 ? L("isPlural") : L("is"), L("different"));
    return c;
}

std::optional<int> SourceFieldsMerge::merge(const FTSource* source1, FTSource* source2)
{
    if (!source1 || !source2) {
        DisplayMsg(QStringLiteral("%1 %2 %3")
                       .arg(L("MergeSrcTryAgain1"), source1 ? L("TargetDb") : L("SourceDb"), L("MergeSrcTryAgain2")));
        return std::nullopt;
    }
    FTMoc* moc = source2->moc();
    FTMocUndoManager* undo = moc ? moc->undoManager() : nullptr;
    // One action of its own, whatever was changed before it in the same turn of the event loop.
    if (undo) {
        undo->closeOpenGroups();
        undo->setActionName(L("MergeSourceFromDb"));
    }
    int merged = 0;
    for (const QString& field : mergedFields()) {
        const QVariant theirs = valueOf(source1, field);
        const QVariant mine = valueOf(source2, field);
        if (!theirs.isValid() || (mine.isValid() && theirs.toString() == mine.toString()))
            continue;
        source2->setValueForKey(field, theirs.toString());
        ++merged;
    }
    if (undo)
        undo->closeOpenGroups();
    DisplayMsg(QStringLiteral("%1 %2%3 %4")
                   .arg(QString::number(merged), L("field"), merged != 1 ? L("wasPlural") : L("was"), L("merged")));
    return merged;
}
