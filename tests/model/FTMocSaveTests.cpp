// Saving: the first save's one-time repairs, the deferred save per context, exceptions and failed writes.

#include "ModelFixture.h"

#include "model/FTEvent.h"
#include "model/FTEventType.h"
#include "model/FTModelDefaults.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"

#include "platform/store/ObjectContext.h"
#include "platform/store/SqliteDatabase.h"

#include <QCoreApplication>
#include <QDir>

#include <stdexcept>

namespace {
QVariantMap storedMetadata(const QString& path)
{
    return ObjectContext::metadataForStoreAt(path);
}

FTPcRel* link(FTMoc& moc, int type)
{
    // Written raw: older files hold codes (3) that the setter no longer writes.
    auto* r = moc.insertObject<FTPcRel>();
    r->setPrimitiveValue(Key("pcRelType"), type);
    return r;
}
}

class FTMocSave : public ModelFixture {
protected:
    void TearDown() override
    {
        for (const QString& key : std::as_const(replaced))
            FTMoc::setIntegrityRepair(key, saved.value(key));
        ModelFixture::TearDown();
    }
    void replaceRepair(const QString& key, FTMoc::IntegrityRepair repair)
    {
        if (!replaced.contains(key)) {
            replaced << key;
            saved.insert(key, FTMoc::integrityRepair(key));
        }
        FTMoc::setIntegrityRepair(key, std::move(repair));
    }
    QStringList replaced;
    QHash<QString, FTMoc::IntegrityRepair> saved;
};

TEST_F(FTMocSave, AnUnchangedContextSavesNothingAndKeepsItsRepairsPending)
{
    auto moc = newDatabase();
    const quint32 writes = writesTo(moc->databaseURL());
    EXPECT_TRUE(moc->saveMoc());
    EXPECT_TRUE(moc->firstSave());
    EXPECT_EQ(writesTo(moc->databaseURL()), writes);
    EXPECT_FALSE(storedMetadata(moc->databaseURL()).contains("PcRelTypesConverted2"));
}

TEST_F(FTMocSave, TheFirstSaveRunsThePendingRepairsOnce)
{
    auto moc = newDatabase();
    const QString path = moc->databaseURL();
    // Data as an older version left it, written before any repair could run.
    moc->setMetadata({{"MomKey", "DOvurV6"}});
    FTPcRel* adopted = link(*moc, 3);
    FTPcRel* notRelated = link(*moc, 4096);
    FTPcRel* natural = link(*moc, 1);
    ASSERT_TRUE(moc->save());
    moc.reset();

    moc = reopen(path);
    adopted = moc->fetchFirst<FTPcRel>([](const FTPcRel* r) { return r->pcRelType() == 3; });
    ASSERT_TRUE(adopted);
    moc->insertObject<FTPerson>()->setName("Ann");
    moc->undoManager()->closeOpenGroups();
    ASSERT_TRUE(moc->saveMoc());
    EXPECT_FALSE(moc->firstSave());
    EXPECT_EQ(adopted->pcRelType(), 8);
    EXPECT_EQ(moc->count<FTPcRel>([](const FTPcRel* r) { return r->pcRelType() == 4096; }), 0);
    EXPECT_EQ(moc->count<FTPcRel>(), 2);
    // The repairs are not part of the user's action: undoing it gives back the person only.
    moc->undoManager()->undo();
    EXPECT_EQ(adopted->pcRelType(), 8);
    EXPECT_EQ(moc->count<FTPcRel>(), 2);
    EXPECT_EQ(moc->count<FTPerson>(), 0);

    // Flags of the repairs that ran; a repair that could not run here leaves its flag unset for a later opening.
    const QVariantMap stored = storedMetadata(path);
    for (const QString& key : FTMoc::integrityCheckKeys())
        if (key != "EventTypeIndexCreated")
            EXPECT_EQ(stored.value(key), true) << key.toStdString();
    EXPECT_FALSE(stored.contains("EventTypeIndexCreated")) << "not the front document's context";

    // Later saves of this session run no repair, nor does the next opening.
    link(*moc, 3);
    ASSERT_TRUE(moc->saveMoc());
    moc.reset();
    moc = reopen(path);
    link(*moc, 1);
    ASSERT_TRUE(moc->saveMoc());
    EXPECT_EQ(moc->count<FTPcRel>([](const FTPcRel* r) { return r->pcRelType() == 3; }), 1);
    Q_UNUSED(notRelated);
    Q_UNUSED(natural);
}

