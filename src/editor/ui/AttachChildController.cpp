#include "editor/ui/AttachChildController.h"

#include "editor/AttachExistingPerson.h"

#include "model/FTPerson.h"

#include "platform/Localizer.h"
#include "platform/Prompts.h"

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}
}

AttachChildController::AttachChildController(QWidget* window)
    : AttachPersonDialog({ L("AttachChildTo"), L("AttachSons"), L("AttachDaughters"), L("AttachChildAges") }, window)
{
    setObjectName(QStringLiteral("AttachChild"));
}

void AttachChildController::setParentPerson(FTPerson* parent)
{
    m_parent = parent;
    setWindowTitle(QStringLiteral("%1 %2").arg(L("AttachChildTo"), parent ? parent->name() : QString()));
    rebuild();
}

QList<FTPerson*> AttachChildController::loadCandidates()
{
    return people(m_parent).childCandidates(m_parent, minimumAge(), maximumAge(), firstGender());
}

QString AttachChildController::detailsFor(const FTPerson* candidate) const
{
    return AttachCandidates::childDetails(m_parent, candidate);
}

bool AttachChildController::attach(FTPerson* candidate)
{
    if (!candidate) {
        Prompts::current().message(L("PickChildTryAgain"));
        return false;
    }
    return AttachExistingPerson::attachChild(m_parent, candidate);
}
