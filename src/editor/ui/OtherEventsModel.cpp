#include "editor/ui/OtherEventsModel.h"

#include "editor/ui/EditorTableView.h"
#include "editor/ui/PlaceField.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"

#include "platform/Localizer.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTimer>

namespace {
const char* const kIdentifiers[] = {"subtype", "name", "date", "place", "age"};
const char* const kTitles[] = {"EventTypeColumn", "EventNameColumn", "EventDateColumn", "EventPlaceColumn", "EventAgeColumn"};
}

OtherEventsModel::OtherEventsModel(bool withAge, QObject* parent)
    : QAbstractTableModel(parent)
    , m_withAge(withAge)
{
}

void OtherEventsModel::setEvents(QList<FTEvent*> events)
{
    beginResetModel();
    m_events = std::move(events);
    endResetModel();
}

FTEvent* OtherEventsModel::event(int row) const
{
    FTEvent* e = row >= 0 && row < m_events.size() ? m_events[row] : nullptr;
    return e && !e->isDeleted() ? e : nullptr;
}

void OtherEventsModel::append(FTEvent* event)
{
    beginInsertRows({}, int(m_events.size()), int(m_events.size()));
    m_events << event;
    endInsertRows();
}

void OtherEventsModel::remove(int row)
{
    if (row < 0 || row >= m_events.size())
        return;
    beginRemoveRows({}, row, row);
    m_events.removeAt(row);
    endRemoveRows();
}

void OtherEventsModel::refreshAges()
{
    if (m_withAge && !m_events.isEmpty())
        Q_EMIT dataChanged(index(0, AgeColumn), index(int(m_events.size()) - 1, AgeColumn));
}

int OtherEventsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_events.size());
}

int OtherEventsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_withAge ? AgeColumn + 1 : AgeColumn;
}

QVariant OtherEventsModel::data(const QModelIndex& index, int role) const
{
    const FTEvent* e = event(index.row());
    if (!e || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    switch (index.column()) {
    case TypeColumn:
        return typeText ? typeText(e) : e->subtypeName();
    case NameColumn:
        return e->name();
    case DateColumn:
        return e->date();
    case PlaceColumn:
        return e->place();
    case AgeColumn:
        return ageText ? ageText(e) : QString();
    default:
        return {};
    }
}

bool OtherEventsModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    FTEvent* e = event(index.row());
    if (!e || role != Qt::EditRole)
        return false;
    const QString text = value.toString();
    switch (index.column()) {
    case TypeColumn:
        if (chooseType)
            chooseType(e, text);
        break;
    case NameColumn:
        if (text != e->name())
            e->setName(text);
        break;
    case DateColumn:
        if (text != e->date())
            e->setDate(text);
        break;
    case PlaceColumn:
        if (text != e->place())
            e->setPlace(text);
        break;
    default:
        return false;
    }
    if (FTMoc* moc = e->moc())
        moc->deferredSave();
    Q_EMIT dataChanged(this->index(index.row(), 0), this->index(index.row(), columnCount() - 1));
    return true;
}

Qt::ItemFlags OtherEventsModel::flags(const QModelIndex& index) const
{
    const Qt::ItemFlags f = QAbstractTableModel::flags(index);
    return index.column() == AgeColumn ? f : f | Qt::ItemIsEditable;
}

QVariant OtherEventsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return {};
    if (role == Qt::UserRole)
        return QString::fromLatin1(kIdentifiers[section]);
    return role == Qt::DisplayRole ? LocalizedString(QString::fromLatin1(kTitles[section])) : QVariant();
}

OtherEventsDelegate::OtherEventsDelegate(
    EditorTableView* table, std::function<QStringList()> types, std::function<FTMoc*()> moc, bool openAtOnce)
    : QStyledItemDelegate(table)
    , m_table(table)
    , m_types(std::move(types))
    , m_moc(std::move(moc))
    , m_openAtOnce(openAtOnce)
{
}

QWidget* OtherEventsDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    if (index.column() == OtherEventsModel::TypeColumn) {
        auto* types = new QComboBox(parent);
        types->setEditable(true);
        types->setInsertPolicy(QComboBox::NoInsert);
        const QStringList names = m_types ? m_types() : QStringList();
        types->addItems(names);
        types->setMaxVisibleItems(std::max((int(names.size()) + 1) / 2, 20));
        QObject::connect(types, &QComboBox::activated, m_table, [table = m_table] {
            QTimer::singleShot(0, table, [table] { table->endEditing(); });
        });
        if (m_openAtOnce)
            QTimer::singleShot(0, types, [types] {
                if (types->isVisible())
                    types->showPopup();
            });
        return types;
    }
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* line = qobject_cast<QLineEdit*>(editor); line && index.column() == OtherEventsModel::PlaceColumn) {
        const int row = index.row();
        QObject::connect(line, &QLineEdit::textEdited, line,
            [line, moc = m_moc, row] { completePlace(line, moc ? moc() : nullptr, row, OtherEventsModel::PlaceColumn); });
    }
    return editor;
}

void OtherEventsDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (auto* types = qobject_cast<QComboBox*>(editor))
        types->setCurrentText(index.data(Qt::EditRole).toString());
    else
        QStyledItemDelegate::setEditorData(editor, index);
}

void OtherEventsDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    if (auto* types = qobject_cast<QComboBox*>(editor))
        model->setData(index, types->currentText(), Qt::EditRole);
    else
        QStyledItemDelegate::setModelData(editor, model, index);
}
