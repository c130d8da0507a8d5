#include "tools/TextListModel.h"

TextListModel::TextListModel(const QString& header, QObject* parent)
    : QAbstractListModel(parent)
    , m_header(header)
{
}

void TextListModel::setTexts(const QStringList& texts)
{
    beginResetModel();
    m_texts = texts;
    endResetModel();
}

int TextListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(m_texts.size()); }

QVariant TextListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_texts.size())
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole || role == Qt::ToolTipRole)
        return m_texts[index.row()];
    return {};
}

bool TextListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!rename || role != Qt::EditRole || !index.isValid() || index.row() >= m_texts.size())
        return false;
    return rename(index.row(), value.toString());
}

Qt::ItemFlags TextListModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractListModel::flags(index);
    if (rename && index.isValid())
        f |= Qt::ItemIsEditable;
    return f;
}

QVariant TextListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && section == 0 && role == Qt::DisplayRole)
        return m_header;
    return QAbstractListModel::headerData(section, orientation, role);
}
