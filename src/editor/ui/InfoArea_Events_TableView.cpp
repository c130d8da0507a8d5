#include "editor/ui/InfoArea_Events_TableView.h"

#include "editor/EventsPageCommands.h"
#include "editor/EventsTableKeys.h"
#include "editor/EventsTableLayout.h"
#include "editor/ui/EventsTableDelegate.h"
#include "editor/ui/EventsTableModel.h"
#include "editor/ui/InfoArea_Events.h"

#include "shell/ui/ThemeIcon.h"

#include "model/EventInfo.h"
#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/ModelHooks.h"

#include "platform/Localizer.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>
#include <QScrollBar>

using Layout = EventsTableLayout;
using Keys = EventsTableKeys;

InfoArea_Events_TableView::InfoArea_Events_TableView(InfoArea_Events* page)
    : EditorTableView(page)
    , m_page(page)
{
    setObjectName(QStringLiteral("tv"));
    setItemDelegate(new EventsTableDelegate(this));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    QHeaderView* columns = horizontalHeader();
    columns->setStretchLastSection(false);
    columns->setSectionsClickable(true);
    columns->setMinimumSectionSize(0);
    columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(0);
    shouldEndEditing
        = [this](const QModelIndex& index, QWidget* editor) { return m_page->shouldEndEditing(index, editor); };
    // The user's own resizing of the notes column re-measures every row.
    connect(columns, &QHeaderView::sectionResized, this, [this](int column, int, int size) {
        if (m_settingWidths || column != Layout::Notes || size == m_page->layout().notesWidth())
            return;
        m_page->layout().setNotesWidth(size);
        m_page->calculateRowHeightForAllRows();
        applyRowHeights();
    });
}

EventsTableModel* InfoArea_Events_TableView::eventsModel() const
{
    return m_page->eventsModel();
}

EventInfo* InfoArea_Events_TableView::rowAt(int row) const
{
    return eventsModel() ? eventsModel()->row(row) : nullptr;
}

