// The toolbar's find-person search: the field with its kinds menu and the floating list of the people found.
// What the list holds and says comes from FindPersonSearch; this file shows it and forwards the user's choices.
#include "shell/ui/ToolbarController.h"

#include "shell/ui/ThemeIcon.h"

#include "shell/DisplayMsg.h"
#include "shell/Utils.h"
#include "shell/ui/DOvurDocument.h"
#include "shell/ui/FamilyDiagramPane.h"
#include "shell/ui/FindPersonSearchField.h"
#include "shell/ui/SetFontSize.h"

#include "model/FTMoc.h"
#include "model/FTMocUndoManager.h"
#include "model/FTModelDefaults.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"

#include <QAbstractTableModel>
#include <QActionGroup>
#include <QApplication>
#include <QEvent>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QStyle>
#include <QTableView>
#include <QTimer>

namespace {
constexpr int kListWidth = 450;
constexpr int kIdColumnWidth = 40;
constexpr int kBirthYearColumnWidth = 48;
// Typing searches once the user pauses; Return searches at once.
constexpr int kTypingPauseMs = 300;

// The columns the list shows; the place of birth is not among them.
const FindPersonSearch::Column kShownColumns[]
    = { FindPersonSearch::IdColumn, FindPersonSearch::NameColumn, FindPersonSearch::BirthYearColumn };
}

// The rows of the search as a table.
class FoundPeopleModel : public QAbstractTableModel {
public:
    FoundPeopleModel(FindPersonSearch& search, QObject* parent)
        : QAbstractTableModel(parent)
        , m_search(search)
    {
    }
    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : m_search.rowCount(); }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : int(std::size(kShownColumns));
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.column() >= columnCount())
            return {};
        const FindPersonSearch::Column column = kShownColumns[index.column()];
        switch (role) {
        case Qt::DisplayRole:
            return m_search.cellValue(index.row(), column);
        case Qt::ToolTipRole:
            return column == FindPersonSearch::NameColumn ? m_search.cellValue(index.row(), column) : QVariant();
        case Qt::TextAlignmentRole:
            return column == FindPersonSearch::NameColumn ? QVariant(int(Qt::AlignLeft | Qt::AlignVCenter))
                                                          : QVariant(int(Qt::AlignRight | Qt::AlignVCenter));
        default:
            return {};
        }
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columnCount())
            return {};
        switch (kShownColumns[section]) {
        case FindPersonSearch::IdColumn:
            return QStringLiteral("ID");
        case FindPersonSearch::NameColumn:
            return FindPersonSearch::foundInTitle();
        case FindPersonSearch::BirthYearColumn:
            return QStringLiteral("Born");
        default:
            return {};
        }
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        // The message row of a search without hits cannot be chosen.
        if (!index.isValid() || !m_search.personAt(index.row()))
            return Qt::ItemIsEnabled;
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    }
    void reload()
    {
        beginResetModel();
        endResetModel();
    }

private:
    FindPersonSearch& m_search;
};

void ToolbarController::setUpSearchField()
{
    FindPersonSearchField* field = m_findPersonSearchField;
    field->setClearButtonEnabled(true);
    const QIcon icon = themeIcon(QStringLiteral("edit-find"));
    QAction* kinds = field->addAction(icon, QLineEdit::LeadingPosition);
    kinds->setObjectName(QStringLiteral("searchKindsButton"));
    kinds->setToolTip(LocalizedString("SearchMenu"));
    QObject::connect(kinds, &QAction::triggered, this, [this] {
        if (m_searchMenu)
            m_searchMenu->popup(m_findPersonSearchField->mapToGlobal(QPoint(0, m_findPersonSearchField->height())));
    });
    m_searchDelay = new QTimer(this);
    m_searchDelay->setSingleShot(true);
    m_searchDelay->setInterval(kTypingPauseMs);
    QObject::connect(m_searchDelay, &QTimer::timeout, this, [this] { findPerson(true); });
    QObject::connect(field, &QLineEdit::textEdited, this, [this] { m_searchDelay->start(); });
    QObject::connect(field, &QLineEdit::returnPressed, this, [this] {
        m_searchDelay->stop();
        findPerson(true);
    });
    field->didBecomeFirstResponder = [this] { findPerson(false); };
    field->escapePressed = [this] { hideFoundPeople(); };
    QObject::connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { focusChanged(now); });
}

