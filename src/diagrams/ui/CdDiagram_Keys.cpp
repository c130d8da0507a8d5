// The family diagram's keys: arrows move the selection or the focus (or page the pictures under the pointer), Ctrl
// with Up and Down refocuses, single letters open windows, cite the active source or show the menu; and the wheel's
// steps through pictures and box details.
#include "diagrams/ui/CdDiagram.h"

#include "diagrams/CdKeyNavigation.h"
#include "diagrams/CdPerson.h"

#include "model/FTModelDefaults.h"
#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/FTPicture.h"

#include "platform/NotificationCenter.h"
#include "platform/UserDefaults.h"

#include <QKeyEvent>

#include <optional>

namespace {
using CdKeyNavigation::Arrow;

std::optional<Arrow> arrowOf(int key)
{
    switch (key) {
    case Qt::Key_Up:
        return Arrow::Up;
    case Qt::Key_Down:
        return Arrow::Down;
    case Qt::Key_Left:
        return Arrow::Left;
    case Qt::Key_Right:
        return Arrow::Right;
    default:
        return std::nullopt;
    }
}

bool isModifierOnly(int key)
{
    return key == Qt::Key_unknown || key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt
        || key == Qt::Key_Meta || key == Qt::Key_AltGr || key == Qt::Key_CapsLock;
}
}

void CdDiagram::keyPressEvent(QKeyEvent* event)
{
    if (scrollMugShotForArrowKey(event))
        return;
    const int key = event->key();
    FTMoc* moc = this->moc();
    if (!moc || isModifierOnly(key)) {
        FamilyDiagramPane::keyPressEvent(event);
        return;
    }
    FTPerson* selected = selectedPerson();
    CdPerson* selectedBox = m_layout.findPerson(selected);
    const std::optional<Arrow> arrow = arrowOf(key);
    const bool vertical = arrow == Arrow::Up || arrow == Arrow::Down;
    if ((event->modifiers() & Qt::ControlModifier) && vertical) {
        if (selected && selected == focalPerson()) {
            if (arrow == Arrow::Up)
                promotePreviousSiblingToFocalPerson();
            else
                promoteNextSiblingToFocalPerson();
        } else if (selectedBox && selectedBox->person()) {
            focusOnWithUndoName(selectedBox->person());
        }
        return;
    }
    switch (key) {
    case Qt::Key_R:
        // The menu's key equivalent promises it with no modifier.
        m_commands.attachPersonToActiveSource(selected);
        return;
    case Qt::Key_S:
        m_commands.displayScratchPad();
        return;
    case Qt::Key_T:
        m_commands.todoAdd();
        return;
    case Qt::Key_I:
        m_commands.peopleIndexWindow();
        return;
    case Qt::Key_M:
        showMenuAtSelectedBox();
        return;
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
        m_commands.deletePerson(selectedBox);
        return;
    default:
        break;
    }
    if (!arrow) {
        FamilyDiagramPane::keyPressEvent(event);
        return;
    }
    const CdKeyNavigation::Move move = CdKeyNavigation::move(
        m_layout, selectedBox, CdKeyNavigation::direction(*arrow, m_layout.childrenOnLeft()));
    if (move.focus)
        focusOnWithUndoName(move.focus);
    else
        moveSelectionTo(move.select);
}

void CdDiagram::moveSelectionTo(CdPerson* box)
{
    FTPerson* person = box ? box->person() : nullptr;
    if (!person || !moc())
        return;
    nameUndoStep("Select", person);
    setSelectedPerson(person);
}

void CdDiagram::promoteNextSiblingToFocalPerson()
{
    focusOnWithUndoName(CdKeyNavigation::sibling(focalPerson(), +1));
}

void CdDiagram::promotePreviousSiblingToFocalPerson()
{
    focusOnWithUndoName(CdKeyNavigation::sibling(focalPerson(), -1));
}

// ---- Pictures and details ----------------------------------------------------------------------------------------

bool CdDiagram::scrollMugShotForArrowKey(QKeyEvent* event)
{
    const std::optional<Arrow> arrow = arrowOf(event->key());
    if (!arrow || !m_pointerInside)
        return false;
    CdPerson* box = getClickedMugShot(m_pointer);
    FTPerson* person = box ? box->person() : nullptr;
    if (!person)
        return false;
    // Swallowed: a key held down would race through the pictures.
    if (!m_throttle.acceptKey(qint64(event->timestamp())))
        return true;
    const QList<FTPicture*> pictures = person->picturesArray();
    if (pictures.size() < 2)
        return true;
    int& gPicNum = m_layout.pictureState().gPicNum;
    const int paged = CdKeyNavigation::pagedPicture(gPicNum, int(pictures.size()),
                                                    arrow == Arrow::Right || arrow == Arrow::Down);
    if (paged == gPicNum)
        return true;
    gPicNum = paged;
    return showPagedPicture(box, pictures);
}

void CdDiagram::scrollMugShotFor(CdPerson* box, double dx, double dy)
{
    FTPerson* person = box ? box->person() : nullptr;
    if (!person)
        return;
    const QList<FTPicture*> pictures = person->picturesArray();
    int& gPicNum = m_layout.pictureState().gPicNum;
    const int paged = CdKeyNavigation::pagedPictureByWheel(gPicNum, int(pictures.size()), dx, dy);
    if (paged == gPicNum)
        return;
    gPicNum = paged;
    showPagedPicture(box, pictures);
}

bool CdDiagram::showPagedPicture(CdPerson* box, const QList<FTPicture*>& pictures)
{
    CdLayout::PictureState& state = m_layout.pictureState();
    if (state.gPicNum < 0 || state.gPicNum >= pictures.size())
        return false;
    const QImage thumbnail = pictures[state.gPicNum]->thumbnailImage();
    if (thumbnail.isNull())
        return false;
    if (box == m_layout.focalBox()) {
        state.bDrawFocusRing = true;
        state.bScrollDefaultPicture = true;
        m_layout.loadFocalPicture();
        m_focalPicturePaged = true;
        repaint();
        state.bDrawFocusRing = false;
        state.bScrollDefaultPicture = false;
    } else {
        displayMugshotImage(thumbnail, box->rclMugShot(), int(pictures.size()));
    }
    return true;
}

void CdDiagram::scrollDetailsFor(CdPerson*, double dy)
{
    UserDefaults& defaults = UserDefaults::standard();
    const QString key = QStringLiteral("cdNameOption");
    const int option = CdKeyNavigation::steppedNameOption(int(defaults.integerForKey(key)), dy);
    defaults.setInteger(key, option);
    NotificationCenter::defaultCenter().post(QStringLiteral("cdNameOptionChanged"));
    // The ancestral labels are made with the boxes.
    if (option == CdLayout::kConsanguinityOption || option == CdLayout::kAhnentafelOption)
        setRefreshArray(true);
    else
        schedulePrepare();
    update();
}
