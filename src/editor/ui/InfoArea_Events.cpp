#include "editor/ui/InfoArea_Events.h"

#include "editor/AddEventMenu.h"
#include "editor/EventsPageCommands.h"
#include "editor/SelfPageTexts.h"
#include "editor/ui/AddEventButton.h"
#include "editor/ui/EditorHooks.h"
#include "editor/ui/EventsTableModel.h"
#include "editor/ui/InfoArea_Events_TableView.h"
#include "editor/ui/LineEditDateField.h"

#include "shell/DisplayMsg.h"
#include "shell/FieldValidation.h"
#include "shell/PlaceCompletion.h"
#include "shell/ui/SetFontSize.h"
#include "shell/ui/ThemeIcon.h"

#include "model/Dates.h"
#include "model/EventInfo.h"
#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPerson.h"

#include "platform/FTLog.h"
#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"
#include "platform/UserDefaults.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

using Layout = EventsTableLayout;

namespace {
const QString kMultiLineNotes = QStringLiteral("multiLineNotesForEventPane");

bool multiLineNotesDefault()
{
    const UserDefaults& defaults = UserDefaults::standard();
    return !defaults.contains(kMultiLineNotes) || defaults.boolForKey(kMultiLineNotes);
}

// Shows what a check made of the text in the editor and says why it refused or changed it.
bool report(QWidget* editor, const FieldValidation& v)
{
    if (EditorTableView::editorText(editor) != v.text)
        EditorTableView::setEditorText(editor, v.text);
    return v.report();
}
}

InfoArea_Events::InfoArea_Events(QWidget* parent)
    : EditorPage(parent)
{
    setObjectName(QStringLiteral("pEvents"));
    m_multiLineNotes = multiLineNotesDefault();

    m_addEventButton = new AddEventButton;
    m_addEventButton->setObjectName(QStringLiteral("addEventButton"));
    m_addEventButton->setDelegate(this);
    m_addEventButton->setEventNamesArray(AddEventMenu::eventsPageEventNames());

    auto* sort = new QPushButton(
        themeIcon(QStringLiteral("view-sort-ascending")), LocalizedString(QStringLiteral("SortByDate")));
    sort->setObjectName(QStringLiteral("sortByDateButton"));
    sort->hide();
    connect(sort, &QPushButton::clicked, this, [this] { sortEventsByDate(); });
    m_sortButton = sort;

    m_multiLineSwitch = new QCheckBox(LocalizedString(QStringLiteral("MultiLineNotes")));
    m_multiLineSwitch->setObjectName(QStringLiteral("multiLineNotes"));
    m_multiLineSwitch->setChecked(m_multiLineNotes);
    connect(m_multiLineSwitch, &QCheckBox::toggled, this, [this](bool on) { setMultiLineNotes(on); });

    auto* timeline = new QToolButton;
    timeline->setObjectName(QStringLiteral("timelineButton"));
    timeline->setAutoRaise(true);
    timeline->setIcon(themeIcon(QStringLiteral("x-office-calendar")));
    timeline->setToolTip(LocalizedString(QStringLiteral("PersonalTimeline")));
    timeline->setFocusPolicy(Qt::NoFocus);
    connect(timeline, &QToolButton::clicked, this, [this] { displayPersonalTimeline(); });

    auto* bar = new QHBoxLayout;
    bar->setSpacing(8);
    bar->addWidget(m_addEventButton);
    bar->addWidget(sort);
    bar->addStretch();
    bar->addWidget(m_multiLineSwitch);
    bar->addWidget(timeline);

    m_model = new EventsTableModel(this);
    m_table = new InfoArea_Events_TableView(this);
    m_table->setModel(m_model);
    m_table->setHorizontalGridLines(m_multiLineNotes);
    connect(m_table->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
        if (column == Layout::Date)
            sortEventsByDate();
    });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 6, 0, 0);
    layout->setSpacing(6);
    layout->addLayout(bar);
    layout->addWidget(m_table, 1);

    setFontSize(m_fontSize);
}

InfoArea_Events::~InfoArea_Events()
{
    FTLog(QStringLiteral("dealloc InfoArea_Events"));
    watchWindow(false);
    // The rows observe their events: they go before anything else of the page.
    m_table->setModel(nullptr);
    m_model->clear();
}

QAbstractButton* InfoArea_Events::sortButton() const
{
    return m_sortButton;
}

// ---- The page protocol -----------------------------------------------------------------------------------------

void InfoArea_Events::setSelectedPerson(FTPerson* person)
{
    // What was typed reaches the event first; an edit its check refuses cannot follow another list.
    if (!m_table->endEditing())
        m_table->abandonEditing();
    m_person = person;
    if (person)
        m_moc = person->moc();
    m_addEventButton->setMoc(m_moc);
    m_list.setSelectedPerson(person);
    setRefreshEventsArray(true);
}