void ToolbarController::createSearchFieldFilterMenu()
{
    const QString option = FindPersonSearch::currentSearchMenuOption();
    m_searchMenu = new QMenu(LocalizedString("SearchMenu"), m_findPersonSearchField);
    m_searchMenu->setObjectName(QStringLiteral("searchMenu"));
    m_searchKinds = new QActionGroup(m_searchMenu);
    m_searchKinds->setExclusive(true);
    for (int k = 0; k < FindPersonSearch::kKindCount; ++k) {
        const auto kind = FindPersonSearch::Kind(k);
        QAction* item = m_searchMenu->addAction(FindPersonSearch::kindTitle(kind));
        item->setCheckable(true);
        item->setData(k);
        item->setChecked(item->text() == option);
        m_searchKinds->addAction(item);
        QObject::connect(item, &QAction::triggered, this, [this, kind] { limitSearch(kind); });
    }
    m_searchMenu->addSeparator();
    m_searchMenu->addAction(LocalizedString("AdvancedSearch"))->setEnabled(false);
    if (m_findPersonLabel)
        m_findPersonLabel->setText(FindPersonSearch::findInLabel());
    m_findPersonSearchField->setPlaceholderText(FindPersonSearch::findInLabel());
    m_findPersonSearchField->updateGeometry();
}

void ToolbarController::limitSearch(FindPersonSearch::Kind kind)
{
    for (QAction* item : m_searchKinds->actions())
        item->setChecked(item->data().toInt() == kind);
    FindPersonSearch::setCurrentSearchMenuOption(FindPersonSearch::kindTitle(kind));
    if (m_findPersonLabel)
        m_findPersonLabel->setText(FindPersonSearch::findInLabel());
    findPerson(true);
}

void ToolbarController::makeFoundPeopleTable()
{
    QMainWindow* window = m_document ? m_document->dovurWindow() : nullptr;
    if (m_foundPeople || !window)
        return;
    auto* table = new QTableView(window);
    table->setObjectName(QStringLiteral("foundPeople"));
    m_foundPeopleModel = new FoundPeopleModel(m_search, table);
    table->setModel(m_foundPeopleModel);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setAlternatingRowColors(true);
    table->setShowGrid(false);
    table->setWordWrap(false);
    table->verticalHeader()->hide();
    QHeaderView* header = table->horizontalHeader();
    header->setSectionsClickable(true);
    header->setHighlightSections(false);
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setSectionResizeMode(1, QHeaderView::Stretch);
    header->resizeSection(0, kIdColumnWidth);
    header->resizeSection(2, kBirthYearColumnWidth);
    QObject::connect(header, &QHeaderView::sectionClicked, this, [this](int section) { didClickTableColumn(section); });
    QObject::connect(table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
        [this] { tableViewSelectionDidChange(); });
    SetFontSize(table, m_foundPeopleFontSize);
    table->hide();
    m_foundPeople = table;
    QObject::connect(table, &QObject::destroyed, this, [this] {
        m_foundPeople = nullptr;
        m_foundPeopleModel = nullptr;
    });
    if (QWidget* content = window->centralWidget())
        content->installEventFilter(this);
}

bool ToolbarController::isFoundPeopleVisible() const
{
    return m_foundPeople && m_foundPeople->isVisible();
}

void ToolbarController::hideFoundPeople()
{
    if (!isFoundPeopleVisible())
        return;
    // A hidden list must not keep the keyboard; the diagram takes it (not the search field, which would show
    // the list again).
    if (m_foundPeople->hasFocus() || m_foundPeople->isAncestorOf(QApplication::focusWidget())) {
        if (m_pcd)
            m_pcd->setFocus(Qt::OtherFocusReason);
        else
            m_foundPeople->window()->setFocus(Qt::OtherFocusReason);
    }
    m_foundPeople->hide();
}

void ToolbarController::findPerson(bool fromField)
{
    makeFoundPeopleTable();
    m_findPersonSearchField->setPlaceholderText(FindPersonSearch::findInLabel());
    if (!fromField) {
        m_search.validate();
        if (m_search.rowCount() > 0)
            sizeFoundPeopleTableView();
        return;
    }
    try {
        m_searchDelay->stop();
        const bool tooMany = m_search.findPerson(m_findPersonSearchField->text());
        if (m_foundPeople)
            m_foundPeople->horizontalHeader()->setSortIndicatorShown(false);
        sizeFoundPeopleTableView();
        if (tooMany)
            DisplayMsg(LocalizedString("LargeTreesSearchWarn"));
    } catch (...) {
        Utils::reportCurrentException(__FILE__, __LINE__, QStringLiteral("findPerson"));
    }
}

