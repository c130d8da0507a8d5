#pragma once

#include "platform/store/TextMatch.h"

#include <QList>
#include <QString>
#include <QVariant>

#include <functional>
#include <vector>

class ManagedObject;
class ObjectContext;

// A fetch by conditions on stored attributes, answered by the file's indexes instead of a walk over every record:
//
//   FetchRequest people(QStringLiteral("Person"));
//   people.where(FetchRequest::allOf({ FetchRequest::beginsWord("name", "jo"), FetchRequest::equals("gender", "M",
//       TextMatch::Exact) }))
//       .filter([](const ManagedObject* o) { return ...; })   // anything else, in C++, on what the conditions found
//       .sortBy("name");
//   const QList<ManagedObject*> found = people.execute(context);
//
// It sees what the context sees: records saved and unchanged are found through the file, records with unsaved
// changes (and new ones) by the same conditions evaluated in memory, and records deleted since the last save are
// never found. Texts match as TextMatch does; ignoring case and diacritics runs in SQL on attributes declared
// folded (AttributeOptions::folded, ::words for beginsWord), the rest where the file can answer it alone: numbers,
// nil tests, exact texts. A condition the file cannot answer (a derived key, a folded match on an attribute that is
// not folded, a store whose folded columns are not made yet, a store open only for reading or closed) makes the
// whole request run over the records in memory, with the same answer.
class FetchRequest {
public:
    enum class Op {
        Equals, // text (TextMatch::equals) or number
        BeginsWith,
        Contains,
        BeginsWord, // the text or one of its words begins with it (TextMatch::beginsWord), ignoring case and marks
        Less,
        LessOrEqual,
        Greater,
        GreaterOrEqual,
        IsNil,
        IsNotNil,
    };

    // A condition: on one attribute, or all / any of others; the default one holds for every record.
    struct Condition {
        enum class Kind { True, Attribute, All, Any };
        Kind kind = Kind::True;
        QString key;
        Op op = Op::Equals;
        QVariant value;
        int options = TextMatch::CaseAndDiacriticInsensitive;
        std::vector<Condition> terms;
    };
    static Condition equals(const QString& key, const QVariant& value,
        int options = TextMatch::CaseAndDiacriticInsensitive);
    static Condition beginsWith(
        const QString& key, const QString& text, int options = TextMatch::CaseAndDiacriticInsensitive);
    static Condition contains(
        const QString& key, const QString& text, int options = TextMatch::CaseAndDiacriticInsensitive);
    static Condition beginsWord(const QString& key, const QString& word);
    // Numbers, booleans and dates: nil is never less, greater or equal.
    static Condition compare(const QString& key, Op op, const QVariant& number);
    static Condition isNil(const QString& key);
    static Condition isNotNil(const QString& key);
    static Condition allOf(std::vector<Condition> terms);
    static Condition anyOf(std::vector<Condition> terms);

    using Predicate = std::function<bool(const ManagedObject*)>;

    // Records of the entity and of its sub-entities.
    explicit FetchRequest(const QString& entityName);

    FetchRequest& where(Condition condition);
    // A test in C++ of each record the conditions found (it may read anything, relationships too).
    FetchRequest& filter(Predicate residual);
    // Sort keys, first the most significant: texts compare ignoring case, numbers by value, nil first. Without
    // any, records come in primary-key order.
    FetchRequest& sortBy(const QString& key, bool ascending = true);
    // At most this many records, the first of the order (0: all). With sort keys that are stored numbers the file
    // reads only those.
    FetchRequest& limit(int count);

    QList<ManagedObject*> execute(const ObjectContext& context) const;
    int count(const ObjectContext& context) const;
    // The conditions and the C++ test, evaluated on one record in memory.
    bool matches(const ManagedObject* object) const;
    // The statement that finds the saved records, or empty when the request runs in memory for the context.
    QString sql(const ObjectContext& context) const;

private:
    struct Compiled;
    bool compile(const ObjectContext& context, Compiled& out) const;
    QList<ManagedObject*> sorted(QList<ManagedObject*> found) const;

    QString m_entityName;
    Condition m_condition;
    Predicate m_residual;
    std::vector<std::pair<QString, bool>> m_sortKeys;
    int m_limit = 0;
};
