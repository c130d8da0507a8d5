#include "DiagramFixture.h"

#include "model/FTModelDefaults.h"
#include "model/FTProjectView.h"

// Rob Ayre's parents are second cousins' children: his father's father and his mother's mother are brother and
// sister, so their parents stand twice in his ancestry. Rob has a wife from another family and a son.
class CdLayoutLabels : public DiagramFixture {
protected:
    void SetUp() override
    {
        DiagramFixture::SetUp();
        rob = person("Rob Ayre", M(), 1950);
        father = person("Frank Ayre", M(), 1920);
        mother = person("Mary Bell", F(), 1922);
        link(father, rob);
        link(mother, rob);
        grandfather = person("George Ayre", M(), 1890);
        link(grandfather, father);
        link(person("Grace Cole", F(), 1892), father);
        link(person("Matthew Bell", M(), 1891), mother);
        FTPerson* mothersMother = person("Martha Ayre", F(), 1894);
        link(mothersMother, mother);
        greatGrandfather = person("Adam Ayre", M(), 1860);
        FTPerson* greatGrandmother = person("Eve Dunn", F(), 1862);
        for (FTPerson* child : {grandfather, mothersMother}) {
            link(greatGrandfather, child);
            link(greatGrandmother, child);
        }
        wife = person("Wendy Fox", F(), 1952);
        rob->addSpouseRel(wife);
        link(rob, person("Sam Ayre", M(), 1980));

        view = FTProjectView::initInMoc(moc.get());
        view->setRootPersonInAncestralView(rob);
        moc->modelDefaults()->setCurrentView(view);
        focusOn(rob);
        options.maxAncLevel = 3;
    }
    // Each box's label, "<name>: <label>", for the boxes that have one, in array order.
    QStringList labels(int nameOption)
    {
        options.nameOption = nameOption;
        QStringList out;
        for (const auto& b : build()) {
            const QString label = nameOption == CdLayout::kAhnentafelOption ? b->ahnentafelNumber() : b->consanguinity();
            if (!label.isEmpty())
                out << b->person()->name() + ": " + label;
        }
        return out;
    }

    FTPerson *rob = nullptr, *father = nullptr, *mother = nullptr, *grandfather = nullptr, *greatGrandfather = nullptr,
             *wife = nullptr;
    FTProjectView* view = nullptr;
};

TEST_F(CdLayoutLabels, AhnentafelNumbersOfACousinMarriage)
{
    const QStringList decimal = labels(CdLayout::kAhnentafelOption);
    EXPECT_TRUE(decimal.contains("Rob Ayre: Ahnentafel No = 1"));
    EXPECT_TRUE(decimal.contains("Frank Ayre: Ahnentafel No = 2"));
    EXPECT_TRUE(decimal.contains("Martha Ayre: Ahnentafel No = 7"));
    // Reached along both lines: one box per line, each with both numbers.
    EXPECT_EQ(decimal.count("Adam Ayre: Ahnentafel Nos = 8, 14"), 2);
    EXPECT_EQ(decimal.count("Eve Dunn: Ahnentafel Nos = 9, 15"), 2);
    // The wife and the son are not the root's ancestors.
    EXPECT_FALSE(decimal.join("\n").contains("Wendy"));
    EXPECT_FALSE(decimal.join("\n").contains("Sam"));

    options.binaryAhnentafelNumbers = true;
    const QStringList binary = labels(CdLayout::kAhnentafelOption);
    EXPECT_TRUE(binary.contains("George Ayre: Ahnentafel No = 100"));
    EXPECT_TRUE(binary.contains("Adam Ayre: Ahnentafel Nos = 1000, 1110"));
    EXPECT_EQ(binary.size(), decimal.size());
}

TEST_F(CdLayoutLabels, MoreThanTenPathsAreCounted)
{
    // X's descendants marry among themselves until X stands 12 times in Zoe's ancestry.
    FTPerson* x = person("Xavier Ayre", M(), 1800);
    auto child = [&](const QString& name, const QString& gender, FTPerson* f, FTPerson* m) {
        FTPerson* c = person(name, gender, 1900);
        link(f, c);
        if (m)
            link(m, c);
        return c;
    };
    FTPerson* am = child("A Ayre", M(), x, nullptr);
    FTPerson* af = child("A Ayre", F(), x, nullptr);
    FTPerson* bm = child("B Ayre", M(), am, af); // 2 paths
    FTPerson* bf = child("B Ayre", F(), am, af);
    FTPerson* cm = child("C Ayre", M(), bm, bf); // 4
    FTPerson* cf = child("C Ayre", F(), bm, bf);
    FTPerson* dm = child("D Ayre", M(), cm, cf); // 8
    FTPerson* zoe = child("Zoe Ayre", F(), dm, cf); // 8 + 4
    view->setRootPersonInAncestralView(zoe);
    focusOn(x);
    EXPECT_EQ(labels(CdLayout::kAhnentafelOption).value(0), "Xavier Ayre: 12 Ahnentafel paths to Zoe Ayre");
}

TEST_F(CdLayoutLabels, ConsanguinityWithTheRoot)
{
    const QStringList l = labels(CdLayout::kConsanguinityOption);
    EXPECT_EQ(l.filter("Wendy"), QStringList {"Wendy Fox: No consanguinity with Rob Ayre"});
    EXPECT_EQ(l.filter("Sam Ayre:"), QStringList {"Sam Ayre: Son of Rob Ayre (1950-)"});
    EXPECT_EQ(l.filter("Adam").value(0), "Adam Ayre: 1x Great Grandfather of Rob Ayre (1950-)");
    // Every box with a person has a label, and only the wife is no blood relation.
    EXPECT_EQ(l.size(), int(std::count_if(layout.cdPersonsArray().begin(), layout.cdPersonsArray().end(),
                                          [](const auto& b) { return b->person() != nullptr; })));
    EXPECT_EQ(l.filter("No consanguinity").size(), 1);
}

TEST_F(CdLayoutLabels, NoLabelsWithoutAnAncestralView)
{
    view->setRootPersonInAncestralView(nullptr);
    view->addPersonsObject(rob);
    EXPECT_TRUE(labels(CdLayout::kAhnentafelOption).isEmpty());
    EXPECT_TRUE(labels(CdLayout::kConsanguinityOption).isEmpty());
    moc->modelDefaults()->setCurrentView(nullptr);
    EXPECT_TRUE(labels(CdLayout::kAhnentafelOption).isEmpty());
    // Another box detail option computes no labels either.
    view->setRootPersonInAncestralView(rob);
    moc->modelDefaults()->setCurrentView(view);
    EXPECT_TRUE(labels(0).isEmpty());
}
