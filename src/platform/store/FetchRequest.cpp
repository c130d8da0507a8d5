#include "platform/store/FetchRequest.h"

#include "platform/store/ObjectContextPrivate.h"

#include "platform/FTLog.h"

#include <QDateTime>
#include <QSet>

#include <algorithm>

namespace {
using Condition = FetchRequest::Condition;
using Op = FetchRequest::Op;

// Above every text that begins with a given one (in the file's byte order of UTF-8): the largest code point.
const QString kAfterEveryText = QString::fromUcs4(U"\U0010FFFF", 1);

bool isText(const QVariant& v)
{
    return v.metaType().id() == QMetaType::QString;
}

// A number, boolean or date as the file stores it.
QVariant storedNumber(const QVariant& v)
{
    if (TextMatch::isWholeNumber(v))
        return v.toLongLong();
    switch (v.metaType().id()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return v.toDouble();
    case QMetaType::Bool:
        return qint64(v.toBool() ? 1 : 0);
    case QMetaType::QDateTime:
        return qint64(v.toDateTime().toMSecsSinceEpoch());
    default:
        return {};
    }
}

// -1, 0 or 1; nil (or a value that is no number) answers `ok` false.
int compareNumbers(const QVariant& a, const QVariant& b, bool& ok)
{
    const QVariant x = storedNumber(a);
    const QVariant y = storedNumber(b);
    ok = x.isValid() && y.isValid();
    if (!ok)
        return 0;
    if (x.metaType().id() == QMetaType::Double || y.metaType().id() == QMetaType::Double) {
        const double l = x.toDouble(), r = y.toDouble();
        return l < r ? -1 : (l > r ? 1 : 0);
    }
    const qint64 l = x.toLongLong(), r = y.toLongLong();
    return l < r ? -1 : (l > r ? 1 : 0);
}

QVariant valueOf(const ManagedObject* o, const QString& key)
{
    const PropertyDescription* p = o->entity()->property(key);
    if (!p)
        return {};
    return p->isAttribute() ? o->value(p->key) : o->valueForKey(key);
}

bool holds(const ManagedObject* o, const Condition& c)
{
    switch (c.kind) {
    case Condition::Kind::True:
        return true;
    case Condition::Kind::All:
        return std::all_of(c.terms.begin(), c.terms.end(), [o](const Condition& t) { return holds(o, t); });
    case Condition::Kind::Any:
        return std::any_of(c.terms.begin(), c.terms.end(), [o](const Condition& t) { return holds(o, t); });
    case Condition::Kind::Attribute:
        break;
    }
    const QVariant value = valueOf(o, c.key);
    bool ok = false;
    switch (c.op) {
    case Op::IsNil:
        return !value.isValid();
    case Op::IsNotNil:
        return value.isValid();
    case Op::Equals:
        if (isText(c.value))
            return TextMatch::equals(value, c.value.toString(), c.options);
        return compareNumbers(value, c.value, ok) == 0 && ok;
    case Op::BeginsWith:
        return TextMatch::beginsWith(value, c.value.toString(), c.options);
    case Op::Contains:
        return TextMatch::contains(value, c.value.toString(), c.options);
    case Op::BeginsWord:
        return TextMatch::beginsWord(TextMatch::textOf(value), c.value.toString());
    case Op::Less:
        return compareNumbers(value, c.value, ok) < 0 && ok;
    case Op::LessOrEqual:
        return compareNumbers(value, c.value, ok) <= 0 && ok;
    case Op::Greater:
        return compareNumbers(value, c.value, ok) > 0 && ok;
    case Op::GreaterOrEqual:
        return compareNumbers(value, c.value, ok) >= 0 && ok;
    }
    return false;
}

// Turns conditions into SQL over one table; false for one the file cannot answer alone.
struct Compiler {
    const EntityDescription* entity;
    const StoreSchema::Table& table;
    bool folded; // the store's folded columns are there and kept
    QVariantList binds;
    bool verify = false; // found rows need a look in memory (a word longer than the indexed word starts)

    bool textRange(const QString& column, const QString& start, QString& out)
    {
        out = QStringLiteral("(%1>=? AND %1<?)").arg(column);
        binds << start << start + kAfterEveryText;
        return true;
    }

