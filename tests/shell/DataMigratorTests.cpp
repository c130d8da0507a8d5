// Converting a database of an older model: the copy, its reports, the files it leaves, and its failures.
#include "OlderModelDOvurV5.h"
#include "WithoutPermissionOverride.h"

#include "shell/DataMigrator.h"

#include "model/FTEvent.h"
#include "model/FTEventType.h"
#include "model/FTModelDefaults.h"
#include "model/FTOriginalPicture.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "model/FTPicture.h"
#include "model/FTProjectView.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"
#include "model/FTSpouseRel.h"
#include "model/FTStory.h"
#include "model/SyntheticDatabase.h"

#include "platform/FTLog.h"
#include "platform/Localizer.h"
#include "platform/UserDefaults.h"

#include "../model/ModelFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QThread>

#include <gmock/gmock.h>

#include <atomic>
#include <memory>

using ::testing::HasSubstr;

namespace {

QString L(const char* key) { return LocalizedString(QString::fromLatin1(key)); }

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList g_log;
void captureLog(const QString& line) { g_log << line; }

const QDateTime kStamp(QDate(2009, 3, 14), QTime(10, 30), Qt::UTC);

ManagedObject* insert(ObjectContext& ctx, const char* entity, std::initializer_list<std::pair<const char*, QVariant>> values)
{
    ManagedObject* o = ctx.insertObject(QString::fromLatin1(entity));
    for (const auto& [key, value] : values)
        o->setValue(Key(key), value);
    return o;
}
QVariant ref(ManagedObject* o) { return ManagedObject::toVariant(o); }

// The Smiths, written by the older model: John and Mary, married and later divorced; Anne, their natural daughter
// with a story; Tom, John's foster son and Mary's step son, who shares Anne's number. John has a birth cited in a
// parish register (kept by a county archive), an occupation and a picture with its original; Anne and John make
// the project view "Smiths". Anne is focal, Mary selected.
void fillSmiths(ObjectContext& ctx)
{
    ManagedObject* john = insert(ctx, "Person", {{"name", "John Smith"}, {"gender", "M"}, {"numericId", 1},
                                                 {"notes", "A mason."}, {"soundexCode", "S530"}, {"lastChange", kStamp}});
    ManagedObject* mary = insert(ctx, "Person", {{"name", "Mary Brown"}, {"gender", "F"}, {"numericId", 2}});
    ManagedObject* anne = insert(ctx, "Person", {{"name", "Anne Smith"}, {"gender", "F"}, {"numericId", 3}});
    ManagedObject* tom = insert(ctx, "Person", {{"name", "Tom Smith"}, {"gender", "M"}, {"numericId", 3}});

    ManagedObject* birthType = insert(ctx, "EventType", {{"gedcomCode", "BIRT"}, {"name", "Birth"}});
    ManagedObject* birth = insert(ctx, "BirthEvent", {{"subtype", "BIRT"}, {"date", "05 Jan 1900"}, {"year", 1900},
                                                      {"place", "York, England"}, {"numericId", 1},
                                                      {"eventType", ref(birthType)}, {"person", ref(john)}});
    insert(ctx, "OtherPersonalEvent", {{"subtype", "OCCU"}, {"name", "Mason"}, {"numericId", 2}, {"person", ref(john)}});

    ManagedObject* couple = insert(ctx, "SpouseRel", {{"numericId", 1}});
    couple->addObject(Key("partners"), john);
    couple->addObject(Key("partners"), mary);
    insert(ctx, "MarriageEvent", {{"subtype", "MARR"}, {"date", "1925"}, {"year", 1925}, {"numericId", 3},
                                  {"spouseRel", ref(couple)}});
    insert(ctx, "OtherMarriageEvent", {{"subtype", "DIV"}, {"date", "1940"}, {"year", 1940}, {"numericId", 4},
                                       {"spouseRel", ref(couple)}});
    for (const auto& [parent, child, type] : {std::tuple {john, anne, 1}, {mary, anne, 1}, {john, tom, 4}, {mary, tom, 2}})
        insert(ctx, "PcRel", {{"pcRelType", type}, {"parent", ref(parent)}, {"child", ref(child)}});

    ManagedObject* archive = insert(ctx, "Repository", {{"name", "County archive"}});
    ManagedObject* register_ = insert(ctx, "Source", {{"title", "Parish register"}, {"numericId", 1},
                                                      {"repository", ref(archive)}});
    insert(ctx, "SourceRel", {{"reference", "p. 12"}, {"source", ref(register_)}, {"event", ref(birth)},
                              {"person", ref(john)}});

    ManagedObject* picture = insert(ctx, "Picture", {{"filename", "john.jpg"}, {"name", "John at twenty"},
                                                     {"numericId", 1}, {"owner", ref(john)}});
    john->setValue(Key("defaultPicture"), ref(picture));
    insert(ctx, "OriginalPicture", {{"data", QByteArray("original picture bytes")}, {"picture", ref(picture)}});
    ManagedObject* story = insert(ctx, "Story", {{"data", QByteArray("<p>Anne's story</p>")}});
    anne->addObject(Key("story"), story);

    ManagedObject* view = insert(ctx, "ProjectView", {{"name", "Smiths"}});
    view->addObject(Key("persons"), john);
    view->addObject(Key("persons"), anne);
    insert(ctx, "ModelDefaults", {{"focalPerson", ref(anne)}, {"selectedPerson", ref(mary)}, {"currentView", ref(view)},
                                  {"maxPersonId", 3}});
}

class DataMigration : public ModelFixture {
protected:
    void SetUp() override
    {
        ModelFixture::SetUp();
        TestSupport::useFreshDefaults();
        data = dir.path() + "/data";
        QDir().mkpath(data);
        UserDefaults::standard().setString("KinloomDataDirectory", data);
        UserDefaults::standard().setBool("loggingOn", true);
        g_log.clear();
        FTLogSetSink(captureLog);
    }
    void TearDown() override
    {
        FTLogSetSink(nullptr);
        QFile::setPermissions(data, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        ModelFixture::TearDown();
    }

    QString smiths(const QString& name = "Smith.RezUdu")
    {
        const QString path = data + "/" + name;
        QString error;
        EXPECT_TRUE(createDOvurV5Store(path, fillSmiths, &error)) << error.toStdString();
        return path;
    }

    // Converts on this thread, keeping every report.
    DataMigrationOutcome convert(const QString& oldPath, const QString& newPath)
    {
        DataMigrator migrator(oldPath, newPath);
        migrator.setReporter([this](const DataMigrationReport& r) { reports.push_back(r); });
        return migrator.migrateDataThread();
    }

    static FTPerson* named(FTMoc* moc, const QString& name)
    {
        return moc->fetchFirst<FTPerson>([&](const FTPerson* p) { return p->name() == name; });
    }

    RegisteredDOvurV5 v5;
    QString data;
    std::vector<DataMigrationReport> reports;
};

TEST_F(DataMigration, TheSmithsBecomeANewDatabaseBesideTheOldFileKeptUnderItsOldName)
{
    const QString old = smiths();
    const QByteArray before = readFile(old);
    const DataMigrationOutcome outcome = convert(old, data + "/Smith_1.RezUdu");
    ASSERT_TRUE(outcome.succeeded) << outcome.failure.toStdString();
    EXPECT_TRUE(outcome.renameFailure.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(old));
    EXPECT_EQ(readFile(old + "_old"), before) << "the old file is only read";
    EXPECT_EQ(QDir(data).entryList(QDir::Files | QDir::Hidden),
              (QStringList {"Smith.RezUdu_old", "Smith_1.RezUdu"}))
        << "no lock or journal is left";
    EXPECT_TRUE(prompts.records.isEmpty());
    // 4 people, 4 events, a couple, 4 links, a source, a citation, a picture, its original, a story, a view.
    EXPECT_EQ(outcome.numObjects, 19);
    EXPECT_TRUE(g_log.contains(QStringLiteral("numObjects = 19, numAttributes = %1, numRels = %2")
                                   .arg(outcome.numAttributes)
                                   .arg(outcome.numRels)))
        << g_log.join("\n").toStdString();

    auto moc = FTMoc::initForStoreURL(data + "/Smith_1.RezUdu", true);
    ASSERT_TRUE(moc);
    EXPECT_EQ(moc->momVersion(), "DOvurV6");
    FTPerson* john = named(moc.get(), "John Smith");
    FTPerson* mary = named(moc.get(), "Mary Brown");
    FTPerson* anne = named(moc.get(), "Anne Smith");
    FTPerson* tom = named(moc.get(), "Tom Smith");
    ASSERT_TRUE(john && mary && anne && tom);
    EXPECT_EQ(moc->count<FTPerson>(), 4);

    // Shared attributes keep their stored values, stamps included; one the old model had is gone, one it lacked
    // has its default.
    EXPECT_EQ(john->notes(), "A mason.");
    EXPECT_EQ(john->gender(), "M");
    EXPECT_EQ(john->lastChange(), kStamp);
    EXPECT_FALSE(john->entity()->property("soundexCode"));
    FTSource* source = moc->fetchFirst<FTSource>();
    ASSERT_TRUE(source);
    EXPECT_EQ(source->title(), "Parish register");
    EXPECT_FALSE(source->isNil(Key("flags")));
    EXPECT_EQ(source->integerValue(Key("flags")), 0);

    // Parents with their link types; couples with partners and marriage events; events with their owners.
    auto parentsOf = [](FTPerson* child) {
        QStringList out;
        for (FTPcRel* link : child->parents())
            out << QStringLiteral("%1:%2").arg(link->parent()->name()).arg(link->pcRelType());
        out.sort();
        return out;
    };
    EXPECT_EQ(parentsOf(anne), (QStringList {"John Smith:1", "Mary Brown:1"}));
    EXPECT_EQ(parentsOf(tom), (QStringList {"John Smith:4", "Mary Brown:2"}));
    EXPECT_EQ(john->children().size(), 2);
    ASSERT_EQ(john->spouseRels().size(), 1);
    FTSpouseRel* couple = john->spouseRels().first();
    EXPECT_EQ(couple->objectList<FTPerson>(Key("partners")).size(), 2);
    EXPECT_EQ(mary->spouseRels(), john->spouseRels());
    ASSERT_TRUE(couple->object<FTEvent>(Key("marriage")));
    EXPECT_EQ(couple->object<FTEvent>(Key("marriage"))->date(), "1925");
    ASSERT_EQ(couple->otherMarriageEventsArray().size(), 1);
    EXPECT_EQ(couple->otherMarriageEventsArray().first()->subtype(), "DIV");
    ASSERT_TRUE(john->birth());
    EXPECT_EQ(john->birth()->place(), "York, England");
    ASSERT_EQ(john->otherEvents().size(), 1);
    EXPECT_EQ(john->otherEvents().first()->name(), "Mason");

    // Citations, pictures with their originals, and the story linked from the side both models share.
    ASSERT_EQ(john->birth()->objectList<FTSourceRel>(Key("sourceRels")).size(), 1);
    FTSourceRel* citation = john->birth()->objectList<FTSourceRel>(Key("sourceRels")).first();
    EXPECT_EQ(citation->source(), source);
    EXPECT_EQ(citation->person(), john);
    ASSERT_EQ(john->pictures().size(), 1);
    EXPECT_EQ(john->defaultPicture(), john->pictures().first());
    EXPECT_EQ(john->pictures().first()->filename(), "john.jpg");
    ASSERT_TRUE(john->pictures().first()->originalPicture());
    EXPECT_EQ(john->pictures().first()->originalPicture()->data(), QByteArray("original picture bytes"));
    ASSERT_TRUE(anne->story());
    EXPECT_EQ(anne->story()->data(), QByteArray("<p>Anne's story</p>"));

    // The focal and selected people and the current view carry over.
    EXPECT_EQ(moc->modelDefaults()->focalPerson(), anne);
    EXPECT_EQ(moc->modelDefaults()->selectedPerson(), mary);
    ASSERT_TRUE(moc->modelDefaults()->currentView());
    EXPECT_EQ(moc->modelDefaults()->currentView()->name(), "Smiths");
    EXPECT_EQ(moc->modelDefaults()->currentView()->objectList<FTPerson>(Key("persons")).size(), 2);

    // The doubled number is given again above the highest one.
    EXPECT_EQ(QSet<int>({anne->numericId(), tom->numericId()}), QSet<int>({3, 4}));
    EXPECT_EQ(moc->modelDefaults()->maxPersonId(), 4);

    // Event types are the new database's own; linking the events to them waits for the first opening's sheet.
    EXPECT_GT(moc->count<FTEventType>(), 10);
    EXPECT_EQ(moc->count<FTEvent>([](const FTEvent* e) { return e->eventType() != nullptr; }), 0);
    const QVariantMap metadata = moc->metadata();
    EXPECT_FALSE(metadata.contains("EventTypeIndexCreated"));
    EXPECT_TRUE(metadata.contains("PcRelTypesConverted2") && metadata.contains("NameComponentsPopulated"));
}

// Every report in order: the people first, an entity at a time short of the steps that follow, a line every
// hundred records, then the model defaults, the save and 100 last.
TEST_F(DataMigration, ReportsClimbStepByStepAndEndAtOneHundred)
{
    const DataMigrationOutcome outcome = convert(smiths(), data + "/Smith_1.RezUdu");
    ASSERT_TRUE(outcome.succeeded);
    ASSERT_GE(reports.size(), 6u);
    EXPECT_EQ(reports.front().progress, 2);
    EXPECT_EQ(reports.front().message, L("MigratingPeople"));
    EXPECT_EQ(reports[1].message, QStringLiteral("%1 Person - 0 %2 4 ").arg(L("Migrating"), L("ConjunctiveOf")));
    EXPECT_EQ(reports[1].progress, 0);
    EXPECT_EQ(reports[1].elapsed, 0);
    QStringList entitySteps;
    float last = 0;
    for (const DataMigrationReport& r : reports) {
        if (r.progress > 0) {
            EXPECT_GE(r.progress, last) << r.message.toStdString();
            EXPECT_GT(r.elapsed, 0);
            last = r.progress;
        }
        if (r.message.endsWith('s') && r.progress > 2 && r.progress < 95) {
            entitySteps << r.message.section(' ', 1);
            EXPECT_LE(r.progress, 94);
        }
    }
    EXPECT_EQ(entitySteps.first(), "BirthEvents");
    EXPECT_TRUE(entitySteps.contains("Repositorys")) << "an entity the new model lacks is passed over";
    EXPECT_FALSE(entitySteps.contains("EventTypes") || entitySteps.contains("ModelDefaultss"));
    const size_t n = reports.size();
    EXPECT_EQ(reports[n - 3].progress, 95);
    EXPECT_EQ(reports[n - 3].message, L("MigratingModelDefaults"));
    EXPECT_EQ(reports[n - 2].progress, 98);
    EXPECT_EQ(reports[n - 2].message, L("SavingNewDb"));
    EXPECT_EQ(reports[n - 1].progress, 100);
    EXPECT_EQ(reports[n - 1].message, L("AllDoneExit"));
}

// What stops a conversion before it copies anything, and what each leaves: never a new file, the old one as it was.
TEST_F(DataMigration, ADatabaseThatCannotBeConvertedLeavesNoNewFileAndTheOldOneAsItWas)
{
    struct Case {
        const char* name;
        std::function<QString()> make; // the old file
        QString newName;
        QStringList failure;
    };
    const Case cases[] = {
        {"no people", [&] {
             const QString path = data + "/Empty.RezUdu";
             EXPECT_TRUE(createDOvurV5Store(path, [](ObjectContext& ctx) { insert(ctx, "Source", {{"title", "S"}}); }));
             return path;
         }, "Empty_1.RezUdu", {L("CannotMigrate")}},
        {"an unknown model", [&] {
             const QString path = smiths("Jones.RezUdu");
             ObjectContext ctx(olderModelDOvurV5());
             EXPECT_TRUE(ctx.open(path));
             ctx.setMetadataValue(FTMoc::kMomKey, "DOvurV4");
             EXPECT_TRUE(ctx.save());
             return path;
         }, "Jones_1.RezUdu", {"Unable to find the data model DOvurV4", L("CannotMigrate")}},
        {"not a database", [&] {
             const QString path = data + "/Notes.RezUdu";
             QFile f(path);
             EXPECT_TRUE(f.open(QIODevice::WriteOnly));
             f.write("just some notes");
             return path;
         }, "Notes_1.RezUdu", {L("CannotMigrate")}},
        {"the new name taken meanwhile", [&] {
             const QString path = smiths("Brown.RezUdu");
             QFile taken(data + "/Brown_1.RezUdu");
             EXPECT_TRUE(taken.open(QIODevice::WriteOnly));
             taken.write("someone else's");
             return path;
         }, "Brown_1.RezUdu", {L("UnableToCreate")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString old = c.make();
        const QString newPath = data + "/" + c.newName;
        const QByteArray before = readFile(old);
        const QByteArray existing = readFile(newPath);
        const DataMigrationOutcome outcome = convert(old, newPath);
        EXPECT_FALSE(outcome.succeeded);
        for (const QString& piece : c.failure)
            EXPECT_THAT(outcome.failure.toStdString(), HasSubstr(piece.toStdString()));
        EXPECT_EQ(readFile(old), before);
        EXPECT_FALSE(QFileInfo::exists(old + "_old"));
        EXPECT_EQ(readFile(newPath), existing) << "a file made by someone else stays; none of our own is left";
        EXPECT_EQ(QFileInfo::exists(newPath), !existing.isEmpty());
        EXPECT_TRUE(prompts.records.isEmpty()) << "the window shows the failure, not the worker";
    }
    EXPECT_TRUE(QDir(data).entryList({".*.lock"}, QDir::Files | QDir::Hidden).isEmpty());
}

TEST_F(DataMigration, AnOldFileThatCannotBeRenamedIsToldInTheLastMessageAndTheNewDatabaseStands)
{
    const QString old = smiths();
    QFile earlier(old + "_old");
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("an earlier conversion's old file");
    earlier.close();
    const DataMigrationOutcome outcome = convert(old, data + "/Smith_1.RezUdu");
    EXPECT_TRUE(outcome.succeeded);
    EXPECT_THAT(outcome.renameFailure.toStdString(), HasSubstr(QDir::toNativeSeparators(old + "_old").toStdString()));
    EXPECT_EQ(reports.back().progress, 100);
    EXPECT_EQ(reports.back().message, outcome.renameFailure);
    EXPECT_TRUE(QFileInfo::exists(old));
    EXPECT_EQ(readFile(old + "_old"), "an earlier conversion's old file");
    EXPECT_TRUE(FTMoc::initForStoreURL(data + "/Smith_1.RezUdu", true));
}

TEST_F(DataMigration, VersionNumbersOfModelNamesAndTheOldFilesOfTheDataFolder)
{
    const std::pair<const char*, int> numbers[] = {{"DOvurV6", 6}, {"DOvurV5", 5}, {"DOvurV12", 12}, {"DOvurVx", 0},
                                                   {"DOvurV", -1}, {"DOvur6", -1}, {"", -1}};
    for (const auto& [name, number] : numbers)
        EXPECT_EQ(DataMigrator::momVersionNumber(name), number) << name;

    smiths();
    QString error;
    ASSERT_TRUE(SyntheticDatabase::create(data + "/Current.RezUdu", 3, &error)) << error.toStdString();
    {
        ObjectContext ctx(DOvurV6Schema());
        ASSERT_TRUE(ctx.open(data + "/Current.RezUdu"));
        ctx.setMetadataValue(FTMoc::kMomKey, FTMoc::kCurrentModelVersion);
        ASSERT_TRUE(ctx.save());
    }
    ASSERT_TRUE(SyntheticDatabase::create(data + "/NoKey.rezudu", 3, &error));
    ASSERT_TRUE(createDOvurV5Store(data + "/Short.RezUdu", [](ObjectContext& ctx) {
        ctx.setMetadataValue(FTMoc::kMomKey, "DOvur");
    }));
    QFile notes(data + "/notes.txt");
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.close();
    QFile broken(data + "/Broken.RezUdu");
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a database");
    broken.close();

    QStringList listed;
    for (const DataMigrator::OldFile& f : DataMigrator::findOldModels(data)) {
        listed << f.filename + " " + f.version;
        EXPECT_EQ(f.path, data + "/" + f.filename);
    }
    EXPECT_EQ(listed, (QStringList {"Broken.RezUdu DOvurV-1", "NoKey.rezudu DOvurV-1", "Short.RezUdu DOvurV-1",
                                    "Smith.RezUdu DOvurV5"}));
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_THAT(prompts.records[0].text.toStdString(), HasSubstr(L("NoMetadata").toStdString()));
    EXPECT_THAT(prompts.records[0].text.toStdString(), HasSubstr("Broken.RezUdu"));
}

// The real road: a worker of its own, its reports queued to the main thread in order, the outcome last.
class DataMigrationOnTheWorker : public DataMigration {
protected:
    void SetUp() override
    {
        DataMigration::SetUp();
        // The worker logs while the main thread runs: nothing here collects it.
        FTLogSetSink(nullptr);
        UserDefaults::standard().setBool("loggingOn", false);
    }
    DataMigrationOutcome runOnWorker(std::unique_ptr<DataMigrator> migrator)
    {
        QObject receiver;
        bool finished = false;
        DataMigrationOutcome outcome;
        DataMigrator::start(
            std::move(migrator), &receiver,
            [&](const DataMigrationReport& r) {
                EXPECT_TRUE(QThread::currentThread() == QCoreApplication::instance()->thread());
                EXPECT_FALSE(finished) << "the outcome comes last";
                reports.push_back(r);
            },
            [&](const DataMigrationOutcome& o) {
                EXPECT_TRUE(QThread::currentThread() == QCoreApplication::instance()->thread());
                outcome = o;
                finished = true;
            });
        QElapsedTimer t;
        t.start();
        while (!finished && t.elapsed() < 20000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        EXPECT_TRUE(finished);
        return outcome;
    }
};

TEST_F(DataMigrationOnTheWorker, ReportsArriveOnTheMainThreadInOrderAndEndAtOneHundred)
{
    const QString old = smiths();
    QThread* worker = nullptr;
    std::atomic<bool> askedFromTheWorker {false};
    ModelHooks::shared().currentDocumentMoc = [&]() -> FTMoc* {
        if (QThread::currentThread() != QCoreApplication::instance()->thread())
            askedFromTheWorker = true;
        return nullptr;
    };
    auto migrator = std::make_unique<DataMigrator>(old, data + "/Smith_1.RezUdu");
    migrator->setReporter([&](const DataMigrationReport&) { worker = QThread::currentThread(); });
    const DataMigrationOutcome outcome = runOnWorker(std::move(migrator));
    EXPECT_TRUE(outcome.succeeded) << outcome.failure.toStdString();
    EXPECT_NE(worker, QCoreApplication::instance()->thread());
    EXPECT_FALSE(askedFromTheWorker) << "the worker never asks for the front document";
    std::vector<DataMigrationReport> direct;
    DataMigrator again(smiths("Again.RezUdu"), data + "/Again_1.RezUdu");
    again.setReporter([&](const DataMigrationReport& r) { direct.push_back(r); });
    again.migrateDataThread();
    ASSERT_EQ(reports.size(), direct.size());
    for (size_t i = 0; i < reports.size(); ++i) {
        EXPECT_EQ(reports[i].progress, direct[i].progress) << i;
        EXPECT_EQ(reports[i].message, direct[i].message) << i;
    }
    EXPECT_EQ(reports.back().progress, 100);
    EXPECT_TRUE(QFileInfo::exists(old + "_old"));
}

// The save into a data folder made read-only while the copy ran fails the conversion: told on the main thread,
// no new file left, the old file unchanged and under its own name.
TEST_F(DataMigrationOnTheWorker, AFailedSaveIsToldAndLeavesNoNewFileAndTheOldOneUnchanged)
{
    const QString old = smiths();
    const QByteArray before = readFile(old);
    const QString newPath = data + "/Smith_1.RezUdu";
    auto migrator = std::make_unique<DataMigrator>(old, newPath);
    // On the worker: the folder turns read-only for the save (root writes through any permission, so the worker
    // gives that up meanwhile), and writable again once the failure is told.
    std::unique_ptr<WithoutPermissionOverride> asUser;
    migrator->setReporter([&](const DataMigrationReport& r) {
        if (r.message == L("SavingNewDb")) {
            asUser = std::make_unique<WithoutPermissionOverride>();
            QFile::setPermissions(data, QFile::ReadOwner | QFile::ExeOwner);
        } else if (asUser) {
            QFile::setPermissions(data, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            asUser.reset();
        }
    });
    const DataMigrationOutcome outcome = runOnWorker(std::move(migrator));
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_THAT(outcome.failure.toStdString(), HasSubstr("could not be saved"));
    EXPECT_THAT(outcome.failure.toStdString(), HasSubstr("cannot be written"));
    EXPECT_EQ(reports.back().message, outcome.failure);
    EXPECT_LT(reports.back().progress, 100);
    EXPECT_FALSE(QFileInfo::exists(newPath));
    EXPECT_EQ(readFile(old), before);
    EXPECT_FALSE(QFileInfo::exists(old + "_old"));
    EXPECT_EQ(QDir(data).entryList(QDir::Files | QDir::Hidden), (QStringList {"Smith.RezUdu"}));
    EXPECT_EQ(terminations, 0);
}

}
