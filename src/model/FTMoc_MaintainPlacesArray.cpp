#include "model/FTMoc.h"

#include "model/FTEvent.h"
#include "model/FTMocState.h"
#include "model/FTModelDefaults.h"

#include "platform/FTLog.h"
#include "platform/store/ReleasingWalk.h"
#include "platform/store/TextMatch.h"

#include <QCborArray>
#include <QCborMap>
#include <QSet>

#include <algorithm>

namespace {
const Key kExtraData("extraData");

bool sortsBefore(const QString& a, const QString& b)
{
    const int c = a.compare(b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
}
}

std::optional<QStringList> FTMoc::storedList(const QString& key)
{
    const QCborMap map = modelDefaults()->extraDataMap();
    if (!map.contains(key))
        return std::nullopt;
    QStringList out;
    for (const QCborValue& v : map.value(key).toArray())
        out << v.toString();
    return out;
}

// A raw write: the stored copy follows the context's list without an undo step or a change stamp, and goes to the
// file with the next save.
void FTMoc::storeList(const QString& key, const QStringList& list)
{
    FTModelDefaults* defaults = modelDefaults();
    QCborMap map = defaults->extraDataMap();
    const QCborArray array = QCborArray::fromStringList(list);
    if (map.contains(key) && map.value(key).toArray() == array)
        return;
    map.insert(key, array);
    defaults->setPrimitiveValue(kExtraData, map.toCborValue().toCbor());
}

QStringList FTMoc::places()
{
    if (!s->places) {
        std::optional<QStringList> list;
        if (!s->placesFromEvents)
            list = storedList(QStringLiteral("places"));
        s->placesFromEvents = false;
        if (list) {
            FTLog(QStringLiteral("%1 places got from ModelDefaults").arg(list->size()));
        } else {
            QSet<QString> distinct;
            ReleasingWalk walk(*this);
            forEachObject(QString::fromLatin1(FTEvent::kEntityName), [&](ManagedObject* o) {
                walk.releasePoint();
                const QString place = static_cast<FTEvent*>(o)->place();
                if (!place.isEmpty())
                    distinct.insert(place);
                return true;
            });
            list = QStringList(distinct.begin(), distinct.end());
            std::sort(list->begin(), list->end(), sortsBefore);
        }
        s->places = std::move(list);
    }
    return *s->places;
}

void FTMoc::setPlaces(const QStringList& places)
{
    s->places = places;
}

void FTMoc::addPlaceName(const QString& place)
{
    if (place.isEmpty() || !s->places || s->places->contains(place))
        return;
    QStringList& list = *s->places;
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (place.compare(list[i], Qt::CaseInsensitive) < 0) {
            list.insert(i, place);
            return;
        }
    }
    list.append(place);
}

void FTMoc::removePlaceName(const QString& place)
{
    if (place.isEmpty() || !s->places)
        return;
    const int users = count<FTEvent>([&](const FTEvent* e) { return e->place() == place; });
    if (users > 1)
        return;
    s->places->removeAll(place);
}

QStringList FTMoc::placeNamesStartingWith(const QString& prefix)
{
    QStringList out;
    for (const QString& place : places())
        if (TextMatch::beginsWith(place, prefix))
            out << place;
    return out;
}

void FTMoc::savePlaces()
{
    if (s->places)
        storeList(QStringLiteral("places"), *s->places);
}
