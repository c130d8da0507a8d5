#pragma once

#include <QList>
#include <QString>

#include <functional>

class BackupPanel;
class FTMoc;
class FTPerson;

// What the Compare-and-merge menu's commands do before and after their windows (which the merge subsystem
// supplies): the people the focal person may be merged with, and the backup taken before another database is
// compared with this one.
class MergeCommands {
public:
    // The people the focal person may be merged with: born in the same year, of the same gender, not the focal
    // person, sorted by name. Empty with the warning to show when the focal person has no birth year
    // ("MergeWarn1" ... "MergeWarn2") or nobody else matches ("MergeWarn3" ... "MergeWarn5").
    static QList<FTPerson*> mergeCandidates(FTMoc* moc, QString* warning);

    // Merging two people of the database: the candidates (or the warning), then `runMergeTwoPeople` with them
    // (the merge window, run modally), a save and "RefreshAllViews". An exception in any step is reported and
    // nothing further is done.
    static void mergeTwoPeopleWithinTheCurrentDatabase(
        FTMoc* moc, const std::function<void(FTMoc* moc, const QList<FTPerson*>& candidates)>& runMergeTwoPeople);

    // Before comparing another database with this one: saves, then backs the database up through `panel`; when
    // no backup was written (cancelled or failed) says so ("bkupWarnTitle", "bkupWarn"). The comparison goes on
    // either way. True when a backup was written.
    static bool backUpBeforeComparing(FTMoc* moc, BackupPanel& panel);
};
