// The context diagram image of a person page: where its boxes stand, what the image shows, and the image map that
// links the boxes to their people's pages.

#include "PublishFixture.h"

#include "publishing/ContextDiagramImage.h"
#include "publishing/HtmlEscape.h"

#include "diagrams/CdPerson.h"

#include "model/FTOriginalPicture.h"
#include "model/FTPicture.h"

#include "ScreenshotImage.h"

#include <thread>

namespace {
class ContextDiagram : public PublishFixture {
protected:
    // Publishes (tabular pages, quickly) so that the generator holds a run's options, privacy and people, then
    // draws `p`'s diagram with them.
    QImage draw(FTPerson* p, int kinship = 0)
    {
        if (!publish(kinship))
            return {};
        boxes.clear();
        return drawer.createContextDiagramFor(*generator, p, &boxes);
    }
    QList<const CdPerson*> boxesOf(long ancLevel) const
    {
        QList<const CdPerson*> out;
        for (const auto& box : drawer.cdPersonsArray())
            if (box->ancLevel() == ancLevel)
                out << box.get();
        return out;
    }
    const CdPerson* boxFor(const FTPerson* p) const
    {
        for (const auto& box : drawer.cdPersonsArray())
            if (box->person() == p)
                return box.get();
        return nullptr;
    }
    double H() const { return drawer.diagramHeight(); }
    double W() const { return drawer.columnWidth(); }
    // The slot a box was inset from, as high as the layout made it (resizeTheTextBox takes a tenth off, at least 1).
    static double slotHeightOf(const CdPerson* box)
    {
        const double h = box->rclBox().height();
        for (double slot = h; slot < h * 1.3 + 3; slot += 0.0625) {
            QRectF r(0, 0, 10, slot);
            ContextDiagramImage::resizeTheTextBox(r);
            if (std::abs(r.height() - h) < 0.001)
                return slot;
        }
        return -1;
    }
    static double centreOf(const CdPerson* box) { return box->rclBox().center().y(); }

    FTPerson* withChildren(int n)
    {
        FTPerson* parent = born("Hannah Many", F(), 1800, 1870);
        for (int i = 0; i < n; ++i)
            link(parent, born(QStringLiteral("Child%1 Many").arg(i), M(), 1830 + i, 1890));
        return parent;
    }
    // Four generations of natural ancestors above Una: parents, grandparents, great- and great-great-grandparents.
    FTPerson* withAncestors(int generations)
    {
        FTPerson* una = born("Una Root", F(), 1900, 1980);
        QList<FTPerson*> row = {una};
        for (int g = 1; g <= generations; ++g) {
            QList<FTPerson*> next;
            for (FTPerson* child : row) {
                FTPerson* father = born(QStringLiteral("Father%1 Root").arg(next.size()), M(), 1900 - 25 * g, 1950 - 25 * g);
                FTPerson* mother = born(QStringLiteral("Mother%1 Root").arg(next.size()), F(), 1902 - 25 * g, 1952 - 25 * g);
                link(father, child);
                link(mother, child);
                next << father << mother;
            }
            row = next;
        }
        return una;
    }
    FTPicture* pictureOf(FTPerson* p, const QString& fileName, const QColor& colour)
    {
        QDir().mkpath(pathFor("pics"));
        const QString path = pathFor("pics/" + fileName);
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(colour);
        image.save(path);
        FTPicture* picture = FTPicture::initInMoc(moc.get(), path, p);
        picture->setThumbnailImage(image);
        p->setDefaultPicture(picture);
        return picture;
    }

    ContextDiagramImage drawer;
    QList<HtmlDiagramBox> boxes;
};
} // namespace

TEST_F(ContextDiagram, ChildrenShareTheHeightInAColumnCentredOnThePerson)
{
    for (const int n : {1, 8, 9, 12}) {
        SCOPED_TRACE(n);
        FTPerson* parent = withChildren(n);
        ASSERT_FALSE(draw(parent).isNull());
        const QList<const CdPerson*> children = boxesOf(CdPerson::kChild);
        ASSERT_EQ(children.size(), n);
        const double row = n < 9 ? H() / 8 : H() / n;
        for (qsizetype k = 1; k < children.size(); ++k)
            EXPECT_NEAR(children[k]->rclBox().y() - children[k - 1]->rclBox().y(), row, 0.001);
        // Born in order, the first child at the top; the column is centred on the person's line.
        EXPECT_EQ(children.first()->person()->name(), "Child0 Many");
        EXPECT_NEAR((centreOf(children.first()) + centreOf(children.last())) / 2, drawer.centreLine(), 1);
        EXPECT_NEAR(slotHeightOf(children.first()), row, 0.01);
        EXPECT_LT(children.first()->rclBox().x(), W());
    }
}