int InfoArea_Events_TableView::selectedRow() const
{
    if (!selectionModel())
        return -1;
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void InfoArea_Events_TableView::setColumnWidths()
{
    const int visible = viewport()->width();
    m_lastVisibleWidth = visible;
    // The tags, ages and dates show whole however narrow the table; the notes make the room.
    const int margins = 2 * Layout::kCellMargin + 4;
    Layout::Widths minimums {};
    minimums[Layout::EventType] = fontMetrics().horizontalAdvance(QStringLiteral("MARR")) + margins;
    minimums[Layout::AgeAtEvent] = fontMetrics().horizontalAdvance(QStringLiteral("000")) + margins;
    minimums[Layout::Date] = fontMetrics().horizontalAdvance(QStringLiteral("28 May 1928")) + margins;
    const Layout::Widths widths = Layout::columnWidths(visible, kDetailsButtonsWidth, minimums);
    bool changed = false;
    for (int c = 0; c < Layout::ColumnCount; ++c)
        changed |= columnWidth(c) != widths[size_t(c)];
    if (!changed)
        return;
    endEditing();
    const int oldNotes = m_page->layout().notesWidth();
    m_settingWidths = true;
    for (int c = 0; c < Layout::ColumnCount; ++c)
        setColumnWidth(c, widths[size_t(c)]);
    m_settingWidths = false;
    m_page->layout().setNotesWidth(widths[Layout::Notes]);
    if (oldNotes != widths[Layout::Notes]) {
        m_page->calculateRowHeightForAllRows();
        applyRowHeights();
    }
    viewport()->update();
}

void InfoArea_Events_TableView::applyRowHeights()
{
    if (!eventsModel())
        return;
    const int rows = eventsModel()->rowCount();
    const int selected = selectedRow();
    const bool multiLine = m_page->multiLineNotes();
    const EventsTableLayout& layout = m_page->layout();
    for (int r = 0; r < rows; ++r) {
        const int height = layout.heightOfRow(*rowAt(r), r == selected, multiLine);
        if (rowHeight(r) != height)
            setRowHeight(r, height);
    }
}

void InfoArea_Events_TableView::applyRowHeight(int row)
{
    const EventInfo* info = rowAt(row);
    if (!info)
        return;
    const int height = m_page->layout().heightOfRow(*info, isRowSelected(row), m_page->multiLineNotes());
    if (rowHeight(row) != height)
        setRowHeight(row, height);
}

bool InfoArea_Events_TableView::editColumn(int column, int row)
{
    if (currentEditor() && editingIndex() == model()->index(row, column))
        return true;
    if (!endEditing())
        return false;
    selectRow(row);
    const QModelIndex index = model()->index(row, column);
    if (!(index.flags() & Qt::ItemIsEditable))
        return false;
    // The name cell offers the name to edit rather than the composed label.
    if (column == Layout::EventName)
        if (EventInfo* info = rowAt(row))
            info->setEditingMode(true);
    scrollTo(index);
    const bool editing = editCell(index);
    if (!editing && column == Layout::EventName)
        if (EventInfo* info = rowAt(row))
            info->setEditingMode(false);
    return editing;
}

void InfoArea_Events_TableView::editingDidEnd(const QModelIndex& index)
{
    if (index.column() == Layout::EventName)
        if (EventInfo* info = rowAt(index.row()); info && info->editingMode()) {
            info->setEditingMode(false);
            eventsModel()->rowChanged(index.row());
        }
    m_page->editingDidEnd(index);
}

void InfoArea_Events_TableView::mousePressEvent(QMouseEvent* event)
{
    if (isEditRefused())
        return EditorTableView::mousePressEvent(event);
    const QModelIndex index = indexAt(event->position().toPoint());
    const EventInfo* info = index.isValid() ? rowAt(index.row()) : nullptr;
    // Outside the rows and on the "no death date" row a click does nothing.
    if (!info || !info->pEvent()) {
        event->accept();
        return;
    }
    // An edit of another cell ends first; a refused one keeps the click from going anywhere.
    const bool inEditedCell = currentEditor() && editingIndex() == index;
    if (!inEditedCell && !endEditing()) {
        event->accept();
        return;
    }
    if (event->button() != Qt::LeftButton)
        return EditorTableView::mousePressEvent(event);
    if (event->modifiers() & Qt::ControlModifier) {
        event->accept();
        selectRow(index.row());
        displayPopupMenu(index.row(), event->globalPosition().toPoint());
        return;
    }
    switch (index.column()) {
    case Layout::EventName:
    case Layout::Date:
    case Layout::Place:
    case Layout::Notes:
        event->accept();
        editColumn(index.column(), index.row());
        return;
    case Layout::DetailsButtons:
    case Layout::Sources:
        EditorTableView::mousePressEvent(event);
        m_page->eventEdit();
        return;
    default:
        EditorTableView::mousePressEvent(event);
    }
}

void InfoArea_Events_TableView::contextMenuEvent(QContextMenuEvent* event)
{
    event->accept();
    const QModelIndex index = indexAt(event->pos());
    int row = -1;
    if (index.isValid()) {
        row = index.row();
        if (!endEditing())
            return;
        selectRow(row);
    }
    displayPopupMenu(row, event->globalPos());
}

QMenu* InfoArea_Events_TableView::createContextMenu(int row)
{
    EventInfo* info = row >= 0 ? rowAt(row) : nullptr;
    FTMoc* moc = m_page->moc();
    const QList<EventsPageCommands::MenuItem> items = EventsPageCommands::contextMenu(info, moc);
    if (items.isEmpty())
        return nullptr;
    // The row's event travels by its address in the database, which stays good if the list is rebuilt meanwhile.
    const QString uri = info && info->pEvent() ? info->pEvent()->objectURI() : QString();
    auto eventOf = [moc, uri]() -> FTEvent* {
        auto* e = moc && !uri.isEmpty() ? dynamic_cast<FTEvent*>(moc->objectForURI(uri)) : nullptr;
        return e && !e->isDeleted() ? e : nullptr;
    };
    auto* menu = new QMenu(this);
    QPointer<InfoArea_Events> page(m_page);
    for (const EventsPageCommands::MenuItem& item : items) {
        using Item = EventsPageCommands::MenuItem;
        if (item.action == Item::Separator) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(item.title);
        action->setEnabled(item.enabled);
        action->setData(int(item.action));
        const Item::Action what = item.action;
        connect(action, &QAction::triggered, this, [page, what, eventOf] {
            if (!page)
                return;
            switch (what) {
            case Item::EditEvent:
                page->eventEdit();
                break;
            case Item::DeleteEvent:
                page->eventRemove();
                break;
            case Item::MakeActiveEvent:
                page->activeEventSave(eventOf());
                break;
            case Item::CloneActiveEvent:
                page->activeEventClone();
                break;
            case Item::DeactivateActiveEvent:
                page->activeEventDeactivate();
                break;
            case Item::CiteActiveSource:
                page->attachEventToActiveSource(eventOf());
                break;
            case Item::GoogleMaps:
                if (FTEvent* e = eventOf())
                    e->findInGoogleMaps();
                break;
            default:
                break;
            }
        });
        if (what == Item::EditEvent)
            action->setIcon(themeIcon(QStringLiteral("document-properties")));
        else if (what == Item::DeleteEvent)
            action->setIcon(themeIcon(QStringLiteral("edit-delete")));
    }
    return menu;
}

void InfoArea_Events_TableView::displayPopupMenu(int row, const QPoint& globalPos)
{
    QMenu* menu = createContextMenu(row);
    if (!menu)
        return;
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPos);
}

