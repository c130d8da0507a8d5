#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>
#include <QStyledItemDelegate>

#include <functional>

class EditorTableView;
class FTEvent;
class FTMoc;

// The other events of a person or a couple as a table, one event a row, written as their cells are edited: the
// type, name, date and place, and optionally an age at the event. The dialogs that show such a list say how the
// type is shown and chosen, and what the age is. A column's identifier ("subtype", "name", "date", "place", "age")
// is its header's Qt::UserRole.
class OtherEventsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { TypeColumn, NameColumn, DateColumn, PlaceColumn, AgeColumn };

    OtherEventsModel(bool withAge, QObject* parent = nullptr);

    // The type column's text, and the type the user chose there (by that text).
    std::function<QString(const FTEvent* event)> typeText;
    std::function<void(FTEvent* event, const QString& text)> chooseType;
    // The age column's text.
    std::function<QString(const FTEvent* event)> ageText;

    void setEvents(QList<FTEvent*> events);
    const QList<FTEvent*>& events() const { return m_events; }
    // The event of a row; null outside the rows or for a deleted event.
    FTEvent* event(int row) const;
    void append(FTEvent* event);
    void remove(int row);
    // The ages follow a new birth date.
    void refreshAges();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    bool m_withAge;
    QList<FTEvent*> m_events;
};

// Edits an OtherEventsModel's cells: the type column is a list of `types` that also takes a typed name (a name
// picked from it is taken at once; with `openAtOnce` the list opens as the cell is edited), and the place column
// completes the database's places.
class OtherEventsDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    OtherEventsDelegate(EditorTableView* table, std::function<QStringList()> types, std::function<FTMoc*()> moc,
        bool openAtOnce);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

private:
    EditorTableView* m_table;
    std::function<QStringList()> m_types;
    std::function<FTMoc*()> m_moc;
    bool m_openAtOnce;
};
