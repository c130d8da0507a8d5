#include "diagrams/ui/CdDiagram.h"

#include "diagrams/CdDefaultPicture.h"
#include "diagrams/CdPainter.h"
#include "diagrams/CdPerson.h"
#include "diagrams/CdSpeech.h"
#include "diagrams/CdToolTip.h"
#include "diagrams/ui/CdEditBox.h"
#include "diagrams/ui/CdSpeaker.h"
#include "diagrams/ui/DiagramPopupMenu.h"

#include "shell/DisplayMsg.h"
#include "shell/ui/DOvurDocument.h"
#include "shell/ui/DocumentController.h"
#include "shell/ui/PersonEditorPane.h"
#include "shell/ui/ToolbarController.h"

#include "model/FTModelDefaults.h"
#include "model/FTMoc.h"
#include "model/FTMocUndoManager.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"

#include "platform/FTLog.h"
#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"
#include "platform/UserDefaults.h"
#include "platform/store/ReleasingWalk.h"

#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QTimer>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace {
// Around a box: its shadow, its circle, the bow of its sides and a mug shot on its left edge.
QRectF boxArea(const CdPerson& box)
{
    const QRectF& r = box.rclBox();
    const double left = std::max(12.0, r.height() / 1.4 * 0.25 + 4);
    return r.adjusted(-left - 20, -8, 28, 10);
}
}

CdDiagram::CdDiagram(DOvurDocument* document, QWidget* parent)
    : FamilyDiagramPane(parent)
    , m_document(document)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    // A press takes the keyboard itself, once the entry box has let it go (CdDiagram_Mouse.cpp).
    setFocusPolicy(Qt::TabFocus);
    setMouseTracking(true);
    setAcceptDrops(true);
    m_hoverTimer.setSingleShot(true);
    m_hoverTimer.setInterval(200);
    connect(&m_hoverTimer, &QTimer::timeout, this, [this] { mouseEnteredPictureRect(); });
    m_editBox = new CdEditBox(this);
    UserDefaults& defaults = UserDefaults::standard();
    if (defaults.stringForKey(QStringLiteral("cdFont")).isEmpty())
        FamilyDiagramPane::setCdFont(CdOptions::defaultFont());
    if (!defaults.colorForKey(QStringLiteral("cdBgColour")).isValid())
        FamilyDiagramPane::setCdBgColour(QColor(208, 234, 235));
    m_layout.setOptions(CdOptions::fromUserDefaults());
    observeNotifications();
}

CdDiagram::~CdDiagram()
{
    FTLog(QStringLiteral("dealloc CdDiagram"));
    m_hoverTimer.stop();
    m_editBox->remove();
    NotificationCenter::defaultCenter().removeObserversOf(this);
}

void CdDiagram::observeNotifications()
{
    NotificationCenter& center = NotificationCenter::defaultCenter();
    center.addObserver(QStringLiteral("PersonNameOrDateChanged"), nullptr,
                       [this](const Notification& n) { personNameOrDateChanged(n); }, this);
    center.addObserver(QStringLiteral("GenderChanged"), nullptr, [this](const Notification& n) { genderChanged(n); },
                       this);
    center.addObserver(QStringLiteral("DefaultPictureChanged"), nullptr,
                       [this](const Notification& n) { defaultPictureChanged(n); }, this);
    center.addObserver(QStringLiteral("CdArrayNeedsRefresh"), nullptr,
                       [this](const Notification& n) {
                           if (moc() && n.object == moc())
                               setRefreshArray(true);
                       },
                       this);
    center.addObserver(QStringLiteral("AddedChildInPcd"), nullptr,
                       [this](const Notification& n) {
                           if (concernsThisDatabase(n))
                               m_addedChild = true;
                       },
                       this);
    center.addObserver(QStringLiteral("PersonToBeDeleted"), nullptr,
                       [this](const Notification& n) { personToBeDeleted(n); }, this);
    center.addObserver(QStringLiteral("PicturesDropped"), this, [this](const Notification& n) { picturesDropped(n); },
                       this);
}

// ---- State ----------------------------------------------------------------------------------------------------

void CdDiagram::setMoc(FTMoc* moc)
{
    // The slot being typed into belongs to the boxes of the database shown until now.
    if (moc != this->moc())
        m_editBox->remove();
    FamilyDiagramPane::setMoc(moc);
    m_layout.setMoc(moc);
    setRefreshArray(true);
}

