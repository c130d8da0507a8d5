#include "CdDiagramViewFixture.h"
#include "InputEvents.h"
#include "PopupMenuPress.h"
#include "../../model/RecordingRelativeDialogs.h"
#include "../../shell/ui/ApplicationFixture.h"

#include "Screenshot.h"

#include "diagrams/CdPerson.h"
#include "diagrams/DiagramHooks.h"
#include "diagrams/ui/CdEditBox.h"
#include "diagrams/ui/FamilyDiagramSetup.h"

#include "shell/ui/FindPersonSearchField.h"
#include "shell/ui/DOvurDocument.h"
#include "shell/ui/ToolbarController.h"

#include "model/FTModelDefaults.h"
#include "model/FTPicture.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"

#include "platform/Localizer.h"

#include <QMainWindow>
#include <QPainter>

using namespace InputEvents;

// The diagram in the active window, with the parent-child type dialog and the family dialog recorded.
class CdDiagramInput : public CdDiagramView {
protected:
    void SetUp() override
    {
        CdDiagramView::SetUp();
        UserDefaults::standard().setBool("childrenOnLeft", true);
        savedHooks = DiagramHooks::shared();
        DiagramHooks::shared().pcRelTypeDialog = [this](FTPerson* parent, FTPerson* child) {
            windows << "pcRelType " + parent->name() + " " + child->name();
        };
        RelativeDialogs::install(&dialogs);
        rebuild();
        showActive();
        diagram->grab(); // painted once: the lines' markers and squares are where the user sees them
    }
    void TearDown() override
    {
        RelativeDialogs::install(nullptr);
        DiagramHooks::shared() = savedHooks;
        CdDiagramView::TearDown();
    }
    void rebuild()
    {
        diagram->setRefreshArray(true);
        diagram->prepare();
    }
    QPointF centreOf(FTPerson* p) const { return diagram->cdLayout().findPerson(p)->rclBox().center(); }
    FTPerson* focal() const { return moc->modelDefaults()->focalPerson(); }
    FTPerson* selected() const { return moc->modelDefaults()->selectedPerson(); }
    // Presses on one box, drags to another and, unless told not to, lets go there.
    void drag(FTPerson* from, FTPerson* to, bool release = true)
    {
        mouse(diagram.get(), QEvent::MouseButtonPress, centreOf(from));
        mouse(diagram.get(), QEvent::MouseMove, centreOf(from) + QPointF(4, 0));
        mouse(diagram.get(), QEvent::MouseMove, centreOf(to));
        if (release)
            mouse(diagram.get(), QEvent::MouseButtonRelease, centreOf(to));
    }
    // Pictures with plain-coloured thumbnails; the first becomes the default picture.
    void givePictures(FTPerson* p, int n)
    {
        for (int i = 0; i < n; ++i) {
            QImage face(60, 80, QImage::Format_RGB32);
            face.fill(QColor::fromHsv(40 * i, 120, 200));
            QPainter painter(&face);
            painter.setBrush(QColor(240, 210, 180));
            painter.drawEllipse(QRectF(12, 15, 36, 46));
            painter.end();
            FTPicture* picture = FTPicture::initInMoc(moc.get(), QString(), p);
            picture->setThumbnailImage(face);
            if (i == 0)
                p->setDefaultPicture(picture);
        }
    }

    DiagramHooks savedHooks;
    RecordingDialogs dialogs;
    QStringList windows;
};

