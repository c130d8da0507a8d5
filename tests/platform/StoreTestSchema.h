#pragma once

// A small schema of its own for the store's tests: attributes of every type, one-to-one, one-to-many and
// many-to-many relationships with both delete rules, a derived key, and an inheritance tree whose sub-entities
// share one table and one link column.

#include "platform/store/ManagedObject.h"
#include "platform/store/ObjectContext.h"
#include "platform/store/StoreSchema.h"

#include <QStringList>

#include <vector>

class TestAuthor : public ManagedObject {
public:
    static constexpr const char* kEntityName = "Author";
    QString name() const { return stringValue(kName()); }
    void setName(const QString& v) { setString(kName(), v); }
    static const Key& kName()
    {
        static const Key k("name");
        return k;
    }
    // Every hook call, as "will:key" or "did:key".
    std::vector<QString> hookLog;

protected:
    void keyWillChange(const Key& key) override { hookLog.push_back("will:" + key.name()); }
    void keyDidChange(const Key& key) override { hookLog.push_back("did:" + key.name()); }
};

inline const StoreSchema& testSchema()
{
    static StoreSchema* schema = [] {
        auto* s = new StoreSchema("TestSchema");
        s->entity("Author")
            .objectClass<TestAuthor>()
            .attribute("name", AttributeType::String)
            .attribute("born", AttributeType::Integer32, 0)
            .attribute("rating", AttributeType::Double)
            .attribute("alive", AttributeType::Boolean, true)
            .attribute("updated", AttributeType::Date)
            .attribute("code", AttributeType::Integer64)
            .attribute("extra", AttributeType::Binary)
            .attribute("photo", AttributeType::Binary, {}, { .lazy = true })
            .attribute("scratch", AttributeType::Integer64, {}, { .transient = true })
            .toMany("books", "Book", "author", DeleteRule::Cascade)
            .toOne("portrait", "Portrait", "author", DeleteRule::Cascade)
            .toMany("clubs", "Club", "members")
            .toOne("shortNote", "ShortNote", "author", DeleteRule::Cascade)
            .toMany("longNotes", "LongNote", "author")
            .derived("label",
                [](const ManagedObject* o) {
                    return QVariant(o->stringValue("name") + " (" + QString::number(o->integerValue("born")) + ")");
                },
                {}, { "name", "born" });
        s->entity("Book")
            .attribute("title", AttributeType::String)
            .attribute("year", AttributeType::Integer16, 0)
            .toOne("author", "Author", "books");
        s->entity("Portrait").attribute("caption", AttributeType::String).toOne("author", "Author", "portrait");
        s->entity("Club").attribute("name", AttributeType::String).toMany("members", "Author", "clubs");
        s->entity("Note").abstract().attribute("text", AttributeType::String);
        s->entity("ShortNote").inherits("Note").toOne("author", "Author", "shortNote", DeleteRule::Nullify, true);
        s->entity("LongNote")
            .inherits("Note")
            .attribute("pages", AttributeType::Integer32)
            .toOne("author", "Author", "longNotes");
        s->finalize();
        return s;
    }();
    return *schema;
}

// Every live record of the context as text, in a fixed order: entity, key, then each stored attribute and each
// relationship (as the sorted keys of its objects). Two contexts with equal snapshots hold the same data.
inline QStringList snapshot(const ObjectContext& ctx)
{
    QStringList out;
    for (const char* entity : { "Author", "Book", "Portrait", "Club", "Note" }) {
        for (ManagedObject* o : ctx.fetch(entity)) {
            QStringList fields { o->entityName(), QString::number(o->primaryKey()) };
            for (const PropertyDescription* p : o->entity()->properties()) {
                if (p->transient || p->isDerived())
                    continue;
                const QVariant v = o->value(p->key);
                QString text;
                if (p->isToOne()) {
                    ManagedObject* t = ManagedObject::fromVariant(v);
                    text = t ? QString::number(t->primaryKey()) : "nil";
                } else if (p->isToMany()) {
                    QList<qint64> keys;
                    for (ManagedObject* t : o->objects(p->key))
                        keys << t->primaryKey();
                    std::sort(keys.begin(), keys.end());
                    for (qint64 k : keys)
                        text += QString::number(k) + ",";
                } else if (!v.isValid()) {
                    text = "nil";
                } else if (p->type == AttributeType::Binary) {
                    text = "0x" + v.toByteArray().toHex();
                } else if (p->type == AttributeType::Date) {
                    text = v.toDateTime().toUTC().toString(Qt::ISODateWithMs);
                } else {
                    text = "'" + v.toString() + "'";
                }
                fields << p->name + "=" + text;
            }
            out << fields.join(' ');
        }
    }
    return out;
}

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QFile>

// A path in the test folder where no file exists yet.
inline QString freshStorePath(const QString& name)
{
    static int counter = 0;
    const QString path = QStringLiteral("%1/%2-%3.RezUdu").arg(TestSupport::tempRoot(), name).arg(++counter);
    QFile::remove(path);
    return path;
}

inline QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A new store at a fresh path holding `authors` authors named "Author 0", "Author 1", ...
inline QString storeWithAuthors(const QString& name, int authors)
{
    const QString path = freshStorePath(name);
    ObjectContext ctx(testSchema());
    EXPECT_TRUE(ctx.open(path, ObjectContext::OpenMode::CreateIfMissing));
    for (int i = 0; i < authors; ++i)
        ctx.insertObject("Author")->setString("name", QString("Author %1").arg(i));
    EXPECT_TRUE(ctx.save());
    return path;
}

// The records as the file holds them, read through a copy: the store itself may be open in a context, and a
// store has one context at a time.
inline QStringList storedSnapshot(const QString& path)
{
    const QString copy = freshStorePath("copy");
    if (!QFile::copy(path, copy))
        return {QStringLiteral("cannot copy %1").arg(path)};
    ObjectContext other(testSchema());
    QString error;
    if (!other.open(copy, ObjectContext::OpenMode::Existing, &error))
        return {error};
    return snapshot(other);
}