void ToolbarController::placeFoundPeople()
{
    QMainWindow* window = m_foundPeople ? qobject_cast<QMainWindow*>(m_foundPeople->parentWidget()) : nullptr;
    QWidget* content = window ? window->centralWidget() : nullptr;
    if (!content)
        return;
    const QRect area = content->geometry();
    const int diagramWidth = m_pcd ? m_pcd->width() : area.width();
    const int diagramHeight = m_pcd ? m_pcd->height() : area.height();
    const int rowHeight = m_foundPeople->verticalHeader()->defaultSectionSize();
    // Never fewer than eight rows' height when the diagram has the room; never taller than the diagram.
    const int height = std::min(diagramHeight, (std::max(m_search.rowCount(), 5) + 3) * rowHeight);
    // At the right of the diagram (which is centred when the window is wider), against the top.
    const int x = area.left() + area.width() + 1 - (area.width() - diagramWidth) / 2 - kListWidth;
    m_foundPeople->setGeometry(x, area.top(), kListWidth, height);
}

void ToolbarController::sizeFoundPeopleTableView()
{
    if (!m_foundPeople)
        return;
    placeFoundPeople();
    reloadFoundPeople();
    m_foundPeople->scrollToTop();
    m_foundPeople->show();
    m_foundPeople->raise();
}

void ToolbarController::reloadFoundPeople()
{
    if (!m_foundPeopleModel)
        return;
    m_choosing = true; // a reset clears the selection: that is no choice
    m_foundPeopleModel->reload();
    m_choosing = false;
    // The message of a search without hits reads across the name and year columns.
    m_foundPeople->clearSpans();
    if (m_search.hasMessageRow() && m_search.rowCount() == 1)
        m_foundPeople->setSpan(0, 1, 1, 2);
}

void ToolbarController::didClickTableColumn(int section)
{
    if (section < 0 || section >= int(std::size(kShownColumns)))
        return;
    m_search.sortByColumn(kShownColumns[section]);
    if (m_foundPeople && m_search.sortColumn() >= 0) {
        QHeaderView* header = m_foundPeople->horizontalHeader();
        header->setSortIndicatorShown(true);
        header->setSortIndicator(section, m_search.sortAscending() ? Qt::AscendingOrder : Qt::DescendingOrder);
    }
    reloadFoundPeople();
}

void ToolbarController::tableViewSelectionDidChange()
{
    if (m_choosing || !m_foundPeople || !m_moc)
        return;
    const QModelIndexList rows = m_foundPeople->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return;
    FTPerson* person = m_search.personAt(rows.first().row());
    if (!person)
        return;
    m_choosing = true;
    hideFoundPeople();
    m_foundPeople->clearSelection();
    m_choosing = false;
    // Choosing the person already in focus changes nothing, so it leaves no step to undo.
    if (person == m_moc->modelDefaults()->focalPerson())
        return;
    // A value the person editor refused keeps its person.
    if (m_document && !m_document->endEditing())
        return;
    m_moc->undoManager()->setActionName(
        QStringLiteral("%1 %2").arg(LocalizedString("FocusOn"), person->nameWithBirthAndDeathYears()));
    // The document's observation of the focal person puts the person at the front of the history.
    m_moc->setFocalPerson(person);
}

void ToolbarController::setFoundPeopleFontSize(int pointSize)
{
    if (pointSize <= 0)
        return;
    m_foundPeopleFontSize = pointSize;
    if (m_foundPeople)
        SetFontSize(m_foundPeople, pointSize);
}

void ToolbarController::focusChanged(QWidget* now)
{
    if (m_choosing || !isFoundPeopleVisible() || !now || now->window() != m_foundPeople->window())
        return;
    if (now == m_findPersonSearchField || now == m_foundPeople || m_foundPeople->isAncestorOf(now))
        return;
    hideFoundPeople();
}

bool ToolbarController::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize && isFoundPeopleVisible() && m_foundPeople->parentWidget()
        && watched == qobject_cast<QMainWindow*>(m_foundPeople->parentWidget())->centralWidget())
        placeFoundPeople();
    return QObject::eventFilter(watched, event);
}