TEST_F(ContextDiagram, AncestorsHalveTheirDistanceEachGeneration)
{
    struct Case {
        int generations;
        double boxHeight; // in eighths of H
    };
    for (const Case c : {Case {1, 1}, Case {3, 1}, Case {4, 0.5}}) {
        SCOPED_TRACE(c.generations);
        FTPerson* una = withAncestors(4);
        options.cdDiagramGenerations = c.generations;
        ASSERT_FALSE(draw(una).isNull());
        const CdPerson* father = nullptr;
        const CdPerson* mother = nullptr;
        for (const CdPerson* box : boxesOf(1))
            (box->isMale() ? father : mother) = box;
        ASSERT_TRUE(father && mother);
        // Parents H/4 above and below the person's line, each later generation half as far from its child.
        EXPECT_NEAR(centreOf(father), drawer.centreLine() - H() / 4, 1);
        EXPECT_NEAR(centreOf(mother), drawer.centreLine() + H() / 4, 1);
        EXPECT_NEAR(father->rclBox().x(), 2 * W() + std::trunc(W() / 10), 0.001);
        for (long level = 1; level <= 4; ++level) {
            const QList<const CdPerson*> row = boxesOf(level);
            ASSERT_EQ(row.size(), level <= c.generations ? 1 << level : 0) << level;
            for (const CdPerson* box : row) {
                EXPECT_NEAR(slotHeightOf(box), H() / 8 * c.boxHeight, 0.01);
                EXPECT_NEAR(std::abs(centreOf(box) - centreOf(box->owner())), H() / (1 << (level + 1)), 1);
            }
        }
        // The last generation drawn knows of the ones beyond it.
        for (const CdPerson* box : boxesOf(c.generations))
            EXPECT_EQ(box->numParents(), c.generations < 4 ? 2 : 0);
    }
}

TEST_F(ContextDiagram, StepParentsStandBetweenTheParentsAndSpousesBelowThePerson)
{
    const Family f = makeFamily();
    FTPerson* sid = born("Sid Step", M(), 1815, 1885);
    FTPerson* flo = born("Flo Foster", F(), 1818, 1888);
    link(sid, f.john, FTPcRel::kStep);
    link(flo, f.john, FTPcRel::kFoster);
    ASSERT_FALSE(draw(f.john).isNull());
    saveScreenshotImage(drawer.createContextDiagramFor(*generator, f.john, &boxes), "web-context-diagram");

    const CdPerson* father = boxFor(f.patrick);
    const CdPerson* mother = boxFor(f.bridget);
    ASSERT_TRUE(father && mother);
    for (const FTPerson* step : {sid, flo}) {
        const CdPerson* box = boxFor(step);
        ASSERT_TRUE(box) << step->name().toStdString();
        EXPECT_NE(box->pcRelType(), FTPcRel::kNatural);
        EXPECT_EQ(box->rclBox().x(), std::trunc(2 * W()) + std::trunc(W() / 10));
        EXPECT_GT(box->rclBox().top(), father->rclBox().bottom());
        EXPECT_LT(box->rclBox().bottom(), mother->rclBox().top());
    }
    // The array holds the father's line, then the step parents, then the mother.
    QList<const FTPerson*> order;
    for (const auto& box : drawer.cdPersonsArray())
        if (box->ancLevel() == 1)
            order << box->person();
    EXPECT_EQ(order, (QList<const FTPerson*> {f.patrick, sid, flo, f.bridget}));

    const QRectF focal = drawer.rclFocalPerson();
    const QList<const CdPerson*> spouses = boxesOf(CdPerson::kSpouse);
    ASSERT_EQ(spouses.size(), 2);
    for (const CdPerson* s : spouses) {
        EXPECT_EQ(s->rclBox().x(), focal.x());
        EXPECT_EQ(s->rclBox().width(), focal.width());
        EXPECT_GT(s->rclBox().top(), focal.bottom());
        EXPECT_LE(s->rclBox().bottom(), drawer.bounds().bottom());
    }
    EXPECT_GT(spouses[1]->rclBox().top(), spouses[0]->rclBox().bottom());
    // Every child, step and adopted too; nobody twice; no empty boxes.
    EXPECT_EQ(boxesOf(CdPerson::kChild).size(), 3);
    for (const auto& box : drawer.cdPersonsArray())
        EXPECT_TRUE(box->person());
}

