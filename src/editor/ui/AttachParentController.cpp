#include "editor/ui/AttachParentController.h"

#include "editor/AttachExistingPerson.h"

#include "shell/Utils.h"

#include "model/FTPerson.h"

#include "platform/Localizer.h"

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}
}

AttachParentController::AttachParentController(FTMoc* moc, QWidget* window)
    : AttachPersonDialog({ L("AttachParent"), L("AttachFathers"), L("AttachMothers"), L("AttachParentAges") }, window)
    , m_moc(moc)
{
    setObjectName(QStringLiteral("AttachParent"));
}

void AttachParentController::setChild(FTPerson* child)
{
    m_child = child;
    setWindowTitle(QStringLiteral("%1 %2").arg(L("AttachParent"), child ? child->nameWithBirthAndDeathYears() : QString()));
    rebuild();
}

QList<FTPerson*> AttachParentController::loadCandidates()
{
    return people(m_child).parentCandidates(m_child, minimumAge(), maximumAge(), firstGender());
}

QString AttachParentController::detailsFor(const FTPerson* candidate) const
{
    return AttachCandidates::parentDetails(m_child, candidate);
}

bool AttachParentController::attach(FTPerson* candidate)
{
    if (!candidate)
        return false;
    AttachExistingPerson::attachParent(candidate, m_child);
    return true;
}

void AttachParentController::candidatesLoaded()
{
    if (!candidates().isEmpty() || !m_child)
        return;
    const AttachCandidates::Years years = AttachCandidates::parentYears(m_child, minimumAge(), maximumAge());
    Utils::displayMsgWithTitle(AttachCandidates::noParentsTitle(firstGender(), years),
        AttachCandidates::noParentsInfo(minimumAge(), maximumAge()));
}
