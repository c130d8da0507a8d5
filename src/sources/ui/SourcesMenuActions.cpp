#include "sources/ui/SourcesMenuActions.h"

#include "sources/SourceHooks.h"
#include "sources/ui/ActiveSourceSelect.h"
#include "sources/ui/CloneSources.h"
#include "sources/ui/MergeSourcesFromAnotherDatabase.h"
#include "sources/ui/ReviewSourceReferences.h"
#include "sources/ui/SourcesAddModDel.h"

#include "model/FTMoc.h"
#include "model/FTSource.h"

#include "shell/ui/AppController.h"
#include "shell/ui/DOvurDocument.h"
#include "shell/ui/DocumentController.h"
#include "shell/ui/ToolbarController.h"

#include "platform/NotificationCenter.h"

#include <QMainWindow>

namespace {
const int kObserverOwner = 0; // the address groups this library's observers
const void* observerOwner()
{
    return &kObserverOwner;
}

void openEditor(DOvurDocument* doc, FTSource* source)
{
    if (!doc || !doc->dovurWindow())
        return;
    doc->prepareForCommand();
    FTMoc* moc = doc->moc();
    doc->beginSheet(new SourcesAddModDel(moc, source ? source : moc->activeSource()));
}
}

DOvurDocument* SourcesMenuActions::documentOf(const FTMoc* moc)
{
    for (DOvurDocument* doc : DocumentController::shared().documents())
        if (doc->moc() == moc)
            return doc;
    return nullptr;
}

void SourcesMenuActions::sourcesAddModDel(FTMoc* moc, FTSource* source)
{
    openEditor(documentOf(moc), source);
}

void SourcesMenuActions::installHooks()
{
    SourceHooks::shared().activeSourceChanged = [](FTMoc& moc) {
        // The database's own window: a change in one database never redraws another's button.
        if (DOvurDocument* doc = documentOf(&moc))
            if (ToolbarController* toolbar = doc->toolbarController())
                toolbar->setActiveSourceButtonCell();
    };
}

void SourcesMenuActions::registerMenuItems(AppController& app)
{
    installHooks();
    app.addMenuItem(QStringLiteral("Sources"), QStringLiteral("Add/Edit Sources..."), [] { sourcesAddModDel(); });
    app.addMenuItem(QStringLiteral("Sources"), QStringLiteral("Active Source..."), [] { activateActiveSource(); });
    app.addMenuItem(
        QStringLiteral("Sources"), QStringLiteral("Review Source Citations..."), [] { reviewSourceReferences(); });
    app.addMenuItem(QStringLiteral("Sources"), QStringLiteral("Copy Sources from Another Database..."),
        [] { cloneSourcesFromAnotherDatabase(); });
    app.addMenuItem(QStringLiteral("Sources"), QStringLiteral("Merge a Source from Another Database..."),
        [] { mergeSourcesFromAnotherDatabase(); });
    removeObservers();
    NotificationCenter::defaultCenter().addObserver(
        QStringLiteral("SourcesAddModDel"), nullptr, [](const Notification& n) { sourcesAddModDelNotification(n); },
        observerOwner());
}

void SourcesMenuActions::removeObservers()
{
    NotificationCenter::defaultCenter().removeObserversOf(observerOwner());
}

void SourcesMenuActions::sourcesAddModDel(FTSource* source)
{
    openEditor(DocumentController::shared().currentDocument(), source);
}

void SourcesMenuActions::activateActiveSource()
{
    ActiveSourceSelect::selectActiveSource(DocumentController::shared().currentDocument());
}

void SourcesMenuActions::reviewSourceReferences()
{
    DOvurDocument* doc = DocumentController::shared().currentDocument();
    if (!doc || !doc->dovurWindow())
        return;
    doc->endEditing();
    ReviewSourceReferences::run(doc->moc(), doc, nullptr, doc->dovurWindow());
}

void SourcesMenuActions::cloneSourcesFromAnotherDatabase()
{
    DOvurDocument* doc = DocumentController::shared().currentDocument();
    if (!doc || !doc->dovurWindow())
        return;
    doc->prepareForCommand();
    doc->beginSheet(new CloneSources(doc->moc()));
}

void SourcesMenuActions::mergeSourcesFromAnotherDatabase()
{
    DOvurDocument* doc = DocumentController::shared().currentDocument();
    if (!doc || !doc->dovurWindow())
        return;
    doc->prepareForCommand();
    MergeSourcesFromAnotherDatabase window(doc->moc(), doc->dovurWindow());
    window.exec();
}

void SourcesMenuActions::sourcesAddModDelNotification(const Notification& notification)
{
    DOvurDocument* doc = notification.context ? documentOf(static_cast<const FTMoc*>(notification.context))
                                              : DocumentController::shared().currentDocument();
    if (!doc)
        return;
    // The object is only trusted as a source of this database when it is one.
    FTSource* source = doc->moc()->fetchFirst<FTSource>(
        [&](const FTSource* s) { return static_cast<const void*>(s) == notification.object; });
    openEditor(doc, source);
}
