#include "PeopleFixture.h"

#include "model/FTPicture.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"

#include <QDateTime>


TEST_F(PeopleFixture, ChildrenComeInBirthOrderWithUndatedBirthsAfterTheParentsMarriage)
{
    FTPerson* father = person("John Smith", M());
    FTPerson* mother = person("Mary Smith", F());
    FTSpouseRel* marriage = couple(father, mother);
    date(marriage, "marriage", 1, 6, 1880);
    FTPerson* early = person("Ann Smith", F()); // born before the marriage
    FTPerson* undated = person("Bob Smith", M()); // no date: after the marriage
    FTPerson* late = person("Carl Smith", M());
    FTPerson* twinB = person("Zed Smith", M());
    FTPerson* twinA = person("Abe Smith", M());
    for (FTPerson* c : { late, undated, twinB, early, twinA }) {
        link(father, c);
        link(mother, c);
    }
    date(early, "birth", 1, 1, 1879);
    undated->setValueForKeyPath("birth.place", "York");
    date(late, "birth", 1, 1, 1885);
    date(twinA, "birth", 2, 2, 1883);
    date(twinB, "birth", 2, 2, 1883);
    EXPECT_EQ(names(father->naturalChildren()),
        (QStringList { "Ann Smith", "Bob Smith", "Abe Smith", "Zed Smith", "Carl Smith" }));
    EXPECT_EQ(names(early->siblings()), (QStringList { "Bob Smith", "Abe Smith", "Zed Smith", "Carl Smith" }));
    // Fathers first.
    QStringList parentNames;
    for (const FTPcRel* l : late->parentRels())
        parentNames << l->parent()->name();
    EXPECT_EQ(parentNames, (QStringList { "John Smith", "Mary Smith" }));
    EXPECT_EQ(late->naturalFather(), father);
    EXPECT_EQ(late->naturalMother(), mother);
    EXPECT_EQ(late->naturalFathersNameWithBirthAndDeathYears(), "John Smith");
    EXPECT_TRUE(father->naturalMothersNameWithBirthAndDeathYears().isNull());
}

TEST_F(PeopleFixture, RelativesListsFollowTheTypeMasks)
{
    FTPerson* grandpa = person("Old Smith", M());
    FTPerson* dad = person("John Smith", M());
    FTPerson* kid = person("Tom Smith", M());
    FTPerson* adopted = person("Ann Smith", F());
    FTPerson* unknown = person("Sam Smith", M());
    FTPerson* great = person("Baby Smith", F());
    link(grandpa, dad);
    link(dad, kid);
    link(dad, adopted, FTPcRel::kAdopted);
    link(dad, unknown, FTPcRel::kUnknown);
    link(kid, great);
    EXPECT_EQ(names(dad->naturalChildren()), (QStringList { "Tom Smith" }));
    EXPECT_EQ(names(dad->childrenOfType(9)), (QStringList { "Ann Smith", "Tom Smith" }));
    EXPECT_EQ(names(grandpa->grandChildren()), (QStringList { "Ann Smith", "Tom Smith" }));
    EXPECT_EQ(names(grandpa->greatGrandChildren()), (QStringList { "Baby Smith" }));
    EXPECT_EQ(names(kid->naturalGrandParents()), (QStringList { "Old Smith" }));
    // Siblings come through links of every type.
    EXPECT_EQ(names(unknown->siblings()), (QStringList { "Ann Smith", "Tom Smith" }));
}

TEST_F(PeopleFixture, CouplesAreOrderedByMarriageOrFirstChildAndThenNumber)
{
    FTPerson* p = person("John Smith", M());
    FTPerson* a = person("Ann", F());
    FTPerson* b = person("Beth", F());
    FTPerson* c = person("Cath", F());
    FTSpouseRel* withA = couple(p, a);
    FTSpouseRel* withB = couple(p, b);
    FTSpouseRel* withC = couple(p, c);
    date(withA, "marriage", 1, 1, 1920);
    // No marriage date: the first common child's birth counts.
    FTPerson* child = person("Kid Smith");
    link(p, child);
    link(b, child);
    year(child, "birth", 1910);
    EXPECT_EQ(withB->firstChildsBirthDate(), Dates::getLongDate(0, 0, 0, 1910));
    EXPECT_EQ(names(p->spouses()), (QStringList { "Cath", "Beth", "Ann" }));
    EXPECT_EQ(p->spousesString(), "Cath, Beth, Ann");
    EXPECT_EQ(p->spouseRelsArray(), (QList<FTSpouseRel*> { withC, withB, withA }));
    EXPECT_EQ(p->marriageEvents().size(), 1);

    EXPECT_TRUE(p->isMarriedTo(a));
    EXPECT_FALSE(p->isMarriedTo(b)) << "a couple without a marriage event";
    EXPECT_FALSE(p->isUnconnected());
    EXPECT_TRUE(person("Loner")->isUnconnected());
}