TEST_F(ContextDiagram, ASecondNaturalFatherIsShownAmongTheStepParentsWithAWarning)
{
    FTPerson* child = born("Cara Doubt", F(), 1900, 1970);
    FTPerson* dad1 = born("Dan Doubt", M(), 1870, 1930);
    FTPerson* dad2 = born("Dev Doubt", M(), 1871, 1931);
    FTPerson* mum = born("Meg Doubt", F(), 1872, 1940);
    for (FTPerson* parent : {dad1, dad2, mum})
        link(parent, child);
    ASSERT_FALSE(draw(child).isNull());
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_TRUE(prompts.records[0].text.contains("Cara Doubt")) << prompts.records[0].text.toStdString();
    const CdPerson* second = boxFor(dad2);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->pcRelType(), FTPcRel::kUnknown);
    EXPECT_GT(second->rclBox().top(), boxFor(dad1)->rclBox().bottom());
    EXPECT_LT(second->rclBox().bottom(), boxFor(mum)->rclBox().top());
}

TEST_F(ContextDiagram, ALinkWithoutAChildIsSkippedAndNothingInTheDatabaseChanges)
{
    FTPerson* parent = withChildren(2);
    FTPcRel* empty = FTPcRel::initInMoc(moc.get());
    empty->setParent(parent);
    FTPicture* picture = pictureOf(parent, "portrait.png", Qt::red);
    picture->setThumbNailImageData({});
    if (FTOriginalPicture* op = picture->originalPicture())
        op->setData({});
    moc->setFocalPerson(parent);
    ASSERT_TRUE(moc->save());
    ASSERT_FALSE(draw(parent).isNull());
    EXPECT_EQ(boxesOf(CdPerson::kChild).size(), 2);
    EXPECT_FALSE(empty->isDeleted());
    EXPECT_FALSE(moc->hasChanges()); // not even the thumbnail the picture lacked
}

TEST_F(ContextDiagram, BackgroundIsFlatWithTheBorderAtNoGradientAndShadedOtherwise)
{
    struct Case {
        double gradient;
        bool border;
        double edge; // the edges' strength against the person's column
        int width;
    };
    const QColor ivory(255, 255, 240);
    for (const Case c : {Case {0, true, 1, 780}, Case {0, false, 0.9, 800}, Case {0.4, true, 0.6, 780}}) {
        SCOPED_TRACE(c.gradient);
        SCOPED_TRACE(c.border);
        FTPerson* alone = born("Al Lone", M(), 1800, 1850);
        options.colourGradient = c.gradient;
        options.cdBorder = c.border;
        const QImage image = draw(alone);
        ASSERT_EQ(image.size(), QSize(c.width, 300));
        const double column = 1.5 * W();
        const QColor middle = image.pixelColor(int(column), 295);
        EXPECT_NEAR(middle.red(), 255, 2);
        EXPECT_NEAR(middle.blue(), 240, 2);
        for (const int x : {1, image.width() - 2}) {
            const QColor edge = image.pixelColor(x, 295);
            EXPECT_NEAR(edge.red(), ivory.red() * c.edge, 3) << x;
            EXPECT_NEAR(edge.blue(), ivory.blue() * c.edge, 3) << x;
        }
    }
}

TEST_F(ContextDiagram, ThePersonsPictureIsDrawnAboveTheBoxButNotASavedMap)
{
    for (const QString& file : {QStringLiteral("portrait.png"), QStringLiteral("GoogleMap_Leeds.jpg")}) {
        SCOPED_TRACE(file.toStdString());
        FTPerson* p = born("Pia Picture", F(), 1800, 1870);
        pictureOf(p, file, QColor(220, 20, 20));
        const QImage image = draw(p);
        const QRectF square(drawer.rclFocalPerson().center().x() - 10, drawer.rclFocalPerson().top() - 20, 20, 10);
        int red = 0;
        for (int x = int(square.left()); x < int(square.right()); ++x)
            for (int y = int(square.top()); y < int(square.bottom()); ++y)
                red += image.pixelColor(x, y).red() > 180 && image.pixelColor(x, y).green() < 80;
        if (file.startsWith("GoogleMap"))
            EXPECT_EQ(red, 0);
        else
            EXPECT_EQ(red, 200);
    }
}

