#include "merge/ui/CompareAndMergeController.h"

#include "merge/AutoCompare.h"
#include "merge/CompareFormats.h"
#include "merge/PeopleMatching.h"
#include "merge/ui/ComparePeopleModel.h"
#include "merge/ui/MergeIntoTheCurrentModel.h"

#include "sources/ui/OtherDatabaseChooser.h"
#include "sources/ui/SourcesWindowHelpers.h"

#include "shell/DisplayMsg.h"
#include "shell/Utils.h"
#include "shell/ui/ThemeIcon.h"
#include "shell/ui/WindowProgress.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"

#include "platform/FTLog.h"
#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"

#include <QAction>
#include <QActionGroup>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QTableView>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

namespace {
constexpr int kFontSize = 11;

QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

// The count and bar of a pass over 100,000 people: the bar as the pass reports it, the count at most every 40
// milliseconds, since redrawing it for every tenth person would cost the pass more than its work.
class PassProgress : public ModelProgress {
public:
    PassProgress(QLabel* count, QProgressBar* bar)
        : m_window(count, bar)
    {
    }
    void setStatus(const QString& text) override
    {
        if (m_sinceStatus.isValid() && m_sinceStatus.elapsed() < 40)
            return;
        m_window.setStatus(text);
        m_sinceStatus.start();
    }
    void setPercent(int percent) override { m_window.setPercent(percent); }

private:
    WindowProgress m_window;
    QElapsedTimer m_sinceStatus;
};

PeopleMatching::SearchField fieldForTitle(const QString& title)
{
    const int i = int(PeopleMatching::searchMenuTitles().indexOf(title));
    return i < 0 ? PeopleMatching::SearchField::Name : PeopleMatching::SearchField(i);
}

FTPerson* selectedPerson(const QTableView* table, const ComparePeopleModel* model)
{
    const QModelIndexList rows = table->selectionModel()->selectedRows();
    return rows.isEmpty() ? nullptr : model->personAt(rows.first().row());
}

void showDetails(QTextEdit* view, const ComparisonDictionary::SideText& text)
{
    view->clear();
    QTextCursor cursor(view->document());
    ComparisonDictionary::append(cursor, text);
    view->moveCursor(QTextCursor::Start);
}
}

CompareAndMergeController::CompareAndMergeController(FTMoc* moc, const QString& modelName, QWidget* parent)
    : QWidget(parent)
    , m_moc2(moc)
    , m_m2Filename(QStringLiteral("%1.RezUdu").arg(modelName))
{
    setObjectName(QStringLiteral("CompareAndMergeController"));
    setWindowTitle(L("CompareAndMergeTitle"));
    buildWindow();
    const int mode = PeopleMatching::matchMode();
    m_m1List.setSortMode(mode);
    m_m2List.setSortMode(mode);
    setPeopleSortArrayForMode(mode);
    if (m_moc2)
        m_m2List.setPeople(m_moc2->fetch<FTPerson>());
    reloadLists();
    observe();
    refreshDisplay();
    resize(1120, 780);
}

CompareAndMergeController::~CompareAndMergeController()
{
    NotificationCenter::defaultCenter().removeObserversOf(this);
    // The other database's people go before the database itself.
    m_m1List.setPeople({});
    m_person1 = nullptr;
    m_m1Model->reload();
    m_chooser->closeDatabase();
    FTLog(QStringLiteral("dealloc CompareAndMergeController"));
}

FTMoc* CompareAndMergeController::moc1() const
{
    return m_chooser->otherMoc();
}

QString CompareAndMergeController::m1Filename() const
{
    return moc1() ? QFileInfo(moc1()->databaseURL()).fileName() : QString();
}