void InfoArea_Events::setFontSize(long size)
{
    if (size <= 0)
        return;
    m_fontSize = size;
    SetFontSize(m_table, int(size));
    setLineHeight();
    m_table->setColumnWidths();
    setRefreshEventsArray(true);
}

void InfoArea_Events::setLineHeight()
{
    m_layout.setFont(m_table->font());
}

void InfoArea_Events::setColumnHeadings()
{
    m_model->setEventNameHeader(m_person
            ? QStringLiteral("%1 %2'%3 %4")
                  .arg(LocalizedString(QStringLiteral("EventsIn")), m_person->name(),
                      LocalizedString(QStringLiteral("possessiveSuffix")), LocalizedString(QStringLiteral("lifetime")))
            : QString());
}

void InfoArea_Events::freeMemory()
{
    if (!m_table->endEditing())
        m_table->abandonEditing();
    m_model->clear();
    m_person = nullptr;
    m_list.setSelectedPerson(nullptr);
    m_list.selObjBirth = nullptr;
    m_refreshEventsArray = true;
}

void InfoArea_Events::personToBeDeleted(const Notification& n)
{
    if (!m_moc || n.context != m_moc)
        return;
    // The list may show the person's events as a relative's: none of its rows may outlive the deletion. An edit of
    // an event of people who both stay (the owner and the person whose list it is) is stored first.
    const QModelIndex edited = m_table->editingIndex();
    const EventInfo* row = edited.isValid() ? m_model->row(edited.row()) : nullptr;
    if (!row || n.object == m_person || n.object == row->owner() || !m_table->endEditing())
        m_table->abandonEditing();
    if (n.object && n.object == m_person) {
        m_person = nullptr;
        m_list.setSelectedPerson(nullptr);
    }
    m_model->clear();
    m_list.selObjBirth = nullptr;
    setRefreshEventsArray(true);
}

void InfoArea_Events::pcRelTypeChanged(const Notification&)
{
    if (m_person)
        refreshEventsArrayContents();
}

bool InfoArea_Events::endEditing()
{
    return m_table->endEditing();
}

// ---- The list --------------------------------------------------------------------------------------------------

void InfoArea_Events::setRefreshEventsArray(bool refresh)
{
    m_refreshEventsArray = refresh;
    if (refresh) {
        m_table->scrollToTop();
        m_table->viewport()->update();
    }
    m_sortButton->hide();
}

void InfoArea_Events::ensureEventsArray()
{
    if (m_refreshEventsArray)
        refreshEventsArrayContents();
}

void InfoArea_Events::refreshEventsArrayContents()
{
    if (!m_table->endEditing())
        m_table->abandonEditing();
    if (m_multiLineNotes != multiLineNotesDefault()) {
        m_multiLineNotes = multiLineNotesDefault();
        const QSignalBlocker quiet(m_multiLineSwitch);
        m_multiLineSwitch->setChecked(m_multiLineNotes);
        m_table->setHorizontalGridLines(m_multiLineNotes);
    }
    EventsPageList::Rows rows = m_person ? m_list.createEventInfoArray() : EventsPageList::Rows();
    m_layout.calculateRowHeightForAllRows(rows);
    m_refreshEventsArray = false;
    m_model->setRows(std::move(rows));
    setColumnHeadings();
    m_table->applyRowHeights();
    m_table->scrollToTop();
    if (!m_previousEventURI.isEmpty()) {
        const FTEvent* previous
            = m_moc ? dynamic_cast<const FTEvent*>(m_moc->objectForURI(m_previousEventURI)) : nullptr;
        m_previousEventURI.clear();
        const int row = std::max(0, m_model->rowOf(previous));
        if (row < m_model->rowCount()) {
            m_table->selectRow(row);
            m_table->scrollTo(m_model->index(row, 0));
        }
    }
    m_sortButton->hide();
}

void InfoArea_Events::calculateRowHeightForAllRows()
{
    m_layout.calculateRowHeightForAllRows(m_model->rows());
}

void InfoArea_Events::watchWindow(bool on)
{
    if (m_watchedWindow)
        m_watchedWindow->removeEventFilter(this);
    m_watchedWindow = on ? window() : nullptr;
    if (m_watchedWindow)
        m_watchedWindow->installEventFilter(this);
}

void InfoArea_Events::showEvent(QShowEvent* event)
{
    EditorPage::showEvent(event);
    watchWindow(true);
    // A list due while the page was hidden is built before the page first draws.
    if (m_refreshEventsArray)
        m_table->viewport()->update();
}

void InfoArea_Events::hideEvent(QHideEvent* event)
{
    EditorPage::hideEvent(event);
    watchWindow(false);
}

