#include "AhnentafelReference.h"
#include "RelativesTestSupport.h"

#include "model/FTModelDefaults.h"
#include "model/FTProjectView.h"

#include <QColor>
#include <QRandomGenerator>


// Project views: chosen people, or the root of an ancestral view and its natural ancestors with their ahnentafel
// numbers.

namespace {
QSet<QString> uris(std::initializer_list<FTPerson*> people)
{
    QSet<QString> out;
    for (const FTPerson* p : people)
        out << p->objectURI();
    return out;
}
}

TEST_F(PeopleFixture, PlainAndAncestralViews)
{
    FTPerson* root = person("Rob Smith", M());
    FTPerson* father = person("Dan Smith", M());
    FTPerson* mother = person("Meg Smith", F());
    FTPerson* stepFather = person("Sam Black", M());
    FTPerson* fosterMother = person("Fay Green", F());
    FTPerson* adoptiveFather = person("Al Brown", M());
    FTPerson* grandmother = person("Gwen Smith", F());
    link(father, root);
    link(mother, root);
    link(stepFather, root, FTPcRel::kStep);
    link(fosterMother, root, FTPcRel::kFoster);
    link(adoptiveFather, root, FTPcRel::kAdopted);
    link(grandmother, father);

    moc->undoManager()->closeOpenGroups();
    FTProjectView* chosen = FTProjectView::initInMoc(moc.get());
    EXPECT_EQ(moc->undoManager()->actionName(), "Add Ancestral View");
    chosen->addPersonsObject(stepFather);
    EXPECT_EQ(chosen->persons(), QList<FTPerson*> { stepFather });
    EXPECT_TRUE(chosen->ancestorsSet().isEmpty());
    EXPECT_TRUE(chosen->ahnentafelNumbersFor(stepFather).isEmpty());

    FTProjectView* lonely = FTProjectView::initInMoc(moc.get());
    lonely->setRootPersonInAncestralView(grandmother);
    EXPECT_EQ(lonely->persons(), QList<FTPerson*> { grandmother });

    FTProjectView* view = FTProjectView::initInMoc(moc.get());
    view->setRootPersonInAncestralView(root);
    // Step, foster and adoptive parents are not ancestors.
    EXPECT_EQ(view->ancestorsSet(), uris({ root, father, mother, grandmother }));
    EXPECT_EQ(view->persons(), (QList<FTPerson*> { root, father, mother, grandmother }));
    EXPECT_EQ(view->ahnentafelNumbersFor(root), QList<quint64> { 1 });
    EXPECT_EQ(view->ahnentafelNumbersFor(mother), QList<quint64> { 3 });
    EXPECT_EQ(view->ahnentafelNumbersFor(grandmother), QList<quint64> { 5 });
    EXPECT_TRUE(view->ahnentafelNumbersFor(stepFather).isEmpty());

    // The current view is shown in red.
    moc->modelDefaults()->setCurrentView(view);
    EXPECT_EQ(view->currentViewColour(), QColor(255, 0, 0));
    EXPECT_EQ(chosen->currentViewColour(), QColor(0, 0, 0));
}

TEST_F(PeopleFixture, PedigreeCollapseGivesSeveralNumbers)
{
    // The root's father and mother are first cousins: their shared grandparents stand twice in the tree.
    FTPerson* gg = person("Gus Old", M());
    FTPerson* ggw = person("Gwen Old", F());
    FTPerson* sonOfGg = person("Sid Old", M());
    FTPerson* daughterOfGg = person("Dot Old", F());
    FTPerson* fathersMother = person("Flo Old", F());
    FTPerson* mothersFather = person("Mo Young", M());
    FTPerson* father = person("Dan Old", M());
    FTPerson* mother = person("Meg Young", F());
    FTPerson* root = person("Rob Old", M());
    for (FTPerson* child : { sonOfGg, daughterOfGg }) {
        link(gg, child);
        link(ggw, child);
    }
    link(sonOfGg, father);
    link(fathersMother, father);
    link(mothersFather, mother);
    link(daughterOfGg, mother);
    link(father, root);
    link(mother, root);

    FTProjectView* view = FTProjectView::initInMoc(moc.get());
    view->setRootPersonInAncestralView(root);
    // Father 2 -> his father 4 -> 8 and 9; mother 3 -> her mother 7 -> 14 and 15.
    EXPECT_EQ(view->ahnentafelNumbersFor(gg), (QList<quint64> { 8, 14 }));
    EXPECT_EQ(view->ahnentafelNumbersFor(ggw), (QList<quint64> { 9, 15 }));
    EXPECT_EQ(view->ahnentafelNumbersFor(daughterOfGg), QList<quint64> { 7 });
    EXPECT_EQ(view->persons().size(), 9);
}

