#include "reports/ui/EventsReport.h"

#include "reports/ListingReport.h"
#include "reports/ui/PanelSheet.h"
#include "reports/ui/PeopleListModel.h"

#include "editor/ui/AddEventButton.h"

#include "model/FTEvent.h"
#include "model/FTPerson.h"

#include "shell/DisplayMsg.h"
#include "shell/Utils.h"
#include "shell/ui/WindowProgress.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

namespace {
const auto L = ListingReport::label;

QSize g_prevSize;
}

// The selected person's events: date, type, name and place, by date (either way), then tag.
class PersonEventsModel : public QAbstractTableModel {
public:
    enum Column { DateColumn, TypeColumn, NameColumn, PlaceColumn, ColumnCount };
    using QAbstractTableModel::QAbstractTableModel;

    void setPerson(const FTPerson* person)
    {
        beginResetModel();
        m_person = person;
        m_events = EventsGrid::eventsOfPerson(person, m_ascending);
        endResetModel();
    }
    void flipDateOrder()
    {
        m_ascending = !m_ascending;
        setPerson(m_person);
    }
    bool ascending() const { return m_ascending; }
    const QList<FTEvent*>& events() const { return m_events; }

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(m_events.size()); }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : ColumnCount; }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= m_events.size() || role != Qt::DisplayRole)
            return {};
        const FTEvent* e = m_events[index.row()];
        switch (index.column()) {
        case DateColumn: return e->date();
        case TypeColumn: return e->subtypeName();
        case NameColumn: return e->name();
        case PlaceColumn: return e->place();
        default: return {};
        }
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return QAbstractTableModel::headerData(section, orientation, role);
        const char* keys[] = { "Date", "Event", "EventName", "Place" };
        return section >= 0 && section < ColumnCount ? L(keys[section]) : QVariant();
    }

private:
    const FTPerson* m_person = nullptr;
    QList<FTEvent*> m_events;
    bool m_ascending = true;
};

namespace {
QTableView* makeTable(const QString& name, QAbstractItemModel* model)
{
    auto* table = new QTableView;
    table->setObjectName(name);
    table->setModel(model);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setWordWrap(false);
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 4);
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}
}

