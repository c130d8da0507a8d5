#include "model/FTMoc.h"

#include "model/FTMocState.h"
#include "model/FTSource.h"

#include "platform/FTLog.h"

namespace {
constexpr int kMaxRecentSources = 10;
}

QList<FTSource*> FTMoc::recentSources()
{
    if (!s->recentSources) {
        std::optional<QStringList> stored = storedList(QStringLiteral("recentSources"));
        if (stored)
            FTLog(QStringLiteral("%1 recentSources got from ModelDefaults").arg(stored->size()));
        s->recentSources = stored.value_or(QStringList());
    }
    // Oldest first, so that each readable source goes to the front: the answer is newest first.
    QList<FTSource*> answer;
    QStringList& uris = *s->recentSources;
    for (qsizetype i = uris.size() - 1; i >= 0; --i) {
        ManagedObject* o = objectForURI(uris[i]);
        if (!o || !o->isKindOfEntity(QString::fromLatin1(FTSource::kEntityName))) {
            uris.removeAt(i); // the source was deleted
            continue;
        }
        answer.prepend(static_cast<FTSource*>(o));
    }
    return answer;
}

void FTMoc::setRecentSources(const QStringList& sourceURIs)
{
    s->recentSources = sourceURIs;
}

void FTMoc::addRecentSource(FTSource* source)
{
    if (!source)
        return;
    if (!s->recentSources)
        recentSources(); // the stored list first: a choice made before the list was shown must not replace it
    QStringList& uris = *s->recentSources;
    const QString uri = source->objectURI();
    uris.removeAll(uri);
    uris.prepend(uri);
    while (uris.size() > kMaxRecentSources)
        uris.removeLast();
}

void FTMoc::saveRecentSources()
{
    if (s->recentSources)
        storeList(QStringLiteral("recentSources"), *s->recentSources);
}
