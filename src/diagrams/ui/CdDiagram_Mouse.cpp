// The family diagram's mouse: presses, double presses and modified presses on boxes, the squares at the middle of
// the lines, the secondary press, and the wheel over boxes and pictures.
#include "diagrams/ui/CdDiagram.h"

#include "diagrams/CdPerson.h"
#include "diagrams/ui/CdEditBox.h"

#include "shell/ui/DOvurDocument.h"

#include "model/FTModelDefaults.h"
#include "model/FTMoc.h"
#include "model/FTMocUndoManager.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"

#include <QMouseEvent>
#include <QWheelEvent>

namespace {
// The bottom-right corner of a box where a press shows the person's description (an empty slot's menu).
bool inCorner(const CdPerson& box, const QPointF& p)
{
    const QRectF& r = box.rclBox();
    return p.x() >= r.x() + r.width() - 10 && p.y() >= r.y() + r.height() - 10;
}

// The bottom-right corner of the focal box where the wheel steps through the siblings.
bool inSiblingsCorner(const CdPerson& box, const QPointF& p)
{
    const QRectF& r = box.rclBox();
    return p.x() >= r.x() + r.width() - 30 && p.y() >= r.y() + r.height() - 20;
}
}

FTPerson* CdDiagram::focalPerson() const
{
    return moc() ? moc()->modelDefaults()->focalPerson() : nullptr;
}

FTPerson* CdDiagram::selectedPerson() const
{
    return moc() ? moc()->modelDefaults()->selectedPerson() : nullptr;
}

void CdDiagram::nameUndoStep(const char* word, const FTPerson* person)
{
    if (UndoManager* undo = moc() ? moc()->undoManager() : nullptr)
        undo->setActionName(QStringLiteral("%1 %2").arg(LocalizedString(QString::fromLatin1(word)),
                                                        person->nameWithBirthAndDeathYears()));
}

void CdDiagram::focusOnWithUndoName(FTPerson* person)
{
    if (!person || !moc())
        return;
    nameUndoStep("FocusOn", person);
    setFocalPerson(person);
}

void CdDiagram::mousePressEvent(QMouseEvent* event)
{
    // The secondary press arrives as a context-menu event.
    if (event->button() == Qt::LeftButton)
        pressAt(event->position(), event->modifiers(), false);
    else
        FamilyDiagramPane::mousePressEvent(event);
}

void CdDiagram::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        pressAt(event->position(), event->modifiers(), true);
    else
        FamilyDiagramPane::mouseDoubleClickEvent(event);
}

void CdDiagram::pressAt(const QPointF& point, Qt::KeyboardModifiers modifiers, bool doublePress)
{
    // Typed text is not lost to a stray press: the entry box and the person editor's fields ask first, and may
    // keep the keyboard.
    if (!moc() || !endEditingBeforePress())
        return;
    setFocus(Qt::MouseFocusReason);
    // The first press of a double press has opened a picture, a dialog or a menu already.
    if (!doublePress) {
        if (CdPerson* shot = getClickedMugShot(point)) {
            if (shot->person() && !shot->person()->isDeleted())
                m_commands.editDefaultImageForPerson(shot->person());
            return;
        }
        if (getClickedPath(point))
            return;
    }
    CdPerson* box = getClickedPerson(point);
    if (box && box->person() && box->person()->isDeleted())
        return;
    if (!box) {
        if (!doublePress && m_layout.pictureState().defaultImageRect.contains(point))
            m_commands.editDefaultImageForPerson(focalPerson());
        return;
    }
    if (!doublePress && inCorner(*box, point)) {
        if (box->person())
            m_commands.showMe(box);
        else
            rightMouseDown(point, mapToGlobal(point.toPoint()));
        return;
    }
    FTPerson* person = box->person();
    if (modifiers & Qt::AltModifier) {
        m_commands.addPersonToProjectView(person);
    } else if ((modifiers & Qt::ControlModifier) || doublePress) {
        if (person && person != focalPerson())
            focusOnWithUndoName(person);
    } else if (!person) {
        m_editBox->activateForCdPerson(box);
    } else if (person != selectedPerson()) {
        setSelectedPerson(person);
    }
}

bool CdDiagram::getClickedPath(const QPointF& point)
{
    const CdLayout::ClickedPath clicked = m_layout.getClickedPath(point);
    if (!clicked.hit)
        return false;
    if (clicked.associatedBox)
        m_commands.invokeAssociatedPersonDialogFor(clicked.associatedBox);
    else if (clicked.parent && clicked.child)
        m_commands.invokePcRelDialog(clicked.parent, clicked.child);
    return true;
}

bool CdDiagram::endEditingBeforePress()
{
    // A value the person editor refused keeps its field, its person and the keyboard until it is put right or
    // given up: a press here would otherwise show another person with the caret still in that field.
    if (m_document)
        return m_document->endEditing();
    return !isEditBoxActive() || m_editBox->resignFirstResponder();
}

void CdDiagram::rightMouseDown(const QPointF& point, const QPoint& globalPos)
{
    if (!endEditingBeforePress())
        return;
    if (QWidget* w = window(); w && !w->isActiveWindow()) {
        w->raise();
        w->activateWindow();
    }
    CdPerson* box = m_layout.getClickedPerson(point);
    // Someone an undo took away has no menu.
    if (box && box->person() && box->person()->isDeleted())
        return;
    setFocus(Qt::MouseFocusReason);
    if (box && box->person()) {
        setSelectedPerson(box->person());
        update();
    }
    displayPopupMenu(box, globalPos);
}

void CdDiagram::showMenuAtSelectedBox()
{
    // Near the bottom of the selected person's box.
    CdPerson* box = m_layout.findPerson(selectedPerson());
    QPointF at = rect().center();
    if (box)
        at = QPointF(box->rclBox().x() + box->rclBox().width() * 0.5, box->rclBox().y() + box->rclBox().height() * 0.9);
    displayPopupMenu(box, mapToGlobal(at.toPoint()));
}

void CdDiagram::wheelEvent(QWheelEvent* event)
{
    event->accept();
    const QPointF point = event->position();
    // Away from the user is positive, as the steps below expect.
    const double dx = event->angleDelta().x();
    const double dy = event->angleDelta().y();
    const qint64 ms = qint64(event->timestamp());
    if (CdPerson* shot = getClickedMugShot(point)) {
        if (m_throttle.acceptWheel(ms, true))
            scrollMugShotFor(shot, dx, dy);
        return;
    }
    CdPerson* box = getClickedPerson(point);
    if (!box || !box->person()) {
        update();
        return;
    }
    if (!m_throttle.acceptWheel(ms, false))
        return;
    if (box == m_layout.focalBox() && inSiblingsCorner(*box, point)) {
        if (dy > 0)
            promotePreviousSiblingToFocalPerson();
        else if (dy < 0)
            promoteNextSiblingToFocalPerson();
        return;
    }
    scrollDetailsFor(box, dy);
}

void CdDiagram::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF point = event->position();
    m_pointer = point;
    m_pointerInside = true;
    if (!(event->buttons() & Qt::LeftButton)) {
        hoverAt(point);
        return;
    }
    if (m_rubberBand) {
        rubberBandStep(point, true);
        return;
    }
    const CdPerson* box = getClickedPerson(point);
    if (box && box->person() && box->person() == selectedPerson())
        trackMouseButtonForRelationship(point);
}

void CdDiagram::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && m_rubberBand) {
        endRubberBand(event->position());
        return;
    }
    FamilyDiagramPane::mouseReleaseEvent(event);
}
