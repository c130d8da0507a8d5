#pragma once

#include "platform/store/EntityDescription.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

// A set of entities that make one kind of store file, with the tables that hold them. Declare every entity, then
// call finalize() once: it resolves parents, targets and inverses, lays out each entity's values, and throws
// std::logic_error naming the first declaration that does not fit (an unknown target, a missing or mismatched
// inverse, a sub-entity redeclaring an inherited key). A finalized schema never changes and may be shared by
// contexts on any thread.
//
// Storage: one table per root entity ("_pk" key, "_entity" sub-entity name, one column per stored attribute and per
// key-holding to-one side, a foreign key for each link); a to-many side is the other side's key column; a
// many-to-many pair gets a join table ("src", "dst"). Sub-entities that declare the same link to the same target
// share one column.
class StoreSchema {
public:
    struct Column {
        QString name;
        QString sqlType;
        const EntityDescription* references = nullptr; // root entity of a link's target
        bool lazy = false;
    };
    // A text column stored a second time, folded (TextMatch::fold), for fetches that ignore case and diacritics:
    // written by every save, never read into records. With `words`, a table of its own holds each word start of the
    // folded text (see TextMatch::wordStarts), for searches by the start of any word, and by the
    // start or the whole of the text; the folded column has no index of its own then.
    struct FoldedColumn {
        QString name; // "<column>_cd"
        int source = -1; // the column it is made from
        QString wordsTable; // "<table>_<column>_words", or empty
    };
    struct Table {
        QString name;
        const EntityDescription* root = nullptr;
        std::vector<Column> columns;
        std::vector<FoldedColumn> folded;
        // The folded column made from a column, or null.
        const FoldedColumn* foldedOf(int column) const;
    };
    struct JoinTable {
        QString name;
        const PropertyDescription* source = nullptr; // its object's key is "src"
        const PropertyDescription* destination = nullptr; // its object's key is "dst"
    };

    explicit StoreSchema(const QString& name);
    ~StoreSchema();
    StoreSchema(const StoreSchema&) = delete;
    StoreSchema& operator=(const StoreSchema&) = delete;

    // Declares the entity, or answers the one already declared under that name.
    EntityDescription& entity(const QString& name);
    void finalize();
    bool isFinalized() const { return m_finalized; }

    const QString& name() const { return m_name; }
    const EntityDescription* entityNamed(const QString& name) const;
    const std::vector<const EntityDescription*>& entities() const { return m_entities; }
    const std::vector<Table>& tables() const { return m_tables; }
    const std::vector<JoinTable>& joinTables() const { return m_joinTables; }
    // The statements that create an empty store of this schema.
    QStringList createStatements() const;
    // Those that index the folded columns and make the words tables (part of createStatements()).
    QStringList foldedIndexStatements() const;
    static QString wordsTableStatement(const QString& name);
    // The version of the folded columns of the stores made now: a store whose metadata says another (or none) has
    // them made again on its next writable open. Changes with TextMatch::fold, wordStarts or the folded columns.
    static constexpr int kFoldedColumnsVersion = 1;
    static const QString kFoldedColumnsKey; // the metadata key of that version

    static QString quoted(const QString& identifier);

private:
    void layOut(EntityDescription* e);
    void buildTable(EntityDescription* root);

    QString m_name;
    bool m_finalized = false;
    std::vector<std::unique_ptr<EntityDescription>> m_owned;
    std::vector<const EntityDescription*> m_entities;
    std::vector<Table> m_tables;
    std::vector<JoinTable> m_joinTables;
};