void CompareAndMergeController::buildWindow()
{
    auto* layout = new QVBoxLayout(this);

    m_chooser = new OtherDatabaseChooser(m_moc2, this, "SelectDb");
    connect(m_chooser, &OtherDatabaseChooser::databaseChanged, this, [this](FTMoc* other) { otherDatabaseChanged(other); });
    m_controls << m_chooser;

    auto* options = new QHBoxLayout;
    m_searchField = new QLineEdit;
    m_searchField->setObjectName(QStringLiteral("searchField"));
    m_searchField->setClearButtonEnabled(true);
    m_searchField->setMinimumWidth(240);
    connect(m_searchField, &QLineEdit::textChanged, this, [this] { findPerson(); });
    createSearchFieldSubmenu();
    options->addWidget(m_searchField, 1);
    options->addSpacing(12);
    m_modeMatrix = new QButtonGroup(this);
    const char* const modes[] = { "CompareMatchByName", "CompareMatchById" };
    for (int mode = 0; mode < 2; ++mode) {
        auto* button = new QRadioButton(L(modes[mode]));
        button->setObjectName(QStringLiteral("modeMatrix%1").arg(mode));
        m_modeMatrix->addButton(button, mode);
        options->addWidget(button);
        m_controls << button;
    }
    connect(m_modeMatrix, &QButtonGroup::idClicked, this, [this](int id) { setMatchMode(id); });
    options->addSpacing(12);
    m_doubleSpaced = new QCheckBox(L("CompareDoubleSpaced"));
    m_doubleSpaced->setObjectName(QStringLiteral("doubleSpaced"));
    m_doubleSpaced->setChecked(true);
    m_showDifferencesOnly = new QCheckBox(L("CompareShowDifferencesOnly"));
    m_showDifferencesOnly->setObjectName(QStringLiteral("showDifferencesOnly"));
    m_showDifferencesOnly->setChecked(true);
    for (QCheckBox* box : { m_doubleSpaced, m_showDifferencesOnly }) {
        connect(box, &QCheckBox::toggled, this, [this] { refreshDisplay(); });
        options->addWidget(box);
        m_controls << box;
    }
    m_controls << m_searchField;

    auto* top = new QVBoxLayout;
    top->addWidget(m_chooser);
    top->addLayout(options);
    layout->addLayout(top);

    auto* sides = new QSplitter(Qt::Horizontal);
    sides->setObjectName(QStringLiteral("sides"));
    sides->setChildrenCollapsible(false);
    sides->addWidget(buildSide(1));
    sides->addWidget(buildSide(2));
    layout->addWidget(sides, 1);

    auto* bottom = new QHBoxLayout;
    m_numDifferences = new QLabel;
    m_numDifferences->setObjectName(QStringLiteral("numDifferences"));
    QFont bold = m_numDifferences->font();
    bold.setBold(true);
    m_numDifferences->setFont(bold);
    m_numDifferences->setMinimumWidth(120);
    bottom->addWidget(m_numDifferences);
    m_compareCount = new QLabel;
    m_compareCount->setObjectName(QStringLiteral("compareCount"));
    m_compareCount->setMinimumWidth(180);
    bottom->addWidget(m_compareCount);
    m_progressIndicator = new QProgressBar;
    m_progressIndicator->setObjectName(QStringLiteral("progressIndicator"));
    m_progressIndicator->setRange(0, 100);
    m_progressIndicator->setValue(0);
    m_progressIndicator->setTextVisible(false);
    bottom->addWidget(m_progressIndicator, 1);
    struct Button {
        const char* name;
        const char* title;
        const char* tip;
        const char* icon;
        void (CompareAndMergeController::*action)();
    };
    const Button buttons[] = {
        { "removeMatchedRecords", "CompareRemoveMatched", "CompareRemoveMatchedTip", "edit-clear",
            &CompareAndMergeController::removeMatchedRecords },
        { "merge", "MergeButton", "MergeButtonTip", "go-next", &CompareAndMergeController::merge },
        { "autoCompare", "CompareAutoCompare", "CompareAutoCompareTip", "system-run",
            &CompareAndMergeController::autoCompare },
        { "printSelected", "ComparePrintSelected", "ComparePrintSelectedTip", "document-print",
            &CompareAndMergeController::printSelected },
    };
    for (const Button& b : buttons) {
        QPushButton* button = SourcesWindowHelpers::makeButton(
            QString::fromLatin1(b.name), L(b.title), [this, action = b.action] { (this->*action)(); },
            QString::fromLatin1(b.icon));
        button->setToolTip(L(b.tip));
        bottom->addWidget(button);
        m_controls << button;
    }
    QPushButton* close = SourcesWindowHelpers::makeCloseButton([this] { this->close(); });
    bottom->addWidget(close);
    m_controls << close;
    layout->addLayout(bottom);

    SourcesWindowHelpers::usePanelColour(this);
}