TEST_F(CdDiagramInput, UndoingARefocusPutsBackThePeopleAndKeepsTheStepsName)
{
    // What the document does with every change of the stored focal person, undo and redo included.
    moc->addObserver("modelDefaults.focalPerson", this, [this](const KeyPathChange&) { diagram->setFocalPerson(focal()); });
    mouse(diagram.get(), QEvent::MouseButtonPress, centreOf(son));
    QCoreApplication::processEvents();
    mouse(diagram.get(), QEvent::MouseButtonDblClick, centreOf(son));
    QCoreApplication::processEvents();
    ASSERT_EQ(focal(), son);
    auto* undo = static_cast<FTMocUndoManager*>(moc->undoManager());
    ASSERT_EQ(undoName(), "Focus on Son (1955 - )");
    const QStringList history = undo->undoActionsArray();

    undo->undo();
    QCoreApplication::processEvents();
    EXPECT_EQ(focal(), me);
    EXPECT_EQ(selected(), son);
    EXPECT_EQ(undo->redoActionName(), "Focus on Son (1955 - )");
    EXPECT_EQ(undo->undoActionsArray().mid(1), history);
    EXPECT_EQ(diagram->cdLayout().focalBox()->person(), me);
    EXPECT_EQ(diagram->cdLayout().selectedPerson(), son);

    undo->redo();
    QCoreApplication::processEvents();
    EXPECT_EQ(focal(), son);
    EXPECT_EQ(selected(), son);
    EXPECT_EQ(undoName(), "Focus on Son (1955 - )");
    EXPECT_EQ(diagram->cdLayout().focalBox()->person(), son);
    moc->removeObserversOf(this);
}

TEST_F(CdDiagramInput, PressesSelectRefocusOrOpenTheMenu)
{
    const int rebuilds = diagram->rebuildCount();
    mouse(diagram.get(), QEvent::MouseButtonPress, centreOf(me));
    mouse(diagram.get(), QEvent::MouseButtonDblClick, centreOf(me));
    QCoreApplication::processEvents();
    EXPECT_EQ(focal(), me);
    EXPECT_EQ(undoName(), "");
    EXPECT_EQ(diagram->rebuildCount(), rebuilds);

    click(diagram.get(), centreOf(dad));
    EXPECT_EQ(selected(), dad);
    EXPECT_EQ(undoName(), "Select Dad (1900 - )");
    moc->undoManager()->closeOpenGroups();

    click(diagram.get(), centreOf(son), Qt::ControlModifier);
    EXPECT_EQ(focal(), son);
    EXPECT_EQ(undoName(), "Focus on Son (1955 - )");
    QCoreApplication::processEvents();

    // The corner of an empty slot: its menu instead of the entry box.
    const CdPerson* slot = nullptr;
    for (const auto& b : diagram->cdLayout().cdPersonsArray())
        if (b->isGhost() && b->ancLevel() == CdPerson::kChild)
            slot = b.get();
    ASSERT_TRUE(slot);
    QString firstItem;
    EXPECT_TRUE(whileMenuShows(
        diagram.get(), [&](DiagramPopupMenu* menu) { firstItem = menu->actions().value(0)->text(); },
        [&] { click(diagram.get(), slot->rclBox().bottomRight() - QPointF(3, 3)); }));
    EXPECT_EQ(firstItem, "Attach an Existing Person as a child...");
    EXPECT_FALSE(diagram->isEditBoxActive());
}

TEST_F(CdDiagramInput, APressOnALinesMiddleOpensTheLinksDialog)
{
    const QPainterPath& line = diagram->cdLayout().findPerson(daughter)->pathToOwner();
    click(diagram.get(), QLineF(line.pointAtPercent(0), line.pointAtPercent(1)).center());
    EXPECT_EQ(windows, QStringList {"pcRelType Me Daughter"});
    EXPECT_EQ(selected(), me);
}

TEST_F(CdDiagramInput, DraggingFromAChildToTheSpouseOffersThatPair)
{
    click(diagram.get(), centreOf(son));
    drag(son, wife, false);
    ASSERT_TRUE(diagram->isRubberBandActive());
    const CdRelationshipBand::Step& band = diagram->rubberBand();
    EXPECT_TRUE(band.hasTarget());
    EXPECT_EQ(band.targetRect, diagram->cdLayout().findPerson(wife)->rclBox());
    saveScreenshot(diagram.get(), "family-diagram-relationship-band");
    mouse(diagram.get(), QEvent::MouseButtonRelease, centreOf(wife));
    EXPECT_FALSE(diagram->isRubberBandActive());
    EXPECT_EQ(windows, QStringList {"pcRelType Wife Son"});

    // A couple goes to the family dialog; a release over no target offers nothing.
    click(diagram.get(), centreOf(wife));
    drag(wife, me);
    EXPECT_EQ(dialogs.calls, QStringList {"family Wife Me"});
    drag(wife, dad);
    EXPECT_EQ(windows.size(), 1);
    EXPECT_EQ(dialogs.calls.size(), 1);
}

