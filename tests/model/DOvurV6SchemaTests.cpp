#include "model/DOvurV6Schema.h"
#include "model/FTAssociation.h"
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
#include "model/FTThumbnail.h"
#include "model/SyntheticDatabase.h"

#include "platform/store/EntityDescription.h"
#include "platform/store/ObjectContext.h"
#include "platform/store/StoreSchema.h"

#include "TestSupport.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {
QString freshPath(const char* name)
{
    static int n = 0;
    const QString path = QStringLiteral("%1/%2-%3.RezUdu").arg(TestSupport::tempRoot(), name).arg(++n);
    QFile::remove(path);
    return path;
}

// Every live record, attribute by attribute and link by link (links as the keys of the other records).
QStringList snapshot(const ObjectContext& ctx)
{
    QStringList out;
    for (const StoreSchema::Table& t : ctx.schema().tables()) {
        for (ManagedObject* o : ctx.fetch(t.root->name())) {
            QStringList fields { o->entityName(), QString::number(o->primaryKey()) };
            for (const PropertyDescription* p : o->entity()->properties()) {
                QString text;
                if (p->isToOne()) {
                    ManagedObject* other = o->objectValue(p->key);
                    text = other ? other->entityName() + QString::number(other->primaryKey()) : "nil";
                } else if (p->isToMany()) {
                    QStringList keys;
                    for (ManagedObject* other : o->objects(p->key))
                        keys << other->entityName() + QString::number(other->primaryKey());
                    keys.sort();
                    text = keys.join(',');
                } else if (p->isAttribute()) {
                    const QVariant v = o->value(p->key);
                    text = !v.isValid()                    ? "nil"
                        : p->type == AttributeType::Binary ? "0x" + v.toByteArray().toHex()
                        : p->type == AttributeType::Date   ? v.toDateTime().toUTC().toString(Qt::ISODateWithMs)
                                                           : "'" + v.toString() + "'";
                }
                out << fields.join(' ') + ' ' + p->name + '=' + text;
            }
        }
    }
    return out;
}

// Gives every attribute of the record a value of its own.
void fillAttributes(ManagedObject* o, int seed)
{
    for (const PropertyDescription* p : o->entity()->properties()) {
        if (!p->isAttribute())
            continue;
        const QString tag = QStringLiteral("%1.%2.%3").arg(o->entityName(), p->name).arg(seed);
        switch (p->type) {
        case AttributeType::String:
            o->setValue(p->key, tag + " é");
            break;
        case AttributeType::Binary:
            o->setValue(p->key, tag.toUtf8().repeated(p->lazy ? 2000 : 1));
            break;
        case AttributeType::Date:
            o->setValue(p->key, QDateTime::fromMSecsSinceEpoch(1500000000000 + seed * 1000 + p->index));
            break;
        case AttributeType::Double:
            o->setValue(p->key, seed + 0.5);
            break;
        case AttributeType::Boolean:
            o->setValue(p->key, true);
            break;
        default:
            o->setValue(p->key, seed * 100 + p->index);
            break;
        }
    }
}

struct Family {
    FTPerson *father, *mother, *child, *friendOf;
    FTSpouseRel* couple;
    FTEvent *birth, *death, *baptism, *marriage, *divorce;
    FTPcRel *fatherLink, *motherLink;
    FTSource* source;
    FTSourceRel *personCitation, *eventCitation, *pictureCitation;
    FTPicture *picture, *sourcePicture;
    FTOriginalPicture* thumbnail;
    FTThumbnail* unusedThumbnail;
    FTStory* story;
    FTProjectView *ancestors, *chosen;
    FTModelDefaults* defaults;
    FTEventType* birthType;
    FTAssociation* godfather;
};