bool InfoArea_Events::eventFilter(QObject* watched, QEvent* event)
{
    // The window is about to draw what has changed: the list is rebuilt first when it must be (never while the
    // table draws), and changes made meanwhile are saved when the program is next idle.
    if (watched == m_watchedWindow && event->type() == QEvent::UpdateRequest && isVisible()) {
        ensureEventsArray();
        if (m_moc && m_moc->hasChanges())
            m_moc->deferredSave();
    }
    return EditorPage::eventFilter(watched, event);
}

// ---- Adding, selecting and editing events ----------------------------------------------------------------------

EventInfo* InfoArea_Events::selectedRow() const
{
    return m_model->row(m_table->selectedRow());
}

void InfoArea_Events::addEventWithType(const QString& tag)
{
    if (!m_person || !m_table->endEditing())
        return;
    if (FTEvent* event = EventsPageCommands::addEventWithType(m_person, tag))
        showNewEvent(event);
}

void InfoArea_Events::showNewEvent(FTEvent* event)
{
    // A rebuild already due (citing the active source may have asked for one) comes first, so that the event is
    // shown once.
    ensureEventsArray();
    std::unique_ptr<EventInfo> row = m_model->takeRow(m_model->rowOf(event));
    if (!row) {
        row = std::make_unique<EventInfo>(event, m_person, EventInfo::Own, 0);
        row->setSelectedPerson(m_person);
        row->setRowHeight(float(m_layout.lineHeight()));
    }
    m_model->insertAtTop(std::move(row));
    m_table->applyRowHeight(0);
    m_table->editColumn(Layout::EventName, 0);
}

void InfoArea_Events::selectEvent(FTEvent* event)
{
    ensureEventsArray();
    if (!m_table->endEditing())
        return;
    if (const int row = m_model->rowOf(event); row >= 0)
        m_table->selectRow(row);
    if (const int selected = m_table->selectedRow(); selected >= 0)
        m_table->editColumn(Layout::EventName, selected);
}

bool InfoArea_Events::shouldEndEditing(const QModelIndex& index, QWidget* editor)
{
    EventInfo* row = m_model->row(index.row());
    FTEvent* event = row ? row->pEvent() : nullptr;
    if (!event || event->isDeleted())
        return true;
    const QString typed = EditorTableView::editorText(editor);
    // Only what the user changed is checked: a stored value the checks would refuse can still be looked at.
    if (typed == index.data(Qt::EditRole).toString())
        return true;
    switch (index.column()) {
    case Layout::Date: {
        auto* line = qobject_cast<QLineEdit*>(editor);
        if (!line)
            return true;
        LineEditDateField date(line);
        Dates::Person owner;
        const Dates::Person* checked = nullptr;
        if (event->type() == FTEvent::BirthEvent)
            if (const auto* person = dynamic_cast<const FTPerson*>(event->owner())) {
                owner = SelfPageTexts::birthDateCheckPerson(person);
                checked = &owner;
            }
        const bool accepted = Dates::validateDateField(date, checked);
        m_sortButton->show();
        return accepted;
    }
    case Layout::Place:
        return report(editor, ValidatePlaceField(typed));
    case Layout::EventName:
        if (typed.trimmed().isEmpty()) {
            DisplayMsg(LocalizedString(QStringLiteral("NameCannotBeBlank")));
            return false;
        }
        if (event->type() == FTEvent::OtherPersonalEvent || event->type() == FTEvent::OtherMarriageEvent)
            return report(editor, ValidateSingleLineEntryField(typed, QStringLiteral("EventName")));
        return true;
    case Layout::Notes: {
        const QString trimmed = typed.trimmed();
        EditorTableView::setEditorText(editor, trimmed);
        row->setRowHeight(m_layout.heightForNotes(trimmed));
        m_table->applyRowHeight(index.row());
        return true;
    }
    default:
        return true;
    }
}

void InfoArea_Events::textDidChange(const QModelIndex& index, QWidget* editor)
{
    EventInfo* row = m_model->row(index.row());
    FTEvent* event = row ? row->pEvent() : nullptr;
    if (!event)
        return;
    const QString text = EditorTableView::editorText(editor);
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (index.column() == Layout::Notes) {
        notesTextChanged(index.row(), text);
        return;
    }
    if (!line)
        return;
    QString completed;
    if (index.column() == Layout::Place) {
        FTMoc* moc = m_moc;
        completed
            = PlaceCompletion::shared().complete(editor, index.row(), index.column(), text, line->cursorPosition(),
                [moc](const QString& prefix) { return moc ? moc->placeNamesStartingWith(prefix) : QStringList(); });
    } else if (index.column() == Layout::EventName) {
        FTMoc* moc = m_moc;
        completed = m_completion.complete(editor, index.row(), index.column(), text, line->cursorPosition(),
            event->type(), event->subtype(),
            [moc](const QString& subtype) { return moc ? moc->eventNamesForSubtype(subtype) : QStringList(); });
    }
    if (completed.isEmpty())
        return;
    // The completed part is selected, so that typing on replaces it.
    line->setText(completed);
    line->setSelection(int(completed.size()), int(text.size()) - int(completed.size()));
}

