#include "editor/ui/HierarchyTreeModel.h"

#include "editor/HierarchyOutlineRules.h"

#include "shell/UtilsFunctions.h"

#include "model/FTPerson.h"
#include "model/FTProjectView.h"
#include "model/Hierarchy.h"

#include "platform/Localizer.h"

using Rules = HierarchyOutlineRules;

HierarchyTreeModel::HierarchyTreeModel(QObject* parent)
    : PersonRowsModel(Rules::Name, DetailsButton, FamilyButton, parent)
{
}

HierarchyTreeModel::~HierarchyTreeModel() = default;

void HierarchyTreeModel::setPerson(FTPerson* person, bool ancestors, int openLevel)
{
    beginResetModel();
    m_children.clear();
    m_root.reset(person ? new Hierarchy(person, nullptr, ancestors, Rules::kPcRelTypeMask) : nullptr);
    if (m_root)
        fetchQuietly(m_root.get(), openLevel);
    endResetModel();
}

FTPerson* HierarchyTreeModel::rootPerson() const
{
    return m_root ? m_root->person() : nullptr;
}

int HierarchyTreeModel::fieldTag(int column) const
{
    return Rules::fieldTag(column);
}

QString HierarchyTreeModel::columnIdentifier(int column) const
{
    return Rules::identifier(column);
}

void HierarchyTreeModel::fetchQuietly(Hierarchy* node, int lastLevel)
{
    // Depth first with a stack of our own: a long line of generations must not exhaust the call stack.
    QList<Hierarchy*> pending{node};
    while (!pending.isEmpty()) {
        Hierarchy* n = pending.takeLast();
        if (n->level() > lastLevel)
            continue;
        if (!m_children.contains(n))
            m_children.insert(n, n->nextGenArray());
        pending << m_children.value(n);
    }
}

const QList<Hierarchy*>* HierarchyTreeModel::children(const Hierarchy* node) const
{
    auto it = m_children.constFind(node);
    return it == m_children.constEnd() ? nullptr : &it.value();
}

void HierarchyTreeModel::fetchBranch(const QModelIndex& branch, int lastLevel)
{
    QList<QPersistentModelIndex> pending{branch.siblingAtColumn(0)};
    while (!pending.isEmpty()) {
        const QModelIndex at = pending.takeLast();
        Hierarchy* n = node(at);
        if (!n || n->level() > lastLevel)
            continue;
        if (canFetchMore(at))
            fetchMore(at);
        const int rows = rowCount(at);
        for (int r = 0; r < rows; ++r)
            pending << index(r, 0, at);
    }
}

Hierarchy* HierarchyTreeModel::node(const QModelIndex& index) const
{
    return index.isValid() && index.model() == this ? static_cast<Hierarchy*>(index.internalPointer()) : nullptr;
}

FTPerson* HierarchyTreeModel::person(const QModelIndex& index) const
{
    Hierarchy* n = node(index);
    FTPerson* p = n ? n->person() : nullptr;
    return p && !p->isDeleted() ? p : nullptr;
}

QModelIndex HierarchyTreeModel::indexOf(Hierarchy* n, int column) const
{
    if (!n)
        return {};
    return createIndex(n->owner() ? n->seqNo() : 0, column, n);
}

QModelIndex HierarchyTreeModel::rootIndex() const
{
    return indexOf(m_root.get());
}

QModelIndex HierarchyTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    if (column < 0 || column >= ColumnCount || row < 0)
        return {};
    if (!parent.isValid())
        return row == 0 && m_root ? createIndex(0, column, m_root.get()) : QModelIndex();
    const QList<Hierarchy*>* next = children(node(parent));
    return next && row < next->size() ? createIndex(row, column, next->at(row)) : QModelIndex();
}

QModelIndex HierarchyTreeModel::parent(const QModelIndex& index) const
{
    Hierarchy* n = node(index);
    return n ? indexOf(n->owner()) : QModelIndex();
}

int HierarchyTreeModel::rowCount(const QModelIndex& parent) const
{
    if (!parent.isValid())
        return m_root ? 1 : 0;
    if (parent.column() != 0)
        return 0;
    const QList<Hierarchy*>* next = children(node(parent));
    return next ? int(next->size()) : 0;
}

int HierarchyTreeModel::columnCount(const QModelIndex&) const
{
    return ColumnCount;
}

bool HierarchyTreeModel::hasChildren(const QModelIndex& parent) const
{
    if (!parent.isValid())
        return bool(m_root);
    Hierarchy* n = parent.column() == 0 ? node(parent) : nullptr;
    return n && n->numberInNextGen() > 0;
}

bool HierarchyTreeModel::canFetchMore(const QModelIndex& parent) const
{
    Hierarchy* n = parent.column() == 0 ? node(parent) : nullptr;
    return n && !m_children.contains(n) && n->numberInNextGen() > 0;
}

void HierarchyTreeModel::fetchMore(const QModelIndex& parent)
{
    if (!canFetchMore(parent))
        return;
    Hierarchy* n = node(parent);
    const QList<Hierarchy*> next = n->nextGenArray();
    beginInsertRows(parent, 0, int(next.size()) - 1);
    m_children.insert(n, next);
    endInsertRows();
}

QVariant HierarchyTreeModel::rowData(const QModelIndex& index, FTPerson* p, int role) const
{
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        if (column == Rules::Level)
            return node(index)->level();
        return {};
    case Qt::ForegroundRole:
        if (column == Rules::Name && m_projectView && m_projectView->ancestorsSet().contains(p->objectURI()))
            return RGB(0, 128, 0);
        return {};
    case Qt::TextAlignmentRole:
        if (column == Rules::Level)
            return int(Qt::AlignCenter);
        return {};
    default:
        return {};
    }
}

void HierarchyTreeModel::personWritten(const QModelIndex& index)
{
    Q_EMIT dataChanged(index.siblingAtColumn(0), index.siblingAtColumn(ColumnCount - 1));
}

QVariant HierarchyTreeModel::heading(int section) const
{
    switch (section) {
    case Rules::Level:
        return LocalizedString("HierarchyLevel");
    case Rules::Name:
        return nameHeading();
    case Rules::Title:
        return LocalizedString("HierarchyTitle");
    case Rules::BirthDate:
        return LocalizedString("RelativesBorn");
    case Rules::BirthPlace:
        return LocalizedString("RelativesBirthPlace");
    case Rules::BirthNotes:
        return LocalizedString("HierarchyBirthNotes");
    default:
        return {};
    }
}
