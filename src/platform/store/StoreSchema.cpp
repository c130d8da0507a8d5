#include "platform/store/StoreSchema.h"

#include "platform/store/ManagedObject.h"
#include "platform/store/ObjectSet.h"

#include <QByteArray>

#include <algorithm>
#include <stdexcept>

namespace {
[[noreturn]] void fail(const QString& what)
{
    throw std::logic_error(("StoreSchema: " + what).toStdString());
}

QString sqlType(const PropertyDescription& p)
{
    if (p.isToOne())
        return QStringLiteral("INTEGER");
    switch (p.type) {
    case AttributeType::Double:
        return QStringLiteral("REAL");
    case AttributeType::String:
        return QStringLiteral("TEXT");
    case AttributeType::Binary:
        return QStringLiteral("BLOB");
    default:
        return QStringLiteral("INTEGER");
    }
}

PropertyDescription::Slot slotFor(const PropertyDescription& p)
{
    switch (p.kind) {
    case PropertyDescription::Kind::ToOne:
        return PropertyDescription::Slot::Object;
    case PropertyDescription::Kind::ToMany:
        return PropertyDescription::Slot::Set;
    case PropertyDescription::Kind::Derived:
        return PropertyDescription::Slot::None;
    case PropertyDescription::Kind::Attribute:
        break;
    }
    switch (p.type) {
    case AttributeType::String:
        return PropertyDescription::Slot::String;
    case AttributeType::Binary:
        return PropertyDescription::Slot::Binary;
    default:
        return PropertyDescription::Slot::Number;
    }
}

int slotSize(PropertyDescription::Slot s)
{
    switch (s) {
    case PropertyDescription::Slot::Number:
        return 8;
    case PropertyDescription::Slot::String:
        return int(sizeof(QString));
    case PropertyDescription::Slot::Binary:
        return int(sizeof(QByteArray));
    case PropertyDescription::Slot::Object:
        return int(sizeof(void*));
    case PropertyDescription::Slot::Set:
        return int(sizeof(ObjectSet));
    case PropertyDescription::Slot::None:
        break;
    }
    return 0;
}

QString qualified(const PropertyDescription* p)
{
    return p->owner->name() + "." + p->name;
}
}

StoreSchema::StoreSchema(const QString& name)
    : m_name(name)
{
}

StoreSchema::~StoreSchema() = default;

QString StoreSchema::quoted(const QString& identifier)
{
    QString q = identifier;
    q.replace('"', QStringLiteral("\"\""));
    return '"' + q + '"';
}

EntityDescription& StoreSchema::entity(const QString& name)
{
    for (auto& e : m_owned)
        if (e->m_name == name)
            return *e;
    if (m_finalized)
        fail("the schema is final; cannot add entity " + name);
    if (name.isEmpty() || name.startsWith('_'))
        fail("invalid entity name '" + name + "'");
    m_owned.push_back(std::unique_ptr<EntityDescription>(new EntityDescription(this, name)));
    m_entities.push_back(m_owned.back().get());
    return *m_owned.back();
}

const EntityDescription* StoreSchema::entityNamed(const QString& name) const
{
    for (const EntityDescription* e : m_entities)
        if (e->name() == name)
            return e;
    return nullptr;
}

