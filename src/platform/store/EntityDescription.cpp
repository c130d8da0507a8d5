#include "platform/store/EntityDescription.h"

#include "platform/store/StoreSchema.h"

#include <algorithm>
#include <stdexcept>

EntityDescription::EntityDescription(StoreSchema* schema, const QString& name)
    : m_schema(schema)
    , m_name(name)
{
}

PropertyDescription& EntityDescription::add(const QString& name, PropertyDescription::Kind kind)
{
    if (m_schema->isFinalized())
        throw std::logic_error("StoreSchema: the schema is final; cannot add " + name.toStdString());
    for (const auto& p : m_declared)
        if (p->name == name)
            throw std::logic_error(QStringLiteral("StoreSchema: %1.%2 declared twice").arg(m_name, name).toStdString());
    auto p = std::make_unique<PropertyDescription>();
    p->name = name;
    p->key = Key(name);
    p->kind = kind;
    p->owner = this;
    m_declared.push_back(std::move(p));
    return *m_declared.back();
}

EntityDescription& EntityDescription::attribute(
    const QString& name, AttributeType type, const QVariant& defaultValue, AttributeOptions options)
{
    PropertyDescription& p = add(name, PropertyDescription::Kind::Attribute);
    p.type = type;
    p.defaultValue = defaultValue;
    p.lazy = options.lazy;
    p.transient = options.transient;
    if (p.lazy && type != AttributeType::Binary)
        throw std::logic_error(
            QStringLiteral("StoreSchema: %1.%2: only binary values load lazily").arg(m_name, name).toStdString());
    if (options.folded || options.words) {
        if (type != AttributeType::String || options.transient)
            throw std::logic_error(
                QStringLiteral("StoreSchema: %1.%2: only stored texts are folded").arg(m_name, name).toStdString());
        options.folded = true;
        m_textOptions.emplace_back(name, options);
    }
    return *this;
}

EntityDescription& EntityDescription::toOne(
    const QString& name, const QString& target, const QString& inverse, DeleteRule rule, bool holdsKey)
{
    PropertyDescription& p = add(name, PropertyDescription::Kind::ToOne);
    p.targetName = target;
    p.inverseName = inverse;
    p.deleteRule = rule;
    p.wantsForeignKey = holdsKey;
    return *this;
}

EntityDescription& EntityDescription::toMany(
    const QString& name, const QString& target, const QString& inverse, DeleteRule rule)
{
    PropertyDescription& p = add(name, PropertyDescription::Kind::ToMany);
    p.targetName = target;
    p.inverseName = inverse;
    p.deleteRule = rule;
    return *this;
}

EntityDescription& EntityDescription::derived(const QString& name, std::function<QVariant(const ManagedObject*)> getter,
    std::function<void(ManagedObject*, const QVariant&)> setter, const QStringList& dependsOn)
{
    PropertyDescription& p = add(name, PropertyDescription::Kind::Derived);
    p.getter = std::move(getter);
    p.setter = std::move(setter);
    p.dependsOn = dependsOn;
    return *this;
}

bool EntityDescription::isFolded(const QString& name) const
{
    return std::any_of(
        m_textOptions.begin(), m_textOptions.end(), [&](const auto& entry) { return entry.first == name; });
}

bool EntityDescription::hasWords(const QString& name) const
{
    return std::any_of(m_textOptions.begin(), m_textOptions.end(),
        [&](const auto& entry) { return entry.first == name && entry.second.words; });
}

EntityDescription& EntityDescription::remove(const QString& name)
{
    if (m_schema->isFinalized())
        throw std::logic_error("StoreSchema: the schema is final; cannot remove " + name.toStdString());
    std::erase_if(m_textOptions, [&](const auto& entry) { return entry.first == name; });
    const auto it = std::find_if(m_declared.begin(), m_declared.end(), [&](const auto& p) { return p->name == name; });
    if (it == m_declared.end())
        throw std::logic_error(QStringLiteral("StoreSchema: %1.%2 was never declared").arg(m_name, name).toStdString());
    m_declared.erase(it);
    return *this;
}

EntityDescription& EntityDescription::inherits(const QString& parent)
{
    m_parentName = parent;
    return *this;
}

EntityDescription& EntityDescription::abstract(bool value)
{
    m_abstract = value;
    return *this;
}

bool EntityDescription::isKindOf(const EntityDescription* other) const
{
    for (const EntityDescription* e = this; e; e = e->m_parent)
        if (e == other)
            return true;
    return false;
}

QStringList EntityDescription::attributeNames() const
{
    QStringList out;
    for (const PropertyDescription* p : m_properties)
        if (p->isAttribute())
            out << p->name;
    return out;
}

QStringList EntityDescription::relationshipNames() const
{
    QStringList out;
    for (const PropertyDescription* p : m_properties)
        if (p->isRelationship())
            out << p->name;
    return out;
}

bool EntityDescription::hasAttribute(const QString& name) const
{
    const PropertyDescription* p = property(name);
    return p && p->isAttribute();
}

const std::vector<const PropertyDescription*>* EntityDescription::dependents(const Key& key) const
{
    for (const auto& [id, list] : m_dependents)
        if (id == key.id())
            return &list;
    return nullptr;
}