    // The keys of the records that meet the condition, from indexes alone: a search by word starts never reads
    // the records' own rows then. False for a condition that needs more.
    bool keys(const Condition& c, QString& out)
    {
        if (c.kind == Condition::Kind::All || c.kind == Condition::Kind::Any) {
            if (c.terms.empty())
                return false;
            QStringList parts;
            for (const Condition& t : c.terms) {
                QString part;
                if (!keys(t, part))
                    return false;
                parts << QStringLiteral("SELECT \"pk\" FROM (%1)").arg(part);
            }
            out = parts.join(c.kind == Condition::Kind::All ? QStringLiteral(" INTERSECT ") : QStringLiteral(" UNION "));
            return true;
        }
        if (c.kind != Condition::Kind::Attribute || c.op != Op::BeginsWord || !folded)
            return false;
        const PropertyDescription* p = entity->property(c.key);
        if (!p || !p->isAttribute() || p->column < 0)
            return false;
        const StoreSchema::FoldedColumn* f = table.foldedOf(p->column);
        if (!f || f->wordsTable.isEmpty() || TextMatch::fold(c.value.toString()).isEmpty())
            return false;
        out = wordKeys(*f, c.value.toString());
        return true;
    }

    // The keys of the records with a word that begins with `word`: the first word of the text (marked) or a later
    // one. With `firstOnly`, the start of the text only: a candidate for beginsWith and equals, checked on the
    // folded column after.
    QString wordKeys(const StoreSchema::FoldedColumn& f, const QString& word, bool firstOnly = false)
    {
        const QString needle = TextMatch::fold(word);
        const QString start = TextMatch::cutWordStart(needle);
        verify = verify || (!firstOnly && start != needle);
        const QString words = StoreSchema::quoted(f.wordsTable);
        QString first, later;
        textRange(QStringLiteral("\"word\""), TextMatch::kFirstWordMark + start, first);
        if (firstOnly)
            return QStringLiteral("SELECT \"pk\" FROM %1 WHERE %2").arg(words, first);
        textRange(QStringLiteral("\"word\""), start, later);
        // A record may come twice (its first and a later word): execute() takes each key once.
        return QStringLiteral("SELECT \"pk\" FROM %1 WHERE %2 UNION ALL SELECT \"pk\" FROM %1 WHERE %3")
            .arg(words, first, later);
    }

    bool compile(const Condition& c, QString& out)
    {
        switch (c.kind) {
        case Condition::Kind::True:
            out = QStringLiteral("1");
            return true;
        case Condition::Kind::All:
        case Condition::Kind::Any: {
            if (c.terms.empty()) {
                out = c.kind == Condition::Kind::All ? QStringLiteral("1") : QStringLiteral("0");
                return true;
            }
            QStringList parts;
            for (const Condition& t : c.terms) {
                QString part;
                if (!compile(t, part))
                    return false;
                parts << part;
            }
            out = '(' + parts.join(c.kind == Condition::Kind::All ? QStringLiteral(" AND ") : QStringLiteral(" OR "))
                + ')';
            return true;
        }
        case Condition::Kind::Attribute:
            break;
        }
        const PropertyDescription* p = entity->property(c.key);
        if (!p || !p->isAttribute() || p->transient || p->column < 0)
            return false;
        const QString column = StoreSchema::quoted(table.columns[size_t(p->column)].name);
        const bool textAttribute = p->type == AttributeType::String;
        const StoreSchema::FoldedColumn* f = folded ? table.foldedOf(p->column) : nullptr;
        switch (c.op) {
        case Op::IsNil:
            out = column + QStringLiteral(" IS NULL");
            return true;
        case Op::IsNotNil:
            out = column + QStringLiteral(" IS NOT NULL");
            return true;
        case Op::Less:
        case Op::LessOrEqual:
        case Op::Greater:
        case Op::GreaterOrEqual:
        case Op::Equals:
            if (!isText(c.value)) {
                const QVariant number = storedNumber(c.value);
                if (textAttribute || !number.isValid())
                    return false;
                static const char* const ops[] = { "=", "", "", "", "<", "<=", ">", ">=" };
                out = column + QLatin1String(ops[int(c.op)]) + '?';
                binds << number;
                return true;
            }
            if (c.op != Op::Equals)
                return false;
            break;
        default:
            break;
        }
        // Texts: as written on the column itself, ignoring case and diacritics on its folded copy.
        if (!textAttribute || !isText(c.value))
            return false;
        QString target = column;
        QString needle = c.value.toString();
        if (c.op == Op::BeginsWord || c.options != TextMatch::Exact) {
            if (!f || (c.op != Op::BeginsWord && c.options != TextMatch::CaseAndDiacriticInsensitive))
                return false;
            target = StoreSchema::quoted(f->name);
            needle = TextMatch::fold(needle);
        }
        if (needle.isEmpty()) {
            // Nil reads as the empty text, which every text begins with and contains.
            out = c.op == Op::Equals ? QStringLiteral("(%1 IS NULL OR %1='')").arg(target) : QStringLiteral("1");
            return true;
        }
        // A text with its words indexed: the start of the text is found there, then compared whole.
        QString candidates;
        if (f && target != column && !f->wordsTable.isEmpty() && (c.op == Op::Equals || c.op == Op::BeginsWith))
            candidates = QStringLiteral("\"_pk\" IN (%1) AND ").arg(wordKeys(*f, c.value.toString(), true));
        switch (c.op) {
        case Op::Equals:
            out = '(' + candidates + target + QStringLiteral("=?)");
            binds << needle;
            return true;
        case Op::BeginsWith: {
            QString range;
            textRange(target, needle, range);
            out = '(' + candidates + range + ')';
            return true;
        }
        case Op::Contains:
            out = QStringLiteral("instr(%1,?)>0").arg(target);
            binds << needle;
            return true;
        case Op::BeginsWord: {
            if (f->wordsTable.isEmpty()) {
                textRange(target, needle, out);
                for (const char* separator : { " ", "_", "(" }) {
                    out += QStringLiteral(" OR instr(%1,?)>0").arg(target);
                    binds << QLatin1String(separator) + needle;
                }
                out = '(' + out + ')';
                return true;
            }
            out = QStringLiteral("\"_pk\" IN (%1)").arg(wordKeys(*f, c.value.toString()));
            return true;
        }
        default:
            return false;
        }
    }
};

void bindAll(SqliteStatement& st, const QVariantList& binds)
{
    for (int i = 0; i < binds.size(); ++i) {
        const QVariant& v = binds.at(i);
        if (isText(v))
            st.bindText(i + 1, v.toString());
        else if (v.metaType().id() == QMetaType::Double)
            st.bindDouble(i + 1, v.toDouble());
        else
            st.bindInt(i + 1, v.toLongLong());
    }
}

Condition attributeCondition(const QString& key, Op op, const QVariant& value, int options)
{
    Condition c;
    c.kind = Condition::Kind::Attribute;
    c.key = key;
    c.op = op;
    c.value = value;
    c.options = options;
    return c;
}
}

