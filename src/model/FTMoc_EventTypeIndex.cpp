#include "model/FTMoc.h"

#include "model/FTEvent.h"
#include "model/FTEventType.h"
#include "model/FTMocUndoManager.h"
#include "model/ModelProgress.h"

#include "platform/FTLog.h"
#include "platform/store/ReleasingWalk.h"

#include <QHash>

int FTMoc::eventTypeIndexEstimatedSeconds(qsizetype eventCount)
{
    return int(5 * eventCount / 1000);
}

bool FTMoc::linkEventsToEventTypes(const QList<FTEvent*>& events, ModelProgress* progress)
{
    static const Key kSubtype("subtype");
    // The first event type of each name and of each code, in the order of the index.
    QHash<QString, FTEventType*> byName;
    QHash<QString, FTEventType*> byCode;
    for (FTEventType* type : fetch<FTEventType>()) {
        if (!byName.contains(type->name()))
            byName.insert(type->name(), type);
        if (!byCode.contains(type->gedcomCode()))
            byCode.insert(type->gedcomCode(), type);
    }

    // Linking old events is a repair, not an edit of the user's to undo.
    undoManager()->disableUndoRegistration();
    struct Enable {
        FTMocUndoManager* um;
        ~Enable() { um->enableUndoRegistration(); }
    } enable { undoManager() };

    // Older versions stored some tags as the event type's name.
    for (FTEvent* event : events)
        if (FTEventType* type = byName.value(event->subtype()))
            event->setString(kSubtype, type->gedcomCode());

    ModelProgress::Steps steps(progress, events.size(), 5);
    if (progress)
        progress->setPercent(0);
    // Events saved with a batch are given back at the next one's start.
    ReleasingWalk walk(*this);
    for (qsizetype i = 0; i < events.size(); ++i) {
        walk.releasePoint();
        FTEvent* event = events[i];
        if (FTEventType* type = byCode.value(event->subtype())) {
            event->setEventType(type);
        } else {
            FTLog(QStringLiteral("For event Owner %1, Bad Event %2").arg(event->ownerName(), event->eventDescription()));
            const QString subtype = event->subtype();
            const QString known = subtype == QLatin1String("CEN") ? QStringLiteral("CENS")
                : subtype == QLatin1String("RES")                 ? QStringLiteral("RESI")
                                                                  : QStringLiteral("EVEN");
            event->setString(kSubtype, known);
            if (FTEventType* type = byCode.value(known))
                event->setEventType(type);
        }
        steps.at(i);
        // Saved in batches, so that a large database never holds all of its changes at once.
        if (i % 1000 == 0) {
            QString error;
            if (!save(&error)) {
                reportSaveError(error);
                return false;
            }
        }
    }
    QString error;
    if (!save(&error)) {
        reportSaveError(error);
        return false;
    }
    if (progress)
        progress->setPercent(100);
    return true;
}
