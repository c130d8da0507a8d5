#include "editor/ui/AddChildController.h"

#include "editor/EventsPageCommands.h"
#include "editor/PersonFields.h"
#include "editor/RelativeDialogTexts.h"
#include "editor/ui/AddChildEventsTableView.h"
#include "editor/ui/AddEventButton.h"
#include "editor/ui/EditorLineEdit.h"
#include "editor/ui/LineEditDateField.h"
#include "editor/ui/NotesTextEdit.h"
#include "editor/ui/OtherEventsModel.h"
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

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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

AddChildController::AddChildController(QWidget* parent)
    : RelationshipDialog(parent)
    , m_fields(new PersonFieldSet(this))
    , m_eventsModel(new OtherEventsModel(true, this))
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
    m_eventsModel->chooseType = [](FTEvent* e, const QString& name) { RelativeDialogTexts::chooseEventType(e, name); };
    m_eventsModel->ageText = [this](const FTEvent* e) { return QString::number(RelativeDialogTexts::ageAtEvent(e, m_person)); };
    m_events->setItemDelegate(new OtherEventsDelegate(m_events, [this] { return m_eventTypes; }, [this] { return m_moc; }, false));
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
    m_notes->setMargin(5);
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
    m_eventsModel->setEvents(RelativeDialogTexts::otherEventsByDate(m_person));
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
