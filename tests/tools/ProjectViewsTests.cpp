// Project views: the editor's ancestral view of the focal person, making views current, the listing of a view
// (golden files in tests/data/tools); combining two views by the four set operations and the picture of each.

#include "ToolsFixture.h"
#include "WorkspaceFixture.h"

#include "tools/ProjectViewsCombining.h"
#include "tools/ProjectViewsEditing.h"

#include "shell/Utils.h"

#include "model/FTModelDefaults.h"
#include "model/FTPcRel.h"
#include "model/FTProjectView.h"

#include "platform/Workspace.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::UnorderedElementsAreArray;

namespace {
QStringList namesOf(const QList<FTPerson*>& people)
{
    QStringList out;
    for (const FTPerson* p : people)
        out << p->name();
    return out;
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Every group that opens is closed again, and never below the document's own level.
bool bracesBalance(const QByteArray& rtf)
{
    int depth = 0;
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        if (rtf[i] == '\\') {
            ++i;
            continue;
        }
        depth += rtf[i] == '{' ? 1 : rtf[i] == '}' ? -1 : 0;
        if (depth < 0 || (depth == 0 && i + 1 < rtf.size()))
            return false;
    }
    return depth == 0;
}
}

// Kid's parents Dad and Mum; Dad's father Grandad. Mum's sister Aunt shares Mum's mother Gran. Loner has nobody.
class ProjectViewsFixture : public ToolsFixture {
protected:
    void SetUp() override
    {
        ToolsFixture::SetUp();
        kid = person("Kid Lee");
        dad = kid->addParent("Dad Lee", "M", FTPcRel::kNatural);
        mum = kid->addParent("Mum Lee", "F", FTPcRel::kNatural);
        grandad = dad->addParent("Grandad Lee", "M", FTPcRel::kNatural);
        gran = mum->addParent("Gran Ash", "F", FTPcRel::kNatural);
        aunt = gran->addChild("Aunt Ash", "F", FTPcRel::kNatural);
        loner = person("Loner Bay");
        moc->setFocalPerson(kid);
        settle();
    }
    FTProjectView* plainView(const QString& name, const QList<FTPerson*>& people)
    {
        FTProjectView* view = FTProjectView::initInMoc(moc.get());
        view->setName(name);
        for (FTPerson* p : people)
            view->addPersonsObject(p);
        return view;
    }
    FTProjectView* ancestralView(FTPerson* root)
    {
        FTProjectView* view = FTProjectView::initInMoc(moc.get());
        view->setName(root->name() + " up");
        view->setRootPersonInAncestralView(root);
        return view;
    }
    FTPerson *kid, *dad, *mum, *grandad, *gran, *aunt, *loner;
};

TEST_F(ProjectViewsFixture, TheFocalPersonsAncestralViewIsMadeOnceAndRenamedOnTheNextRun)
{
    ProjectViewsEditing editing(moc.get());
    FTProjectView* view = editing.createAncestralViewForFocalPerson();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->name(), "Kid Lee's ancestors");
    EXPECT_EQ(moc->projectView(), view);
    EXPECT_EQ(editing.selectedView(), view);
    EXPECT_THAT(namesOf(editing.members()), ElementsAre("Dad Lee", "Gran Ash", "Grandad Lee", "Kid Lee", "Mum Lee"));
    EXPECT_FALSE(moc->hasChanges()) << "saved";

    // Renamed and a new grandparent: the same record, named again, its members computed again.
    kid->setName("Kidd Lee");
    dad->addParent("Granny Lee", "F", FTPcRel::kNatural);
    EXPECT_EQ(editing.createAncestralViewForFocalPerson(), view);
    EXPECT_EQ(view->name(), "Kidd Lee's ancestors");
    EXPECT_EQ(moc->count<FTProjectView>(), 1);
    EXPECT_TRUE(namesOf(editing.members()).contains("Granny Lee"));
}

TEST_F(ProjectViewsFixture, MakingAViewCurrentOffersItsRootAsFocalPerson)
{
    FTProjectView* family = plainView("Family", {kid, loner});
    FTProjectView* mums = ancestralView(mum);
    ProjectViewsEditing editing(moc.get());
    editing.selectRow(-1);
    editing.selectAsCurrentActiveView();
    EXPECT_THAT(messages(), ElementsAre(L("SelectViewTryAgain")));
    EXPECT_EQ(moc->projectView(), nullptr);

    prompts.clear();
    editing.selectRow(int(editing.views().indexOf(family)));
    editing.selectAsCurrentActiveView();
    EXPECT_EQ(moc->projectView(), family);
    EXPECT_TRUE(prompts.records.isEmpty()) << "a plain view asks nothing";
    EXPECT_EQ(family->currentViewColour(), QColor(Qt::red));

    editing.selectRow(int(editing.views().indexOf(mums)));
    prompts.answer(1);
    editing.selectAsCurrentActiveView();
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].text, QString("%1 Mum Lee %2").arg(L("Promote"), L("toBeFocal")));
    EXPECT_EQ(moc->projectView(), mums);
    EXPECT_EQ(moc->focalPerson(), kid) << "No keeps the focal person";
    prompts.answer(0);
    editing.selectAsCurrentActiveView();
    EXPECT_EQ(moc->focalPerson(), mum);

    editing.deactivateActiveView();
    EXPECT_EQ(moc->projectView(), nullptr);
    for (const FTProjectView* v : editing.views())
        EXPECT_EQ(v->currentViewColour(), QColor(Qt::black));
}

