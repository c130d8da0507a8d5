#include "merge/ui/MergeMenuActions.h"

#include "merge/ui/CompareAndMergeController.h"

#include "shell/ui/AppController.h"
#include "shell/ui/DOvurDocument.h"

#include "model/FTMoc.h"

void MergeMenuActions::registerMenuItems(AppController& app)
{
    app.addMenuItem(QStringLiteral("Merge"), QStringLiteral("Compare and Merge..."), [] { compareAndMerge(); });
}

void MergeMenuActions::install()
{
}

void MergeMenuActions::compareAndMerge()
{
    AppController::compareAndMerge(&MergeMenuActions::makeCompareAndMerge);
}

QWidget* MergeMenuActions::makeCompareAndMerge(DOvurDocument& doc)
{
    FTMoc* moc = doc.moc();
    return moc ? new CompareAndMergeController(moc, moc->modelName()) : nullptr;
}