QString InfoArea_Events_TableView::toolTipForCell(int row, int column) const
{
    const EventInfo* info = rowAt(row);
    if (!info || !info->pEvent())
        return {};
    if (column == Layout::Sources) {
        try {
            return EventsPageCommands::citationsToolTip(*info);
        } catch (...) {
            ModelHooks::reportException("InfoArea_Events_TableView", 346, QStringLiteral("stringForToolTip"));
            return {};
        }
    }
    if (column == Layout::DetailsButtons)
        return LocalizedString(QStringLiteral("EventDetails"));
    if (!Layout::offersCellExpansion(column, isRowSelected(row), m_page->multiLineNotes()))
        return {};
    return cutOffText(column, eventsModel()->text(row, column), Layout::kCellMargin);
}

bool InfoArea_Events_TableView::editNeighbour(int step)
{
    const QModelIndex at = editingIndex();
    static const int editable[] = { Layout::EventName, Layout::Date, Layout::Place, Layout::Notes };
    int position = -1;
    for (int i = 0; i < 4; ++i)
        if (editable[i] == at.column())
            position = i;
    const int next = position + step;
    if (position < 0 || next < 0 || next > 3) {
        endEditing();
        return true;
    }
    editColumn(editable[next], at.row());
    return true;
}

bool InfoArea_Events_TableView::editorKeyPress(QWidget*, QKeyEvent* event)
{
    const QModelIndex at = editingIndex();
    if (!at.isValid())
        return false;
    Keys::Command command = Keys::Command::Other;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        command = event->modifiers() & Qt::AltModifier ? Keys::Command::InsertNewlineIgnoringFieldEditor
                                                       : Keys::Command::InsertNewline;
        break;
    case Qt::Key_Tab:
        command = event->modifiers() & Qt::ShiftModifier ? Keys::Command::InsertBacktab : Keys::Command::InsertTab;
        break;
    case Qt::Key_Backtab:
        command = Keys::Command::InsertBacktab;
        break;
    case Qt::Key_Up:
        command = Keys::Command::MoveUp;
        break;
    case Qt::Key_Down:
        command = Keys::Command::MoveDown;
        break;
    default:
        return false;
    }
    const Keys::Move move = Keys::move(at.column(), command, at.row(), model()->rowCount());
    if (!move.handled) {
        if (command == Keys::Command::InsertTab)
            return editNeighbour(1);
        if (command == Keys::Command::InsertBacktab)
            return editNeighbour(-1);
        if (command == Keys::Command::InsertNewline) {
            endEditing();
            return true;
        }
        return false;
    }
    if (move.insertLineBreak)
        return false; // the notes editor starts a new line itself
    if (move.selectRow < 0)
        return true;
    if (move.editColumn >= 0)
        editColumn(move.editColumn, move.selectRow);
    else if (endEditing())
        selectRow(move.selectRow);
    return true;
}