TEST_F(CdDiagramInput, NoBandIsDrawnFromAnAssociatedPerson)
{
    friendOfMe = person("Friend", M(), 1931);
    associate(me, friendOfMe);
    rebuild();
    click(diagram.get(), centreOf(friendOfMe));
    ASSERT_EQ(selected(), friendOfMe);
    drag(friendOfMe, me, false);
    EXPECT_TRUE(diagram->isRubberBandActive());
    EXPECT_FALSE(diagram->rubberBand().drawn);
    mouse(diagram.get(), QEvent::MouseButtonRelease, centreOf(me));
    EXPECT_TRUE(windows.isEmpty());
    EXPECT_TRUE(dialogs.calls.isEmpty());
}

TEST_F(CdDiagramInput, KeysMoveTheSelectionAndTheFocus)
{
    FTPerson* elder = person("Elder", F(), 1925);
    FTPerson* younger = person("Younger", M(), 1935);
    link(dad, elder);
    link(dad, younger);

    key(diagram.get(), Qt::Key_Left); // towards the children, on the left
    EXPECT_EQ(selected(), son);
    EXPECT_EQ(undoName(), "Select Son (1955 - )");
    key(diagram.get(), Qt::Key_Down);
    EXPECT_EQ(selected(), daughter);
    key(diagram.get(), Qt::Key_Left); // from a child: it becomes focal
    EXPECT_EQ(focal(), daughter);
    QCoreApplication::processEvents();

    // Ctrl-Down with the focal person selected: the next sibling; with another person selected: that person.
    diagram->setFocalPerson(me);
    QCoreApplication::processEvents();
    moc->undoManager()->closeOpenGroups();
    key(diagram.get(), Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(focal(), younger);
    EXPECT_EQ(undoName(), "Focus on Younger (1935 - )");
    QCoreApplication::processEvents();
    key(diagram.get(), Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(focal(), me);
    QCoreApplication::processEvents();
    diagram->setSelectedPerson(dad);
    key(diagram.get(), Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(focal(), dad);
    QCoreApplication::processEvents();

    // Plain "r" cites the active source.
    FTSource* source = FTSource::initInMoc(moc.get());
    moc->setActiveSource(source);
    key(diagram.get(), Qt::Key_R, Qt::NoModifier, "r");
    ASSERT_EQ(citationSheets.sheets.size(), 1);
    EXPECT_EQ(citationSheets.sheets[0].second->person(), dad);
}

TEST_F(CdDiagramInput, PicturesPageUnderThePointerAndStopAtTheLast)
{
    UserDefaults::standard().setBool("cdShowMugShots", true);
    givePictures(son, 3);
    rebuild();
    diagram->grab();
    const CdPerson* sonsBox = diagram->cdLayout().findPerson(son);
    const QRectF shot = sonsBox->rclMugShot();
    ASSERT_FALSE(shot.isNull());

    hover(diagram.get(), shot.center());
    // The picture grows once the pointer has rested on it (the hover timer).
    EXPECT_TRUE(TestSupport::waitUntil(
        [&] { return diagram->cdLayout().pictureState().bMiniPicExpanded; }, "the enlarged picture"));
    EXPECT_EQ(diagram->cursor().shape(), Qt::IBeamCursor); // more than one picture: they can be paged
    saveScreenshot(diagram.get(), "family-diagram-enlarged-mug-shot");

    const int& gPicNum = diagram->cdLayout().pictureState().gPicNum;
    key(diagram.get(), Qt::Key_Right, Qt::NoModifier, {}, 1000);
    key(diagram.get(), Qt::Key_Right, Qt::NoModifier, {}, 1100); // within 0.15 s: swallowed
    EXPECT_EQ(gPicNum, 1);
    key(diagram.get(), Qt::Key_Right, Qt::NoModifier, {}, 1300);
    key(diagram.get(), Qt::Key_Right, Qt::NoModifier, {}, 1500);
    EXPECT_EQ(gPicNum, 2);
    EXPECT_EQ(selected(), me); // the arrows paged and moved nothing

    wheel(diagram.get(), shot.center(), 120, 2000);
    wheel(diagram.get(), shot.center(), 120, 2200); // 0.2 s apart over a picture: both count
    EXPECT_EQ(gPicNum, 0);

    // Leaving the picture puts it away.
    hover(diagram.get(), QPointF(5, 390));
    EXPECT_FALSE(diagram->cdLayout().pictureState().bMiniPicExpanded);
    EXPECT_EQ(diagram->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(CdDiagramInput, TheWheelStepsTheBoxDetailWithinItsRange)
{
    UserDefaults& d = UserDefaults::standard();
    int changes = 0;
    NotificationCenter::defaultCenter().addObserver("cdNameOptionChanged", nullptr,
                                                    [&](const Notification&) { ++changes; }, this);
    d.setInteger("cdNameOption", 1);
    const QPointF onDad = centreOf(dad);
    wheel(diagram.get(), onDad, 120, 1000);
    EXPECT_EQ(d.integerForKey("cdNameOption"), 0);
    wheel(diagram.get(), onDad, 120, 1300);
    EXPECT_EQ(d.integerForKey("cdNameOption"), 0);
    wheel(diagram.get(), onDad, -120, 1600);
    wheel(diagram.get(), onDad, -120, 1800); // 0.2 s apart over a box: ignored
    EXPECT_EQ(d.integerForKey("cdNameOption"), 1);
    EXPECT_EQ(changes, 3);

    d.setInteger("cdNameOption", 13);
    wheel(diagram.get(), onDad, -120, 3000);
    EXPECT_EQ(d.integerForKey("cdNameOption"), 13);
    QCoreApplication::processEvents();
    EXPECT_FALSE(diagram->refreshArray());
    wheel(diagram.get(), onDad, 120, 4000);
    wheel(diagram.get(), onDad, 120, 5000);
    EXPECT_EQ(d.integerForKey("cdNameOption"), 11);
    EXPECT_TRUE(diagram->refreshArray()); // the ahnentafel labels are made with the boxes
    NotificationCenter::defaultCenter().removeObserversOf(this);
}

TEST_F(CdDiagramInput, TheWheelInTheFocalBoxCornerStepsThroughTheSiblings)
{
    FTPerson* younger = person("Younger", M(), 1935);
    link(dad, younger);
    const QRectF f = diagram->cdLayout().rclFocalPerson();
    wheel(diagram.get(), f.bottomRight() - QPointF(10, 5), -120, 1000);
    EXPECT_EQ(focal(), younger);
}

TEST_F(CdDiagramInput, AMarkerRingsOnlyInTheActiveWindow)
{
    const QList<QRectF>& markers = diagram->cdLayout().findPerson(son)->trackingRects();
    ASSERT_FALSE(markers.isEmpty());
    const QRectF marker = markers.first();
    hover(diagram.get(), marker.center());
    EXPECT_EQ(diagram->hoveredMarker(), marker);
    EXPECT_EQ(diagram->cursor().shape(), Qt::PointingHandCursor);
    hover(diagram.get(), QPointF(5, 390));
    EXPECT_TRUE(diagram->hoveredMarker().isNull());
    EXPECT_EQ(diagram->cursor().shape(), Qt::ArrowCursor);

    QWidget other;
    other.show();
    other.activateWindow();
    QApplication::setActiveWindow(&other);
    QCoreApplication::processEvents();
    ASSERT_FALSE(diagram->isActiveWindow());
    hover(diagram.get(), marker.center());
    EXPECT_TRUE(diagram->hoveredMarker().isNull());
}

// The program's main window with the family diagram, on a database of 30 people, shown and active.
class CdDiagramInWindow : public ApplicationFixture {
protected:
    void SetUp() override
    {
        ApplicationFixture::SetUp();
        installFamilyDiagram();
        start();
        doc = app->openDocumentWithContentsOfURL(makeDatabase(data + "/Family.RezUdu", 30));
        ASSERT_TRUE(doc) << texts().join("\n").toStdString();
        diagram = qobject_cast<CdDiagram*>(doc->pcd());
        ASSERT_TRUE(diagram);
        QWidget* window = doc->dovurWindow();
        window->show();
        window->activateWindow();
        QApplication::setActiveWindow(window);
        QCoreApplication::processEvents();
    }
    void TearDown() override
    {
        ApplicationFixture::TearDown();
        DOvurDocument::setDiagramFactory({});
    }

    DOvurDocument* doc = nullptr;
    CdDiagram* diagram = nullptr;
};

// The toolbar's list of found people lies over the diagram, which then shows no hover.

TEST_F(CdDiagramInWindow, NoHoverWhileTheFoundPeopleAreListed)
{
    diagram->grab();
    QRectF marker;
    for (const auto& box : diagram->cdLayout().cdPersonsArray())
        if (!box->trackingRects().isEmpty())
            marker = box->trackingRects().first();
    ASSERT_FALSE(marker.isNull());

    ToolbarController* toolbar = doc->toolbarController();
    toolbar->findPersonSearchField()->setText("a");
    toolbar->findPerson(true);
    ASSERT_TRUE(toolbar->isFoundPeopleVisible());
    hover(diagram, marker.center());
    EXPECT_TRUE(diagram->hoveredMarker().isNull());

    toolbar->hideFoundPeople();
    hover(diagram, marker.center() + QPointF(0.5, 0));
    EXPECT_EQ(diagram->hoveredMarker(), marker);
}

TEST_F(CdDiagramInWindow, ClosingOrQuittingAsksBeforeThePersonBeingEnteredGoes)
{
    diagram->prepare();
    const CdPerson* slot = nullptr;
    for (const auto& box : diagram->cdLayout().cdPersonsArray())
        if (box->isGhost())
            slot = box.get();
    ASSERT_TRUE(slot);
    click(diagram, slot->rclBox().center());
    CdEditBox* editBox = diagram->editBox();
    ASSERT_TRUE(editBox->isActive());
    editBox->selectAll();
    type(editBox, "Mary Smith, F");
    const QString typed = editBox->toPlainText();
    const qsizetype people = doc->moc()->fetch<FTPerson>().size();

    // "Don't Discard" keeps the window, the box and its text, for a close and for a quit alike.
    prompts.clear();
    prompts.answer(1);
    doc->performClose();
    prompts.answer(1);
    EXPECT_FALSE(app->terminate());
    ASSERT_EQ(prompts.records.size(), 2);
    for (const auto& asked : prompts.records) {
        EXPECT_EQ(asked.text, QStringLiteral("%1\n\n\"%2\"\n%3")
                                  .arg(LocalizedString("AddAlert1"), typed, LocalizedString("AddAlert2")));
        EXPECT_EQ(asked.buttons, (QStringList {"Discard", "Don't Discard"}));
    }
    EXPECT_EQ(documents(), QList<DOvurDocument*> {doc});
    EXPECT_TRUE(editBox->isActive());
    EXPECT_EQ(editBox->toPlainText(), typed);
    EXPECT_EQ(diagram->focusWidget(), editBox);
    EXPECT_EQ(doc->moc()->fetch<FTPerson>().size(), people);

    // "Discard", then "Close": the window goes without the person.
    prompts.clear();
    prompts.answer(0);
    prompts.answer(1);
    doc->performClose();
    EXPECT_EQ(prompts.records.size(), 2) << texts().join("\n").toStdString();
    EXPECT_TRUE(documents().isEmpty());
}
