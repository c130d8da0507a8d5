#include "editor/ui/AttachSpouseController.h"

#include "editor/AttachExistingPerson.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}
}

AttachSpouseController::AttachSpouseController(FTMoc* moc, bool sameSexSpouse, QWidget* window)
    : AttachPersonDialog({ L("AttachSpouse"), {}, {}, L("AttachSpouseRange"), true, AttachCandidates::kDefaultAgeRange },
        window)
    , m_moc(moc)
    , m_focalPerson(moc ? moc->focalPerson() : nullptr)
    , m_sameSexSpouse(sameSexSpouse)
{
    setObjectName(QStringLiteral("AttachSpouse"));
    setWindowTitle(QStringLiteral("%1 %2").arg(L("AttachSpouse"), m_focalPerson ? m_focalPerson->name() : QString()));
    rebuild();
}

QList<FTPerson*> AttachSpouseController::loadCandidates()
{
    return people(m_focalPerson).spouseCandidates(m_focalPerson, minimumAge(), m_sameSexSpouse);
}

QString AttachSpouseController::detailsFor(const FTPerson* candidate) const
{
    return AttachCandidates::spouseDetails(candidate);
}

bool AttachSpouseController::attach(FTPerson* candidate)
{
    if (!candidate)
        return false;
    AttachExistingPerson::attachSpouse(m_focalPerson, candidate);
    return true;
}
