#pragma once

#include <QAbstractTableModel>
#include <QFont>
#include <QList>

class FTPerson;

// The people index's table: number, family name, given names, gender, birth and death year and title of the
// people shown. It reads each person as its row is drawn, so a list of a whole large database fills at once.
class PeopleIndexTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Number, FamilyName, GivenNames, Gender, Born, Died, Title, ColumnCount };
    using QAbstractTableModel::QAbstractTableModel;

    void setPeople(const QList<FTPerson*>& people);
    const QList<FTPerson*>& people() const { return m_people; }
    FTPerson* personAt(int row) const { return row >= 0 && row < m_people.size() ? m_people[row] : nullptr; }
    // Every row's text at this font (the index's text size).
    void setFont(const QFont& font);
    // A person's name or dates changed: the rows redraw.
    void redraw();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QList<FTPerson*> m_people;
    QFont m_font;
};
