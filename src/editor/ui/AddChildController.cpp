#include "editor/ui/AddChildController.h"

#include "editor/EventsPageCommands.h"
#include "editor/PersonFields.h"
#include "editor/RelativeDialogTexts.h"
#include "editor/ui/AddChildEventsTableView.h"
#include "editor/ui/AddEventButton.h"
#include "editor/ui/EditorLineEdit.h"
#include "editor/ui/LineEditDateField.h"
#include "editor/ui/NotesTextEdit.h"
#include "editor/ui/PcRelTypesTable.h"
#include "editor/ui/PersonFieldSet.h"
#include "editor/ui/PlaceField.h"

#include "shell/FieldValidation.h"
#include "shell/Utils.h"
#include "shell/ui/SetFontSize.h"
#include "shell/ui/ThemeIcon.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"
#include "platform/Prompts.h"

#include <QAbstractTableModel>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>

namespace {
QSize g_prevSize;

QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

QLabel* fieldLabel(const char* key)
{
    return PersonFieldSet::fieldLabel(L(key));
}

QLabel* heading(const char* key)
{
    auto* label = new QLabel(L(key));
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}
}

// The person's other events, one a row, written to the events as their cells are edited.
class AddChildController::EventsModel : public QAbstractTableModel {
public:
    explicit EventsModel(QObject* parent)
        : QAbstractTableModel(parent)
    {
    }

    void setEvents(FTPerson* person, QList<FTEvent*> events)
    {
        beginResetModel();
        m_person = person;
        m_events = std::move(events);
        endResetModel();
    }
    const QList<FTEvent*>& events() const { return m_events; }
    FTEvent* event(int row) const { return row >= 0 && row < m_events.size() ? m_events[row] : nullptr; }
    void append(FTEvent* event)
    {
        beginInsertRows({}, int(m_events.size()), int(m_events.size()));
        m_events << event;
        endInsertRows();
    }
    void remove(int row)
    {
        beginRemoveRows({}, row, row);
        m_events.removeAt(row);
        endRemoveRows();
    }
    // The ages follow a new birth date.
    void refreshAges()
    {
        if (!m_events.isEmpty())
            Q_EMIT dataChanged(index(0, AgeColumn), index(int(m_events.size()) - 1, AgeColumn));
    }

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(m_events.size()); }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : ColumnCount; }
    QVariant data(const QModelIndex& index, int role) const override
    {
        const FTEvent* e = event(index.row());
        if (!e || e->isDeleted() || (role != Qt::DisplayRole && role != Qt::EditRole))
            return {};
        switch (index.column()) {
        case TypeColumn:
            return e->subtypeName();
        case NameColumn:
            return e->name();
        case DateColumn:
            return e->date();
        case PlaceColumn:
            return e->place();
        case AgeColumn:
            return QString::number(RelativeDialogTexts::ageAtEvent(e, m_person));
        default:
            return {};
        }
    }
    bool setData(const QModelIndex& index, const QVariant& value, int role) override
    {
        FTEvent* e = event(index.row());
        if (!e || e->isDeleted() || role != Qt::EditRole)
            return false;
        const QString text = value.toString();
        switch (index.column()) {
        case TypeColumn:
            RelativeDialogTexts::chooseEventType(e, text);
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
        Q_EMIT dataChanged(this->index(index.row(), 0), this->index(index.row(), ColumnCount - 1));
        return true;
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        Qt::ItemFlags f = QAbstractTableModel::flags(index);
        return index.column() == AgeColumn ? f : f | Qt::ItemIsEditable;
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        const char* keys[] = { "EventTypeColumn", "EventNameColumn", "EventDateColumn", "EventPlaceColumn", "EventAgeColumn" };
        return section >= 0 && section < ColumnCount ? L(keys[section]) : QVariant();
    }

private:
    FTPerson* m_person = nullptr;
    QList<FTEvent*> m_events;
};