TEST_F(PeopleFixture, AChangedLinkClearsTheCachedAncestorsOfEveryView)
{
    FTPerson* root = person("Rob Smith", M());
    FTPerson* father = person("Dan Smith", M());
    FTPcRel* fathersLink = link(father, root);
    FTProjectView* view = FTProjectView::initInMoc(moc.get());
    view->setRootPersonInAncestralView(root);
    FTProjectView* other = FTProjectView::initInMoc(moc.get());
    other->setRootPersonInAncestralView(father);
    EXPECT_EQ(view->ancestorsSet(), uris({ root, father }));
    EXPECT_EQ(view->ahnentafelNumbersFor(father), QList<quint64> { 2 });
    EXPECT_EQ(other->ancestorsSet(), uris({ father }));

    fathersLink->setPcRelType(FTPcRel::kStep);
    EXPECT_EQ(view->ancestorsSet(), uris({ root }));
    EXPECT_TRUE(view->ahnentafelNumbersFor(father).isEmpty());

    // A new parent, and undoing the type change, are seen too.
    FTPerson* grandfather = person("Gus Smith", M());
    link(grandfather, father);
    EXPECT_EQ(other->ancestorsSet(), uris({ father, grandfather }));
    moc->undoManager()->closeOpenGroups();
    fathersLink->setPcRelType(FTPcRel::kNatural);
    EXPECT_EQ(view->ancestorsSet(), uris({ root, father, grandfather }));
    moc->undoManager()->closeOpenGroups();
    moc->undoManager()->undo();
    EXPECT_EQ(view->ancestorsSet(), uris({ root }));

    // Deleting the grandfather takes his link with him.
    moc->deleteObject(grandfather);
    EXPECT_EQ(other->ancestorsSet(), uris({ father }));
}

TEST_F(PeopleFixture, AncestralViewOfALoopOfLinksEnds)
{
    FTPerson* a = person("Al Smith", M());
    FTPerson* b = person("Bo Smith", M());
    FTPerson* c = person("Cy Smith", F());
    link(b, a);
    link(c, b);
    link(a, c);
    FTProjectView* view = FTProjectView::initInMoc(moc.get());
    view->setRootPersonInAncestralView(a);
    EXPECT_EQ(view->ancestorsSet(), uris({ a, b, c }));
    EXPECT_EQ(view->ahnentafelNumbersFor(a), QList<quint64> { 1 });
    EXPECT_EQ(view->ahnentafelNumbersFor(b), QList<quint64> { 2 });
    EXPECT_EQ(view->ahnentafelNumbersFor(c), QList<quint64> { 5 });
}

TEST_F(PeopleFixture, AhnentafelNumbersStopWhereSixtyFourBitsEnd)
{
    // A line of 70 fathers: numbers reach 2^62 and no further, instead of overflowing into wrong ones.
    FTPerson* root = person("Gen 0", M());
    FTPerson* child = root;
    QList<FTPerson*> line { root };
    for (int g = 1; g <= 70; ++g) {
        FTPerson* father = person(QStringLiteral("Gen %1").arg(g), M());
        link(father, child);
        line << father;
        child = father;
    }
    FTProjectView* view = FTProjectView::initInMoc(moc.get());
    view->setRootPersonInAncestralView(root);
    EXPECT_EQ(view->ancestorsSet().size(), 71);
    EXPECT_EQ(view->ahnentafelNumbersFor(line[62]), QList<quint64> { quint64(1) << 62 });
    EXPECT_EQ(view->ahnentafelPathCount(line[62]), 1u);
    EXPECT_TRUE(view->ahnentafelNumbersFor(line[63]).isEmpty());
    EXPECT_EQ(view->ahnentafelPathCount(line[63]), 0u);
}