struct FetchRequest::Compiled {
    QString sql;
    QString order; // " ORDER BY ..." when the sort keys are stored numbers, else empty
    QString counting; // the statement that counts what `sql` finds
    QVariantList binds;
    bool verify = false;
    int table = -1;
    const EntityDescription* entity = nullptr;
};

FetchRequest::Condition FetchRequest::equals(const QString& key, const QVariant& value, int options)
{
    return attributeCondition(key, Op::Equals, value, options);
}

FetchRequest::Condition FetchRequest::beginsWith(const QString& key, const QString& text, int options)
{
    return attributeCondition(key, Op::BeginsWith, text, options);
}

FetchRequest::Condition FetchRequest::contains(const QString& key, const QString& text, int options)
{
    return attributeCondition(key, Op::Contains, text, options);
}

FetchRequest::Condition FetchRequest::beginsWord(const QString& key, const QString& word)
{
    return attributeCondition(key, Op::BeginsWord, word, TextMatch::CaseAndDiacriticInsensitive);
}

FetchRequest::Condition FetchRequest::compare(const QString& key, Op op, const QVariant& number)
{
    return attributeCondition(key, op, number, TextMatch::Exact);
}

FetchRequest::Condition FetchRequest::isNil(const QString& key)
{
    return attributeCondition(key, Op::IsNil, {}, TextMatch::Exact);
}

FetchRequest::Condition FetchRequest::isNotNil(const QString& key)
{
    return attributeCondition(key, Op::IsNotNil, {}, TextMatch::Exact);
}

FetchRequest::Condition FetchRequest::allOf(std::vector<Condition> terms)
{
    Condition c;
    c.kind = Condition::Kind::All;
    c.terms = std::move(terms);
    return c;
}

FetchRequest::Condition FetchRequest::anyOf(std::vector<Condition> terms)
{
    Condition c;
    c.kind = Condition::Kind::Any;
    c.terms = std::move(terms);
    return c;
}

FetchRequest::FetchRequest(const QString& entityName)
    : m_entityName(entityName)
{
}

FetchRequest& FetchRequest::where(Condition condition)
{
    m_condition = std::move(condition);
    return *this;
}

FetchRequest& FetchRequest::filter(Predicate residual)
{
    m_residual = std::move(residual);
    return *this;
}

FetchRequest& FetchRequest::sortBy(const QString& key, bool ascending)
{
    m_sortKeys.emplace_back(key, ascending);
    return *this;
}