namespace {
// The event types to choose from in the type column (a list that also takes a typed name), and the place column
// completing the database's places.
class EventsDelegate : public QStyledItemDelegate {
public:
    EventsDelegate(AddChildController* dialog, AddChildEventsTableView* table)
        : QStyledItemDelegate(table)
        , m_dialog(dialog)
        , m_table(table)
    {
    }
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        if (index.column() == AddChildController::TypeColumn) {
            auto* types = new QComboBox(parent);
            types->setEditable(true);
            types->setInsertPolicy(QComboBox::NoInsert);
            types->addItems(m_dialog->eventTypes());
            types->setMaxVisibleItems(std::max((int(m_dialog->eventTypes().size()) + 1) / 2, 20));
            // A name picked from the list is taken at once.
            QObject::connect(types, &QComboBox::activated, m_table, [table = m_table] {
                QTimer::singleShot(0, table, [table] { table->endEditing(); });
            });
            return types;
        }
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor); line && index.column() == AddChildController::PlaceColumn) {
            const int row = index.row();
            QObject::connect(line, &QLineEdit::textEdited, line, [line, dialog = m_dialog, row] {
                completePlace(line, dialog->moc(), row, AddChildController::PlaceColumn);
            });
        }
        return editor;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        if (auto* types = qobject_cast<QComboBox*>(editor))
            types->setCurrentText(index.data(Qt::EditRole).toString());
        else
            QStyledItemDelegate::setEditorData(editor, index);
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        if (auto* types = qobject_cast<QComboBox*>(editor))
            model->setData(index, types->currentText(), Qt::EditRole);
        else
            QStyledItemDelegate::setModelData(editor, model, index);
    }

private:
    AddChildController* m_dialog;
    AddChildEventsTableView* m_table;
};
}

AddChildController::AddChildController(QWidget* parent)
    : RelationshipDialog(parent)
    , m_fields(new PersonFieldSet(this))
    , m_eventsModel(new EventsModel(this))
{
    setObjectName(QStringLiteral("AddChild"));
    using F = PersonFields;

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    const int row = m_fields->addNameAndLifeRows(grid);
    grid->addWidget(fieldLabel("SelfTitle"), row, 0);
    grid->addWidget(m_fields->add(F::Title, QStringLiteral("title")), row, 1, 1, 3);
    grid->addWidget(fieldLabel("SelfUserRef"), row, 4);
    grid->addWidget(m_fields->add(F::UserReferenceNo, QStringLiteral("userId")), row, 5);
    grid->addWidget(fieldLabel("SelfCauseOfDeath"), row + 1, 0);
    grid->addWidget(m_fields->add(F::CauseOfDeath, QStringLiteral("causeOfDeath")), row + 1, 1, 1, 3);
    QLabel* afn = fieldLabel("SelfAfn");
    afn->setToolTip(L("SelfAfnTip"));
    grid->addWidget(afn, row + 1, 4);
    grid->addWidget(m_fields->add(F::AncestralFileNo, QStringLiteral("ancestralFileNumber")), row + 1, 5);
    // A new birth date changes every age at an event.
    m_fields->didEndEditing = [this](int tag) {
        if (tag == F::BirthDate)
            m_eventsModel->refreshAges();
    };

    m_parents = new PcRelTypesTable(PcRelTypesTable::Parents, m_cleanup);
    m_parents->setObjectName(QStringLiteral("tv_parents"));

    m_events = new AddChildEventsTableView;
    m_events->setObjectName(QStringLiteral("tv_events"));
    m_events->setModel(m_eventsModel);
    m_events->setEventTypeColumn(TypeColumn);
    m_events->setItemDelegate(new EventsDelegate(this, m_events));
    m_events->shouldEndEditing = [this](const QModelIndex& index, QWidget* editor) {
        return shouldEndEventEditing(index, editor);
    };
    // The tables in the dialog's own type size, like its fields.
    SetFontSize(m_events, m_events->font().pointSize());
    m_events->verticalHeader()->setDefaultSectionSize(
        std::max(m_events->verticalHeader()->defaultSectionSize(), QLineEdit().sizeHint().height()));
    // The type column is a list: one click opens it.
    connect(m_events, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        if (index.column() != TypeColumn || !m_events->editCell(index))
            return;
        if (auto* types = qobject_cast<QComboBox*>(m_events->currentEditor()))
            types->showPopup();
    });
    QHeaderView* header = m_events->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    const int widths[] = { 130, 170, 110, 170, 44 };
    for (int column = 0; column < ColumnCount; ++column)
        m_events->setColumnWidth(column, widths[column]);
    header->setStretchLastSection(true);

    m_addEventButton = new AddEventButton;
    m_addEventButton->setObjectName(QStringLiteral("addEventButton"));
    m_addEventButton->setText(L("AddEventButton"));
    m_addEventButton->setIcon(themeIcon(QStringLiteral("list-add")));
    m_addEventButton->setOpensBesideButton(true);
    m_addEventButton->setAutoDefault(false);
    QPushButton* remove = makeButton("list-remove", "DeleteEvent", QStringLiteral("deleteEventButton"), [this] { deleteEvent(); });
    QPushButton* help = makeButton("help-browser", "HelpButton", QStringLiteral("helpButton"), [this] { helpForAddEvent(); });
    auto* eventButtons = new QHBoxLayout;
    eventButtons->addWidget(heading("AddChildEvents"));
    eventButtons->addStretch();
    eventButtons->addWidget(m_addEventButton);
    eventButtons->addWidget(remove);
    eventButtons->addWidget(help);

    m_notes = new NotesTextEdit;
    m_notes->setObjectName(QStringLiteral("notesTextView"));
    m_notes->document()->setDocumentMargin(5);
    m_notes->commit = [this](const QString& text) {
        if (m_person && m_person->notes() != text) {
            m_person->setNotes(text);
            m_moc->deferredSave();
        }
    };

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(makeCloseButton());

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(6);
    layout->addWidget(heading("AddChildParents"));
    layout->addWidget(m_parents);
    layout->addSpacing(6);
    layout->addLayout(eventButtons);
    layout->addWidget(m_events, 2);
    layout->addSpacing(6);
    layout->addWidget(heading("AddChildNotes"));
    layout->addWidget(m_notes, 1);
    layout->addLayout(buttons);
    resize(700, 640);
    keepSizeIn(&g_prevSize);
}

