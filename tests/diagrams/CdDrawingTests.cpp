#include "DiagramFixture.h"

#include "diagrams/CdBackground.h"
#include "diagrams/CdDefaultPicture.h"
#include "diagrams/CdLineStyle.h"
#include "diagrams/CdPainter.h"
#include "diagrams/CdShading.h"
#include "diagrams/CdTimeline.h"
#include "diagrams/CdToolTip.h"

#include <QLineF>
#include <QPainter>
#include <QPicture>

#include <thread>

class CdDrawing : public DiagramFixture {};

TEST_F(CdDrawing, LineStylesFollowTypeGhostCertaintyAndAssociation)
{
    FTPerson* me = person("Me");
    FTPerson* natural = person("Natural");
    FTPerson* doubtful = person("Doubtful");
    FTPerson* friendOf = person("Friend");
    // Links without dates are doubtful (20 %): these two are made certain.
    link(me, natural)->setCertainty(100);
    link(me, person("Stepchild"), FTPcRel::kStep)->setCertainty(100);
    link(me, doubtful)->setCertainty(40);
    associate(me, friendOf);
    focusOn(me);
    options.highlightBadPcRels = true;
    options.showGhostOutlines = true;
    options.redLineThreshold = 50;
    build();
    struct Case {
        const char* name;
        bool selected;
        QColor colour;
        double width;
        QList<double> dash;
    };
    const QList<double> dotted {1, 2};
    for (const Case& c : {Case {"Natural", false, Qt::black, 0.5, {}}, Case {"Stepchild", false, Qt::red, 0.5, dotted},
                          Case {"Doubtful", false, Qt::red, 3, {5, 5}}, Case {"Friend", false, Qt::black, 0.5, dotted},
                          Case {"Friend", true, Qt::black, 2, dotted}}) {
        const CdPerson* box = nullptr;
        for (const auto& b : layout.cdPersonsArray())
            if (b->person() && b->person()->name() == c.name)
                box = b.get();
        ASSERT_TRUE(box) << c.name;
        const CdLineStyle s = CdLineStyle::forBox(*box, true, options.redLineThreshold, c.selected);
        EXPECT_EQ(s.colour, c.colour) << c.name;
        EXPECT_EQ(s.width, c.width) << c.name;
        EXPECT_EQ(s.dash, c.dash) << c.name;
    }
    // On web pages certainty does not colour the line; an empty slot's line is dotted.
    EXPECT_EQ(CdLineStyle::forBox(*layout.findPerson(doubtful), false, 50, false).width, 0.5);
    const CdPerson* ghostChild = nullptr;
    for (const auto& b : layout.cdPersonsArray())
        if (!b->person() && b->ancLevel() == CdPerson::kChild)
            ghostChild = b.get();
    const CdLineStyle ghost = CdLineStyle::forBox(*ghostChild, true, 50, false);
    EXPECT_EQ(ghost.colour, QColor(Qt::black));
    EXPECT_EQ(ghost.dash, dotted);
    // Qt counts dashes in pen widths.
    EXPECT_EQ(CdLineStyle::forLink(2).pen().dashPattern(), QList<qreal>({2, 4}));
    EXPECT_EQ(CdPerson::relationshipLetter(0), "??");
    EXPECT_EQ(CdPerson::relationshipLetter(1), "");
    EXPECT_EQ(CdPerson::relationshipLetter(8), "A");
}