void CdDiagram::setFocalPerson(FTPerson* person)
{
    FTMoc* moc = this->moc();
    if (!moc)
        return;
    // An undo or redo puts back the focal and selected people it recorded: naming or storing anything now would
    // write into the step being filled for the way back. The diagram only follows.
    if (isReplayingUndo()) {
        ++m_focalChanges;
        setRefreshArray(true);
        return;
    }
    // Named before the change, which would otherwise name itself; a name set earlier in the event ("Delete")
    // stays.
    UndoManager* undo = moc->undoManager();
    if (person && undo && undo->actionName().isEmpty() && !person->name().isEmpty())
        undo->setActionName(QStringLiteral("%1 %2").arg(LocalizedString(QStringLiteral("FocusOn")),
                                                        person->nameWithBirthAndDeathYears()));
    if (moc->modelDefaults()->focalPerson() != person) {
        const int before = m_focalChanges;
        moc->setFocalPerson(person);
        // The document follows the stored focal person and has passed it back here: that call did the rest.
        if (m_focalChanges != before)
            return;
    }
    ++m_focalChanges;
    setSelectedPerson(person);
    setRefreshArray(true);
    if (person && UserDefaults::standard().boolForKey(QStringLiteral("speakIt")))
        sayFocalPersonsName();
    if (m_document && m_document->toolbarController() && m_document->toolbarController()->isFoundPeopleVisible())
        m_document->toolbarController()->hideFoundPeople();
}

void CdDiagram::setSelectedPerson(FTPerson* person)
{
    FTMoc* moc = this->moc();
    if (!moc)
        return;
    // During an undo or redo the stored selected person is the one put back: the boxes only show this one.
    if (isReplayingUndo()) {
        FTPerson* previous = m_layout.selectedPerson();
        m_layout.setSelectedPerson(person);
        redrawBoxesOf(person, previous);
        return;
    }
    FTPerson* previous = moc->modelDefaults()->selectedPerson();
    if (previous == person)
        return;
    CdLayout::PictureState& pictures = m_layout.pictureState();
    if (pictures.gPicNum || pictures.bScrollDefaultPicture || pictures.bDrawFocusRing || pictures.bMiniPicExpanded
        || !m_enlargedImage.isNull()) {
        pictures.gPicNum = 0;
        pictures.bScrollDefaultPicture = pictures.bDrawFocusRing = pictures.bMiniPicExpanded = false;
        m_enlargedImage = QImage();
        m_layout.loadPictures();
        update();
    }
    UndoManager* undo = moc->undoManager();
    if (person && undo && undo->actionName().isEmpty() && !person->name().isEmpty())
        undo->setActionName(QStringLiteral("%1 %2").arg(LocalizedString(QStringLiteral("Select")),
                                                        person->nameWithBirthAndDeathYears()));
    moc->setSelectedPerson(person);
    m_layout.setSelectedPerson(person);
    redrawBoxesOf(person, previous);
    if (moc->hasChanges())
        moc->deferredSave();
}

void CdDiagram::setProjectView(FTProjectView*)
{
    setRefreshArray(true);
}

void CdDiagram::setRefreshArray(bool refresh)
{
    // An open entry box keeps its text: the rebuild waits for it to close (editBoxRemoved).
    m_refreshArray = refresh;
    schedulePrepare();
    update();
}

bool CdDiagram::isReplayingUndo() const
{
    const UndoManager* undo = moc() ? moc()->undoManager() : nullptr;
    return undo && (undo->isUndoing() || undo->isRedoing());
}

bool CdDiagram::isEditBoxActive() const
{
    return m_editBox->isActive();
}

bool CdDiagram::endEditing()
{
    // Asked now: a question left to the box's focus loss would come after the window had gone.
    return m_editBox->resignFirstResponder();
}

bool CdDiagram::editBoxSlotStands() const
{
    const CdPerson* slot = m_editBox->cdPerson();
    if (!slot || !m_layout.containsBox(slot))
        return false;
    const CdPerson* owner = slot->owner();
    return owner && m_layout.containsBox(owner) && owner->person() && !owner->person()->isDeleted();
}

void CdDiagram::editBoxRemoved()
{
    if (m_refreshArray)
        schedulePrepare();
}

void CdDiagram::setCdBgColour(const QColor& colour)
{
    FamilyDiagramPane::setCdBgColour(colour);
    setRefreshArray(true);
}

bool CdDiagram::findPerson(FTPerson* person) const
{
    return m_layout.findPerson(person) != nullptr;
}