void StoreSchema::finalize()
{
    if (m_finalized)
        return;

    // Parents, roots and sub-entities
    for (auto& e : m_owned) {
        if (e->m_parentName.isEmpty())
            continue;
        EntityDescription* parent = nullptr;
        for (auto& p : m_owned)
            if (p->m_name == e->m_parentName)
                parent = p.get();
        if (!parent)
            fail(e->m_name + " inherits from unknown entity " + e->m_parentName);
        e->m_parent = parent;
        parent->m_subentities.push_back(e.get());
    }
    for (auto& e : m_owned) {
        const EntityDescription* r = e.get();
        int depth = 0;
        while (r->m_parent) {
            r = r->m_parent;
            if (++depth > int(m_owned.size()))
                fail("inheritance cycle through " + e->m_name);
        }
        e->m_root = r;
        if (!e->m_factory) {
            for (const EntityDescription* a = e->m_parent; a && !e->m_factory; a = a->m_parent) {
                e->m_factory = a->m_factory;
                e->m_objectSize = a->m_objectSize;
            }
            if (!e->m_factory) {
                e->m_factory = [](void* at) { return new (at) ManagedObject; };
                e->m_objectSize = int(sizeof(ManagedObject));
            }
        }
    }
    for (auto& e : m_owned)
        layOut(e.get());

    // Relationship targets and inverses
    for (auto& e : m_owned) {
        for (auto& p : e->m_declared) {
            if (!p->isRelationship())
                continue;
            const EntityDescription* target = entityNamed(p->targetName);
            if (!target)
                fail(qualified(p.get()) + " points to unknown entity " + p->targetName);
            p->target = target;
            const PropertyDescription* inv = target->property(p->inverseName);
            if (!inv || !inv->isRelationship())
                fail(qualified(p.get()) + " has no inverse " + p->targetName + "." + p->inverseName);
            p->inverse = inv;
        }
    }
    for (auto& e : m_owned) {
        for (auto& p : e->m_declared) {
            if (!p->isRelationship())
                continue;
            const PropertyDescription* inv = p->inverse;
            if (inv->inverseName != p->name || !p->owner->isKindOf(entityNamed(inv->targetName))
                || !p->target->isKindOf(inv->owner))
                fail(qualified(p.get()) + " and " + qualified(inv) + " are not each other's inverse");
        }
    }

    // Where each link is stored
    for (auto& e : m_owned) {
        for (auto& p : e->m_declared) {
            if (!p->isRelationship())
                continue;
            auto* inv = const_cast<PropertyDescription*>(p->inverse);
            if (p->isToOne() && inv->isToMany()) {
                p->column = 0; // marks the key-holding side; the real column comes with the table
            } else if (p->isToOne() && inv->isToOne()) {
                bool mine;
                if (p->wantsForeignKey != inv->wantsForeignKey)
                    mine = p->wantsForeignKey;
                else if (p->wantsForeignKey)
                    fail(qualified(p.get()) + " and " + qualified(inv) + " both ask to hold the key");
                else
                    mine = std::make_pair(p->owner->name(), p->name) < std::make_pair(inv->owner->name(), inv->name);
                p->column = mine ? 0 : -1;
            } else if (p->isToMany() && inv->isToMany()) {
                const bool source
                    = std::make_pair(p->owner->name(), p->name) < std::make_pair(inv->owner->name(), inv->name);
                if (source) {
                    JoinTable j;
                    j.name = p->owner->root()->name() + "_" + p->name;
                    j.source = p.get();
                    j.destination = inv;
                    p->joinTable = inv->joinTable = int(m_joinTables.size());
                    p->joinSource = true;
                    inv->joinSource = false;
                    m_joinTables.push_back(j);
                }
            }
        }
    }

    for (auto& e : m_owned)
        if (!e->m_parent)
            buildTable(e.get());

    // Derived keys: which keys change them
    for (auto& e : m_owned) {
        for (const PropertyDescription* p : e->m_properties) {
            for (const QString& dep : p->dependsOn) {
                const int id = Key(dep).id();
                auto it = std::find_if(e->m_dependents.begin(), e->m_dependents.end(),
                    [id](const auto& entry) { return entry.first == id; });
                if (it == e->m_dependents.end())
                    it = e->m_dependents.insert(e->m_dependents.end(), { id, {} });
                it->second.push_back(p);
            }
        }
    }
    m_finalized = true;
}