QWidget* CompareAndMergeController::buildSide(int side)
{
    const bool other = side == 1;
    auto* box = new QGroupBox(L(other ? "CompareOtherPeople" : "CompareOpenPeople"));
    auto* column = new QVBoxLayout(box);
    ComparePeopleModel*& model = other ? m_m1Model : m_m2Model;
    model = new ComparePeopleModel(other ? &m_m1List : &m_m2List, this);
    QTableView* table = SourcesWindowHelpers::makeListTable(other ? QStringLiteral("tv1") : QStringLiteral("tv2"),
        model, false, kFontSize);
    QHeaderView* header = table->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->resizeSection(ComparePeopleModel::IdColumn, 64);
    header->resizeSection(ComparePeopleModel::NameColumn, 260);
    header->resizeSection(ComparePeopleModel::BornColumn, 56);
    header->setStretchLastSection(true);
    (other ? m_tv1 : m_tv2) = table;
    connect(table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
        [this, other] { other ? tv1SelectionDidChange() : tv2SelectionDidChange(); });

    auto* details = new QTextEdit;
    details->setObjectName(other ? QStringLiteral("person1Details") : QStringLiteral("person2Details"));
    details->setReadOnly(true);
    details->document()->setDefaultFont(CompareFormats::documentFont());
    (other ? m_details1 : m_details2) = details;

    auto* split = new QSplitter(Qt::Vertical);
    split->setChildrenCollapsible(false);
    split->addWidget(table);
    split->addWidget(details);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 1);
    column->addWidget(split);
    return box;
}

void CompareAndMergeController::createSearchFieldSubmenu()
{
    m_searchMenu = new QMenu(L("SearchMenu"), this);
    m_searchMenu->setObjectName(QStringLiteral("searchMenu"));
    auto* group = new QActionGroup(m_searchMenu);
    for (const QString& title : PeopleMatching::searchMenuTitles()) {
        QAction* option = m_searchMenu->addAction(title);
        option->setCheckable(true);
        group->addAction(option);
        connect(option, &QAction::triggered, this, [this, title] { limitSearch(title); });
    }
    QAction* find = m_searchField->addAction(themeIcon(QStringLiteral("edit-find")), QLineEdit::LeadingPosition);
    find->setObjectName(QStringLiteral("searchMenuButton"));
    find->setToolTip(L("SearchMenu"));
    connect(find, &QAction::triggered, this,
        [this] { m_searchMenu->popup(m_searchField->mapToGlobal(QPoint(0, m_searchField->height()))); });
    const QString first = PeopleMatching::searchMenuTitles().first();
    m_currentSearchMenuOption = first;
    m_searchMenu->actions().first()->setChecked(true);
    m_searchField->setPlaceholderText(L("CompareSearchPlaceholder").arg(first));
}

void CompareAndMergeController::limitSearch(const QString& title)
{
    for (QAction* option : m_searchMenu->actions())
        option->setChecked(option->text() == title);
    m_currentSearchMenuOption = title;
    m_searchField->setPlaceholderText(L("CompareSearchPlaceholder").arg(title));
    findPerson();
}

void CompareAndMergeController::observe()
{
    NotificationCenter& center = NotificationCenter::defaultCenter();
    auto ours = [this](const Notification& n) { return !n.context || n.context == m_moc2; };
    // Every view refreshes after an undo, a redo or a window's changes: the people may have changed.
    center.addObserver(
        QStringLiteral("RefreshAllViews"), nullptr,
        [this, ours](const Notification& n) {
            if (ours(n))
                reloadCurrentDatabase();
        },
        this);
    center.addObserver(
        QStringLiteral("PersonToBeDeleted"), nullptr,
        [this](const Notification& n) {
            if (n.context != m_moc2 || !n.object)
                return;
            const auto* person = static_cast<const FTPerson*>(n.object);
            m_m2List.remove(person);
            if (m_person2 == person)
                m_person2 = nullptr;
            reloadLists();
            refreshDisplay();
        },
        this);
    // What the search reads of the open database's people: names, titles, places, years.
    for (const char* name : { "PersonNameOrDateChanged", "TitleChanged", "EventNameOrDateChanged", "BDMInfoChanged" })
        center.addObserver(
            QString::fromLatin1(name), nullptr,
            [this](const Notification& n) {
                if (n.context != m_moc2)
                    return;
                m_m2List.forgetSearchValues();
                reloadLists();
                refreshDisplay();
            },
            this);
}

void CompareAndMergeController::otherDatabaseChanged(FTMoc* other)
{
    m_person1 = nullptr;
    m_m1List.setPeople(other ? other->fetch<FTPerson>() : QList<FTPerson*>());
    if (!other) {
        // The former database is about to go: nothing of it may stay on display.
        m_m1Model->reload();
        refreshDisplay();
        return;
    }
    const QSignalBlocker quiet(m_searchField);
    m_searchField->clear();
    m_m1List.setSearch({});
    m_m2List.setSearch({});
    reloadLists();
    refreshDisplay();
}

