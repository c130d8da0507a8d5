#pragma once

#include "editor/ui/PersonRowsModel.h"

#include <QHash>
#include <QList>

#include <memory>

class FTPerson;
class FTProjectView;
class Hierarchy;

// The ancestors or descendants of one person as an outline: one top row, the person, and below each row the
// next generation, read from the person's links the first time the outline asks for it (canFetchMore,
// fetchMore). Columns: the generation, then key paths of the person (name, title, birth date, place and notes),
// then the details and family buttons (PersonRowsModel). Names of members of the project view's ancestral set are
// green. A birth date makes the birth event.
class HierarchyTreeModel : public PersonRowsModel<QAbstractItemModel> {
    Q_OBJECT
public:
    enum { DetailsButton = 6, FamilyButton = 7, ColumnCount = 8 };

    explicit HierarchyTreeModel(QObject* parent = nullptr);
    ~HierarchyTreeModel() override;

    // A new tree for the person (none: an empty outline) in which the rows down to `openLevel` have their next
    // generation read.
    void setPerson(FTPerson* person, bool ancestors, int openLevel);
    FTPerson* rootPerson() const;
    void setProjectView(FTProjectView* view) { m_projectView = view; }

    Hierarchy* node(const QModelIndex& index) const;
    FTPerson* person(const QModelIndex& index) const;
    QModelIndex indexOf(Hierarchy* node, int column = 0) const;
    QModelIndex rootIndex() const;
    bool isFetched(const Hierarchy* node) const { return m_children.contains(node); }
    // Reads the next generation of the row and of every row below it down to `lastLevel`.
    void fetchBranch(const QModelIndex& branch, int lastLevel);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& index) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

protected:
    QVariant rowData(const QModelIndex& index, FTPerson* person, int role) const override;
    FTPerson* rowPerson(const QModelIndex& index) const override { return person(index); }
    int fieldTag(int column) const override;
    QString columnIdentifier(int column) const override;
    QVariant heading(int section) const override;
    void personWritten(const QModelIndex& index) override;

private:
    void fetchQuietly(Hierarchy* node, int lastLevel);
    const QList<Hierarchy*>* children(const Hierarchy* node) const;

    std::unique_ptr<Hierarchy> m_root;
    QHash<const Hierarchy*, QList<Hierarchy*>> m_children;
    FTProjectView* m_projectView = nullptr;
};