TEST_F(ProjectViewsFixture, TheListingOfAViewShortAndLongEscapesEverythingTheUserTyped)
{
    WorkspaceFixture apps(dir.path(), Workspace::shared().mimeTypeForFile("x.rtf"));
    UserDefaults::standard().setString("rtfApplication", "");
    kid->setName("Kid {the} \"Lee\"");
    const QString name = "Odd {view} \"quoted\" back\\slash";
    FTProjectView* view = plainView(name, {kid, dad, loner});
    view->setNotes("Line {one} \"q\"\nline two \\ end");
    view->setComments("A comment");
    ProjectViewsEditing editing(moc.get());
    editing.setDateTime(QDateTime(QDate(2026, 12, 10), QTime(14, 5)));
    editing.selectRow(int(editing.views().indexOf(view)));
    const QString reports = dataFolder() + "/Reports/";

    prompts.answer(1); // names and years
    const QString shortPath = editing.print();
    EXPECT_EQ(prompts.records.first().text, L("IncludeBDM"));
    EXPECT_EQ(shortPath, reports + Utils::safeFileName(name) + ".rtf");
    EXPECT_EQ(apps.launched(), QStringList({"--editor", shortPath}));
    const QByteArray shortBytes = readFile(shortPath);
    TestSupport::expectGolden(shortBytes, "tools/project-view-short.rtf");
    EXPECT_TRUE(bracesBalance(shortBytes));
    EXPECT_TRUE(shortBytes.contains("Odd \\{view\\} \\uc0\\u34 quoted\\uc0\\u34  back\\\\slash \\par"));
    EXPECT_TRUE(shortBytes.contains("   Kid  the  \\uc0\\u34 Lee\\uc0\\u34  \\par ")) << "a person's braces are blanks";

    // The long listing does not replace the short one.
    const QString longPath = editing.writeReport(view, true);
    EXPECT_EQ(longPath, reports + Utils::safeFileName(name) + "_1.rtf");
    EXPECT_EQ(readFile(shortPath), shortBytes);
    const QByteArray longBytes = readFile(longPath);
    TestSupport::expectGolden(longBytes, "tools/project-view-long.rtf");
    EXPECT_TRUE(bracesBalance(longBytes));

    // A name that climbs out of the folder stays in it.
    view->setName("../../escape");
    const QString escaped = editing.writeReport(view, false);
    EXPECT_EQ(QFileInfo(escaped).absolutePath(), QFileInfo(reports).absolutePath());
}

TEST_F(ProjectViewsFixture, AViewWithoutANameIsNotPrinted)
{
    FTProjectView* view = plainView("", {kid});
    ProjectViewsEditing editing(moc.get());
    editing.selectRow(int(editing.views().indexOf(view)));
    editing.print();
    EXPECT_THAT(messages(), ElementsAre(L("IncludeBDM"), L("ProjViewTryAgain"))) << "the question comes first";
    EXPECT_FALSE(QFileInfo::exists(dataFolder() + "/Reports/Report.rtf"));
}

TEST_F(ProjectViewsFixture, SetOperationsOnPlainAndAncestralViews)
{
    FTProjectView* a = plainView("A", {kid, dad, loner});
    FTProjectView* b = plainView("B", {dad, mum, aunt});
    FTProjectView* kids = ancestralView(kid);  // Kid, Dad, Mum, Grandad, Gran
    FTProjectView* aunts = ancestralView(aunt); // Aunt, Gran
    using C = ProjectViewsCombining;
    const struct {
        FTProjectView* first;
        FTProjectView* second;
        int op;
        QStringList expected;
    } cases[] = {
        {a, b, C::AND, {"Dad Lee"}},
        {a, b, C::IOR, {"Kid Lee", "Dad Lee", "Loner Bay", "Mum Lee", "Aunt Ash"}},
        {a, b, C::XOR, {"Kid Lee", "Loner Bay", "Mum Lee", "Aunt Ash"}},
        {a, b, C::NOT, {"Kid Lee", "Loner Bay"}},
        {a, a, C::AND, {"Kid Lee", "Dad Lee", "Loner Bay"}},
        {a, a, C::IOR, {"Kid Lee", "Dad Lee", "Loner Bay"}},
        {a, a, C::XOR, {}},
        {a, a, C::NOT, {}},
        {kids, aunts, C::AND, {"Gran Ash"}},
        {kids, aunts, C::XOR, {"Kid Lee", "Dad Lee", "Mum Lee", "Grandad Lee", "Aunt Ash"}},
        {aunts, kids, C::NOT, {"Aunt Ash"}},
        {kids, b, C::NOT, {"Kid Lee", "Grandad Lee", "Gran Ash"}},
        {a, b, 7, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QString("%1 %2 %3").arg(c.first->name()).arg(c.op).arg(c.second->name()).toStdString());
        EXPECT_THAT(namesOf(C::combine(c.first, c.second, c.op).values()), UnorderedElementsAreArray(c.expected));
    }
}