void StoreSchema::layOut(EntityDescription* e)
{
    if (e->m_laidOut)
        return;
    int offset = 0;
    int bits = 0;
    if (e->m_parent) {
        auto* parent = const_cast<EntityDescription*>(e->m_parent);
        layOut(parent);
        e->m_properties = parent->m_properties;
        offset = parent->m_blockSize;
        for (const PropertyDescription* p : e->m_properties)
            if (p->isAttribute())
                ++bits;
    }
    for (auto& p : e->m_declared) {
        for (const PropertyDescription* q : e->m_properties)
            if (q->name == p->name)
                fail(qualified(p.get()) + " redeclares an inherited key");
        p->index = int(e->m_properties.size());
        p->slot = slotFor(*p);
        if (p->isAttribute())
            p->bit = bits++;
        e->m_properties.push_back(p.get());
    }
    // Numbers and links first, texts and data last: the values read most (keys, numbers, links) then share the
    // object's first cache lines instead of following a row of 24-byte text slots.
    for (const bool wide : { false, true }) {
        for (auto& p : e->m_declared) {
            const bool isWide
                = p->slot == PropertyDescription::Slot::String || p->slot == PropertyDescription::Slot::Binary;
            if (p->slot == PropertyDescription::Slot::None || isWide != wide)
                continue;
            p->slotOffset = offset;
            offset += (slotSize(p->slot) + 7) & ~7;
        }
    }
    if (bits > 64)
        fail(e->m_name + " has more than 64 attributes");
    e->m_blockSize = offset;
    e->m_ownedSlots.clear();
    e->m_nilNumbers = 0;
    for (const PropertyDescription* p : e->m_properties) {
        if (p->slot == PropertyDescription::Slot::Number)
            e->m_nilNumbers |= quint64(1) << p->bit;
        else if (p->slot == PropertyDescription::Slot::String || p->slot == PropertyDescription::Slot::Binary
            || p->slot == PropertyDescription::Slot::Set)
            e->m_ownedSlots.push_back({ p->slotOffset, p->slot });
    }
    int maxKey = -1;
    for (const PropertyDescription* p : e->m_properties)
        maxKey = std::max(maxKey, p->key.id());
    e->m_byKey.assign(size_t(maxKey + 1), -1);
    for (const PropertyDescription* p : e->m_properties)
        e->m_byKey[size_t(p->key.id())] = p->index;
    e->m_laidOut = true;
}

void StoreSchema::buildTable(EntityDescription* root)
{
    Table t;
    t.name = root->name();
    t.root = root;
    // Which entities use each column, so that only sub-entities of separate branches share one.
    std::vector<std::vector<const EntityDescription*>> users;

    std::vector<EntityDescription*> order { root };
    for (size_t i = 0; i < order.size(); ++i) {
        order[i]->m_tableIndex = int(m_tables.size());
        for (const EntityDescription* sub : order[i]->m_subentities)
            order.push_back(const_cast<EntityDescription*>(sub));
    }
    for (EntityDescription* e : order) {
        for (auto& p : e->m_declared) {
            const bool stored = (p->isAttribute() && !p->transient) || (p->isToOne() && p->column == 0);
            if (!stored) {
                if (p->isToOne())
                    p->column = -1;
                continue;
            }
            Column c;
            c.name = p->name;
            c.sqlType = sqlType(*p);
            c.references = p->isToOne() ? p->target->root() : nullptr;
            c.lazy = p->lazy;
            int found = -1;
            for (size_t i = 0; i < t.columns.size(); ++i)
                if (t.columns[i].name == c.name)
                    found = int(i);
            if (found >= 0) {
                const Column& other = t.columns[size_t(found)];
                bool share = other.sqlType == c.sqlType && other.references == c.references && other.lazy == c.lazy;
                for (const EntityDescription* u : users[size_t(found)])
                    share = share && !u->isKindOf(e) && !e->isKindOf(u);
                if (share) {
                    p->column = found;
                    users[size_t(found)].push_back(e);
                    continue;
                }
                c.name = e->name() + "_" + p->name;
            }
            p->column = int(t.columns.size());
            t.columns.push_back(c);
            users.push_back({ e });
        }
        for (auto& p : e->m_declared) {
            if (!e->isFolded(p->name) || t.foldedOf(p->column))
                continue;
            FoldedColumn f;
            f.name = t.columns[size_t(p->column)].name + QStringLiteral("_cd");
            f.source = p->column;
            if (e->hasWords(p->name))
                f.wordsTable = t.name + '_' + t.columns[size_t(p->column)].name + QStringLiteral("_words");
            t.folded.push_back(f);
        }
    }
    if (t.columns.size() > 64)
        fail(root->name() + " needs more than 64 columns");
    m_tables.push_back(t);
}