void InfoArea_Events::notesTextChanged(int row, const QString& text)
{
    EventInfo* info = m_model->row(row);
    if (!info)
        return;
    const float height = m_layout.calculateRowHeightForRow(m_model->rows(), row, &text);
    if (height == info->rowHeight())
        return;
    info->setRowHeight(height);
    m_table->applyRowHeight(row);
}

void InfoArea_Events::editingDidEnd(const QModelIndex& index)
{
    // A notes edit abandoned leaves the row as high as the stored notes need.
    if (index.column() == Layout::Notes)
        if (EventInfo* info = m_model->row(index.row())) {
            info->setRowHeight(m_layout.calculateRowHeightForRow(m_model->rows(), index.row()));
            m_table->applyRowHeight(index.row());
        }
}

// ---- Commands --------------------------------------------------------------------------------------------------

void InfoArea_Events::eventEdit()
{
    EventInfo* row = selectedRow();
    if (!row) {
        DisplayMsg(LocalizedString(QStringLiteral("SelectEventTryAgain")));
        return;
    }
    if (!m_table->endEditing())
        return;
    m_table->scrollTo(m_model->index(m_table->selectedRow(), 0));
    FTEvent* event = row->pEvent();
    if (!event || event->isDeleted())
        return;
    m_previousEventURI = event->objectURI();
    QPointer<InfoArea_Events> self(this);
    const bool opened
        = EditorHooks::run(EditorHooks::shared().eventEditor, "EventEditor", window(), event->owner(), event, [self] {
              if (self)
                  self->setRefreshEventsArray(true);
          });
    if (!opened)
        m_previousEventURI.clear();
}

void InfoArea_Events::eventRemove()
{
    if (!m_table->endEditing())
        return;
    const int r = m_table->selectedRow();
    EventInfo* row = m_model->row(r);
    if (!row) {
        DisplayMsg(LocalizedString(QStringLiteral("SelectEventTryAgain")));
        return;
    }
    FTEvent* event = row->pEvent();
    if (!event || event->isDeleted())
        return;
    const bool death = event->type() == FTEvent::DeathEvent;
    FTPerson* owner = row->owner();
    std::unique_ptr<EventInfo> removed = m_model->takeRow(r);
    EventsPageCommands::eventRemove(event, owner);
    // A death's row gives way to the "no death date" row.
    if (death)
        setRefreshEventsArray(true);
}

void InfoArea_Events::activeEventSave(FTEvent* event)
{
    EventsPageCommands::activeEventSave(event);
}

void InfoArea_Events::activeEventClone()
{
    if (!m_person || !m_table->endEditing())
        return;
    if (FTEvent* clone = EventsPageCommands::activeEventClone(m_moc, m_person))
        showNewEvent(clone);
}

void InfoArea_Events::activeEventDeactivate()
{
    EventsPageCommands::activeEventDeactivate(m_moc);
}

void InfoArea_Events::attachEventToActiveSource(FTEvent* event)
{
    QPointer<QWidget> window(this->window());
    EventsPageCommands::attachEventToActiveSource(
        event, [window] { EditorHooks::run(EditorHooks::shared().sourcesEditor, "Sources", window.data()); });
}

void InfoArea_Events::findInGoogleMaps()
{
    if (!m_table->endEditing())
        return;
    EventInfo* row = selectedRow();
    FTEvent* event = row ? row->pEvent() : nullptr;
    if (!event || event->isDeleted() || event->place().isEmpty()) {
        DisplayMsg(LocalizedString(QStringLiteral("SelectEventWithPlaceTryAgain")));
        return;
    }
    event->findInGoogleMaps();
}

void InfoArea_Events::displayPersonalTimeline()
{
    if (m_person)
        EditorHooks::run(EditorHooks::shared().personalTimeline, "PersonalTimeline", window(), m_person);
}

void InfoArea_Events::sortEventsByDate()
{
    if (!m_table->endEditing())
        return;
    setRefreshEventsArray(true);
}

void InfoArea_Events::setMultiLineNotes(bool on)
{
    UserDefaults::standard().setBool(kMultiLineNotes, on);
    m_multiLineNotes = on;
    if (m_multiLineSwitch->isChecked() != on) {
        const QSignalBlocker quiet(m_multiLineSwitch);
        m_multiLineSwitch->setChecked(on);
    }
    m_table->setHorizontalGridLines(on);
    calculateRowHeightForAllRows();
    m_table->applyRowHeights();
    m_table->viewport()->update();
}