void CompareAndMergeController::reloadCurrentDatabase()
{
    if (!m_moc2 || m_busy)
        return;
    // Reading and sorting 100,000 people again is for when someone came or went; otherwise only what the
    // search reads may have changed.
    const QList<FTPerson*>& listed = m_m2List.sorted();
    const bool samePeople = m_moc2->count<FTPerson>() == listed.size()
        && std::none_of(listed.begin(), listed.end(), [](const FTPerson* p) { return p->isDeleted(); });
    if (samePeople) {
        m_m2List.forgetSearchValues();
        reloadLists();
        refreshDisplay();
        return;
    }
    m_m2List.setPeople(m_moc2->fetch<FTPerson>());
    if (m_person2 && m_m2List.rowOf(m_person2) < 0 && m_person2->isDeleted())
        m_person2 = nullptr;
    reloadLists();
    refreshDisplay();
}

void CompareAndMergeController::selectRow(QTableView* table, int row)
{
    QItemSelectionModel* selection = table->selectionModel();
    if (row < 0) {
        selection->clearSelection();
        return;
    }
    const QModelIndex index = table->model()->index(row, 0);
    selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    table->scrollTo(index);
}

void CompareAndMergeController::reloadLists()
{
    m_m1Model->reload();
    m_m2Model->reload();
    restoreSelection();
}

// After the lists change the same people stay selected where they are still shown; nobody is matched again.
void CompareAndMergeController::restoreSelection()
{
    m_restoring = true;
    const int row1 = m_person1 ? m_m1List.rowOf(m_person1) : -1;
    const int row2 = m_person2 ? m_m2List.rowOf(m_person2) : -1;
    if (row1 < 0)
        m_person1 = nullptr;
    if (row2 < 0)
        m_person2 = nullptr;
    selectRow(m_tv1, row1);
    selectRow(m_tv2, row2);
    m_restoring = false;
}

void CompareAndMergeController::selectPerson1(const FTPerson* person)
{
    selectRow(m_tv1, person ? m_m1List.rowOf(person) : -1);
}

QList<int> CompareAndMergeController::findMatchForPerson(const FTPerson* person) const
{
    return PeopleMatching::findMatchForPerson(person, m_m2List.arranged(), PeopleMatching::matchMode());
}

void CompareAndMergeController::tv1SelectionDidChange()
{
    m_person1 = selectedPerson(m_tv1, m_m1Model);
    if (m_restoring)
        return;
    const QList<int> rows = findMatchForPerson(m_person1);
    const int row = rows.isEmpty() ? -1 : rows.first();
    m_restoring = true; // the right-hand list follows without a handler of its own
    selectRow(m_tv2, row);
    m_restoring = false;
    m_person2 = m_m2List.at(row);
    refreshDisplay();
}

void CompareAndMergeController::tv2SelectionDidChange()
{
    m_person2 = selectedPerson(m_tv2, m_m2Model);
    if (!m_restoring)
        refreshDisplay();
}

void CompareAndMergeController::refreshDisplay()
{
    ComparisonDictionary::Options options;
    options.doubleSpaced = m_doubleSpaced->isChecked();
    options.showDifferencesOnly = m_showDifferencesOnly->isChecked();
    options.matchMode = PeopleMatching::matchMode();
    m_details = ComparisonDictionary::setPersonDetailsFor(m_person1, m_person2, options);
    showDetails(m_details1, m_details.person1Details);
    showDetails(m_details2, m_details.person2Details);
    m_numDifferences->setText(m_person1 ? L("CompareNumDifferences").arg(m_details.numDifferences) : QString());
    for (QTableView* table : { m_tv1, m_tv2 }) {
        const QModelIndexList rows = table->selectionModel()->selectedRows();
        if (!rows.isEmpty())
            table->scrollTo(rows.first());
    }
}

void CompareAndMergeController::findPerson()
{
    if (m_busy)
        return;
    const PeopleSearch search(fieldForTitle(m_currentSearchMenuOption), m_searchField->text());
    m_m1List.setSearch(search);
    m_m2List.setSearch(search);
    reloadLists();
    if (search.isEmpty()) {
        refreshDisplay();
        return;
    }
    // As if the user had chosen the person again: its match is looked for in the narrowed list.
    tv1SelectionDidChange();
}

void CompareAndMergeController::setPeopleSortArrayForMode(int mode)
{
    m_m1List.setSortMode(mode);
    m_m2List.setSortMode(mode);
    if (QAbstractButton* button = m_modeMatrix->button(mode); button && !button->isChecked())
        button->setChecked(true);
}

