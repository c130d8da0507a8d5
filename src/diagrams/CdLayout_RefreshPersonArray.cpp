#include "diagrams/CdLayout.h"

#include "diagrams/CdPerson.h"

#include "model/FTAssociation.h"
#include "model/FTMoc.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "model/FTPicture.h"
#include "model/FTProjectView.h"
#include "model/FTSpouseRel.h"

#include "platform/FTLog.h"
#include "platform/Localizer.h"

#include <QSet>

#include <algorithm>

struct CdLayout::ProjectViewMembers {
    FTProjectView* view = nullptr;
    bool ancestral = false;
    QSet<QString> ancestors;
};

namespace {
QString maleShort()
{
    return LocalizedString(QStringLiteral("MaleShort"));
}
QString femaleShort()
{
    return LocalizedString(QStringLiteral("FemaleShort"));
}
}

CdLayout::CdLayout(FTMoc* moc)
    : m_moc(moc)
{
}

CdLayout::~CdLayout() = default;

void CdLayout::setMoc(FTMoc* moc)
{
    if (moc == m_moc)
        return;
    m_boxes.clear();
    m_linksWithoutChild.clear();
    m_viewMembers.reset();
    m_selectedPerson = nullptr;
    m_focalPicture = QImage();
    m_focalPictureCount = 0;
    m_moc = moc;
}

void CdLayout::setOptions(const CdOptions& options)
{
    m_options = options;
    m_options.maxAncLevel = CdOptions::clampedAncestorLevel(options.maxAncLevel);
}

CdPerson* CdLayout::focalBox() const
{
    for (const auto& box : m_boxes)
        if (!box->owner() && box->ancLevel() == CdPerson::kFocal)
            return box.get();
    return nullptr;
}

bool CdLayout::isInProjectView(FTPerson* person) const
{
    if (!person || !m_viewMembers || !m_viewMembers->view)
        return false;
    if (m_viewMembers->ancestral)
        return m_viewMembers->ancestors.contains(person->objectURI());
    return person->projectViews().contains(m_viewMembers->view);
}

int CdLayout::certaintyOf(const FTPcRel* link) const
{
    return m_options.highlightBadPcRels && link ? link->certainty() : 100;
}

CdPerson* CdLayout::addBox(std::unique_ptr<CdPerson> box)
{
    m_boxes.push_back(std::move(box));
    return m_boxes.back().get();
}

CdPerson* CdLayout::makeBox(FTPerson* person, CdPerson* owner, bool spouse, FTEvent* marriage, long level)
{
    auto box = std::make_unique<CdPerson>(person, owner, spouse, marriage, level, this);
    if (person)
        box->setGender(person->gender());
    return addBox(std::move(box));
}

void CdLayout::refreshPersonArray()
{
    m_boxes.clear();
    m_linksWithoutChild.clear();
    m_stepParentsAdded = false;
    m_viewMembers = std::make_unique<ProjectViewMembers>();
    if (!m_moc)
        return;
    if (FTProjectView* view = m_moc->projectView()) {
        m_viewMembers->view = view;
        m_viewMembers->ancestral = view->rootPersonInAncestralView() != nullptr;
        if (m_viewMembers->ancestral)
            m_viewMembers->ancestors = view->ancestorsSet();
    }
    if (!m_selectedPerson)
        m_selectedPerson = m_moc->selectedPerson();
    addFocalPerson();
    CdPerson* focal = focalBox();
    if (!focal || !focal->person())
        return;
    addSpouses();
    addChildren();
    addAncestors(focal->person(), 0, focal);
    addAssociatedPeople(focal->person());
    // The labels are worked out with the boxes, not at every repaint.
    if (m_options.nameOption == kConsanguinityOption)
        addConsanguinityToCdPersons();
    else if (m_options.nameOption == kAhnentafelOption)
        addAhnentafelNumbersToCdPersons();
}

void CdLayout::addFocalPerson()
{
    makeBox(m_moc->focalPerson(), nullptr, false, nullptr, CdPerson::kFocal);
}

