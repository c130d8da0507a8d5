// The record base: comparison, extraData, scratch values, the numbering counters and the story's text.

#include "ModelFixture.h"

#include "model/FTEvent.h"
#include "model/FTModelDefaults.h"
#include "model/FTPerson.h"
#include "model/FTStory.h"

#include <QCborMap>

using FTManagedObjectTest = ModelFixture;

TEST_F(FTManagedObjectTest, CompareWithLeavesOutTheAttributesOfTheOptionBits)
{
    auto moc = newDatabase();
    auto* a = moc->insertObject<FTPerson>();
    auto* b = moc->insertObject<FTPerson>();
    for (FTPerson* p : {a, b}) {
        p->setName("Ann Smith");
        p->setGender("F");
    }
    a->setNumericId(1);
    b->setNumericId(2);
    a->setLastChange(QDateTime(QDate(2001, 1, 1), QTime(0, 0)));
    b->setLastChange(QDateTime(QDate(2002, 1, 1), QTime(0, 0)));

    EXPECT_EQ(a->compareWith(b, 0), (QStringList {"numericId", "lastChange"}));
    EXPECT_EQ(a->compareWith(b, FTManagedObject::CompareWithoutLastChange), QStringList {"numericId"});
    EXPECT_EQ(a->compareWith(b, 1 | 2), QStringList());
    b->setNotes("notes");
    b->setExtraDataValue("AFN", "123");
    EXPECT_EQ(a->compareWith(b, 1 | 2), (QStringList {"notes", "extraData"}));
    EXPECT_EQ(a->compareWith(b, 1 | 2 | 16), QStringList {"notes"});

    // Without another record: the attributes that are set.
    EXPECT_EQ(b->compareWith(nullptr, 1), (QStringList {"name", "familyName", "givenNames", "gender", "notes", "numericId", "extraData"}));

    // Records of another class are not compared; two kinds of event are one class.
    auto* birth = static_cast<FTEvent*>(moc->insertObject("BirthEvent"));
    auto* death = static_cast<FTEvent*>(moc->insertObject("DeathEvent"));
    EXPECT_FALSE(a->compareWith(birth, 0).has_value());
    death->setPlace("York");
    EXPECT_EQ(birth->compareWith(death, 1 | 2), QStringList {"place"});
}

TEST_F(FTManagedObjectTest, ExtraDataIsAMapRewrittenWholeAsAnUndoableChange)
{
    auto moc = newDatabase();
    auto* p = moc->insertObject<FTPerson>();
    moc->undoManager()->closeOpenGroups();
    EXPECT_TRUE(p->extraDataMap().isEmpty());
    EXPECT_FALSE(p->extraDataValue("Todo").isValid());

    p->setExtraDataValue("Todo", "find the will");
    p->setExtraDataValue("AFN", "12-34");
    EXPECT_EQ(p->extraDataValue("Todo"), "find the will");
    EXPECT_EQ(moc->undoManager()->actionName(), "Change Person's Details");
    EXPECT_TRUE(p->lastChange().isValid());
    moc->undoManager()->closeOpenGroups();

    p->setExtraDataValue("AFN", QVariant());
    EXPECT_EQ(p->extraDataMap().keys().size(), 1);
    p->setExtraDataValue("Todo", QVariant());
    EXPECT_TRUE(p->isNil("extraData")) << "an empty map is stored as no value";
    moc->undoManager()->closeOpenGroups();
    moc->undoManager()->undo();
    EXPECT_EQ(p->extraDataValue("AFN"), "12-34");

    // Values survive the file; a value that is not a map reads as an empty one.
    ASSERT_TRUE(moc->saveMoc());
    const QString path = moc->databaseURL();
    moc.reset();
    moc = reopen(path);
    p = moc->fetchFirst<FTPerson>();
    EXPECT_EQ(p->extraDataValue("Todo"), "find the will");
    p->setExtraData("not cbor");
    EXPECT_TRUE(p->extraDataMap().isEmpty());
}