TEST_F(CdDrawing, LinesMeetTheFacingSidesAndStubsPointAway)
{
    CdPerson focal(nullptr, nullptr, false, nullptr, 0, &layout);
    focal.setRclBox({400, 100, 100, 40});
    CdPerson child(nullptr, &focal, false, nullptr, CdPerson::kChild, &layout);
    child.setRclBox({600, 200, 100, 40});
    CdPerson parent(nullptr, &focal, false, nullptr, 1, &layout);
    parent.setRclBox({200, 0, 100, 40});
    CdPerson associated(nullptr, &focal, false, nullptr, CdPerson::kAssociated, &layout);
    associated.setRclBox({300, 20, 80, 30});
    options.personColourGradient = 0.26; // indent 0.026 × height
    layout.setOptions(options);
    for (CdPerson* b : {&focal, &child, &parent, &associated})
        b->setIndent();
    const double focalBulge = 0.026 * 40 / 1.3;
    // Owner on the left: from this box's bulge to the owner's right side.
    EXPECT_EQ(child.lineEndsTo(focal), QLineF(600 - focalBulge, 220, 500, 120));
    // Owner on the right: from this box's right side to the owner's bulge.
    EXPECT_EQ(parent.lineEndsTo(focal), QLineF(300, 20, 400 - focalBulge, 120));
    EXPECT_EQ(associated.lineEndsTo(focal), QLineF(340, 50, 450, 100));

    // Stubs: none without relatives beyond, 25 towards them otherwise, mirrored with children on the left.
    EXPECT_TRUE(child.grandChildrenStub().isNull());
    child.incrementNumChildren(2);
    parent.incrementNumParents(1);
    options.maxAncLevel = 1;
    layout.setOptions(options);
    CdPerson spouse(nullptr, &focal, true, nullptr, CdPerson::kSpouse, &layout);
    spouse.setRclBox({400, 150, 100, 40});
    spouse.incrementNumParents(2);
    // Boxes copy childrenOnLeft when made: these were made with it on.
    EXPECT_EQ(child.grandChildrenStub(), QLineF(600 - 1.04, 220, 600 - 1.04 - 25, 220));
    EXPECT_EQ(parent.moreAncestorsStub(), QLineF(300, 20, 325, 20));
    EXPECT_EQ(spouse.spousesParentsStub(), QLineF(501, 170, 511, 170));
    options.childrenOnLeft = false;
    layout.setOptions(options);
    CdPerson rightChild(nullptr, &focal, false, nullptr, CdPerson::kChild, &layout);
    rightChild.setRclBox({600, 200, 100, 40});
    rightChild.incrementNumChildren(1);
    CdPerson leftParent(nullptr, &focal, false, nullptr, 1, &layout);
    leftParent.setRclBox({200, 0, 100, 40});
    leftParent.incrementNumParents(1);
    leftParent.setIndent();
    CdPerson leftSpouse(nullptr, &focal, true, nullptr, CdPerson::kSpouse, &layout);
    leftSpouse.setRclBox({400, 150, 100, 40});
    leftSpouse.incrementNumParents(1);
    EXPECT_EQ(rightChild.grandChildrenStub(), QLineF(700, 220, 725, 220));
    EXPECT_EQ(leftParent.moreAncestorsStub(), QLineF(200 - 1.04, 20, 200 - 1.04 - 25, 20));
    EXPECT_EQ(leftSpouse.spousesParentsStub(), QLineF(400, 170, 390, 170));
    // A parent below the last generation shown has no stub.
    options.maxAncLevel = 2;
    layout.setOptions(options);
    EXPECT_TRUE(leftParent.moreAncestorsStub().isNull());
}

TEST_F(CdDrawing, SiblingCardsStepUpAndRightBehindTheFocalBox)
{
    CdPerson focal(nullptr, nullptr, false, nullptr, 0, &layout);
    focal.setRclBox({100, 100, 10, 4});
    EXPECT_TRUE(focal.siblingCardRects(1).isEmpty());
    EXPECT_EQ(focal.siblingCardRects(4),
              QList<QRectF>({QRectF(106, 97, 6, 2.5), QRectF(112, 94, 2, 2), QRectF(118, 91, 2, 2)}));
}

TEST_F(CdDrawing, TimelineAveragesEachColumnRoundedToFive)
{
    const auto columnYear = [this](std::initializer_list<std::pair<int, int>> lives) {
        layout.refreshPersonArray();
        CdPerson* focal = layout.addBox(std::make_unique<CdPerson>(nullptr, nullptr, false, nullptr, 0, &layout));
        int i = 0;
        for (const auto& [born, died] : lives) {
            auto box = std::make_unique<CdPerson>(person(QString("P%1").arg(i++), M(), born, died), focal, false,
                                                  nullptr, 1, &layout);
            box->setRclBox({100, 10.0 * i, 50, 5});
            layout.addBox(std::move(box));
        }
        const QList<CdTimeline::Label> labels = CdTimeline::labels(layout.cdPersonsArray(), 3);
        return labels.isEmpty() ? 0 : labels.first().year;
    };
    EXPECT_EQ(columnYear({{1901, 0}, {1904, 0}}), 1900);
    EXPECT_EQ(columnYear({{1903, 0}, {1904, 0}}), 1905);
    EXPECT_EQ(columnYear({{0, 1950}}), 1900);  // died at 50
    EXPECT_EQ(columnYear({{0, 50}, {0, 0}}), 0); // nothing to go on
    const QList<CdTimeline::Label> labels = CdTimeline::labels(layout.cdPersonsArray(), 3);
    EXPECT_TRUE(labels.isEmpty());
    columnYear({{1900, 0}});
    EXPECT_EQ(CdTimeline::labels(layout.cdPersonsArray(), 3).first().x, 105);
    // Generations beyond the columns shown are not counted, however many are asked for.
    EXPECT_EQ(CdTimeline::labels(layout.cdPersonsArray(), 0).size(), 0);
    EXPECT_EQ(CdTimeline::labels(layout.cdPersonsArray(), 99).size(), 1);
}