void CdLayout::addSpouses()
{
    CdPerson* focal = focalBox();
    FTPerson* person = focal->person();
    for (FTSpouseRel* couple : person->spouseRelsArray()) {
        FTPerson* partner = couple->partnerOf(person);
        if (!partner) // a couple of one: nobody to show
            continue;
        focal->incrementNumSpouses(1);
        CdPerson* box = makeBox(partner, focal, true, couple->marriage(), CdPerson::kSpouse);
        box->incrementNumParents(partner->naturalParents().size());
    }
    if (!m_options.showGhostOutlines)
        return;
    focal->incrementNumSpouses(1);
    CdPerson* ghost = makeBox(nullptr, focal, true, nullptr, CdPerson::kSpouse);
    ghost->setGender(focal->gender() == maleShort() ? femaleShort() : maleShort());
}

void CdLayout::addChildren()
{
    CdPerson* focal = focalBox();
    for (FTPcRel* link : focal->person()->childRels()) {
        const int type = link->intPcRelType();
        if (type == FTPcRel::kStep && !m_options.showStepRelsOfFocalPerson)
            continue;
        FTPerson* child = link->child();
        if (!child) {
            FTLog(QStringLiteral("pcRel with null child"));
            m_linksWithoutChild << link;
            continue;
        }
        focal->incrementNumChildren(1);
        CdPerson* box = makeBox(child, focal, false, nullptr, CdPerson::kChild);
        box->setPcRelType(type);
        box->setPcRelCertainty(certaintyOf(link));
        box->incrementNumChildren(child->children().size());
    }
    if (!m_options.showGhostOutlines)
        return;
    focal->incrementNumChildren(1);
    makeBox(nullptr, focal, false, nullptr, CdPerson::kChild)->setGender(femaleShort());
}

QList<FTPcRel*> CdLayout::takeLinksWithoutChild()
{
    return std::exchange(m_linksWithoutChild, {});
}

// Depth first, a parent's ancestors right after the parent, as a recursion would add them; the walk keeps its
// own stack so that no chain of links, however long or looped, deepens the call stack. Its depth is bounded by
// maxAncLevel.
void CdLayout::addAncestors(FTPerson* person, int level, CdPerson* owner)
{
    struct Frame {
        FTPerson* person;
        int level;
        CdPerson* owner;
        QList<FTPcRel*> links;
        qsizetype next = 0;
        bool fatherFound = false;
        bool motherFound = false;
    };
    const QString male = maleShort();
    std::vector<Frame> stack;
    stack.push_back({person, level, owner, person->parentRels()});
    while (!stack.empty()) {
        Frame& f = stack.back();
        const int newLevel = f.level + 1;
        if (f.next < f.links.size()) {
            FTPcRel* link = f.links[f.next++];
            FTPerson* parent = link->parent();
            if (!parent || link->intPcRelType() != FTPcRel::kNatural)
                continue;
            f.owner->incrementNumParents(1);
            if (parent->gender() == male)
                f.fatherFound = true;
            else
                f.motherFound = true;
            if (newLevel == 1 && f.motherFound && !m_stepParentsAdded)
                addStepParentsOfFocalPerson();
            if (newLevel > m_options.maxAncLevel)
                continue;
            CdPerson* box = makeBox(parent, f.owner, false, nullptr, newLevel);
            box->setPcRelCertainty(certaintyOf(link));
            QList<FTPcRel*> parentLinks = parent->parentRels();
            stack.push_back({parent, newLevel, box, std::move(parentLinks)}); // `f` is not used after this
            continue;
        }
        const Frame done = std::move(stack.back());
        stack.pop_back();
        if (newLevel > m_options.maxAncLevel || newLevel > 4)
            continue;
        if (m_options.showGhostOutlines && !done.fatherFound) {
            done.owner->incrementNumParents(1);
            makeBox(nullptr, done.owner, false, nullptr, newLevel)->setGender(male);
        }
        if (newLevel == 1 && !done.motherFound && !m_stepParentsAdded)
            addStepParentsOfFocalPerson();
        if (done.motherFound)
            continue;
        if (m_options.showGhostOutlines) {
            done.owner->incrementNumParents(1);
            makeBox(nullptr, done.owner, false, nullptr, newLevel)->setGender(femaleShort());
        }
    }
}

