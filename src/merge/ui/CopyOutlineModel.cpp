#include "merge/ui/CopyOutlineModel.h"

#include "merge/CopyOutline.h"

#include "model/FTPerson.h"
#include "model/Hierarchy.h"

#include "platform/Localizer.h"

#include <QApplication>
#include <QFont>
#include <QPalette>

CopyOutlineModel::CopyOutlineModel(CopyOutline& outline, QObject* parent)
    : QAbstractItemModel(parent)
    , m_outline(outline)
{
}

Hierarchy* CopyOutlineModel::node(const QModelIndex& index) const
{
    return index.isValid() ? static_cast<Hierarchy*>(index.internalPointer()) : nullptr;
}

QModelIndex CopyOutlineModel::indexOf(Hierarchy* node, int column) const
{
    if (!node)
        return {};
    return createIndex(node->owner() ? node->seqNo() : 0, column, node);
}

QModelIndex CopyOutlineModel::index(int row, int column, const QModelIndex& parent) const
{
    if (column < 0 || column >= ColumnCount || row < 0)
        return {};
    if (!parent.isValid())
        return row == 0 ? createIndex(0, column, m_outline.root()) : QModelIndex();
    const QList<Hierarchy*> under = m_outline.rowsUnder(node(parent));
    return row < under.size() ? createIndex(row, column, under[row]) : QModelIndex();
}

QModelIndex CopyOutlineModel::parent(const QModelIndex& index) const
{
    const Hierarchy* n = node(index);
    return n && n->owner() ? indexOf(n->owner()) : QModelIndex();
}

int CopyOutlineModel::rowCount(const QModelIndex& parent) const
{
    if (!parent.isValid())
        return m_outline.root() ? 1 : 0;
    if (parent.column() != 0)
        return 0;
    return int(m_outline.rowsUnder(node(parent)).size());
}

int CopyOutlineModel::columnCount(const QModelIndex&) const
{
    return ColumnCount;
}

bool CopyOutlineModel::hasChildren(const QModelIndex& parent) const
{
    return rowCount(parent) > 0;
}

QVariant CopyOutlineModel::data(const QModelIndex& index, int role) const
{
    const Hierarchy* n = node(index);
    if (!n || !n->person())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return index.column() == NameColumn ? QVariant(n->person()->nameWithBirthAndDeathYears()) : QVariant(n->level());
    case Qt::ToolTipRole:
        return n->repeatedElsewhere() ? LocalizedString(QStringLiteral("CopyRepeatedRow")) : QVariant();
    case Qt::FontRole:
        if (n->repeatedElsewhere()) {
            QFont font;
            font.setItalic(true);
            return font;
        }
        return {};
    case Qt::ForegroundRole:
        if (n->repeatedElsewhere())
            return QApplication::palette().color(QPalette::Disabled, QPalette::Text);
        return {};
    case Qt::TextAlignmentRole:
        return index.column() == LevelColumn ? QVariant(int(Qt::AlignRight | Qt::AlignVCenter)) : QVariant();
    default:
        return {};
    }
}

QVariant CopyOutlineModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return LocalizedString(section == NameColumn ? QStringLiteral("CopyOutlineName") : QStringLiteral("CopyOutlineLevel"));
}

Qt::ItemFlags CopyOutlineModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}