FetchRequest& FetchRequest::limit(int count)
{
    m_limit = std::max(0, count);
    return *this;
}

bool FetchRequest::matches(const ManagedObject* object) const
{
    return object && holds(object, m_condition) && (!m_residual || m_residual(object));
}

bool FetchRequest::compile(const ObjectContext& context, Compiled& out) const
{
    const ObjectContext::Private* d = ObjectContext::Private::of(context);
    // A reader's records stay as they were read while the file may change under it: it answers from them.
    if (!d->db.isOpen() || d->readOnly)
        return false;
    const EntityDescription* e = d->schema.entityNamed(m_entityName);
    if (!e)
        return false;
    const StoreSchema::Table& table = d->schema.tables()[size_t(e->tableIndex())];
    Compiler compiler { e, table, d->foldedReady(), {} };
    QString where;
    if (!compiler.compile(m_condition, where))
        return false;
    QStringList clauses;
    if (e->parent()) {
        QStringList kinds;
        for (const EntityDescription* other : d->schema.entities())
            if (other->isKindOf(e) && !other->isAbstract()) {
                kinds << QStringLiteral("?");
                out.binds << other->name();
            }
        clauses << QStringLiteral("\"_entity\" IN (%1)").arg(kinds.join(','));
    }
    if (where != QLatin1String("1"))
        clauses << where;
    out.binds << compiler.binds;
    QString from = QStringLiteral(" FROM %1").arg(StoreSchema::quoted(table.name));
    if (!clauses.isEmpty())
        from += QStringLiteral(" WHERE ") + clauses.join(QStringLiteral(" AND "));
    out.sql = QStringLiteral("SELECT \"_pk\"") + from;
    out.counting = QStringLiteral("SELECT count(*)") + from;
    // Stored numbers sort in the file as in memory (nil first, ties by key); texts do not (case is ignored there).
    QStringList order;
    for (const auto& [key, ascending] : m_sortKeys) {
        const PropertyDescription* p = e->property(key);
        if (!p || !p->isAttribute() || p->transient || p->column < 0 || p->slot != PropertyDescription::Slot::Number) {
            order.clear();
            break;
        }
        order << StoreSchema::quoted(table.columns[size_t(p->column)].name) + (ascending ? "" : " DESC");
    }
    if (!order.isEmpty())
        out.order = QStringLiteral(" ORDER BY %1,\"_pk\"").arg(order.join(','));
    out.verify = compiler.verify;
    if (!e->parent() && out.order.isEmpty()) {
        Compiler words { e, table, compiler.folded, {} };
        QString keys;
        if (words.keys(m_condition, keys)) {
            out.sql = keys;
            out.counting = QStringLiteral("SELECT count(DISTINCT \"pk\") FROM (%1)").arg(keys);
            out.binds = words.binds;
            out.verify = words.verify;
        }
    }
    out.table = e->tableIndex();
    out.entity = e;
    return true;
}

QString FetchRequest::sql(const ObjectContext& context) const
{
    Compiled c;
    return compile(context, c) ? c.sql : QString();
}

QList<ManagedObject*> FetchRequest::execute(const ObjectContext& context) const
{
    Compiled c;
    if (!compile(context, c))
        return sorted(context.fetch(m_entityName, [this](const ManagedObject* o) { return matches(o); }));
    ObjectContext::Private* d = ObjectContext::Private::of(context);
    // Records changed since the last save answer for themselves; the file has them as they were.
    QSet<qint64> changed;
    QList<ManagedObject*> found;
    for (ManagedObject* o : d->changed) {
        if (o->entity()->tableIndex() != c.table)
            continue;
        changed.insert(o->primaryKey());
        if (!o->isDeleted() && o->entity()->isKindOf(c.entity) && holds(o, m_condition))
            found << o;
    }
    QString sql = c.sql;
    // The first rows of the order, and as many more as changed records could take the place of.
    if (m_limit > 0 && !c.order.isEmpty() && !m_residual && !c.verify)
        sql += c.order + QStringLiteral(" LIMIT %1").arg(qint64(m_limit) + changed.size());
    SqliteStatement st(d->db.handle(), sql);
    bindAll(st, c.binds);
    std::vector<qint64> keys;
    while (st.next())
        keys.push_back(st.columnInt(0));
    if (!st.ok()) {
        FTLog(QStringLiteral("Store: a fetch of %1 failed in the file (%2); the records in memory answer it")
                  .arg(m_entityName, st.error()));
        return sorted(context.fetch(m_entityName, [this](const ManagedObject* o) { return matches(o); }));
    }
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    if (!changed.isEmpty())
        keys.erase(std::remove_if(keys.begin(), keys.end(), [&](qint64 key) { return changed.contains(key); }),
            keys.end());
    // What was found comes into memory together, not a statement a record.
    d->readRecords(d->tables[size_t(c.table)], keys);
    for (const qint64 key : keys) {
        if (changed.contains(key))
            continue;
        ManagedObject* o = context.objectWithPrimaryKey(m_entityName, key);
        if (o && (!c.verify || holds(o, m_condition)))
            found << o;
    }
    std::sort(found.begin(), found.end(),
        [](const ManagedObject* a, const ManagedObject* b) { return a->primaryKey() < b->primaryKey(); });
    if (m_residual)
        found.removeIf([this](const ManagedObject* o) { return !m_residual(o); });
    return sorted(found);
}