void CdLayout::addStepParentsOfFocalPerson()
{
    m_stepParentsAdded = true;
    if (!m_options.showStepRelsOfFocalPerson)
        return;
    CdPerson* focal = focalBox();
    const QString male = maleShort();
    size_t insertAt = m_boxes.size();
    for (FTPcRel* link : focal->person()->parentRels()) {
        const int type = link->intPcRelType();
        FTPerson* parent = link->parent();
        if (type == FTPcRel::kNatural || !parent)
            continue;
        CdPerson* box = makeBox(parent, focal, false, nullptr, 1);
        box->setPcRelType(type);
        box->setPcRelCertainty(certaintyOf(link));
        if (box->gender() == male)
            insertAt = m_boxes.size();
    }
    if (!m_options.showGhostOutlines)
        return;
    auto ghost = std::make_unique<CdPerson>(nullptr, focal, false, nullptr, 1, this);
    ghost->setPcRelType(FTPcRel::kStep);
    ghost->setGender(femaleShort());
    m_boxes.insert(m_boxes.begin() + qsizetype(insertAt), std::move(ghost));
}

void CdLayout::addAssociatedPeople(FTPerson* person)
{
    QList<FTPerson*> people;
    for (const FTAssociation* a : person->associationsTo())
        if (FTPerson* p = a->toPerson())
            people << p;
    for (const FTAssociation* a : person->associationsFrom())
        if (FTPerson* p = a->fromPerson())
            people << p;
    std::stable_sort(people.begin(), people.end(),
                     [](const FTPerson* a, const FTPerson* b) { return a->name().compare(b->name()) < 0; });
    CdPerson* focal = focalBox();
    for (FTPerson* p : std::as_const(people)) {
        CdPerson* box = makeBox(p, focal, false, nullptr, CdPerson::kAssociated);
        box->setPcRelType(0);
        box->setPcRelCertainty(100);
    }
}

int CdLayout::removeBoxesOf(FTPerson* person)
{
    int removed = 0;
    while (CdPerson* box = findPerson(person)) {
        FTLog(QStringLiteral("cdPersonsArray removeObject for person: %1").arg(person->name()));
        for (const auto& other : m_boxes)
            if (other->owner() == box)
                other->setOwner(nullptr);
        m_boxes.erase(std::find_if(m_boxes.begin(), m_boxes.end(), [box](const auto& b) { return b.get() == box; }));
        ++removed;
    }
    return removed;
}

CdPerson* CdLayout::findPerson(const FTPerson* person) const
{
    if (!person)
        return nullptr;
    for (const auto& box : m_boxes)
        if (box->person() == person)
            return box.get();
    return nullptr;
}

bool CdLayout::containsBox(const CdPerson* box) const
{
    return box && std::any_of(m_boxes.begin(), m_boxes.end(), [box](const auto& b) { return b.get() == box; });
}

void CdLayout::loadPictures()
{
    CdPerson* focal = focalBox();
    for (const auto& box : m_boxes) {
        FTPerson* p = box->person();
        QImage image;
        if (p && box.get() != focal && m_options.showMugShots)
            if (FTPicture* picture = p->defaultPicture())
                image = picture->thumbnailImage();
        box->setMugShotImage(image);
    }
    loadFocalPicture();
}

void CdLayout::loadFocalPicture()
{
    m_focalPicture = QImage();
    m_focalPictureCount = 0;
    const CdPerson* focal = focalBox();
    FTPerson* person = focal ? focal->person() : nullptr;
    if (!person)
        return;
    const QList<FTPicture*> pictures = person->picturesArray();
    m_focalPictureCount = int(pictures.size());
    FTPicture* shown = person->defaultPicture();
    if (m_pictureState.bScrollDefaultPicture && m_pictureState.gPicNum > 0 && pictures.size() > m_pictureState.gPicNum)
        shown = pictures[m_pictureState.gPicNum];
    if (shown)
        m_focalPicture = shown->thumbnailImage();
}