// ---- Commands ----------------------------------------------------------------------------------------------------

void CdDiagram::deletePerson()
{
    if (FTMoc* moc = this->moc())
        m_commands.deletePerson(m_layout.findPerson(moc->modelDefaults()->selectedPerson()));
}

void CdDiagram::disconnectPerson()
{
    if (FTMoc* moc = this->moc())
        m_commands.disconnectPerson(moc->modelDefaults()->selectedPerson());
}

FTPerson* CdDiagram::previousFocalPerson()
{
    return m_document && m_document->toolbarController() ? m_document->toolbarController()->previousFocalPerson()
                                                         : nullptr;
}

QList<FTMoc*> CdDiagram::openDatabases() const
{
    QList<FTMoc*> open;
    for (DOvurDocument* document : DocumentController::shared().documents())
        if (document->moc())
            open << document->moc();
    if (moc() && !open.contains(moc()))
        open << moc();
    return open;
}

void CdDiagram::showEventInEditor(FTEvent* event)
{
    if (m_document && m_document->pInfoArea())
        m_document->pInfoArea()->selectEvent(event);
}

void CdDiagram::contextMenuEvent(QContextMenuEvent* event)
{
    if (event->reason() == QContextMenuEvent::Keyboard)
        showMenuAtSelectedBox();
    else
        rightMouseDown(event->pos(), event->globalPos());
}

void CdDiagram::displayPopupMenu(CdPerson* box, const QPoint& globalPos)
{
    if (!moc() || m_popupMenuOpen)
        return;
    // The items point at boxes: no rebuild while the menu is open.
    m_popupMenuOpen = true;
    const std::optional<DiagramMenuItem> chosen = DiagramPopupMenu::exec(m_commands.popupMenu(box), globalPos, this);
    m_popupMenuOpen = false;
    if (m_refreshArray)
        schedulePrepare();
    if (!chosen)
        return;
    // A box taken away meanwhile (its person deleted) is not acted on.
    const CdPerson* chosenBox = chosen->box();
    if (!chosenBox && chosen->copyRequest())
        chosenBox = chosen->copyRequest()->targetCdPerson;
    if (chosenBox && !m_layout.containsBox(chosenBox))
        return;
    m_commands.perform(*chosen);
}

// ---- Rebuild and layout ----------------------------------------------------------------------------------------

void CdDiagram::schedulePrepare()
{
    if (m_prepareQueued)
        return;
    m_prepareQueued = true;
    QMetaObject::invokeMethod(this, [this] { prepare(); }, Qt::QueuedConnection);
}

void CdDiagram::prepare()
{
    m_prepareQueued = false;
    // The menu's items, the band and a drag's target point at boxes: no rebuild while one is open.
    if (m_popupMenuOpen || m_rubberBand || m_gDragOK)
        return;
    // The family is read record by record: in one read of the file.
    const ReadBurst reads(moc());
    UserDefaults& defaults = UserDefaults::standard();
    const CdOptions options = CdOptions::fromUserDefaults();
    // A size set from outside the range is stored back as the size drawn (6 to 16 points).
    const double size = options.font.pointSizeF();
    if (defaults.doubleForKey(QStringLiteral("fontSize")) != size)
        defaults.setDouble(QStringLiteral("fontSize"), size);
    if (defaults.fontForKey(QStringLiteral("cdFont")).pointSizeF() != size)
        defaults.setFont(QStringLiteral("cdFont"), options.font);
    // The labels of an ancestral view are made with the boxes: choosing them needs a rebuild.
    if (options.nameOption != m_layout.options().nameOption
        && (options.nameOption == CdLayout::kConsanguinityOption || options.nameOption == CdLayout::kAhnentafelOption))
        m_refreshArray = true;
    m_layout.setOptions(options);

    FTMoc* moc = this->moc();
    if (moc) {
        FTPerson* selected = moc->modelDefaults()->selectedPerson();
        m_layout.setSelectedPerson(selected ? selected : moc->focalPerson());
    }
    // The rebuild waits for the entry box, but the boxes of people an undo took away go at once: nothing may be
    // done to them meanwhile.
    if (m_refreshArray && isEditBoxActive())
        removeBoxesOfDeletedPeople();
    // A slot whose owner has gone (an undo took the person away) has nothing left to add to.
    if (m_refreshArray && isEditBoxActive() && !editBoxSlotStands())
        m_editBox->remove();
    if (m_refreshArray && isEditBoxActive()) {
        FTLog(QStringLiteral("Attempted to refresh the pcd array whilst pEditBox was active."));
    } else if (m_refreshArray && moc) {
        m_layout.refreshPersonArray();
        ++m_rebuildCount;
        // The pointer rested on a box that has gone.
        if (m_hover.kind != Hover::None)
            mouseExited();
        deleteLinksWithoutChild();
        m_layout.loadPictures();
        m_refreshArray = false;
    }
    layoutBoxes();
    // After a child was typed in, the next one can be typed at once.
    if (m_addedChild && !isEditBoxActive()) {
        m_addedChild = false;
        for (const auto& box : m_layout.cdPersonsArray())
            if (box->isGhost() && box->ancLevel() == CdPerson::kChild) {
                m_editBox->activateForCdPerson(box.get());
                break;
            }
    }
    update();
    if (moc && moc->hasChanges())
        moc->deferredSave();
}

