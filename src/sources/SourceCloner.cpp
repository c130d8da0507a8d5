#include "sources/SourceCloner.h"

#include "model/FTMoc.h"
#include "model/FTPicture.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"

#include "platform/Localizer.h"
#include "platform/store/EntityDescription.h"
#include "platform/store/ReleasingWalk.h"

#include <algorithm>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

const QString kNumericId = QStringLiteral("numericId");
const QString kLastChange = QStringLiteral("lastChange");
const Key kTitle("title");

bool byNumber(const FTSource* a, const FTSource* b)
{
    return a->numericId() < b->numericId();
}

// Whether `mine` holds `theirs`: every attribute of theirs but the number is absent or equal.
bool holds(const FTSource* mine, const FTSource* theirs)
{
    for (const QString& name : theirs->entity()->attributeNames()) {
        if (name == kNumericId)
            continue;
        const Key key(name);
        const QVariant value = theirs->value(key);
        if (value.isValid() && value != mine->value(key))
            return false;
    }
    return true;
}
}

SourceCloner::SourceCloner(FTMoc* target)
    : m_target(target)
{
}

void SourceCloner::buildIndex()
{
    if (m_indexed)
        return;
    m_indexed = true;
    m_all = m_target->fetch<FTSource>();
    std::stable_sort(m_all.begin(), m_all.end(), byNumber);
    for (FTSource* s : std::as_const(m_all))
        if (!s->isNil(kTitle))
            m_byTitle[s->title()] << s;
}

void SourceCloner::addToIndex(FTSource* source)
{
    // A copy takes the next number: it belongs at the end of both orders.
    m_all << source;
    if (!source->isNil(kTitle))
        m_byTitle[source->title()] << source;
}

FTSource* SourceCloner::findExistingSourceInTargetDatabase(const FTSource* other)
{
    if (!other || !m_target)
        return nullptr;
    buildIndex();
    // A source with a title can only be held by a source of the same title.
    const QList<FTSource*>& candidates = other->isNil(kTitle) ? m_all : m_byTitle.value(other->title());
    for (FTSource* mine : candidates)
        if (!mine->isDeleted() && holds(mine, other))
            return mine;
    return nullptr;
}

int SourceCloner::migrateAttributesFrom(const ManagedObject* from, ManagedObject* to)
{
    if (!from || !to || from->entity() != to->entity())
        return 0;
    int copied = 0;
    bool stamped = false;
    for (const QString& name : from->entity()->attributeNames()) {
        if (name == kNumericId)
            continue;
        if (name == kLastChange) {
            stamped = true;
            continue;
        }
        to->setValue(Key(name), from->value(Key(name)));
        ++copied;
    }
    // Every change above stamps the record with the time of copying; the stamp copied goes last.
    if (stamped) {
        to->setValue(Key(kLastChange), from->value(Key(kLastChange)));
        ++copied;
    }
    return copied;
}

FTSource* SourceCloner::counterpartOf(const FTSource* other)
{
    if (FTSource* copy = m_copies.value(other))
        return copy;
    return findExistingSourceInTargetDatabase(other);
}

int SourceCloner::clonePicturesFrom(const FTSource* other, FTSource* copy)
{
    const FTPicture* picture = other ? other->picture() : nullptr;
    if (!picture || !copy)
        return 0;
    // Made without a file, then given the other record's file name: the file stays where it is, neither copied
    // nor linked again.
    FTPicture* made = FTPicture::initInMoc(m_target, QString(), copy);
    if (!made)
        return 0;
    migrateAttributesFrom(picture, made);
    for (const FTSourceRel* citation : picture->sourceRels()) {
        FTSource* cited = citation->source() ? counterpartOf(citation->source()) : nullptr;
        if (!cited) {
            ++m_citationsLeftOut;
            continue;
        }
        FTSourceRel* copied = FTSourceRel::initInMoc(m_target, cited, made, citation->itemDescribed());
        migrateAttributesFrom(citation, copied);
    }
    return 1;
}

SourceCloner::Result SourceCloner::cloneSources(const QList<FTSource*>& sources)
{
    Result result;
    result.selected = int(sources.size());
    m_citationsLeftOut = 0;
    QList<std::pair<const FTSource*, FTSource*>> copied;
    // The other database is read a little at a time (each source, then each copy's picture): one read of its file.
    const ReadBurst burst(sources.isEmpty() || !sources.first() ? nullptr : sources.first()->context());
    for (const FTSource* other : sources) {
        if (!other || findExistingSourceInTargetDatabase(other)) {
            ++result.ignored;
            continue;
        }
        FTSource* copy = FTSource::initInMoc(m_target);
        migrateAttributesFrom(other, copy);
        addToIndex(copy);
        m_copies.insert(other, copy);
        copied << std::pair { other, copy };
        result.copies << copy;
        ++result.copied;
    }
    for (const auto& [other, copy] : copied)
        clonePicturesFrom(other, copy);
    result.citationsLeftOut = m_citationsLeftOut;
    return result;
}

QString SourceCloner::reportText(const Result& result)
{
    QString text;
    if (result.ignored == 0) {
        text = QStringLiteral("%1 %2%3 %4")
                   .arg(QString::number(result.selected), L("Source"), result.selected > 1 ? L("hasPlural") : L("has"),
                       L("CopiedSources3"));
    } else {
        text = QStringLiteral("%1 %2\n\n%3 %4%5 %6.\n\n")
                   .arg(QString::number(result.copied), L("CopiedSources1"), QString::number(result.ignored),
                       L("CopiedSources2"), result.ignored != 1 ? L("wasPlural") : L("was"), L("ignored"));
    }
    if (result.citationsLeftOut > 0)
        text += (text.endsWith(QLatin1Char('\n')) ? QString() : QStringLiteral("\n\n"))
            + L("CitationsLeftOut").arg(result.citationsLeftOut);
    return text;
}