// A run draws its diagrams on worker threads, while the main thread goes on with the next people: a drawing holds
// everything it shows from the moment it was prepared, and is the same on any thread, whatever was drawn before.
TEST_F(ContextDiagram, ADiagramDrawnLaterOnAnotherThreadIsTheOneItWasPreparedAs)
{
    const Family f = makeFamily();
    const QImage reference = draw(f.john);
    ASSERT_FALSE(reference.isNull());
    const std::function<QImage()> later = drawer.prepareContextDiagramFor(*generator, f.john, &boxes);
    ASSERT_TRUE(later);
    // The main thread moves on: another diagram, and a change to the database the prepared drawing must not see.
    ASSERT_FALSE(draw(f.sean).isNull());
    f.john->setName("Renamed /Person/");
    f.michael->setName("Another /Name/");
    QImage drawn;
    std::thread worker([&] { drawn = later().copy(); });
    worker.join();
    EXPECT_TRUE(drawn == reference);
    EXPECT_FALSE(draw(f.john) == reference); // the rename shows in a diagram prepared after it
}

TEST_F(ContextDiagram, BoxesOfHiddenPeopleShowOnlyThePrivacyWord)
{
    const Family f = makeFamily();
    ASSERT_FALSE(draw(f.sean).isNull());
    EXPECT_EQ(boxFor(f.lorna)->text(), generator->privacy().privacyWordFor(f.lorna));
    EXPECT_FALSE(boxFor(f.lorna)->inPeopleSet());
    EXPECT_TRUE(boxFor(f.john)->text().contains("John O'Brien"));
    EXPECT_TRUE(boxFor(f.john)->inPeopleSet());
}

// The real pages: the image is written beside the page and its map links only the people who have pages.
TEST_F(ContextDiagram, ThePageShowsTheImageAndMapsOnlyPublishedRelatives)
{
    const Family f = makeFamily();
    contextDiagram = &drawer;
    ASSERT_TRUE(publish(1));
    const QRegularExpression area("<area shape='rect' coords='(\\d+),(\\d+),(\\d+),(\\d+)' href='([^']*)' alt='([^']*)' />");
    struct Case {
        FTPerson* page;
        QList<FTPerson*> linked;
    };
    // Kinship 1 around John: Michael (his brother) and Tom (his step son) are outside the run, Rory and Lorna
    // are hidden.
    for (const Case& c : {Case {f.john, {f.patrick, f.bridget, f.mary, f.ann, f.sean, f.kate}},
                          Case {f.patrick, {f.john}}, Case {f.sean, {f.patrick, f.bridget, f.john, f.mary}}}) {
        SCOPED_TRACE(c.page->name().toStdString());
        const QString page = file(pageOf(c.page));
        const QString image = "Diagrams/Diagrams_01/" + PublishAsHtml::filenameForPerson(c.page) + "_cd.jpg";
        EXPECT_TRUE(page.contains("<img src='../../" + image + "' alt='" + HtmlEscape::attribute(c.page->name())
                                  + "' usemap='#cdDiagram'/>"));
        const QImage jpeg = QImage::fromData(bytes(image), "JPEG");
        ASSERT_EQ(jpeg.size(), QSize(780, 300));
        QStringList links;
        for (auto it = area.globalMatch(page); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            EXPECT_GE(m.captured(1).toInt(), 0);
            EXPECT_GE(m.captured(2).toInt(), 0);
            EXPECT_LE(m.captured(3).toInt(), jpeg.width());
            EXPECT_LE(m.captured(4).toInt(), jpeg.height());
            links << m.captured(5);
        }
        QStringList expected;
        for (FTPerson* p : c.linked)
            expected << generator->pageLinkTo(p);
        links.sort();
        expected.sort();
        EXPECT_EQ(links, expected);
    }
    EXPECT_FALSE(file(pageOf(f.sean)).contains("Lorna"));
}
