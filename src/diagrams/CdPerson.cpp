#include "diagrams/CdPerson.h"

#include "diagrams/CdLayout.h"
#include "diagrams/CdWebContext.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"

CdPerson::CdPerson(FTPerson* person, CdPerson* owner, bool spouse, FTEvent* marriageEvent, long ancLevel, CdLayout* pcd)
    : m_moc(person ? person->moc() : (pcd ? pcd->moc() : nullptr))
    , m_person(person)
    , m_owner(owner)
    , m_marriageEvent(marriageEvent)
    , m_pcd(pcd)
    , m_bSpouse(spouse)
    , m_ancLevel(ancLevel)
    , m_childrenOnLeft(pcd ? pcd->childrenOnLeft() : true)
{
    if (pcd && person)
        m_inCurrentProjectView = pcd->isInProjectView(person);
    if (!pcd)
        m_web = CdWebContext::fromUserDefaults();
}

CdPerson::CdPerson(FTPerson* person, CdPerson* owner, bool spouse, FTEvent* marriageEvent, long ancLevel,
                   std::shared_ptr<const CdWebContext> web)
    : m_moc(person ? person->moc() : nullptr)
    , m_person(person)
    , m_owner(owner)
    , m_marriageEvent(marriageEvent)
    , m_bSpouse(spouse)
    , m_ancLevel(ancLevel)
    , m_web(web ? std::move(web) : CdWebContext::fromUserDefaults())
{
}

CdPerson::~CdPerson() = default;

char CdPerson::cGender() const
{
    const QByteArray bytes = m_gender.toLocal8Bit();
    return bytes.isEmpty() ? 0 : bytes.at(0);
}

bool CdPerson::isMale() const
{
    return m_gender == LocalizedString(QStringLiteral("MaleShort"));
}

const CdOptions& CdPerson::options() const
{
    return m_pcd ? m_pcd->options() : m_web->options;
}

FTPerson* CdPerson::selectedPerson() const
{
    return m_pcd ? m_pcd->selectedPerson() : nullptr;
}

bool CdPerson::isSelected() const
{
    return m_person && m_person == selectedPerson();
}