TEST_F(FTMocSave, RepairsRunInTheirFixedOrderAndAPresentFlagSkipsWhateverItsValue)
{
    QStringList ran;
    for (const QString& key : FTMoc::integrityCheckKeys())
        replaceRepair(key, [&ran, key](FTMoc&) {
            ran << key;
            return true;
        });
    ASSERT_EQ(FTMoc::integrityCheckKeys().size(), 15);
    EXPECT_EQ(FTMoc::integrityCheckKeys().first(), "PicturesFilenamesFixed");
    EXPECT_EQ(FTMoc::integrityCheckKeys().last(), "CorrectedPcRelsForNotRelated");

    auto moc = newDatabase();
    moc->setMetadataValue("PcRelTypesConverted2", false);
    moc->setMetadataValue("PersonNamesFixed", true);
    ASSERT_TRUE(moc->saveMoc());
    QStringList expected = FTMoc::integrityCheckKeys();
    expected.removeAll("PcRelTypesConverted2");
    expected.removeAll("PersonNamesFixed");
    EXPECT_EQ(ran, expected);
    EXPECT_EQ(storedMetadata(moc->databaseURL()).value("PcRelTypesConverted2"), false);
}

TEST_F(FTMocSave, TheEventTypeIndexFlagIsSetOnlyWhenTheSheetHasLinkedTheEvents)
{
    const QString path = pathFor("Events.RezUdu");
    {
        auto moc = newDatabase("Events.RezUdu");
        moc->insertObject("BirthEvent");
        ASSERT_TRUE(moc->save());
    }
    FTMoc* front = nullptr;
    ModelHooks::shared().currentDocumentMoc = [&] { return front; };
    std::function<void(bool)> finish;
    QList<FTEvent*> shown;
    ModelHooks::shared().createEventTypeIndex = [&](FTMoc&, const QList<FTEvent*>& events,
                                                    std::function<void(bool)> done) {
        shown = events;
        finish = std::move(done);
    };

    // Another document in front: nothing is shown and the repair stays pending.
    auto moc = reopen(path);
    moc->insertObject<FTPerson>();
    ASSERT_TRUE(moc->saveMoc());
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_FALSE(storedMetadata(path).contains("EventTypeIndexCreated"));
    moc.reset();

    // In front: the sheet opens; closing it without linking leaves the flag unset.
    moc = reopen(path);
    front = moc.get();
    moc->insertObject<FTPerson>();
    ASSERT_TRUE(moc->saveMoc());
    ASSERT_EQ(shown.size(), 1);
    EXPECT_FALSE(moc->metadata().contains("EventTypeIndexCreated"));
    finish(false);
    EXPECT_FALSE(moc->metadata().contains("EventTypeIndexCreated"));
    moc.reset();

    moc = reopen(path);
    front = moc.get();
    moc->insertObject<FTPerson>();
    ASSERT_TRUE(moc->saveMoc());
    ASSERT_EQ(shown.size(), 1);
    shown[0]->setEventType(moc->eventTypeForEventGedcomCode("BIRT"));
    moc->save();
    finish(true);
    NotificationCenter::defaultCenter().flushQueue();
    EXPECT_EQ(storedMetadata(path).value("EventTypeIndexCreated"), true);

    // A database whose events all have their type needs no sheet.
    auto other = newDatabase("Linked.RezUdu");
    front = other.get();
    shown.clear();
    other->insertObject<FTPerson>();
    ASSERT_TRUE(other->saveMoc());
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_EQ(storedMetadata(other->databaseURL()).value("EventTypeIndexCreated"), true);
}