EventsReport::EventsReport(FTMoc* moc, QWidget* parent)
    : QDialog(parent)
    , m_grid(moc)
{
    setUpPanelSheet(this, L("EventsReportTitle"));

    m_search = new QLineEdit;
    m_search->setObjectName(QStringLiteral("findPerson"));
    m_search->setPlaceholderText(L("FindPersonPlaceholder"));
    m_search->addAction(QIcon::fromTheme(QStringLiteral("edit-find")), QLineEdit::LeadingPosition);
    m_search->setClearButtonEnabled(true);
    connect(m_search, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_grid.setNameFilter(text);
        setPeopleFilterPredicate();
    });
    m_typeButton = new AddEventButton;
    m_typeButton->setObjectName(QStringLiteral("eventTypeButton"));
    m_typeButton->setText(L("EventTypeFilter"));
    m_typeButton->setMoc(moc);
    m_typeButton->setDelegate(this);
    m_typeButton->setEventNamesArray(m_grid.eventTypeEntries());
    m_typeLabel = new QLabel(L("None"));
    m_typeLabel->setObjectName(QStringLiteral("selectedEventSubtype"));
    m_not = new QCheckBox(L("NotTheEventType"));
    m_not->setObjectName(QStringLiteral("notTheEventSubtype"));
    connect(m_not, &QCheckBox::toggled, this, [this](bool on) {
        m_grid.setNotTheEventType(on);
        addEventWithType(m_grid.selectedEventSubtype());
    });
    m_familyName = new QPushButton(L("SortByFamilyName"));
    m_familyName->setObjectName(QStringLiteral("sortPeopleByFamilyName"));
    m_familyName->setAutoDefault(false);
    connect(m_familyName, &QPushButton::clicked, this, [this] {
        m_grid.sortByFamilyName();
        setPeopleFilterPredicate();
        m_peopleTable->scrollTo(m_peopleTable->currentIndex());
    });
    auto* names = new QHBoxLayout;
    names->addWidget(m_search, 1);
    names->addWidget(m_familyName);
    auto* types = new QHBoxLayout;
    types->addWidget(m_typeButton);
    types->addWidget(m_typeLabel);
    types->addSpacing(12);
    types->addWidget(m_not);
    types->addStretch(1);

    m_people = new PeopleListModel(this);
    m_peopleTable = makeTable(QStringLiteral("tv_people"), m_people);
    m_peopleTable->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_peopleTable->horizontalHeader()->setStretchLastSection(false);
    m_peopleTable->horizontalHeader()->resizeSection(1, 130);
    m_peopleTable->horizontalHeader()->resizeSection(2, 130);
    connect(m_peopleTable->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
        &EventsReport::showEventsOfSelectedPerson);

    m_events = new PersonEventsModel(this);
    m_eventsTable = makeTable(QStringLiteral("tv_events"), m_events);
    m_eventsTable->horizontalHeader()->resizeSection(PersonEventsModel::DateColumn, 120);
    m_eventsTable->horizontalHeader()->resizeSection(PersonEventsModel::TypeColumn, 110);
    m_eventsTable->horizontalHeader()->resizeSection(PersonEventsModel::NameColumn, 110);
    QHeaderView* header = m_eventsTable->horizontalHeader();
    header->setSortIndicatorShown(true);
    header->setSortIndicator(PersonEventsModel::DateColumn, Qt::AscendingOrder);
    header->setSectionsClickable(true);
    connect(header, &QHeaderView::sectionClicked, this, [this, header](int section) {
        if (section == PersonEventsModel::DateColumn)
            m_events->flipDateOrder();
        header->setSortIndicator(
            PersonEventsModel::DateColumn, m_events->ascending() ? Qt::AscendingOrder : Qt::DescendingOrder);
    });
    auto* split = new QSplitter(Qt::Horizontal);
    split->addWidget(m_peopleTable);
    split->addWidget(m_eventsTable);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 1);
    split->setChildrenCollapsible(false);

    m_count = new QLabel;
    m_message = new QLabel;
    m_message->setObjectName(QStringLiteral("progressMessage"));
    m_progress = newSheetProgressBar();
    m_progress->setMaximumWidth(220);
    m_generate = new QPushButton(QIcon::fromTheme(QStringLiteral("document-save")), L("GenerateReport"));
    m_generate->setObjectName(QStringLiteral("printReport"));
    m_close = new QPushButton(L("Close"));
    m_close->setObjectName(QStringLiteral("closeButton"));
    for (QPushButton* b : { m_generate, m_close })
        b->setAutoDefault(false);
    connect(m_generate, &QPushButton::clicked, this, &EventsReport::printReport);
    connect(m_close, &QPushButton::clicked, this, [this] { done(0); });
    auto* status = new QHBoxLayout;
    status->addWidget(m_count);
    status->addWidget(m_message, 1);
    status->addWidget(m_progress);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_close);
    buttons->addWidget(m_generate);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(names);
    layout->addLayout(types);
    layout->addWidget(split, 1);
    layout->addLayout(status);
    layout->addLayout(buttons);
    resize(g_prevSize.width() > 0 ? g_prevSize : QSize(900, 600));
    setPeopleFilterPredicate();
}

EventsReport::~EventsReport() = default;

QList<FTEvent*> EventsReport::events() const
{
    return m_events->events();
}

void EventsReport::addEventWithType(const QString& tag)
{
    m_grid.setEventType(tag);
    const QString shown = m_grid.selectedEventSubtype();
    m_typeLabel->setText(shown.isEmpty() ? L("None") : Utils::allEventTypesDictionary().value(shown, shown));
    setPeopleFilterPredicate();
}

void EventsReport::setPeopleFilterPredicate()
{
    m_people->setPeople(m_grid.shownPeople());
    m_count->setText(QStringLiteral("%1 %2").arg(L("PeopleShown")).arg(m_people->rowCount()));
    if (m_people->rowCount() > 0)
        m_peopleTable->selectionModel()->setCurrentIndex(
            m_people->index(0, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    else
        showEventsOfSelectedPerson();
}

void EventsReport::showEventsOfSelectedPerson()
{
    const QModelIndex current = m_peopleTable->selectionModel()->currentIndex();
    m_events->setPerson(current.isValid() ? m_people->people().value(current.row()) : nullptr);
}

void EventsReport::printReport()
{
    m_progress->setValue(0);
    m_message->clear();
    WindowProgress progress(m_message, m_progress);
    QString path;
    const bool written = m_grid.generate(m_people->people(), &path, &progress);
    m_message->clear();
    if (!written)
        return;
    DisplayMsg(QStringLiteral("%1: %2").arg(L("ReportSavedToFile"), path));
    m_progress->setValue(100);
    Utils::displayFile(path, QString());
}

void EventsReport::done(int result)
{
    g_prevSize = size();
    QDialog::done(result);
}
