#include "shell/ui/AppController.h"

#include "shell/MergeCommands.h"
#include "shell/ui/DOvurDocument.h"
#include "shell/ui/QtBackupPanel.h"

#include <QDialog>

#include <memory>

void AppController::mergeTwoPeopleWithinTheCurrentDatabase(
    const std::function<QDialog*(FTMoc* moc, const QList<FTPerson*>& candidates)>& makeMergeTwoPeople)
{
    DOvurDocument* doc = documentForCommand();
    if (!doc)
        return;
    MergeCommands::mergeTwoPeopleWithinTheCurrentDatabase(
        doc->moc(), [&](FTMoc* moc, const QList<FTPerson*>& candidates) {
            if (!makeMergeTwoPeople)
                return;
            const std::unique_ptr<QDialog> dialog(makeMergeTwoPeople(moc, candidates));
            if (dialog)
                dialog->exec();
        });
}

void AppController::compareAndMerge(const std::function<QWidget*(DOvurDocument& doc)>& makeCompareAndMerge)
{
    DOvurDocument* doc = documentForCommand(false);
    if (!doc)
        return;
    QtBackupPanel panel;
    MergeCommands::backUpBeforeComparing(doc->moc(), panel);
    if (makeCompareAndMerge)
        doc->addChildWindow(makeCompareAndMerge(*doc));
}