Family makeFamily(ObjectContext& ctx)
{
    Family f {};
    int seed = 0;
    auto make = [&](const char* entity) {
        ManagedObject* o = ctx.insertObject(QString::fromLatin1(entity));
        fillAttributes(o, ++seed);
        return o;
    };
    f.father = static_cast<FTPerson*>(make("Person"));
    f.mother = static_cast<FTPerson*>(make("Person"));
    f.child = static_cast<FTPerson*>(make("Person"));
    f.friendOf = static_cast<FTPerson*>(make("Person"));
    f.couple = static_cast<FTSpouseRel*>(make("SpouseRel"));
    f.couple->addPartnersObject(f.father);
    f.mother->addSpouseRelsObject(f.couple);
    f.birth = static_cast<FTEvent*>(make("BirthEvent"));
    f.child->setBirth(f.birth);
    f.death = static_cast<FTEvent*>(make("DeathEvent"));
    f.death->setPerson(f.father);
    f.baptism = static_cast<FTEvent*>(make("OtherPersonalEvent"));
    f.child->addOtherEventsObject(f.baptism);
    f.marriage = static_cast<FTEvent*>(make("MarriageEvent"));
    f.couple->setMarriage(f.marriage);
    f.divorce = static_cast<FTEvent*>(make("OtherMarriageEvent"));
    f.divorce->setSpouseRel(f.couple);
    f.fatherLink = static_cast<FTPcRel*>(make("PcRel"));
    f.fatherLink->setParent(f.father);
    f.fatherLink->setChild(f.child);
    f.motherLink = static_cast<FTPcRel*>(make("PcRel"));
    f.mother->addChildrenObject(f.motherLink);
    f.child->addParentsObject(f.motherLink);
    f.source = static_cast<FTSource*>(make("Source"));
    f.personCitation = static_cast<FTSourceRel*>(make("SourceRel"));
    f.personCitation->setSource(f.source);
    f.personCitation->setPerson(f.father);
    f.eventCitation = static_cast<FTSourceRel*>(make("SourceRel"));
    f.eventCitation->setSource(f.source);
    f.eventCitation->setEvent(f.birth);
    f.eventCitation->setPerson(f.child);
    f.picture = static_cast<FTPicture*>(make("Picture"));
    f.picture->setOwner(f.child);
    f.child->setDefaultPicture(f.picture);
    f.pictureCitation = static_cast<FTSourceRel*>(make("SourceRel"));
    f.pictureCitation->setSource(f.source);
    f.picture->addSourceRelsObject(f.pictureCitation);
    f.sourcePicture = static_cast<FTPicture*>(make("Picture"));
    f.source->setPicture(f.sourcePicture);
    f.thumbnail = static_cast<FTOriginalPicture*>(make("OriginalPicture"));
    f.picture->setOriginalPicture(f.thumbnail);
    f.unusedThumbnail = static_cast<FTThumbnail*>(make("Thumbnail"));
    f.sourcePicture->setThumbnail(f.unusedThumbnail);
    f.story = static_cast<FTStory*>(make("Story"));
    f.child->setStory(f.story);
    f.ancestors = static_cast<FTProjectView*>(make("ProjectView"));
    f.ancestors->setRootPersonInAncestralView(f.child);
    f.chosen = static_cast<FTProjectView*>(make("ProjectView"));
    f.chosen->addPersonsObject(f.father);
    f.chosen->addPersonsObject(f.friendOf);
    f.defaults = static_cast<FTModelDefaults*>(make("ModelDefaults"));
    f.defaults->setFocalPerson(f.child);
    f.defaults->setSelectedPerson(f.father);
    f.defaults->setCurrentView(f.ancestors);
    f.birthType = static_cast<FTEventType*>(make("EventType"));
    f.birth->setEventType(f.birthType);
    f.godfather = static_cast<FTAssociation*>(make("Association"));
    f.godfather->setFromPerson(f.child);
    f.godfather->setToPerson(f.friendOf);
    return f;
}
}

TEST(DOvurV6Schema, EveryEntityRoundTripsThroughSaveAndReopen)
{
    const QString path = freshPath("family");
    QStringList before;
    {
        ObjectContext ctx(DOvurV6Schema());
        ASSERT_TRUE(ctx.open(path, ObjectContext::OpenMode::CreateIfMissing));
        const Family f = makeFamily(ctx);
        EXPECT_EQ(f.father->spouseRels(), QList<FTSpouseRel*> { f.couple });
        EXPECT_EQ(f.mother->spouseRels(), QList<FTSpouseRel*> { f.couple });
        EXPECT_EQ(f.birth->person(), f.child);
        EXPECT_EQ(f.marriage->person(), nullptr) << "a couple's event has no person";
        EXPECT_EQ(f.father->death(), f.death);
        EXPECT_EQ(f.child->parents().size(), 2);
        EXPECT_EQ(f.child->ancestralView(), f.ancestors);
        EXPECT_EQ(f.friendOf->associationsFrom(), QList<FTAssociation*> { f.godfather });
        EXPECT_EQ(f.friendOf->projectViews(), QList<FTProjectView*> { f.chosen });
        EXPECT_EQ(f.ancestors->modelDefaultCurrentView(), f.defaults);
        before = snapshot(ctx);
        QString error;
        ASSERT_TRUE(ctx.save(&error)) << qPrintable(error);
    }
    ObjectContext ctx(DOvurV6Schema());
    ASSERT_TRUE(ctx.open(path));
    EXPECT_EQ(snapshot(ctx), before);
    // Typed accessors over the reopened file.
    auto* child = ctx.fetchFirst<FTPerson>([](const FTPerson* p) { return p->birth() != nullptr; });
    ASSERT_TRUE(child);
    EXPECT_EQ(child->birth()->entityName(), QString("BirthEvent"));
    EXPECT_EQ(child->birth()->eventType()->events().size(), 1);
    EXPECT_EQ(child->story()->data().size(), QString("Story.data.21").toUtf8().size() * 2000);
    EXPECT_EQ(child->defaultPicture()->originalPicture()->picture(), child->defaultPicture());
    EXPECT_EQ(ctx.fetchFirst<FTModelDefaults>()->focalPerson(), child);
    EXPECT_EQ(ctx.count<FTEvent>(), 5);
}