TEST_F(FTManagedObjectTest, AFirstTextValueIsStoredAsTheMapWouldEncodeIt)
{
    // The first text of a record is encoded without building the map: the bytes must be the map's own, for every
    // length form of a CBOR text and for text beyond Latin-1.
    auto moc = newDatabase();
    const QString texts[] = {QString(), "", "5 AUG 1650", QString(23, 'x'), QString(24, 'x'), QString(255, 'y'),
                             QString(256, 'y'), QString(65535, 'z'), QString(65536, 'z'), "Zoë Müller",
                             QString::fromUtf8("Ярослав 李 \xF0\x9F\x8C\xB3")};
    for (const QString& text : texts) {
        auto* p = moc->insertObject<FTPerson>();
        p->setExtraDataValue("AFN", text);
        QCborMap expected;
        expected.insert(QStringLiteral("AFN"), text);
        EXPECT_EQ(p->extraData(), expected.toCborValue().toCbor()) << text.left(20).toStdString();
        EXPECT_EQ(p->extraDataValue("AFN").toString(), text);
        // A second value goes through the map and keeps the first.
        p->setExtraDataValue("Todo", 12);
        EXPECT_EQ(p->extraDataValue("AFN").toString(), text);
        EXPECT_EQ(p->extraDataValue("Todo").toInt(), 12);
    }
}

TEST_F(FTManagedObjectTest, CountersNumberNewRecordsAndAreNeverLowered)
{
    auto moc = newDatabase();
    auto* first = moc->insertObject<FTPerson>();
    EXPECT_EQ(first->assignNumericId(FTCounter::Person), 1);
    EXPECT_EQ(first->numericId(), 1);
    EXPECT_EQ(moc->modelDefaults()->maxPersonId(), 1);
    moc->deleteObject(first);
    auto* second = moc->insertObject<FTPerson>();
    EXPECT_EQ(second->assignNumericId(FTCounter::Person), 2);
    EXPECT_EQ(moc->modelDefaults()->maxPersonId(), 2);

    // Each entity has its own counter, and they survive the file.
    auto* event = static_cast<FTEvent*>(moc->insertObject("MarriageEvent"));
    EXPECT_EQ(event->assignNumericId(FTCounter::Event), 1);
    EXPECT_EQ(moc->modelDefaults()->takeNextId(FTCounter::Source), 1);
    EXPECT_EQ(moc->modelDefaults()->takeNextId(FTCounter::Picture), 1);
    EXPECT_EQ(moc->modelDefaults()->takeNextId(FTCounter::SpouseRel), 1);
    ASSERT_TRUE(moc->saveMoc());
    const QString path = moc->databaseURL();
    moc.reset();
    moc = reopen(path);
    EXPECT_EQ(moc->count<FTModelDefaults>(), 1);
    EXPECT_EQ(moc->modelDefaults()->counter(FTCounter::Person), 2);
    EXPECT_EQ(moc->insertObject<FTPerson>()->assignNumericId(FTCounter::Person), 3);
}

TEST_F(FTManagedObjectTest, ScratchValuesStartAtZeroAfterLoading)
{
    auto moc = newDatabase();
    auto* p = moc->insertObject<FTPerson>();
    EXPECT_EQ(p->flagBits(), 0u);
    p->setFlagBits(8);
    p->setObjId(5);
    ASSERT_TRUE(moc->saveMoc());
    const QString path = moc->databaseURL();
    moc.reset();
    moc = reopen(path);
    p = moc->fetchFirst<FTPerson>();
    EXPECT_EQ(p->flagBits(), 0u);
    EXPECT_EQ(p->objId(), 0);
}

TEST_F(FTManagedObjectTest, AStoryOfBlanksIsDeleted)
{
    auto moc = newDatabase();
    auto* ann = moc->insertObject<FTPerson>();
    FTStory* story = FTStory::initInMoc(moc.get());
    story->setPerson(ann);
    story->setAttributedString("<p>Born in <b>York</b>.</p>");
    EXPECT_TRUE(story->attributedString().contains("<b>York</b>"));
    story->setAttributedString("<p>  </p><p>\n\t</p>");
    EXPECT_TRUE(story->isDeleted());
    EXPECT_EQ(ann->story(), nullptr);
    EXPECT_EQ(moc->count<FTStory>(), 0);
}
