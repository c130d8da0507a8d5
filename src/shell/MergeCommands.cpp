#include "shell/MergeCommands.h"

#include "shell/DisplayMsg.h"
#include "shell/Utils.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"
#include "platform/store/ReleasingWalk.h"

#include <QCollator>

namespace {
// The guarded blocks of the merge are reported under this name, as the exception report lists them.
constexpr const char* kReportFile = "AppController_CompareAndMerge";

QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

int birthYear(const FTPerson* person)
{
    const FTEvent* birth = person->birth();
    return birth ? birth->year() : 0;
}

// The words for the person's gender; a person of neither gender gets the neutral ones.
QString pronoun(const FTPerson* person)
{
    return person->isMale() ? L("he") : person->isFemale() ? L("she") : L("heOrShe");
}
QString genderNoun(const FTPerson* person)
{
    return person->isMale() ? L("male") : person->isFemale() ? L("female") : L("person");
}
}

QList<FTPerson*> MergeCommands::mergeCandidates(FTMoc* moc, QString* warning)
{
    FTPerson* focal = moc ? moc->focalPerson() : nullptr;
    if (!focal)
        return {};
    const int year = birthYear(focal);
    if (year == 0) {
        if (warning)
            *warning = QStringLiteral("%1 %2 %3 %4 %5")
                           .arg(L("MergeWarn1"), focal->name(), L("because"), pronoun(focal), L("MergeWarn2"));
        return {};
    }
    const QString gender = focal->gender();
    // Walking the birth events finds the year without visiting every person and then their birth: a person is
    // read only when the year matches.
    QList<FTPerson*> candidates;
    ReleasingWalk walk(*moc);
    moc->forEachObject(QStringLiteral("BirthEvent"), [&](ManagedObject* o) {
        walk.releasePoint();
        const auto* birth = static_cast<const FTEvent*>(o);
        if (birth->year() != year)
            return true;
        FTPerson* p = birth->person();
        if (p && p != focal && !p->isDeleted() && p->gender() == gender)
            candidates.push_back(p);
        return true;
    });
    if (candidates.isEmpty()) {
        if (warning)
            *warning = QStringLiteral("%1 %2 %3 %4 %5")
                           .arg(L("MergeWarn3"), genderNoun(focal), L("MergeWarn4"), QString::number(year),
                               L("MergeWarn5"));
        return {};
    }
    QCollator collator;
    std::sort(candidates.begin(), candidates.end(), [&](const FTPerson* a, const FTPerson* b) {
        const int order = collator.compare(a->name(), b->name());
        return order != 0 ? order < 0 : a->numericId() < b->numericId();
    });
    return candidates;
}

void MergeCommands::mergeTwoPeopleWithinTheCurrentDatabase(
    FTMoc* moc, const std::function<void(FTMoc* moc, const QList<FTPerson*>& candidates)>& runMergeTwoPeople)
{
    if (!moc)
        return;
    QList<FTPerson*> candidates;
    QString warning;
    try {
        candidates = mergeCandidates(moc, &warning);
    } catch (...) {
        Utils::reportCurrentException(kReportFile, 96, QStringLiteral("mergeTwoPeople_1"));
        return;
    }
    if (candidates.isEmpty()) {
        if (!warning.isEmpty())
            DisplayMsg(warning);
        return;
    }
    try {
        if (runMergeTwoPeople)
            runMergeTwoPeople(moc, candidates);
    } catch (...) {
        Utils::reportCurrentException(kReportFile, 102, QStringLiteral("mergeTwoPeople_2"));
        return;
    }
    try {
        moc->saveMoc();
    } catch (...) {
        Utils::reportCurrentException(kReportFile, 108, QStringLiteral("mergeTwoPeople_3"));
        return;
    }
    NotificationCenter::defaultCenter().post(QStringLiteral("RefreshAllViews"));
}

bool MergeCommands::backUpBeforeComparing(FTMoc* moc, BackupPanel& panel)
{
    if (!moc)
        return false;
    const QString refusal = Utils::saveBeforeBackup(*moc);
    if (refusal.isEmpty() && Utils::backupCurrentModel(moc->databaseURL(), panel))
        return true;
    Utils::displayMsgWithTitle(L("bkupWarnTitle"),
                               refusal.isEmpty() ? L("bkupWarn") : refusal + QStringLiteral("\n\n") + L("bkupWarn"));
    return false;
}