TEST_F(ProjectViewsFixture, CreatingTwiceMakesTwoViewsAndDeletingRemovesTheSecond)
{
    FTProjectView* a = plainView("A", {kid, dad});
    FTProjectView* b = plainView("B", {dad, mum});
    ProjectViewsCombining combining(moc.get());
    EXPECT_EQ(combining.message(), L("ProjectViewAND"));
    combining.setViews(a, nullptr);
    EXPECT_TRUE(combining.people().isEmpty());
    EXPECT_EQ(combining.createCombinedProjectView(), nullptr) << "one view chosen: nothing made";

    combining.setViews(a, b);
    combining.setOperator(ProjectViewsCombining::IOR);
    EXPECT_EQ(combining.message(), L("ProjectViewIOR"));
    EXPECT_THAT(namesOf(combining.people()), ::testing::UnorderedElementsAre("Dad Lee", "Kid Lee", "Mum Lee"));
    FTProjectView* first = combining.createCombinedProjectView();
    FTProjectView* second = combining.createCombinedProjectView();
    ASSERT_NE(first, second);
    EXPECT_EQ(first->name(), "A IOR B");
    EXPECT_EQ(second->name(), "A IOR B");
    EXPECT_EQ(first->rootPersonInAncestralView(), nullptr);
    EXPECT_EQ(first->storedPersons().size(), 3);
    EXPECT_NE(moc->projectView(), first) << "not made current";

    combining.deleteNewProjectView();
    EXPECT_TRUE(second->isDeleted());
    EXPECT_FALSE(first->isDeleted());
    combining.deleteNewProjectView();
    EXPECT_FALSE(first->isDeleted()) << "only the last one made";
    EXPECT_EQ(moc->count<FTProjectView>(), 3);
}

TEST(VennGeometry, CirclesLabelsAndTheColouredAreaOfEachOperator)
{
    using C = ProjectViewsCombining;
    // 240 by 200: d = 200 * 0.9 * 0.7 = 126; the circles span 10 to 136 and 104 to 230.
    const QSizeF size(240, 200);
    const QPointF overlap(120, 100), onlyFirst(30, 100), onlySecond(220, 100), outside(120, 20);
    const struct {
        int op;
        qreal label1X, label2X;
        bool overlap, onlyFirst, onlySecond;
    } cases[] = {
        {C::AND, 2, 112, true, false, false},
        {C::IOR, 10, 104, true, true, true},
        {C::XOR, 2, 112, false, true, true},
        {C::NOT, 2, 104, false, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.op);
        const VennGeometry g = VennGeometry::forSize(size, c.op);
        EXPECT_NEAR(g.diameter, 126.0, 0.001);
        EXPECT_EQ(g.circle1, QRectF(10, 37, g.diameter, g.diameter));
        EXPECT_EQ(g.circle2, QRectF(240 - 10 - g.diameter, 37, g.diameter, g.diameter));
        EXPECT_NEAR(g.label1.x(), c.label1X, 0.001);
        EXPECT_NEAR(g.label2.x(), c.label2X, 0.001);
        EXPECT_EQ(g.label1.y(), 92) << "8 points above the centre line";
        EXPECT_EQ(g.coloured.contains(overlap), c.overlap);
        EXPECT_EQ(g.coloured.contains(onlyFirst), c.onlyFirst);
        EXPECT_EQ(g.coloured.contains(onlySecond), c.onlySecond);
        EXPECT_FALSE(g.coloured.contains(outside));
    }
    EXPECT_FALSE(VennGeometry::forSize(size, 9).hasLabels);
    EXPECT_TRUE(VennGeometry::forSize(size, 9).coloured.isEmpty());

    // Far wider than high, the circles do not meet: AND colours nothing, XOR both circles whole.
    const QSizeF wide(1000, 100);
    EXPECT_TRUE(VennGeometry::forSize(wide, C::AND).coloured.isEmpty());
    const VennGeometry xorWide = VennGeometry::forSize(wide, C::XOR);
    EXPECT_TRUE(xorWide.coloured.contains(xorWide.circle1.center()));
    EXPECT_TRUE(xorWide.coloured.contains(xorWide.circle2.center()));
}
