#include "tools/ui/EventNamesEditor.h"

#include "tools/EventsByDateModel.h"
#include "tools/PlacesEditing.h"
#include "tools/TextListModel.h"
#include "tools/ui/ToolsWindowHelpers.h"

#include "sources/ui/SourcesWindowHelpers.h"

#include "editor/ui/EditorTableView.h"

#include "shell/DisplayMsg.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"

#include <QComboBox>
#include <QPushButton>
#include <QSplitter>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

namespace {
QSize g_prevSize(0, 0); // none until the first editor closes
int g_previousEventSubtypeIndex = 0;
constexpr int kFontSize = 12;

QString L(const char* key) { return LocalizedString(QString::fromLatin1(key)); }
}

QSize EventNamesEditor::prevSize() { return g_prevSize; }
void EventNamesEditor::setPrevSize(const QSize& size) { g_prevSize = size; }
int EventNamesEditor::previousEventSubtypeIndex() { return g_previousEventSubtypeIndex; }
void EventNamesEditor::setPreviousEventSubtypeIndex(int index) { g_previousEventSubtypeIndex = index; }

EventNamesEditor::EventNamesEditor(FTMoc* moc, QWidget* parent)
    : TextsAndEventsWindow(moc, QStringLiteral("EventNamesEditor"), L("EventNamesTitle"), &g_prevSize, parent)
    , m_editing(moc)
{
    auto* layout = new QVBoxLayout(this);

    auto* filters = new QHBoxLayout;
    filters->addWidget(new QLabel(L("EventTypeLabel")));
    m_subtypeComboBox = new QComboBox;
    m_subtypeComboBox->setObjectName(QStringLiteral("subtypeComboBox"));
    m_subtypeComboBox->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    connect(m_subtypeComboBox, &QComboBox::activated, this,
        [this](int index) { setSubtypeFilter(m_subtypeComboBox->itemText(index)); });
    filters->addWidget(m_subtypeComboBox);
    filters->addSpacing(12);
    m_eventNameFilterField
        = ToolsWindowHelpers::makeSearchField(QStringLiteral("eventNameFilter"), L("EventNameFilterPlaceholder"));
    connect(m_eventNameFilterField, &QLineEdit::textChanged, this, [this](const QString& text) { findEventName(text); });
    filters->addWidget(m_eventNameFilterField, 2);
    m_eventYearFilterField
        = ToolsWindowHelpers::makeSearchField(QStringLiteral("eventYearFilter"), L("EventYearFilterPlaceholder"));
    m_eventYearFilterField->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")), m_eventYearFilterField));
    connect(m_eventYearFilterField, &QLineEdit::textChanged, this, [this](const QString& text) { findEventYear(text); });
    filters->addWidget(m_eventYearFilterField, 1);
    layout->addLayout(filters);

    Panes panes;
    panes.textsName = QStringLiteral("tv_EventNames");
    panes.eventsName = QStringLiteral("tv_Events");
    panes.header = L("EventNamesHeader");
    panes.pointSize = kFontSize;
    panes.eventsShare = 3;
    layout->addWidget(makePanes(panes, [this](int row, const QString& typed) { renameEventName(row, typed); }), 1);
    connect(m_texts->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { loadEvents(); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(SourcesWindowHelpers::makeButton(QStringLiteral("deleteEvent"), L("DeleteEventButton"),
        [this] { deleteEvent(); }, QStringLiteral("edit-delete")));
    buttons->addWidget(SourcesWindowHelpers::makeButton(QStringLiteral("promoteToFocalPerson"), L("MakeFocalPerson"),
        [this] { promoteToFocalPerson(); }, QStringLiteral("go-jump")));
    buttons->addStretch();
    buttons->addWidget(SourcesWindowHelpers::makeCloseButton([this] { done(0); }));
    layout->addLayout(buttons);

    finishSetUp(QSize(900, 560));

    setSubtypesArrayForComboBox();
}

EventNamesEditor::~EventNamesEditor() = default;

void EventNamesEditor::setSubtypesArrayForComboBox()
{
    const QStringList types = m_editing.eventSubtypes();
    {
        const QSignalBlocker block(m_subtypeComboBox);
        m_subtypeComboBox->clear();
        m_subtypeComboBox->addItems(types);
        m_subtypeComboBox->setMaxVisibleItems(qMax(1, int(types.size())));
    }
    if (g_previousEventSubtypeIndex < 0 || g_previousEventSubtypeIndex >= types.size())
        g_previousEventSubtypeIndex = 0;
    m_subtypeComboBox->setCurrentIndex(types.isEmpty() ? -1 : g_previousEventSubtypeIndex);
    setSubtypeFilter(m_subtypeComboBox->currentText());
}

void EventNamesEditor::setSubtypeFilter(const QString& typeName)
{
    g_previousEventSubtypeIndex = qMax(0, m_subtypeComboBox->findText(typeName));
    {
        // Choosing a type clears the name filter; its field follows without listing the names twice.
        const QSignalBlocker block(m_eventNameFilterField);
        m_eventNameFilterField->clear();
    }
    m_editing.setSubtypeFilter(typeName);
    showNames();
}

void EventNamesEditor::findEventName(const QString& text)
{
    m_editing.setEventNameFilter(text);
    showNames();
}

void EventNamesEditor::findEventYear(const QString& text)
{
    m_editing.setEventYearFilter(text);
    m_editing.refreshEventNamesArray();
    showNames();
}

void EventNamesEditor::showNames()
{
    const QModelIndex current = m_texts->selectionModel()->currentIndex();
    const QString selected = current.isValid() ? m_textsModel->text(current.row()) : QString();
    m_texts->abandonEditing();
    m_textsModel->setTexts(m_editing.eventNames());
    selectEventName(selected);
}

void EventNamesEditor::selectEventName(const QString& name)
{
    const int row = name.isEmpty() ? -1 : m_textsModel->rowOf(name);
    QItemSelectionModel* selection = m_texts->selectionModel();
    if (row < 0) {
        selection->clearSelection();
        selection->setCurrentIndex({}, QItemSelectionModel::NoUpdate);
    } else {
        const QModelIndex index = m_textsModel->index(row, 0);
        selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        m_texts->scrollTo(index);
    }
    loadEvents();
}

void EventNamesEditor::loadEvents()
{
    m_events->abandonEditing();
    const QList<int> rows = ToolsWindowHelpers::selectedRows(m_texts);
    m_eventsModel->setEvents(rows.isEmpty() ? QList<FTEvent*>() : m_editing.eventsNamed(m_textsModel->text(rows.first())));
}

void EventNamesEditor::renameEventName(int row, const QString& typed)
{
    const QString old = m_textsModel->text(row);
    if (row < 0 || row >= m_textsModel->rowCount() || typed == old)
        return;
    if (!m_editing.renameEventName(old, typed, m_eventsModel->events()))
        return;
    {
        const QSignalBlocker block(m_eventYearFilterField);
        m_eventYearFilterField->clear();
    }
    m_textsModel->setTexts(m_editing.eventNames());
    selectEventName(typed);
}

FTEvent* EventNamesEditor::selectedEvent() const
{
    const QList<int> rows = ToolsWindowHelpers::selectedRows(m_events);
    return rows.isEmpty() ? nullptr : m_eventsModel->event(rows.first());
}

void EventNamesEditor::deleteEvent()
{
    FTEvent* event = selectedEvent();
    if (!event) {
        DisplayMsg(L("SelectEventTryAgain"));
        return;
    }
    m_events->endEditing();
    // The table lets go of the event before the context frees it.
    m_editing.deleteEvent(event, [this, event] { m_eventsModel->removeEvent(event); });
}

void EventNamesEditor::promoteToFocalPerson()
{
    makeOwnerFocal(selectedEvent());
}
