#include "model/FTEvent.h"

#include "model/FTEventType.h"
#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"
#include "model/ModelFlags.h"
#include "model/ModelHooks.h"
#include "model/SourceCiting.h"

#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"
#include "platform/Prompts.h"
#include "platform/UserDefaults.h"
#include "model/FTMocUndoManager.h"

#include <exception>

FTSourceRel* FTEvent::addReferenceToSource(FTSource* source)
{
    if (!source)
        return nullptr;
    FTMoc* m = moc();
    // The sheet sits on the document's window, which closes before the document's context goes; the event is
    // looked up again in case it was deleted meanwhile.
    const QString uri = objectURI();
    return SourceCiting {
        CitationDialogs::Kind::Event,
        this,
        sourceRels(),
        gMergeFromAnotherDatabase ? attributesBeingMerged() : (eventType() ? eventType()->name() : QString()),
        [] {
            return QStringLiteral("The existing Source Reference has been chosen.\n\nPlease add extra Page Refs, "
                                  "Topics and Notes to the existing Source Reference as appropriate.");
        },
        [source](int count) {
            return QStringLiteral("There are %1 references to the Active Source (Source No. %2) that need to be "
                                  "amalgamated. Use the Sources pane in the main window to do the amalgamation.\n\n"
                                  "The first existing Source Reference has been chosen.\n\nPlease add extra Page "
                                  "Refs, Topics and Notes to the existing Source Reference as appropriate.")
                .arg(count)
                .arg(source->numericId());
        },
        [m, uri] {
            if (auto* event = dynamic_cast<FTEvent*>(m->objectForURI(uri)); event && !event->isDeleted())
                event->addReferenceToSourceDidEnd();
        },
    }.cite(source);
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
    if (!event || !moc())
        return 0;
    int made = 0;
    for (const FTSourceRel* original : event->sourceRels())
        if (original->copyFor(this))
            ++made;
    return made;
}

void FTEvent::findInGoogleMaps(QObject* parent, std::function<void()> didEnd)
{
    try {
        if (place().isEmpty()) {
            Prompts::current().message(QStringLiteral("Please select an Event with a Place name"));
            return;
        }
        if (const auto& open = ModelHooks::shared().openMapWindow)
            open(*this, parent, std::move(didEnd));
    } catch (const std::exception&) {
        ModelHooks::reportException("FTEvent", __LINE__, QStringLiteral("findInGoogleMaps"));
    }
}