AddChildController::~AddChildController() = default;

const QList<FTEvent*>& AddChildController::childsEvents() const
{
    return m_eventsModel->events();
}

void AddChildController::setPPerson(FTPerson* person)
{
    m_person = person;
    if (!person)
        return;
    m_moc = person->moc();
    m_addEventButton->setMoc(m_moc);
    m_addEventButton->setDelegate(this);
    m_fields->setPerson(person);
    m_eventTypes = Utils::otherPersonalEventTypesArray();
    loadEventsArray();
    m_parents->setLinks(person->parentRels());
    // The parents take the room their rows need; the events and notes the rest.
    m_parents->setMaximumHeight(m_parents->minimumHeight());
    m_notes->setValue(person->notes());
    setWindowTitle(RelativeDialogTexts::addChildTitle(person));
}

void AddChildController::loadEventsArray()
{
    m_eventsModel->setEvents(m_person, RelativeDialogTexts::otherEventsByDate(m_person));
}

void AddChildController::addEventWithType(const QString& tag)
{
    if (!m_person || !m_events->endEditing())
        return;
    FTEvent* event = FTEvent::initInMoc(m_moc, FTEvent::OtherPersonalEvent, m_person, tag);
    if (!event)
        return;
    const int row = int(m_eventsModel->events().size());
    m_eventsModel->append(event);
    m_events->selectRow(row);
    if (m_events->editCell(m_eventsModel->index(row, NameColumn)))
        if (auto* name = qobject_cast<QLineEdit*>(m_events->currentEditor()))
            name->selectAll();
}

void AddChildController::deleteEvent()
{
    if (!m_events->endEditing())
        return;
    const QModelIndexList selected = m_events->selectionModel()->selectedRows();
    FTEvent* event = selected.isEmpty() ? nullptr : m_eventsModel->event(selected.first().row());
    if (!event) {
        Prompts::current().messageAsSheet(this, L("changeEventMisuse"));
        return;
    }
    EventsPageCommands::eventRemove(event, m_person);
    m_eventsModel->remove(selected.first().row());
}

void AddChildController::helpForAddEvent()
{
    Prompts::current().message(LocalizedHelpString(QStringLiteral("helpForAddEvent")));
}

bool AddChildController::shouldEndEventEditing(const QModelIndex& index, QWidget* editor)
{
    auto* line = qobject_cast<QLineEdit*>(editor);
    // Only what the user changed is checked: a stored value the checks would refuse can still be looked at.
    if (!line || line->text() == index.data(Qt::EditRole).toString())
        return true;
    FieldValidation v { true, line->text(), {}, {} };
    switch (index.column()) {
    case DateColumn: {
        LineEditDateField date(line);
        v.accepted = Dates::validateDateField(date, nullptr);
        v.text = line->text();
        break;
    }
    case PlaceColumn:
        v = ValidatePlaceField(line->text());
        break;
    case NameColumn:
        v = ValidateSingleLineEntryField(line->text(), QStringLiteral("EventName"));
        break;
    default:
        break;
    }
    if (line->text() != v.text)
        line->setText(v.text);
    return v.report();
}

bool AddChildController::windowShouldClose()
{
    // What was typed reaches the data; an edit the checks refuse is dropped, the stored value kept.
    m_fields->finishEditing();
    if (!m_events->endEditing())
        m_events->abandonEditing();
    m_notes->endEditing();
    m_cleanup.deleteChosenLinks();
    NotificationCenter::defaultCenter().post(QStringLiteral("RefreshAllViews"), nullptr, m_moc);
    return true;
}