void CompareAndMergeController::setMatchMode(int mode)
{
    if (mode != 0 && mode != 1)
        return;
    PeopleMatching::setMatchMode(mode);
    setPeopleSortArrayForMode(mode);
    reloadLists();
    refreshDisplay();
}

void CompareAndMergeController::setBusy(bool busy)
{
    m_busy = busy;
    for (QWidget* control : std::as_const(m_controls))
        control->setEnabled(!busy);
    m_tv1->setEnabled(!busy);
    m_tv2->setEnabled(!busy);
    if (busy) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
        repaint();
    }
}

void CompareAndMergeController::removeMatchedRecords()
{
    if (m_busy)
        return;
    {
        const QSignalBlocker quiet(m_searchField);
        m_searchField->clear();
    }
    m_m1List.setSearch({});
    m_m2List.setSearch({});
    reloadLists();
    m_progressIndicator->setValue(0);
    setBusy(true);
    QList<FTPerson*> kept;
    qsizetype examined = 0;
    try {
        PassProgress progress(m_compareCount, m_progressIndicator);
        examined = m_m1List.arranged().size();
        kept = PeopleMatching::removeMatchedRecords(
            m_m1List.arranged(), m_m2List.arranged(), PeopleMatching::matchMode(), &progress);
    } catch (...) {
        Utils::reportCurrentException(__FILE__, __LINE__, QStringLiteral("removeMatchedRecords"));
    }
    const QPointer<CompareAndMergeController> self(this);
    QCoreApplication::processEvents(); // clicks made meanwhile reach the disabled controls and go no further
    if (!self)
        return;
    setBusy(false);
    m_compareCount->clear();
    m_progressIndicator->setValue(100);
    DisplayMsg(QStringLiteral("%1 %2 %3 %4").arg(kept.size()).arg(L("ConjunctiveOf")).arg(examined).arg(L("NumLeftInSource")));
    m_progressIndicator->setValue(0);
    m_m1List.setPeople(kept);
    reloadLists();
    tv1SelectionDidChange();
}

void CompareAndMergeController::merge()
{
    if (!m_person1 || !m_person2) {
        DisplayMsg(L("SelectPeopleTryAgain"));
        return;
    }
    {
        MergeIntoTheCurrentModel window(m_person1, m_person2, this);
        window.setLabels(QStringLiteral("%1 %2").arg(L("MergeFrom"), m1Filename()),
                         QStringLiteral("%1 %2").arg(L("MergeTo"), m_m2Filename));
        window.run();
    }
    refreshDisplay();
}

void CompareAndMergeController::autoCompare()
{
    if (m_busy)
        return;
    if (!moc1()) {
        DisplayMsg(L("SelectDb"));
        return;
    }
    DisplayMsg(L("CmContInfo"));
    {
        const QSignalBlocker quiet(m_searchField);
        m_searchField->clear();
    }
    setBusy(true);
    std::unique_ptr<QTextDocument> report;
    AutoCompare::Result result;
    {
        PassProgress progress(m_compareCount, m_progressIndicator);
        const AutoCompare::Header header = AutoCompare::headerFor(
            moc1(), m_moc2, PeopleMatching::matchMode(), QDateTime::currentDateTime());
        result = AutoCompare::autoCompare(m_m1List, m_m2List, moc1(), m_moc2, header, &progress, &report);
    }
    // The lists show the order the run used; the stored mode stays.
    if (QAbstractButton* button = m_modeMatrix->button(0))
        button->setChecked(true);
    reloadLists();
    if (report)
        AutoCompare::writeReport(*report);
    const QPointer<CompareAndMergeController> self(this);
    QCoreApplication::processEvents();
    if (!self)
        return;
    setBusy(false);
    m_compareCount->setText(AutoCompare::finalCountText(result));
    m_progressIndicator->setValue(0);
    refreshDisplay();
}

void CompareAndMergeController::printSelected()
{
    if (!m_person1 || !m_person2)
        return;
    AutoCompare::printSelected(m1Filename(), m_details.person1Details, m_m2Filename, m_details.person2Details);
}

void CompareAndMergeController::closeEvent(QCloseEvent* event)
{
    if (m_busy) {
        event->ignore();
        return;
    }
    NotificationCenter::defaultCenter().removeObserversOf(this);
    m_m1List.setPeople({});
    m_person1 = nullptr;
    m_m1Model->reload();
    QWidget::closeEvent(event);
    // The views of the open database show what may have changed while the window was open.
    NotificationCenter::defaultCenter().post(QStringLiteral("RefreshAllViews"));
}