TEST_F(FTMocSave, DeferredSavesCoalescePerContext)
{
    auto a = newDatabase("A.RezUdu");
    auto b = newDatabase("B.RezUdu");
    const quint32 writesA = writesTo(a->databaseURL());
    const quint32 writesB = writesTo(b->databaseURL());
    for (int i = 0; i < 10; ++i) {
        a->insertObject<FTPerson>()->setName(QString("A%1").arg(i));
        a->deferredSave();
        b->insertObject<FTPerson>()->setName(QString("B%1").arg(i));
        b->deferredSave();
    }
    EXPECT_EQ(NotificationCenter::defaultCenter().queuedCount(), 2);
    QCoreApplication::processEvents(); // the application goes idle
    EXPECT_EQ(NotificationCenter::defaultCenter().queuedCount(), 0);
    EXPECT_EQ(writesTo(a->databaseURL()), writesA + 1);
    EXPECT_EQ(writesTo(b->databaseURL()), writesB + 1);
    EXPECT_FALSE(a->hasChanges());
    EXPECT_FALSE(b->hasChanges());

    // Another database's "SaveMoc" leaves this one's changes alone.
    b->insertObject<FTPerson>();
    NotificationCenter::defaultCenter().post("SaveMoc", a.get(), a.get());
    EXPECT_TRUE(b->hasChanges());
}

TEST_F(FTMocSave, AnExceptionStopsTheSaveAndKeepsTheChanges)
{
    replaceRepair("PicturesFilenamesFixed", [](FTMoc&) -> bool { throw std::runtime_error("broken picture"); });
    auto moc = newDatabase();
    const QString path = moc->databaseURL();
    const quint32 writes = writesTo(path);
    moc->insertObject<FTPerson>()->setName("Ann");

    EXPECT_FALSE(moc->saveMoc());
    EXPECT_EQ(reported, QStringList {"saveMoc"});
    EXPECT_TRUE(moc->hasChanges());
    EXPECT_TRUE(moc->firstSave());
    EXPECT_EQ(writesTo(path), writes);

    replaceRepair("PicturesFilenamesFixed", {});
    EXPECT_TRUE(moc->saveMoc());
    moc.reset();
    moc = reopen(path);
    EXPECT_EQ(moc->count<FTPerson>(), 1);
}

