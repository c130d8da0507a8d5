#include "model/FTEvent.h"

#include "model/FTEventType.h"
#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"
#include "model/ModelFlags.h"
#include "model/ModelHooks.h"

#include "platform/FTLog.h"
#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"
#include "platform/Prompts.h"
#include "platform/UserDefaults.h"
#include "model/FTMocUndoManager.h"

#include <exception>

namespace {
const Key kCertainty("certainty");

void report(int line, const char* method)
{
    if (const auto& hook = ModelHooks::shared().reportCurrentException)
        hook("FTEvent", line, QString::fromLatin1(method));
    else
        FTLog(QStringLiteral("FTEvent: an exception stopped %1").arg(QString::fromLatin1(method)));
}
}

FTSourceRel* FTEvent::addReferenceToSource(FTSource* source)
{
    if (!source)
        return nullptr;
    FTMoc* m = moc();
    FTSourceRel* citation = nullptr;
    try {
        QList<FTSourceRel*> existing;
        for (FTSourceRel* c : sourceRels())
            if (c->source() == source)
                existing << c;
        if (existing.isEmpty()) {
            citation = m->insertObject<FTSourceRel>();
            nameNewObjectAction(m, LocalizedString(QStringLiteral("AddSourceCitation")));
            citation->setSource(source);
            citation->setEvent(this);
            if (gMergeFromAnotherDatabase)
                citation->setItemDescribed(attributesBeingMerged());
            else
                citation->setItemDescribed(eventType() ? eventType()->name() : QString());
            if (source == m->activeSource())
                citation->setReference(m->activeSourcePageRef());
            if (type() == BirthEvent || type() == DeathEvent || type() == OtherPersonalEvent)
                citation->setPerson(person());
            m->saveMoc();
        } else if (existing.size() == 1) {
            Prompts::current().message(QStringLiteral(
                "The existing Source Reference has been chosen.\n\nPlease add extra Page Refs, Topics and Notes to "
                "the existing Source Reference as appropriate."));
            citation = existing.first();
        } else {
            Prompts::current().message(
                QStringLiteral("There are %1 references to the Active Source (Source No. %2) that need to be "
                               "amalgamated. Use the Sources pane in the main window to do the amalgamation.\n\nThe "
                               "first existing Source Reference has been chosen.\n\nPlease add extra Page Refs, "
                               "Topics and Notes to the existing Source Reference as appropriate.")
                    .arg(existing.size())
                    .arg(source->numericId()));
            citation = existing.first();
        }
    } catch (const std::exception&) {
        report(__LINE__, "addReferenceToSource_1");
    }
    try {
        if (!gMergeFromAnotherDatabase && citation) {
            if (const auto& sheet = ModelHooks::shared().eventSourceReferenceSheet) {
                // The sheet sits on the document's window, which closes before the document's context goes;
                // the event is looked up again in case it was deleted meanwhile.
                const QString uri = objectURI();
                sheet(*this, *citation, [m, uri] {
                    if (auto* event = dynamic_cast<FTEvent*>(m->objectForURI(uri)); event && !event->isDeleted())
                        event->addReferenceToSourceDidEnd();
                });
            }
        }
    } catch (const std::exception&) {
        report(__LINE__, "addReferenceToSource_2");
    }
    return citation;
}

void FTEvent::addReferenceToSourceDidEnd()
{
    const auto& pageHook = ModelHooks::shared().personEditorPage;
    const QString page = pageHook ? pageHook() : QString();
    if (page == QLatin1String("pSources")
        || (page == QLatin1String("pEvents")
            && UserDefaults::standard().contains(QStringLiteral("cdCheckForMissingCitations"))))
        NotificationCenter::defaultCenter().post(QStringLiteral("RefreshAllViews"), nullptr, moc());
}

FTEvent* FTEvent::cloneEvent(FTEvent* event, FTManagedObject* owner)
{
    if (!event || !owner || event->type() != OtherPersonalEvent
        || owner->entityName() != QLatin1String(FTPerson::kEntityName))
        return nullptr;
    FTMoc* m = event->moc();
    if (!m)
        return nullptr;
    if (UndoManager* um = m->undoManager())
        um->setActionName(LocalizedString(QStringLiteral("CloneEvent")));
    FTEvent* clone = initInMoc(m, OtherPersonalEvent);
    clone->setOwner(owner);
    for (const char* key : {"subtype", "name", "date", "place", "notes", "extraData"}) {
        const QString k = QString::fromLatin1(key);
        // The stored values, not the displayed ones (a name falls back to the tag's name when empty).
        clone->setValueForKey(k, event->ManagedObject::value(Key(k)));
    }
    return clone;
}

int FTEvent::cloneSourceRefsfromEvent(FTEvent* event)
{
    FTMoc* m = moc();
    if (!event || !m)
        return 0;
    int made = 0;
    for (const FTSourceRel* original : event->sourceRels()) {
        auto* copy = m->insertObject<FTSourceRel>();
        copy->setEvent(this);
        // A personal event's citations name its person too, so the person's citations list them.
        if (type() == BirthEvent || type() == DeathEvent || type() == OtherPersonalEvent)
            copy->setPerson(person());
        copy->setSource(original->source());
        copy->setItemDescribed(original->itemDescribed());
        copy->setReference(original->reference());
        copy->setNotes(original->notes());
        copy->setExtraData(original->extraData());
        copy->ManagedObject::setValue(kCertainty, original->ManagedObject::value(kCertainty));
        ++made;
    }
    return made;
}

void FTEvent::findInGoogleMaps()
{
    try {
        if (place().isEmpty()) {
            Prompts::current().message(QStringLiteral("Please select an Event with a Place name"));
            return;
        }
        if (const auto& open = ModelHooks::shared().openMapWindow)
            open(*this);
    } catch (const std::exception&) {
        report(__LINE__, "findInGoogleMaps");
    }
}