TEST_F(CdDrawing, ToolTipsPutConsanguinityFirstAndStopAt2048Characters)
{
    EXPECT_EQ(CdToolTip::compose("John", "", false), "John");
    EXPECT_EQ(CdToolTip::compose("John  \n\n\n\nNotes", "Uncle", true), "Consanguinity: Uncle\n\nJohn\n\nNotes");
    const QString cut = CdToolTip::compose(QString(3000, 'x'), "", true);
    EXPECT_EQ(cut, QString(2048, 'x') + "...\n...(more)...\n");
    EXPECT_EQ(CdToolTip::compose(QString(3000, 'x'), "", false).size(), 3000);
    FTPerson* p = person("Sam Smith", M(), 1900);
    const CdPerson box(p, nullptr, false, nullptr, 0, &layout);
    EXPECT_TRUE(CdToolTip::text(box, false).startsWith("Sam Smith"));
    EXPECT_EQ(CdToolTip::text(CdPerson(nullptr, nullptr, false, nullptr, 0, &layout), true), "");
}

TEST_F(CdDrawing, TheBackgroundDarkensTowardsTheEdgesByTheGradient)
{
    const QColor bg(200, 100, 50);
    QImage image(1010, 100, QImage::Format_RGB32);
    for (const double g : {0.5, 0.1}) {
        image.fill(Qt::blue);
        QPainter painter(&image);
        CdBackground::fillBackground(painter, image.size(), bg, g, 3, false);
        painter.end();
        if (g <= 0.1) {
            EXPECT_EQ(image.pixelColor(0, 50), QColor(Qt::blue)); // no shading at all
            continue;
        }
        // At the edge half the colour; at the focal column's middle the colour itself.
        const QColor edge = image.pixelColor(0, 50);
        EXPECT_NEAR(edge.red(), 100, 2);
        EXPECT_NEAR(edge.green(), 50, 2);
        EXPECT_NEAR(edge.blue(), 25, 2);
        const int focal = int(CdBackground::focalColumnFraction(1010, 3, false) * 1011);
        EXPECT_EQ(focal, 700);
        EXPECT_NEAR(image.pixelColor(focal, 50).red(), 200, 2);
        EXPECT_NEAR(image.pixelColor(1009, 50).red(), 100, 3);
    }
}

TEST_F(CdDrawing, TheDefaultPictureSitsAboveTheFocalBox)
{
    const QRectF focal(100, 200, 120, 40);
    EXPECT_EQ(CdDefaultPicture::drawnRect(focal, QSizeF(200, 100)), QRectF(140, 175, 40, 20)); // half as tall
    EXPECT_EQ(CdDefaultPicture::drawnRect(focal, QSizeF(50, 100)), QRectF(150, 155, 20, 40));
    EXPECT_EQ(CdDefaultPicture::drawnRect(focal, QSizeF(80, 80)), QRectF(140, 155, 40, 40));
    EXPECT_EQ(CdDefaultPicture::countLabel(12, 3, true), " 4 of 12");
    EXPECT_EQ(CdDefaultPicture::countLabel(12, 3, false), "12");
    EXPECT_EQ(CdDefaultPicture::enlargedRect(QRectF(0, 100, 10, 20), QSizeF(100, 100)), QRectF(5, 72.5, 75, 75));

    // Without a picture nothing is drawn and nothing can be clicked there.
    focusOn(person("No Picture"));
    build();
    place();
    QImage image(1010, 421, QImage::Format_RGB32);
    QPainter painter(&image);
    CdPainter::paintDiagram(painter, layout);
    EXPECT_TRUE(layout.pictureState().defaultImageRect.isNull());
}

