#include "reports/ui/PeopleIndexTableModel.h"

#include "model/FTEvent.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"

namespace {
QString yearText(const FTEvent* event)
{
    return event && event->year() != 0 ? QString::number(event->year()) : QString();
}
}

void PeopleIndexTableModel::setPeople(const QList<FTPerson*>& people)
{
    beginResetModel();
    m_people = people;
    endResetModel();
}

void PeopleIndexTableModel::setFont(const QFont& font)
{
    m_font = font;
    redraw();
}

void PeopleIndexTableModel::redraw()
{
    if (!m_people.isEmpty())
        Q_EMIT dataChanged(index(0, 0), index(int(m_people.size()) - 1, ColumnCount - 1));
}

int PeopleIndexTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_people.size());
}

int PeopleIndexTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant PeopleIndexTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_people.size())
        return {};
    if (role == Qt::FontRole)
        return m_font;
    if (role == Qt::TextAlignmentRole && (index.column() == Number || index.column() == Born || index.column() == Died))
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    const FTPerson* p = m_people[index.row()];
    switch (index.column()) {
    case Number: return p->numericId();
    case FamilyName: return p->familyName();
    case GivenNames: return p->givenNames();
    case Gender: return p->gender();
    case Born: return yearText(p->birth());
    case Died: return yearText(p->death());
    default: return p->title();
    }
}

QVariant PeopleIndexTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    static const char* const keys[] = {"PINumber", "PIFamilyName", "PIGivenNames", "PIGender", "PIBorn", "PIDied",
        "PITitle"};
    return section >= 0 && section < ColumnCount ? LocalizedString(QString::fromLatin1(keys[section])) : QVariant();
}
