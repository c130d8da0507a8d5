#include "editor/ui/PersonRowsModel.h"

#include "editor/PersonFields.h"

#include "platform/Localizer.h"

template <class Base>
PersonRowsModel<Base>::PersonRowsModel(int nameColumn, int detailsColumn, int familyColumn, QObject* parent)
    : Base(parent)
    , m_nameColumn(nameColumn)
    , m_detailsColumn(detailsColumn)
    , m_familyColumn(familyColumn)
{
}

template <class Base>
void PersonRowsModel<Base>::setNameHeading(const QString& heading)
{
    if (heading == m_nameHeading)
        return;
    m_nameHeading = heading;
    Q_EMIT this->headerDataChanged(Qt::Horizontal, m_nameColumn, m_nameColumn);
}

template <class Base>
QString PersonRowsModel<Base>::identifier(int column) const
{
    if (column == m_detailsColumn)
        return QStringLiteral("detailsButton");
    if (column == m_familyColumn)
        return QStringLiteral("familyButton");
    return columnIdentifier(column);
}

template <class Base>
QVariant PersonRowsModel<Base>::data(const QModelIndex& index, int role) const
{
    FTPerson* p = rowPerson(index);
    if (!p)
        return {};
    const int column = index.column();
    if (role == Qt::ToolTipRole) {
        if (column == m_detailsColumn)
            return LocalizedString("RelativesDetailsTip");
        if (column == m_familyColumn)
            return LocalizedString("RelativesFamilyTip");
        return {};
    }
    if (const int tag = fieldTag(column); tag >= 0 && (role == Qt::DisplayRole || role == Qt::EditRole))
        return PersonFields::read(tag, p);
    return rowData(index, p, role);
}

template <class Base>
bool PersonRowsModel<Base>::setData(const QModelIndex& index, const QVariant& value, int role)
{
    FTPerson* p = rowPerson(index);
    const int tag = fieldTag(index.column());
    if (role != Qt::EditRole || !p || tag < 0)
        return false;
    const QString text = value.toString();
    // Typing the value that is there writes nothing.
    if (text == PersonFields::read(tag, p))
        return true;
    PersonFields::write(tag, p, text);
    personWritten(index);
    return true;
}

template <class Base>
Qt::ItemFlags PersonRowsModel<Base>::flags(const QModelIndex& index) const
{
    if (!rowPerson(index))
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (fieldTag(index.column()) >= 0)
        f |= Qt::ItemIsEditable;
    return f;
}

template <class Base>
QVariant PersonRowsModel<Base>::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::UserRole)
        return identifier(section);
    if (role != Qt::DisplayRole)
        return {};
    return heading(section);
}

template class PersonRowsModel<QAbstractItemModel>;
template class PersonRowsModel<QAbstractTableModel>;