TEST_F(PeopleFixture, AncestorsSkipStepLinksAndEndOnLoops)
{
    FTPerson* p = person("Me");
    FTPerson* dad = person("Dad", M());
    FTPerson* stepMum = person("Step Mum", F());
    FTPerson* grandpa = person("Grandpa", M());
    link(dad, p);
    link(stepMum, p, FTPcRel::kStep);
    link(grandpa, dad, FTPcRel::kAdopted);
    link(p, grandpa); // bad data: a loop
    QSet<int> ids;
    dad->addAncestorsToSet(ids);
    EXPECT_EQ(ids, (QSet<int> { grandpa->numericId(), p->numericId(), dad->numericId() }));
    ids.clear();
    stepMum->addAncestorsToSet(ids);
    EXPECT_TRUE(ids.isEmpty());
}

TEST_F(PeopleFixture, CitationsPicturesAndTheChangeHistory)
{
    FTPerson* p = person("John Smith", M());
    FTPerson* wife = person("Mary Smith", F());
    FTSpouseRel* c = couple(p, wife);
    FTSource* source = moc->insertObject<FTSource>();
    source->setNumericId(7);
    source->setTitle("Register");
    EXPECT_FALSE(p->hasSourceRels());
    FTSourceRel* onMarriage = moc->insertObject<FTSourceRel>();
    onMarriage->setSource(source);
    date(c, "marriage", 3, 4, 1900)->addSourceRelsObject(onMarriage);
    FTSourceRel* own = moc->insertObject<FTSourceRel>();
    own->setSource(source);
    own->setPerson(p);
    EXPECT_TRUE(p->hasSourceRels());
    EXPECT_EQ(p->allSourceRels().size(), 2);

    FTPicture* second = moc->insertObject<FTPicture>();
    second->setSeqNo(2);
    FTPicture* first = moc->insertObject<FTPicture>();
    first->setSeqNo(1);
    p->addPicturesObject(second);
    p->addPicturesObject(first);
    EXPECT_EQ(p->picturesArray(), (QList<FTPicture*> { first, second }));

    // The newest stamp wins; the history lists each stamped record, newest first.
    const QDateTime base(QDate(2024, 5, 1), QTime(10, 0));
    p->setPrimitiveValue(Key("lastChange"), base);
    own->setPrimitiveValue(Key("lastChange"), base.addSecs(60));
    c->marriage()->setPrimitiveValue(Key("lastChange"), base.addSecs(-60));
    for (ManagedObject* o : std::initializer_list<ManagedObject*> { c, second, first, onMarriage })
        o->setPrimitiveValue(Key("lastChange"), QVariant());
    second->setPrimitiveValue(Key("lastChange"), base.addSecs(-120));
    second->setName("Wedding");
    second->setPrimitiveValue(Key("lastChange"), base.addSecs(-120));
    c->marriage()->setName("Wedding day");
    c->marriage()->setPrimitiveValue(Key("lastChange"), base.addSecs(-60));
    EXPECT_EQ(p->latestChangeDate(), base.addSecs(60));
    EXPECT_EQ(p->latestChanges(),
        "01 May 2024 at 10:01 - Reference to Source No 7. Register\n"
        "01 May 2024 at 10:00 - Personal data\n"
        "01 May 2024 at 09:59 - Marriage (03 Apr 1900): Wedding day\n"
        "01 May 2024 at 09:58 - Picture: Wedding\n\n\n");
}

TEST_F(PeopleFixture, ExportIndexesLiveOnlyWhileAFileIsWritten)
{
    FTPerson* p = person("John Smith");
    EXPECT_EQ(p->picturesSet(), nullptr);
    p->addPictureToPicturesSet(nullptr);
    ASSERT_NE(p->picturesSet(), nullptr);
    EXPECT_TRUE(p->picturesSet()->isEmpty());
    FTPicture* b = moc->insertObject<FTPicture>();
    b->setSeqNo(5);
    FTPicture* a = moc->insertObject<FTPicture>();
    a->setSeqNo(1);
    p->addPictureToPicturesSet(b);
    p->addPictureToPicturesSet(a);
    p->addPictureToPicturesSet(a);
    EXPECT_EQ(p->picturesArrayFromPicturesSet(), (QList<FTPicture*> { a, b }));
    FTSpouseRel* c = couple(p, nullptr);
    p->addSpouseOfFamily(c);
    EXPECT_TRUE(p->spouseOfFamilies()->contains(c));
    EXPECT_EQ(p->childOfFamilies(), nullptr);
    p->removeGedcomExportIndexes();
    EXPECT_EQ(p->picturesSet(), nullptr);
    EXPECT_EQ(p->spouseOfFamilies(), nullptr);
}