TEST_F(PeopleFixture, TheFocalPersonsNewAncestralViewIsCurrent)
{
    FTPerson* first = person("Ann Smith", F());
    FTPerson* father = person("Dan Smith", M());
    link(father, first);
    FTPerson* focal = moc->focalPerson();
    ASSERT_EQ(focal, first);
    FTProjectView* view = moc->projectView();
    ASSERT_TRUE(view);
    EXPECT_EQ(view->name(), "Ann Smith's ancestors");
    EXPECT_EQ(view->ancestorsSet(), uris({ first, father }));
}

// A brother and a sister marry in every generation: the lines to the top couple double with each generation (2^23
// of them at the 24th), and the numbers are still built at once, the smallest of them listed and all counted.
TEST_F(PeopleFixture, AnInbredPedigreeListsTheSmallestNumbersAndCountsTheRest)
{
    FTPerson* root = person("Rob Kin", M());
    FTPerson* father = root;
    FTPerson* mother = nullptr;
    for (int g = 1; g <= 24; ++g) {
        FTPerson* nextFather = person(QStringLiteral("Father %1").arg(g), M());
        FTPerson* nextMother = person(QStringLiteral("Mother %1").arg(g), F());
        for (FTPerson* child : {father, mother}) {
            if (!child)
                continue;
            link(nextFather, child);
            link(nextMother, child);
        }
        father = nextFather;
        mother = nextMother;
    }
    FTProjectView* view = FTProjectView::initInMoc(moc.get());
    view->setRootPersonInAncestralView(root);
    // The 24th father's numbers are the even numbers from 2^24 to 2^25, his wife's the odd ones.
    QList<quint64> fathers, mothers;
    for (quint64 j = 0; j <= FTProjectView::kShownAhnentafelNumbers; ++j) {
        fathers << (quint64(1) << 24) + 2 * j;
        mothers << (quint64(1) << 24) + 2 * j + 1;
    }
    EXPECT_EQ(view->ahnentafelNumbersFor(father), fathers);
    EXPECT_EQ(view->ahnentafelNumbersFor(mother), mothers);
    EXPECT_EQ(view->ahnentafelPathCount(father), quint64(1) << 23);
    EXPECT_EQ(view->ahnentafelPathCount(root), 1u);
    EXPECT_EQ(view->ahnentafelPathCount(person("Stranger")), 0u);
}

// Random pedigrees that fold on themselves: each person's numbers, where a label lists them all, are the ones
// that following every line gives, and the counts are how many that gives.
TEST_F(PeopleFixture, AhnentafelNumbersAreThoseOfEveryLineFromTheRoot)
{
    QRandomGenerator random(7);
    for (int tree = 0; tree < 3; ++tree) {
        SCOPED_TRACE(tree);
        QList<FTPerson*> children {person(QStringLiteral("Root %1").arg(tree), M())};
        FTPerson* root = children.first();
        for (int g = 1; g <= 10; ++g) {
            // A few men and women a generation, so that many lines meet in each of them.
            QList<FTPerson*> men, women;
            for (int i = 0; i < 4; ++i) {
                men << person(QStringLiteral("Man %1.%2").arg(g).arg(i), M());
                women << person(QStringLiteral("Woman %1.%2").arg(g).arg(i), F());
            }
            // Some parents unknown, but never both of the root's.
            for (FTPerson* child : children) {
                if (g == 1 || random.bounded(8) != 0)
                    link(men[random.bounded(4)], child);
                if (g == 1 || random.bounded(8) != 0)
                    link(women[random.bounded(4)], child);
            }
            children = men + women;
        }
        FTProjectView* view = FTProjectView::initInMoc(moc.get());
        view->setRootPersonInAncestralView(root);
        const auto expected = ahnentafelNumbersAlongEveryLine(root);
        int folded = 0;
        for (auto it = expected.begin(); it != expected.end(); ++it) {
            const QList<quint64>& all = it.value();
            folded += all.size() > FTProjectView::kShownAhnentafelNumbers;
            EXPECT_EQ(view->ahnentafelNumbersFor(it.key()), all.first(qMin(all.size(), qsizetype(FTProjectView::kShownAhnentafelNumbers + 1))))
                << qPrintable(it.key()->name());
            EXPECT_EQ(view->ahnentafelPathCount(it.key()), quint64(all.size())) << qPrintable(it.key()->name());
        }
        EXPECT_GT(folded, 0) << "some people are reached along more lines than a label lists";
    }
}
