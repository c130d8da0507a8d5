// Sources from another database: the candidate files, the check of a chosen file, opening it beside the open
// database, and copying sources (each once) with their pictures and the pictures' citations.

#include "SourcesFixture.h"

#include "sources/OtherSourceDatabase.h"
#include "sources/SourceCloner.h"
#include "sources/SourceFieldsMerge.h"

#include "model/FTEventType.h"
#include "model/FTPicture.h"

#include "platform/Localizer.h"

#include "WithoutPermissionOverride.h"

#include <QDir>
#include <QFile>
#include <QImage>

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {
QString L(const char* key)
{
    return LocalizedString(key);
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
}

class OtherDatabaseTest : public SourcesFixture {
protected:
    // A database file of another model version.
    QString oldModelFile(const QString& name)
    {
        std::unique_ptr<FTMoc> old = newDatabase(name);
        old->setMetadataValue(FTMoc::kMomKey, "DOvurV5");
        EXPECT_TRUE(old->save());
        return pathFor(name);
    }
    QString textFile(const QString& name)
    {
        QFile f(pathFor(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("not a database");
        return pathFor(name);
    }
};

TEST_F(OtherDatabaseTest, CandidatesAreTheOtherDatabasesOfThisVersion)
{
    newDatabase("beta.RezUdu");
    newDatabase("Alpha.RezUdu");
    oldModelFile("Old.RezUdu");
    textFile("Broken.RezUdu");
    textFile("Notes.txt");
    QDir().mkpath(pathFor("Folder.RezUdu"));
    // The open database ("Family") is left out, also when reached through a link.
    QFile::link(pathFor("Family.RezUdu"), pathFor("Link.RezUdu"));
    EXPECT_THAT(OtherSourceDatabase::candidates(dir.path(), moc.get()), ElementsAre("Alpha.RezUdu", "beta.RezUdu"));
    EXPECT_TRUE(OtherSourceDatabase::isFileOf(pathFor("Link.RezUdu"), moc.get()));
}

TEST_F(OtherDatabaseTest, AChosenFileMustHoldADatabaseOfThisVersion)
{
    const QString old = oldModelFile("Old.RezUdu");
    const QString text = textFile("Broken.RezUdu");
    newDatabase("Good.RezUdu");
    EXPECT_TRUE(OtherSourceDatabase::checkChosenFile(pathFor("Good.RezUdu")));
    EXPECT_TRUE(messages().isEmpty());
    for (const QString& path : { old, text, pathFor("Missing.RezUdu") }) {
        prompts.clear();
        EXPECT_FALSE(OtherSourceDatabase::checkChosenFile(path));
        ASSERT_EQ(messages().size(), 1);
        EXPECT_TRUE(messages()[0].startsWith(path + "\n\n" + L("UnkDbModel") + "\n\n" + L("Metadata") + " = "))
            << messages()[0].toStdString();
    }
    prompts.clear();
    OtherSourceDatabase::checkChosenFile(old);
    EXPECT_THAT(messages()[0].toStdString(), HasSubstr("MomKey = DOvurV5"));
}

TEST_F(OtherDatabaseTest, TheOpenDatabaseItselfIsRefusedBeforeOpening)
{
    source({ { "title", "Kept" } });
    moc->saveMoc();
    const quint32 writes = writesTo(pathFor("Family.RezUdu"));
    QFile::link(pathFor("Family.RezUdu"), pathFor("Link.RezUdu"));
    for (const QString& path : { pathFor("Family.RezUdu"), pathFor("Link.RezUdu") }) {
        prompts.clear();
        EXPECT_EQ(OtherSourceDatabase::open(path, moc.get()), nullptr);
        EXPECT_THAT(messages(), ElementsAre(L("SameDbSelected"))); // not the message of a file in use
    }
    EXPECT_EQ(writesTo(pathFor("Family.RezUdu")), writes);
    EXPECT_EQ(moc->count<FTSource>(), 1);

    prompts.clear();
    std::unique_ptr<FTMoc> other = newDatabase("Other.RezUdu");
    other.reset();
    other = OtherSourceDatabase::open(pathFor("Other.RezUdu"), moc.get());
    ASSERT_NE(other, nullptr);
    EXPECT_TRUE(other->isReadOnly());
    // Only read: it holds the file from nobody, not even from a second window reading it.
    EXPECT_NE(OtherSourceDatabase::open(pathFor("Other.RezUdu"), moc.get()), nullptr);
    EXPECT_TRUE(messages().isEmpty()) << messages().join("\n").toStdString();
}

// The file copied and merged from is never changed: not when opening it for editing would have seeded its event
// types and handed its old thumbnails on, not when a thumbnail is made on reading, and not when it is read-only, in
// a read-only folder or open for editing in another window.
TEST_F(OtherDatabaseTest, CopyingAndMergingFromAnotherDatabaseNeverChangesIt)
{
    const QString scan = pathFor("scan.png");
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    ASSERT_TRUE(image.save(scan, "PNG"));
    {
        std::unique_ptr<FTMoc> made = newDatabase("Template.RezUdu");
        FTSource* register_ = FTSource::initInMoc(made.get());
        register_->setTitle("Parish register");
        register_->setAuthor("Vicar");
        FTPicture* picture = FTPicture::initInMoc(made.get(), QString(), register_);
        picture->setString("filename", scan);
        FTSource* census = FTSource::initInMoc(made.get());
        census->setTitle("1881 census");
        FTPicture::initInMoc(made.get(), QString(), census)->setThumbNailImageData(QByteArray("II*\0tiff", 8));
        made->deleteObject(made->eventTypeForEventGedcomCode("BURI"));
        ASSERT_TRUE(made->saveMoc());
    }
    FTSource* mine = source({ { "title", "parish register" }, { "author", "Clerk" } });
    int moved = 0;
    ModelHooks::shared().moveThumbnails = [&](FTMoc&, const QList<FTPicture*>&) { ++moved; };

    enum class Place { ReadOnlyFile, ReadOnlyFolder, OpenForEditing };
    for (const Place place : { Place::ReadOnlyFile, Place::ReadOnlyFolder, Place::OpenForEditing }) {
        SCOPED_TRACE(int(place));
        const QString folder = pathFor(QStringLiteral("place%1").arg(int(place)));
        const QString path = folder + "/Other.RezUdu";
        ASSERT_TRUE(QDir().mkpath(folder));
        ASSERT_TRUE(QFile::copy(pathFor("Template.RezUdu"), path));
        std::unique_ptr<FTMoc> editing;
        if (place == Place::ReadOnlyFile)
            QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        if (place == Place::OpenForEditing)
            editing = reopen(path);
        const QByteArray bytes = fileBytes(path);
        const QDateTime modified = QFileInfo(path).lastModified();
        const QStringList listing = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        if (place == Place::ReadOnlyFolder)
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        moved = 0;
        prompts.clear();
        mine->setTitle("parish register");
        mine->setAuthor("Clerk");
        {
            WithoutPermissionOverride asUser;
            std::unique_ptr<FTMoc> other = OtherSourceDatabase::open(path, moc.get());
            ASSERT_NE(other, nullptr) << messages().join("\n").toStdString();
            EXPECT_EQ(moved, 0);
            const QList<FTSource*> theirs = other->fetch<FTSource>();
            ASSERT_EQ(theirs.size(), 2);
            EXPECT_FALSE(theirs[0]->picture()->thumbnailImage().isNull());
            const SourceCloner::Result copied = SourceCloner(moc.get()).cloneSources(theirs);
            EXPECT_EQ(copied.copied, 2);
            for (FTSource* copy : copied.copies)
                moc->deleteObject(copy);
            EXPECT_EQ(SourceFieldsMerge::merge(theirs[0], mine), 2) << "title and author";
            other->deferredSave();
            NotificationCenter::defaultCenter().flushQueue();
        }
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        EXPECT_EQ(fileBytes(path), bytes);
        EXPECT_EQ(QFileInfo(path).lastModified(), modified);
        EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), listing);
        EXPECT_EQ(messages().size(), 1) << "only the merge's report: " << messages().join("\n").toStdString();
    }
}

class SourceClonerTest : public SourcesFixture {
protected:
    void SetUp() override
    {
        SourcesFixture::SetUp();
        other = newDatabase("Other.RezUdu");
    }
    void TearDown() override
    {
        other.reset();
        SourcesFixture::TearDown();
    }
    // With `stamped` false the source has no change stamp, which would otherwise have to match too.
    FTSource* otherSource(Fields fields, bool stamped = true)
    {
        FTSource* s = FTSource::initInMoc(other.get());
        for (const auto& [key, value] : fields)
            s->setValueForKey(key, QString::fromUtf8(value));
        if (!stamped)
            s->setValue(Key("lastChange"), QVariant());
        return s;
    }
    std::unique_ptr<FTMoc> other;
};

TEST_F(SourceClonerTest, CopiesEveryAttributeButTheNumberAndIgnoresASourceHeldAlready)
{
    source();
    source();
    FTSource* theirs = otherSource({ { "type", "Census" }, { "title", "1881 census" }, { "author", "GRO" },
        { "publisher", "HMSO" }, { "notes", "Piece 12" } });
    theirs->setFlags(3);
    theirs->setNumericId(40);
    FTSource* second = otherSource({ { "title", "Parish register" } });
    ASSERT_TRUE(other->saveMoc());

    SourceCloner::Result first = SourceCloner(moc.get()).cloneSources({ theirs, second });
    ASSERT_EQ(first.copies.size(), 2);
    EXPECT_EQ(first.copied, 2);
    EXPECT_EQ(first.ignored, 0);
    FTSource* copy = first.copies[0];
    EXPECT_EQ(copy->moc(), moc.get());
    EXPECT_EQ(copy->numericId(), 3); // the next number here
    EXPECT_EQ(copy->compareWith(theirs, FTManagedObject::CompareWithoutNumericId), QStringList());
    EXPECT_EQ(SourceCloner::reportText(first), "2 " + L("Source") + L("hasPlural") + " " + L("CopiedSources3"));

    // The second time every attribute but the number matches: ignored.
    SourceCloner::Result again = SourceCloner(moc.get()).cloneSources({ theirs });
    EXPECT_EQ(again.copied, 0);
    EXPECT_EQ(again.ignored, 1);
    EXPECT_EQ(moc->count<FTSource>(), 4);
    EXPECT_EQ(SourceCloner::reportText(again),
        "0 " + L("CopiedSources1") + "\n\n1 " + L("CopiedSources2") + L("was") + " " + L("ignored") + ".\n\n");
    EXPECT_FALSE(other->hasChanges());
}

TEST_F(SourceClonerTest, AnAbsentValueMatchesAnythingAnEmptyTextOnlyAnEmptyOne)
{
    FTSource* will = source({ { "title", "Will of John Brown" }, { "author", "Probate court" } });
    FTSource* stamped = otherSource({ { "title", "Will of John Brown" } }, false);
    stamped->setLastChange(QDateTime(QDate(2001, 2, 3), QTime(4, 5)));
    FTSource* untitled = source({ { "author", "Clerk" } });
    struct Case {
        FTSource* theirs;
        FTSource* match;
    };
    const Case cases[] = {
        { otherSource({ { "title", "Will of John Brown" } }, false), will }, // no author: any author matches
        { otherSource({ { "title", "Will of John Brown" }, { "author", "" } }, false), nullptr },
        { otherSource({ { "title", "will of john brown" } }, false), nullptr }, // titles are compared as written
        { otherSource({ { "author", "Clerk" } }, false), untitled }, // no title: every source is compared
        { stamped, nullptr }, // a change stamp of its own differs
        { otherSource({ { "title", "Will of John Brown" }, { "author", "Probate court" }, { "date", "1790" } }, false),
            nullptr },
    };
    SourceCloner cloner(moc.get());
    for (const Case& c : cases)
        EXPECT_EQ(cloner.findExistingSourceInTargetDatabase(c.theirs), c.match) << c.theirs->title().toStdString();

    FTSource* emptyAuthor = source({ { "title", "Will of John Brown" }, { "author", "" } });
    EXPECT_EQ(SourceCloner(moc.get()).findExistingSourceInTargetDatabase(cases[1].theirs), emptyAuthor);
    // The same source twice in one run: its copy holds it the second time.
    const SourceCloner::Result r = SourceCloner(moc.get()).cloneSources({ cases[5].theirs, cases[5].theirs });
    EXPECT_EQ(r.copied, 1);
    EXPECT_EQ(r.ignored, 1);
}

TEST_F(SourceClonerTest, PicturesNameTheSameFileAndTheirCitationsCiteOnlyThisDatabase)
{
    QTemporaryDir outside(TestSupport::tempRoot() + "/scans-XXXXXX");
    const QString scan = outside.path() + "/register.jpg";
    QFile f(scan);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("jpeg");
    f.close();

    FTSource* held = source({ { "title", "Index of baptisms" } });
    FTSource* theirs = otherSource({ { "title", "Parish register" } });
    FTSource* index = otherSource({ { "title", "Index of baptisms" } }, false);
    FTSource* later = otherSource({ { "title", "Bishop's transcript" } });
    FTSource* absent = otherSource({ { "title", "Only there" } });
    FTPicture* picture = FTPicture::initInMoc(other.get(), QString(), theirs);
    picture->setString("filename", scan);
    picture->setName("Register page");
    picture->setRclCut("{{1, 2}, {30, 40}}");
    for (FTSource* cited : { theirs, index, later, absent }) {
        FTSourceRel* c = FTSourceRel::initInMoc(other.get(), cited, picture, "Image");
        c->setReference("ref of " + cited->title());
    }
    ASSERT_TRUE(other->saveMoc());
    const quint32 otherWrites = writesTo(pathFor("Other.RezUdu"));

    SourceCloner cloner(moc.get());
    const SourceCloner::Result r = cloner.cloneSources({ theirs, later });
    ASSERT_EQ(r.copied, 2);
    EXPECT_EQ(r.citationsLeftOut, 1);
    EXPECT_EQ(SourceCloner::reportText(r),
        "2 " + L("Source") + L("hasPlural") + " " + L("CopiedSources3") + "\n\n" + L("CitationsLeftOut").arg(1));

    FTPicture* copy = r.copies[0]->picture();
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->moc(), moc.get());
    EXPECT_EQ(copy->filename(), scan);
    EXPECT_EQ(copy->name(), "Register page");
    EXPECT_EQ(copy->rclCut(), "{{1, 2}, {30, 40}}");
    EXPECT_FALSE(QDir(dataFolder() + "/Pictures").exists() && !QDir(dataFolder() + "/Pictures").isEmpty())
        << "no file copied or linked";
    QStringList cited;
    for (const FTSourceRel* c : copy->sourceRels()) {
        ASSERT_EQ(c->source()->moc(), moc.get());
        cited << c->source()->title() + ": " + c->reference();
    }
    cited.sort();
    EXPECT_THAT(cited,
        ElementsAre("Bishop's transcript: ref of Bishop's transcript", "Index of baptisms: ref of Index of baptisms",
            "Parish register: ref of Parish register"));
    EXPECT_TRUE(held->sourceRels().size() == 1);

    // Saved and read again, the copies are whole; the other database was never written.
    ASSERT_TRUE(moc->saveMoc());
    moc.reset();
    moc = reopen(pathFor("Family.RezUdu"));
    const QList<FTPicture*> pictures = moc->fetch<FTPicture>();
    ASSERT_EQ(pictures.size(), 1);
    EXPECT_EQ(pictures[0]->sourceRels().size(), 3);
    EXPECT_EQ(pictures[0]->source()->title(), "Parish register");
    EXPECT_EQ(writesTo(pathFor("Other.RezUdu")), otherWrites);
    EXPECT_FALSE(other->hasChanges());
}
