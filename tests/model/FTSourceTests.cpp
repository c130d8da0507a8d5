// Sources: construction and numbering, the descriptions lists show, title uniqueness.

#include "ModelFixture.h"

#include "model/FTModelDefaults.h"
#include "model/FTPerson.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"

#include "platform/UserDefaults.h"

using FTSourceTest = ModelFixture;

namespace {
FTSource* sourceWith(FTMoc& moc, std::initializer_list<std::pair<const char*, const char*>> fields)
{
    FTSource* s = FTSource::initInMoc(&moc);
    for (const auto& [key, value] : fields)
        s->setValueForKey(key, QString::fromUtf8(value));
    return s;
}
}

TEST_F(FTSourceTest, NewSourcesAreNumberedFromTheCounterAndNamedForUndo)
{
    auto moc = newDatabase();
    moc->modelDefaults()->setMaxSourceId(41);
    moc->undoManager()->closeOpenGroups();

    FTSource* a = FTSource::initInMoc(moc.get());
    EXPECT_EQ(moc->undoManager()->actionName(), "Add Source");
    FTSource* b = FTSource::initInMoc(moc.get());
    EXPECT_EQ(a->numericId(), 42);
    EXPECT_EQ(b->numericId(), 43);
    EXPECT_EQ(moc->modelDefaults()->maxSourceId(), 43);
    for (const char* key : {"type", "title", "author", "publisher", "date", "location", "notes"})
        EXPECT_FALSE(a->valueForKey(key).isValid()) << key;
    EXPECT_TRUE(a->sourceRels().isEmpty());

    // An import numbers its records itself.
    moc->setImportThreadIsActive(true);
    EXPECT_EQ(FTSource::initInMoc(moc.get())->numericId(), 0);
    moc->setImportThreadIsActive(false);
    EXPECT_EQ(moc->modelDefaults()->maxSourceId(), 43);
}