void CdDiagram::removeBoxesOfDeletedPeople()
{
    QList<FTPerson*> deleted;
    for (const auto& box : m_layout.cdPersonsArray())
        if (box->person() && box->person()->isDeleted() && !deleted.contains(box->person()))
            deleted << box->person();
    if (deleted.isEmpty())
        return;
    for (FTPerson* person : std::as_const(deleted))
        m_layout.removeBoxesOf(person);
    // The pointer may have rested on one of them.
    if (m_hover.kind != Hover::None)
        mouseExited();
}

void CdDiagram::layoutBoxes()
{
    m_laidOutSize = size();
    m_layout.setBounds(m_laidOutSize);
    m_layout.calculateFocalRect();
    m_layout.setPersonRects();
    m_editBox->followBox();
    showWarnings(m_layout.takeWarnings());
}

void CdDiagram::deleteLinksWithoutChild()
{
    const QList<FTPcRel*> links = m_layout.takeLinksWithoutChild();
    FTMoc* moc = this->moc();
    if (links.isEmpty() || !moc)
        return;
    if (UndoManager* undo = moc->undoManager())
        undo->setActionName(LocalizedString(QStringLiteral("DelPcRel")));
    for (FTPcRel* link : links)
        if (!link->isDeleted())
            moc->deleteObject(link);
    moc->saveMoc();
}

void CdDiagram::showWarnings(const QStringList& warnings)
{
    if (warnings.isEmpty())
        return;
    // After the pass, never from inside it.
    QTimer::singleShot(0, this, [warnings] {
        for (const QString& w : warnings)
            DisplayMsg(w);
    });
}

// ---- Painting --------------------------------------------------------------------------------------------------

void CdDiagram::paintEvent(QPaintEvent* event)
{
    const ReadBurst reads(moc());
    QPainter painter(this);
    // During a relationship drag the snapshot stands in for the diagram.
    if (m_rubberBand && !m_cdBitmap.isNull()) {
        painter.drawPixmap(0, 0, m_cdBitmap);
        const CdPerson* source = m_layout.containsBox(m_bandSource) ? m_bandSource : nullptr;
        CdRelationshipBand::draw(painter, m_band, source ? source->rclBox() : QRectF());
        return;
    }
    // During a drag of pictures the snapshot too, with the box that would take them framed.
    if (m_dragTarget && !m_cdBitmap.isNull()) {
        painter.drawPixmap(0, 0, m_cdBitmap);
        if (m_layout.containsBox(m_dragTarget)) {
            painter.setPen(QPen(Qt::blue, 3));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(m_dragTarget->rclBox());
        }
        return;
    }
    if (QSizeF(size()) != m_laidOutSize)
        layoutBoxes();
    if (m_focalPictureRing)
        m_layout.pictureState().bDrawFocusRing = true;
    CdPainter::paintDiagram(painter, m_layout, QRectF(event->rect()));
    if (!m_enlargedImage.isNull())
        CdDefaultPicture::displayMugshotImage(painter, m_enlargedImage, m_enlargedMugShot, m_layout.pictureState().gPicNum,
                                              m_enlargedCount);
    if (m_hover.kind == Hover::Marker) {
        // A white dot with a blue ring: the line can be pressed.
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::blue);
        painter.drawEllipse(m_hover.marker.adjusted(-2, -2, 2, 2));
        painter.setBrush(Qt::white);
        painter.drawEllipse(m_hover.marker);
    }
}

void CdDiagram::resizeEvent(QResizeEvent* event)
{
    FamilyDiagramPane::resizeEvent(event);
    layoutBoxes();
}