QStringList StoreSchema::createStatements() const
{
    QStringList out;
    const QString fk = QStringLiteral(" REFERENCES %1(\"_pk\") DEFERRABLE INITIALLY DEFERRED");
    for (const Table& t : m_tables) {
        QStringList cols { QStringLiteral("\"_pk\" INTEGER PRIMARY KEY AUTOINCREMENT"),
            QStringLiteral("\"_entity\" TEXT NOT NULL") };
        for (const Column& c : t.columns)
            cols << quoted(c.name) + ' ' + c.sqlType
                    + (c.references ? fk.arg(quoted(c.references->name())) : QString());
        for (const FoldedColumn& f : t.folded)
            cols << quoted(f.name) + QStringLiteral(" TEXT");
        out << QStringLiteral("CREATE TABLE %1 (%2)").arg(quoted(t.name), cols.join(", "));
        // Foreign keys are checked on every delete of the target row: without an index each check scans the table.
        // Only rows that link have an entry: most links are empty (an event of a person has no couple, a citation
        // no picture), and the check looks up one key, which such an index answers as well.
        for (const Column& c : t.columns)
            if (c.references)
                out << QStringLiteral("CREATE INDEX %1 ON %2(%3) WHERE %3 IS NOT NULL")
                           .arg(quoted(t.name + "_" + c.name), quoted(t.name), quoted(c.name));
    }
    for (const JoinTable& j : m_joinTables) {
        out << QStringLiteral("CREATE TABLE %1 (\"src\" INTEGER NOT NULL%2, \"dst\" INTEGER NOT NULL%3, "
                              "PRIMARY KEY (\"src\", \"dst\")) WITHOUT ROWID")
                   .arg(quoted(j.name), fk.arg(quoted(j.source->owner->root()->name())),
                       fk.arg(quoted(j.destination->owner->root()->name())));
        out << QStringLiteral("CREATE INDEX %1 ON %2(\"dst\")").arg(quoted(j.name + "_dst"), quoted(j.name));
    }
    return out + foldedIndexStatements();
}

const QString StoreSchema::kFoldedColumnsKey = QStringLiteral("FoldedColumns");

QString StoreSchema::wordsTableStatement(const QString& name)
{
    return QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (\"word\" TEXT NOT NULL, \"pk\" INTEGER NOT NULL, "
                          "PRIMARY KEY (\"word\", \"pk\")) WITHOUT ROWID")
        .arg(quoted(name));
}

const StoreSchema::FoldedColumn* StoreSchema::Table::foldedOf(int column) const
{
    for (const FoldedColumn& f : folded)
        if (f.source == column)
            return &f;
    return nullptr;
}

QStringList StoreSchema::foldedIndexStatements() const
{
    QStringList out;
    for (const Table& t : m_tables) {
        for (const FoldedColumn& f : t.folded) {
            // Most texts of some columns are nil: only those with a text are indexed.
            if (f.wordsTable.isEmpty()) {
                out << QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2(%3) WHERE %3 IS NOT NULL")
                           .arg(quoted(t.name + '_' + f.name), quoted(t.name), quoted(f.name));
                continue;
            }
            // Read by ranges of words. No foreign key: the save writes and removes them with their record, which
            // it finds by the words of the text the file holds for it.
            out << wordsTableStatement(f.wordsTable);
        }
    }
    return out;
}