int FetchRequest::count(const ObjectContext& context) const
{
    Compiled c;
    if (!m_residual && m_limit == 0 && compile(context, c) && !c.verify) {
        const ObjectContext::Private* d = ObjectContext::Private::of(context);
        const bool anyChanged = std::any_of(d->changed.begin(), d->changed.end(),
            [&](const ManagedObject* o) { return o->entity()->tableIndex() == c.table; });
        if (!anyChanged) {
            SqliteStatement st(d->db.handle(), c.counting);
            bindAll(st, c.binds);
            if (st.next())
                return int(st.columnInt(0));
        }
    }
    return int(execute(context).size());
}

QList<ManagedObject*> FetchRequest::sorted(QList<ManagedObject*> found) const
{
    if (!m_sortKeys.empty() && found.size() > 1) {
        // Each record's keys read once. A text's key is its UTF-16 units folded one by one, the way a comparison
        // ignoring case folds them: comparing keys gives that comparison's order without folding at every step.
        struct SortValue {
            QVariant value;
            QString text;
            bool isText = false;
            bool plain = true; // no surrogate pair: the key alone decides
        };
        const size_t keys = m_sortKeys.size();
        std::vector<SortValue> values(size_t(found.size()) * keys);
        // The sort keys' properties, looked up again only when the entity changes (records of one entity mostly).
        const EntityDescription* entity = nullptr;
        std::vector<const PropertyDescription*> properties(keys);
        for (qsizetype i = 0; i < found.size(); ++i) {
            if (found[i]->entity() != entity) {
                entity = found[i]->entity();
                for (size_t k = 0; k < keys; ++k)
                    properties[k] = entity->property(m_sortKeys[k].first);
            }
            for (size_t k = 0; k < keys; ++k) {
                SortValue& v = values[size_t(i) * keys + k];
                const PropertyDescription* p = properties[k];
                const bool textAttribute = p && p->isAttribute() && p->type == AttributeType::String;
                if (textAttribute) {
                    v.value = found[i]->stringValue(p->key);
                } else {
                    v.value = valueOf(found[i], m_sortKeys[k].first);
                }
                v.isText = textAttribute || isText(v.value);
                if (!v.isText)
                    continue;
                const QString text = v.value.toString();
                v.text.resize(text.size());
                QChar* out = v.text.data();
                for (qsizetype c = 0; c < text.size(); ++c) {
                    const QChar ch = text.at(c);
                    v.plain = v.plain && !ch.isSurrogate();
                    out[c] = ch.isSurrogate() ? ch : ch.toCaseFolded();
                }
            }
        }
        std::vector<qsizetype> order(size_t(found.size()));
        for (size_t i = 0; i < order.size(); ++i)
            order[i] = qsizetype(i);
        std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
            for (size_t k = 0; k < keys; ++k) {
                const SortValue& x = values[size_t(a) * keys + k];
                const SortValue& y = values[size_t(b) * keys + k];
                int c = 0;
                if (x.isText || y.isText) {
                    c = x.plain && y.plain && x.isText && y.isText
                        ? x.text.compare(y.text)
                        : x.value.toString().compare(y.value.toString(), Qt::CaseInsensitive);
                } else {
                    bool ok = false;
                    c = compareNumbers(x.value, y.value, ok);
                    if (!ok)
                        c = x.value.isValid() == y.value.isValid() ? 0 : (x.value.isValid() ? 1 : -1);
                }
                if (c != 0)
                    return m_sortKeys[k].second ? c < 0 : c > 0;
            }
            return false;
        });
        QList<ManagedObject*> arranged;
        arranged.reserve(found.size());
        for (const qsizetype i : order)
            arranged << found[i];
        found = std::move(arranged);
    }
    if (m_limit > 0 && found.size() > m_limit)
        found.resize(m_limit);
    return found;
}
