#include "reports/ui/PeopleListModel.h"

#include "model/FTEvent.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"

void PeopleListModel::setPeople(const QList<FTPerson*>& people)
{
    beginResetModel();
    m_people = people;
    endResetModel();
}

int PeopleListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_people.size());
}

int PeopleListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 3;
}

QVariant PeopleListModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_people.size())
        return {};
    const FTPerson* p = m_people[index.row()];
    switch (index.column()) {
    case 0: return p->nameWithBirthAndDeathYears();
    case 1: return p->birth() ? p->birth()->place() : QString();
    default: return p->death() ? p->death()->place() : QString();
    }
}

QVariant PeopleListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    static const char* const keys[] = { "Name", "BirthPlace", "DeathPlace" };
    return section >= 0 && section < 3 ? LocalizedString(QString::fromLatin1(keys[section])) : QVariant();
}