TEST_F(FTMocSave, AFailedWriteKeepsTheChangesForTheNextSaveAndIsReportedOnce)
{
    auto moc = newDatabase();
    const QString path = moc->databaseURL();
    auto* ann = moc->insertObject<FTPerson>();
    ann->setName("Ann");
    moc->modelDefaults()->setFocalPerson(ann);
    ASSERT_TRUE(moc->saveMoc());
    moc->insertObject<FTPerson>()->setName("Bob");

    SqliteDatabase other; // another program holds the file
    ASSERT_TRUE(other.open(path, SqliteDatabase::Mode::ReadWrite, nullptr));
    ASSERT_TRUE(other.exec("BEGIN EXCLUSIVE"));
    moc->setBusyTimeout(0);
    prompts.clear();
    EXPECT_FALSE(moc->saveMoc());
    EXPECT_EQ(terminations, 0) << "the program goes on";
    EXPECT_TRUE(moc->hasChanges());
    const QString error = moc->lastSaveError();
    EXPECT_TRUE(error.contains("in use by another program")) << qPrintable(error);
    const QString report = dir.path() + "/data/DatabaseError.txt";
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages()[0].startsWith(error + "\n\nNothing is lost yet")) << qPrintable(messages()[0]);
    EXPECT_TRUE(messages()[0].endsWith("A report has been added to:\n" + report)) << qPrintable(messages()[0]);
    QFile f(report);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(f.readAll());
    f.close();
    EXPECT_TRUE(text.startsWith("\n********************************\n")) << qPrintable(text);
    EXPECT_TRUE(text.contains("\nDatabase save error\n\nPlease report this error to support@kinloom.org\n\n"
                              " Current Focal Person = Ann\n"))
        << qPrintable(text);
    EXPECT_TRUE(text.endsWith(" Error = " + error + "\n")) << qPrintable(text);

    // Saves while the file stays held try again, without a message or report for each.
    moc->insertObject<FTPerson>()->setName("Cy");
    EXPECT_FALSE(moc->saveMoc());
    EXPECT_EQ(messages().size(), 1);
    other.exec("ROLLBACK");
    other.close();
    EXPECT_TRUE(moc->saveMoc());
    EXPECT_TRUE(moc->lastSaveError().isEmpty());
    moc.reset();
    moc = reopen(path);
    EXPECT_EQ(moc->count<FTPerson>(), 3);

    // The close and quit questions save without a message of their own; the failure still reaches the report.
    ASSERT_TRUE(other.open(path, SqliteDatabase::Mode::ReadWrite, nullptr));
    ASSERT_TRUE(other.exec("BEGIN EXCLUSIVE"));
    moc->setBusyTimeout(0);
    moc->insertObject<FTPerson>()->setName("Dot");
    QString reason;
    EXPECT_FALSE(moc->saveMoc(&reason));
    EXPECT_EQ(reason, moc->lastSaveError());
    EXPECT_EQ(messages().size(), 1);
    other.exec("ROLLBACK");
    other.close();

    // Every report adds its own block after the earlier ones.
    moc->reportSaveError("third failure");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString all = QString::fromUtf8(f.readAll());
    EXPECT_EQ(all.count("********************************\n"), 6);
    EXPECT_TRUE(all.startsWith(text));
    EXPECT_TRUE(all.endsWith(" Error = third failure\n")) << qPrintable(all);
}

// A link the loader cannot hold (a second birth event of one person) is written empty at the next save, so that
// deleting the person, and with it the birth event it holds, commits.
TEST_F(FTMocSave, ASecondBirthEventLetsThePersonBeDeletedAndSaved)
{
    auto moc = newDatabase();
    const QString path = moc->databaseURL();
    FTPerson* ann = FTPerson::initInMoc(moc.get(), "Ann Smith", "F");
    FTEvent* birth = FTEvent::initInMoc(moc.get(), FTEvent::BirthEvent, ann, {});
    ASSERT_EQ(ann->birth(), birth);
    birth->setDate("1 Jan 1900");
    ASSERT_TRUE(moc->saveMoc());
    const qint64 key = ann->primaryKey();
    moc.reset();
    {
        SqliteDatabase other;
        ASSERT_TRUE(other.open(path, SqliteDatabase::Mode::ReadWrite, nullptr));
        ASSERT_TRUE(other.exec(QStringLiteral("INSERT INTO \"Event\" (\"_entity\", \"name\", \"person\") VALUES "
                                              "('BirthEvent', 'Second birth', %1)").arg(key)));
    }

    moc = reopen(path);
    ann = moc->fetchFirst<FTPerson>();
    ASSERT_TRUE(ann);
    moc->deleteObject(ann);
    ASSERT_TRUE(moc->saveMoc()) << qPrintable(moc->lastSaveError());
    EXPECT_EQ(terminations, 0);
    moc.reset();
    SqliteDatabase check;
    ASSERT_TRUE(check.open(path, SqliteDatabase::Mode::ReadOnly, nullptr));
    EXPECT_EQ(check.queryText("SELECT count(*) FROM \"Person\""), "0");
    EXPECT_EQ(check.queryText("SELECT count(*) FROM \"Event\" WHERE \"person\" IS NOT NULL"), "0");
    EXPECT_EQ(check.queryText("SELECT \"name\" FROM \"Event\" WHERE \"_entity\" = 'BirthEvent'"), "Second birth")
        << "kept, without its link";
}