TEST_F(CdDrawing, ADiagramPaintsIntoAnImage)
{
    FTPerson* me = person("Margaret Rose Windsor", F(), 1930, 2002);
    link(person("Albert Windsor", M(), 1895, 1952), me);
    link(person("Elizabeth Bowes-Lyon", F(), 1900, 2002), me);
    link(me, person("David Armstrong-Jones", M(), 1961));
    link(me, person("Sarah Armstrong-Jones", F(), 1964), FTPcRel::kStep);
    couple(me, person("Antony Armstrong-Jones", M(), 1930, 2017));
    focusOn(me);
    options.showGhostOutlines = true;
    build();
    place(980, 400);
    QImage image(980, 400, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    CdPainter::paintDiagram(painter, layout);
    painter.end();
    saveScreenshotImage(image, "family-diagram-core");
    // The step child's line is red at its middle's neighbourhood; the background is the diagram's colour.
    const CdPerson* step = layout.cdPersonsArray()[4].get();
    ASSERT_EQ(step->person()->name(), "Sarah Armstrong-Jones");
    ASSERT_FALSE(step->pathToOwner().isEmpty());
    int reddish = 0;
    const QRectF around = step->pathToOwner().boundingRect();
    for (int x = int(around.left()); x < int(around.right()); ++x)
        for (int y = int(around.top()) - 1; y <= int(around.bottom()) + 1; ++y) {
            const QColor c = image.pixelColor(x, y);
            reddish += c.red() > 150 && c.green() < 120;
        }
    EXPECT_GT(reddish, 5);
    EXPECT_EQ(step->trackingRects().size(), 1); // the marker's place, for its tooltip
}

TEST_F(CdDrawing, ABoxPaintsWithoutAView)
{
    FTPerson* p = person("Victoria Hanover", F(), 1819, 1901);
    CdPerson box(p, nullptr, false, nullptr, 0, nullptr);
    box.setInPeopleSet(true);
    box.setRclBox({10, 10, 180, 50});
    QImage image(200, 70, QImage::Format_RGB32);
    image.fill(QColor(191, 250, 237));
    QPainter painter(&image);
    box.displayTextInBox(painter, true);
    painter.end();
    saveScreenshotImage(image, "box-without-view");
    EXPECT_EQ(box.textColour(), QColor::fromRgbF(0, 0, 0.8, 1));
    EXPECT_EQ(box.boxColour(), box.options().selectedPersonColour); // the page's own person
    EXPECT_GT(box.fontSize(), 1);
    EXPECT_TRUE(box.rclMugShot().isNull());
    int dark = 0;
    for (int x = 10; x < 190; ++x)
        for (int y = 10; y < 60; ++y)
            dark += image.pixelColor(x, y).lightness() < 120;
    EXPECT_GT(dark, 30); // the text is there
}

// The web pages draw their diagrams on several threads in no fixed order: a shadow copied from a thread's cache must
// be the shape's own, not that of a shape a fraction of a pixel away drawn before it.
TEST_F(CdDrawing, AShadowDoesNotDependOnTheShapesDrawnBeforeIt)
{
    QPainterPath shape;
    shape.addRect(10.31, 20.6, 120, 40);
    QPainterPath nearby;
    nearby.addRect(10.26, 20.6, 120, 40);
    const auto shadowOf = [](const QPainterPath& path) {
        QImage image(200, 120, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter painter(&image);
        CdShading::drawShadow(painter, path, QPointF(5, 5), 1.25);
        painter.end();
        return image;
    };
    QImage afterNearby, first, nearbyAlone;
    std::thread([&] {
        nearbyAlone = shadowOf(nearby);
        afterNearby = shadowOf(shape);
    }).join();
    std::thread([&] { first = shadowOf(shape); }).join();
    ASSERT_FALSE(first == nearbyAlone); // the two shapes' shadows differ
    EXPECT_TRUE(afterNearby == first);
}

// Shadows are painted once per shape and copied: the copy must match a shadow painted in place (a picture recording
// paints in place), at fractional positions and for two shapes of one size.
TEST_F(CdDrawing, ACopiedShadowMatchesOnePaintedInPlace)
{
    QPainterPath bowed;
    bowed.moveTo(10.3, 20.6);
    bowed.quadTo(4, 40, 10.3, 60.6);
    bowed.lineTo(130.3, 60.6);
    bowed.quadTo(124, 40, 130.3, 20.6);
    bowed.closeSubpath();
    QPainterPath straight;
    straight.addRect(10.3, 20.6, 120, 40);
    const auto paint = [](QPaintDevice* device, const QPainterPath& path, const QPointF& shift) {
        QPainter painter(device);
        painter.translate(shift);
        CdShading::drawShadow(painter, path, QPointF(5, 5), 1.25);
    };
    for (const QPainterPath& path : {bowed, straight, bowed})
        for (const QPointF shift : {QPointF(0, 0), QPointF(33.5, 0), QPointF(12.25, 7.25)}) {
            QImage copied(200, 120, QImage::Format_ARGB32_Premultiplied);
            copied.fill(Qt::white);
            paint(&copied, path, shift);
            QPicture recording;
            paint(&recording, path, shift);
            QImage inPlace(200, 120, QImage::Format_ARGB32_Premultiplied);
            inPlace.fill(Qt::white);
            QPainter replay(&inPlace);
            recording.play(&replay);
            replay.end();
            int worst = 0;
            for (int y = 0; y < copied.height(); ++y)
                for (int x = 0; x < copied.width(); ++x)
                    worst = std::max(worst, std::abs(qGray(copied.pixel(x, y)) - qGray(inPlace.pixel(x, y))));
            EXPECT_LE(worst, 3) << shift.x();
        }
}
