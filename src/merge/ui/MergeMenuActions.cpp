#include "merge/ui/MergeMenuActions.h"

#include "merge/ui/CompareAndMergeController.h"
#include "merge/ui/CopyPersonFromOtherModel.h"
#include "merge/ui/DuplicatePeople.h"

#include "diagrams/CdPerson.h"
#include "diagrams/DiagramHooks.h"

#include "shell/ui/AppController.h"
#include "shell/ui/DOvurDocument.h"
#include "shell/ui/DocumentController.h"
#include "shell/ui/QtBackupPanel.h"

#include <QMainWindow>

#include "model/FTMoc.h"

void MergeMenuActions::registerMenuItems(AppController& app)
{
    app.addMenuItem(QStringLiteral("Merge"), QStringLiteral("Compare and Merge..."), [] { compareAndMerge(); });
    app.addMenuItem(QStringLiteral("People"), QStringLiteral("Find Duplicate People..."), [] { findDuplcatePeople(); });
}

void MergeMenuActions::install()
{
    DiagramHooks::shared().copyPersonFromOtherModel = &MergeMenuActions::copyPersonFromOtherModel;
}

void MergeMenuActions::copyPersonFromOtherModel(FTPerson* sourcePerson, CdPerson* targetBox, FTMoc*, FTMoc* target)
{
    if (!sourcePerson || !targetBox || !targetBox->owner() || !targetBox->owner()->person())
        return;
    QWidget* mainWindow = nullptr;
    for (DOvurDocument* doc : DocumentController::shared().documents())
        if (doc->moc() == target)
            mainWindow = doc->dovurWindow();
    CopyPersonFromOtherModel window(sourcePerson, targetBox->owner()->person(), targetBox->ancLevel(),
                                    targetBox->pcRelType(), mainWindow);
    QtBackupPanel panel;
    window.setBackupPanel(&panel);
    window.exec();
}

void MergeMenuActions::findDuplcatePeople()
{
    if (DOvurDocument* doc = AppController::documentForCommand(true))
        doc->beginSheet(new DuplicatePeople(doc->moc()));
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