void CdDiagram::redrawRect(const QRectF& rect)
{
    if (rect.isNull())
        return;
    m_lastRedrawRect = rect;
    update(rect.toAlignedRect());
}

void CdDiagram::redrawBoxesOf(FTPerson* a, FTPerson* b)
{
    QRectF area;
    for (const auto& box : m_layout.cdPersonsArray()) {
        if (!box->person() || (box->person() != a && box->person() != b))
            continue;
        if (box->ancLevel() == CdPerson::kAssociated) {
            // Its line's width follows the selection too.
            m_lastRedrawRect = rect();
            update();
            return;
        }
        area = area.united(boxArea(*box));
    }
    area = area.united(m_layout.getRedrawRectFor(m_layout.findPerson(a), m_layout.findPerson(b)));
    redrawRect(area);
}

void CdDiagram::displayMugshotImage(const QImage& image, const QRectF& mugShot, int pictureCount)
{
    m_enlargedImage = image;
    m_enlargedMugShot = mugShot;
    m_enlargedCount = pictureCount;
    m_layout.pictureState().bMiniPicExpanded = !image.isNull();
    redrawRect(CdDefaultPicture::enlargedRect(mugShot, image.size()).adjusted(-6, -6, 6, 24));
}

bool CdDiagram::event(QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return FamilyDiagramPane::event(event);
    auto* help = static_cast<QHelpEvent*>(event);
    const CdOptions& o = m_layout.options();
    const bool listShown = m_document && m_document->toolbarController()
        && m_document->toolbarController()->isFoundPeopleVisible();
    const CdPerson* hit = nullptr;
    if (!listShown)
        for (const auto& box : m_layout.cdPersonsArray())
            if (box->person() && box->rclBox().contains(help->pos())) {
                hit = box.get();
                break;
            }
    // With the tool tips switched off, a box whose text was cut short still shows it whole.
    QString text;
    if (hit)
        text = o.showPcdToolTips ? CdToolTip::text(*hit, o.showFullPcdToolTips) : CdToolTip::elidedText(*hit);
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), text, this, hit->rclBox().toAlignedRect());
    return true;
}

// ---- Speaking --------------------------------------------------------------------------------------------------

void CdDiagram::sayFocalPersonsName()
{
    FTMoc* moc = this->moc();
    if (!moc)
        return;
    if (!m_synth)
        m_synth = std::make_unique<CdSpeaker>();
    m_synth->say(CdSpeech::focalPersonsText(moc->modelDefaults()->focalPerson()));
}

// ---- Changes made elsewhere ------------------------------------------------------------------------------------

bool CdDiagram::concernsThisDatabase(const Notification& n) const
{
    return moc() && n.context == moc();
}

FTPerson* CdDiagram::personOf(const Notification& n) const
{
    if (!concernsThisDatabase(n) || !n.object)
        return nullptr;
    auto* object = static_cast<ManagedObject*>(const_cast<void*>(n.object));
    return dynamic_cast<FTPerson*>(object);
}

void CdDiagram::personNameOrDateChanged(const Notification& n)
{
    FTPerson* person = personOf(n);
    if (!person || moc()->importThreadIsActive())
        return;
    const CdPerson* box = m_layout.findPerson(person);
    if (box && box->ancLevel() > 0)
        redrawRect(boxArea(*box));
    else
        setRefreshArray(true);
}

void CdDiagram::genderChanged(const Notification& n)
{
    FTPerson* person = personOf(n);
    if (!person || isEditBoxActive())
        return;
    const CdPerson* box = m_layout.findPerson(person);
    if (!box || box->ancLevel() >= 0)
        setRefreshArray(true);
}

void CdDiagram::personToBeDeleted(const Notification& n)
{
    FTPerson* person = personOf(n);
    if (!person)
        return;
    // The entry box's slot goes with the box it hangs from.
    if (const CdPerson* slot = m_editBox->cdPerson()) {
        if (slot->person() == person || (slot->owner() && slot->owner()->person() == person))
            m_editBox->remove();
    }
    if (m_layout.removeBoxesOf(person) > 0)
        setRefreshArray(true);
}

void CdDiagram::defaultPictureChanged(const Notification& n)
{
    FTPerson* person = personOf(n);
    if (!person)
        return;
    if (person == moc()->modelDefaults()->focalPerson() || m_layout.options().showMugShots) {
        m_layout.loadPictures();
        update();
    }
}