TEST_F(FTSourceTest, ShortDescriptionListsTheFilledFieldsAndNotesWhileThereIsRoom)
{
    auto moc = newDatabase();
    const QByteArray x40(40, 'x'), x41(41, 'x');
    struct Case {
        std::initializer_list<std::pair<const char*, const char*>> fields;
        QString expected;
    };
    const Case cases[] = {
        // The notes' line breaks become blanks; values are trimmed.
        {{{"title", "  Parish register  "}, {"notes", "Baptisms\nand burials\r"}},
         "Title: Parish register\nNotes: Baptisms and burials"},
        // Every field in its order, labels capitalised; 48 characters or more leave the notes out.
        {{{"location", "Kew"}, {"date", "1881"}, {"publisher", "HMSO"}, {"author", "GRO"}, {"title", "Census"},
          {"abbreviatedTitle", "RG11"}, {"type", "Census"}, {"notes", "piece 1234"}},
         "Type: Census\nAbbr: RG11\nTitle: Census\nAuth: GRO\nPubl: HMSO\nDate: 1881\nLocn: Kew"},
        // 47 characters still leave room for them.
        {{{"title", x40.constData()}, {"notes", "n"}},
         "Title: " + QString(40, 'x') + "\nNotes: n"},
        {{{"title", x41.constData()}, {"notes", "n"}}, "Title: " + QString(41, 'x')},
        {{{"notes", " only notes "}}, "Notes: only notes"},
        {{{"title", "   "}}, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(sourceWith(*moc, c.fields)->shortDescription(), c.expected);

    FTSource* s = sourceWith(*moc, {{"title", "Census"}, {"date", "1881"}});
    s->setNumericId(7);
    EXPECT_EQ(s->shortDescriptionWithNumericId(), "ID:     7\nTitle: Census\nDate: 1881");
    EXPECT_EQ(s->shortDescriptionWithNumericIdNoLinefeed(), "ID:     7  Title: Census  Date: 1881");
    s->setNumericId(123456);
    EXPECT_EQ(s->shortDescriptionWithNumericIdNoLinefeed(), "ID:  123456  Title: Census  Date: 1881");
    s->setNumericId(-7); // as the format "% 5d" writes it
    EXPECT_EQ(s->shortDescriptionWithNumericIdNoLinefeed(), "ID:    -7  Title: Census  Date: 1881");
}

TEST_F(FTSourceTest, EditorDescriptionFollowsTheUserDefaults)
{
    auto moc = newDatabase();
    FTSource* s = sourceWith(*moc, {{"title", "Census"}, {"type", "Record"}, {"notes", "see film"}});
    UserDefaults& d = UserDefaults::standard();
    const char* all[] = {"showSourceType", "showSourceShortTitle", "showSourceTitle", "showSourceAuthor",
                         "showSourcePublisher", "showSourceDate", "showSourceLocation", "showSourceNotes"};
    for (const char* key : all)
        d.setBool(key, false);
    EXPECT_EQ(s->descriptionForIASources(), "");

    d.setBool("showSourceTitle", true);
    d.setBool("showSourceAuthor", true);
    EXPECT_EQ(s->descriptionForIASources(), "Title: Census\nAuth: No Author");

    for (const char* key : all)
        d.setBool(key, true);
    EXPECT_EQ(s->descriptionForIASources(), "Type: Record\nAbbr: No Short Title\nTitle: Census\nAuth: No Author\n"
                                            "Publ: No Publisher\nDate: No Date\nLocn: No Location\nNotes: see film");
    for (const char* key : all)
        d.removeObject(key);
}

TEST_F(FTSourceTest, CompareAndMergeDescriptionIsOneLineWithoutNotes)
{
    auto moc = newDatabase();
    FTSource* s = sourceWith(*moc, {{"type", "Book"}, {"title", " Domesday "}, {"location", "Kew"}, {"notes", "n"}});
    EXPECT_EQ(s->sourceDescriptionForCompareAndMerge(), "Type: Book, Title: Domesday, Location: Kew");
    EXPECT_EQ(s->hasNotes(), "Yes");
    s->setNotes({});
    EXPECT_EQ(s->hasNotes(), "");
}

TEST_F(FTSourceTest, TitleUniquenessIgnoresCaseAndDiacriticsButNotWildcards)
{
    auto moc = newDatabase();
    FTSource* census = sourceWith(*moc, {{"title", "Census 1881"}});
    EXPECT_TRUE(census->isTitleUnique());
    FTSource* other = sourceWith(*moc, {{"title", "CENSUS 1881"}});
    EXPECT_FALSE(census->isTitleUnique());
    EXPECT_FALSE(other->isTitleUnique());

    EXPECT_FALSE(sourceWith(*moc, {})->isTitleUnique()) << "no title is never unique";
    FTSource* zoe = sourceWith(*moc, {{"title", "Zoë's letters"}});
    EXPECT_TRUE(zoe->isTitleUnique());
    sourceWith(*moc, {{"title", "zoe's LETTERS"}});
    EXPECT_FALSE(zoe->isTitleUnique());

    // Typed text is matched as written: these would match each other as patterns.
    FTSource* star = sourceWith(*moc, {{"title", "Smith*"}});
    FTSource* mark = sourceWith(*moc, {{"title", "Smit?"}});
    sourceWith(*moc, {{"title", "Smithson"}});
    sourceWith(*moc, {{"title", "Smith"}});
    EXPECT_TRUE(star->isTitleUnique());
    EXPECT_TRUE(mark->isTitleUnique());
}

TEST_F(FTSourceTest, DescriptionKeyAnnouncesEveryShownFieldAndCountsCitations)
{
    auto moc = newDatabase();
    FTSource* s = sourceWith(*moc, {{"title", "Census"}});
    QStringList seen;
    s->addObserver("shortDescriptionWithNumericId", this,
                   [&](const KeyPathChange&) { seen << s->valueForKey("shortDescriptionWithNumericId").toString(); });
    s->setAbbreviatedTitle("RG11");
    s->setNotes("piece 12");
    s->setAuthor("GRO");
    ASSERT_EQ(seen.size(), 3);
    EXPECT_TRUE(seen.last().endsWith("Title: Census\nAuth: GRO\nNotes: piece 12")) << seen.last().toStdString();
    moc->removeObserversOf(this);

    EXPECT_EQ(s->numSourceRels(), 0);
    FTSourceRel* r = FTSourceRel::initInMoc(moc.get());
    r->setSource(s);
    EXPECT_EQ(s->numSourceRels(), 1);
}
