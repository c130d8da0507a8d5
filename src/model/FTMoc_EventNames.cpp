#include "model/FTMoc.h"

#include "model/EventTypesVocabulary.h"
#include "model/FTEvent.h"
#include "model/FTMocState.h"

#include <QSet>

#include <algorithm>

namespace {
bool sortsBefore(const QString& a, const QString& b)
{
    const int c = a.compare(b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
}
}

QStringList FTMoc::eventNamesForSubtype(const QString& subtype)
{
    if (const auto it = s->eventNamesDictionary.constFind(subtype);
        it != s->eventNamesDictionary.constEnd() && !it->isEmpty())
        return *it;
    const QString standard = EventTypesVocabulary::nameForTag(subtype);
    QStringList names;
    if (subtype == QLatin1String("BIRT") || subtype == QLatin1String("DEAT") || subtype == QLatin1String("MARR")) {
        names << standard;
    } else {
        QSet<QString> distinct;
        forEachObject(QString::fromLatin1(FTEvent::kEntityName), [&](ManagedObject* o) {
            const auto* e = static_cast<FTEvent*>(o);
            if (e->subtype() == subtype && !e->name().isEmpty())
                distinct.insert(e->name());
            return true;
        });
        if (!standard.isEmpty())
            distinct.insert(standard);
        for (const char* word : {"Birth", "Death", "Marriage"})
            distinct.remove(QString::fromLatin1(word));
        names = QStringList(distinct.begin(), distinct.end());
        std::sort(names.begin(), names.end(), sortsBefore);
    }
    s->eventNamesDictionary.insert(subtype, names);
    return names;
}

void FTMoc::addEventName(const QString& name, const QString& subtype)
{
    const auto it = s->eventNamesDictionary.find(subtype);
    if (it == s->eventNamesDictionary.end() || name.isEmpty())
        return;
    QStringList& names = *it;
    for (qsizetype i = 0; i < names.size(); ++i) {
        const int c = name.compare(names[i], Qt::CaseInsensitive);
        if (c == 0)
            return;
        if (c < 0) {
            names.insert(i, name);
            return;
        }
    }
    names.append(name);
}

void FTMoc::removeEventName(const QString& name, const QString& subtype)
{
    const auto it = s->eventNamesDictionary.find(subtype);
    if (name.isEmpty() || it == s->eventNamesDictionary.end() || it->isEmpty()
        || name == EventTypesVocabulary::nameForTag(subtype))
        return;
    const int users
        = count<FTEvent>([&](const FTEvent* e) { return e->name() == name && e->subtype() == subtype; });
    if (users > 1)
        return;
    it->removeAll(name);
}