TEST(DOvurV6Schema, DeletingARecordTakesWhatItOwns)
{
    ObjectContext ctx(DOvurV6Schema());
    ASSERT_TRUE(ctx.open(freshPath("deletes"), ObjectContext::OpenMode::CreateIfMissing));
    Family f = makeFamily(ctx);

    ctx.deleteObject(f.father);
    const std::pair<const char*, ManagedObject*> gone[] = {
        { "his death", f.death },
        { "the couple", f.couple },
        { "its marriage", f.marriage },
        { "its divorce", f.divorce },
        { "his link to the child", f.fatherLink },
        { "his citation", f.personCitation },
    };
    for (const auto& [what, o] : gone)
        EXPECT_TRUE(o->isDeleted()) << what;
    const std::pair<const char*, ManagedObject*> kept[] = {
        { "the mother", f.mother },
        { "the child", f.child },
        { "the source", f.source },
        { "the project view", f.chosen },
        { "the mother's link", f.motherLink },
    };
    for (const auto& [what, o] : kept)
        EXPECT_FALSE(o->isDeleted()) << what;
    EXPECT_TRUE(f.mother->spouseRels().isEmpty());
    EXPECT_EQ(f.chosen->persons(), QList<FTPerson*> { f.friendOf });
    EXPECT_EQ(f.defaults->selectedPerson(), nullptr);

    ctx.deleteObject(f.child);
    for (ManagedObject* o : std::initializer_list<ManagedObject*> { f.birth, f.baptism, f.motherLink, f.picture,
             f.thumbnail, f.pictureCitation, f.eventCitation, f.story, f.ancestors, f.godfather })
        EXPECT_TRUE(o->isDeleted()) << qPrintable(o->entityName());
    EXPECT_EQ(f.defaults->focalPerson(), nullptr);
    EXPECT_EQ(f.defaults->currentView(), nullptr);
    EXPECT_FALSE(f.birthType->isDeleted());
    EXPECT_TRUE(f.birthType->events().isEmpty());

    ctx.deleteObject(f.source);
    EXPECT_TRUE(f.sourcePicture->isDeleted());
    EXPECT_TRUE(f.unusedThumbnail->isDeleted());
    QString error;
    EXPECT_TRUE(ctx.save(&error)) << qPrintable(error);
}

TEST(SyntheticDatabase, BuildsFamiliesThatSurviveReopening)
{
    const QString path = freshPath("synthetic");
    SyntheticDatabase::Counts counts;
    QString error;
    ASSERT_TRUE(SyntheticDatabase::create(path, 2000, &error, &counts)) << qPrintable(error);
    EXPECT_EQ(counts.people, 2000);
    EXPECT_GT(counts.events, 2 * counts.people);
    EXPECT_LT(counts.events, 4 * counts.people);
    EXPECT_GT(counts.couples, counts.people / 5);
    EXPECT_FALSE(SyntheticDatabase::create(path, 10, &error)) << "an existing file is never replaced";

    ObjectContext ctx(DOvurV6Schema());
    ASSERT_TRUE(ctx.open(path));
    EXPECT_EQ(ctx.count<FTPerson>(), counts.people);
    EXPECT_EQ(ctx.count<FTEvent>(), counts.events);
    EXPECT_EQ(ctx.count<FTPcRel>(), counts.parentChildLinks);
    EXPECT_EQ(ctx.count<FTSpouseRel>([](const FTSpouseRel* c) { return c->partners().size() == 2; }), counts.couples);
    EXPECT_EQ(ctx.count<FTPcRel>([](const FTPcRel* l) { return l->parent() && l->child(); }), counts.parentChildLinks);
    EXPECT_EQ(ctx.count<FTPerson>([](const FTPerson* p) { return p->birth() != nullptr; }), counts.people);
    const FTModelDefaults* defaults = ctx.fetchFirst<FTModelDefaults>();
    ASSERT_TRUE(defaults);
    EXPECT_EQ(defaults->maxPersonId(), counts.people);
    EXPECT_TRUE(defaults->focalPerson());
}
