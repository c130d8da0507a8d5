#include "reports/ui/EventsWithNoSourceReferences.h"

#include "reports/ListingReport.h"
#include "reports/UncitedEvents.h"
#include "reports/ui/PanelSheet.h"

#include "tools/EventsByDateModel.h"
#include "tools/ui/ToolsWindowHelpers.h"

#include "sources/ui/SelectASourceButton.h"

#include "editor/ui/EditorTableView.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPerson.h"

#include "platform/NotificationCenter.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {
const auto L = ListingReport::label;

QSize g_prevSize;
}

// The events by date, with the place edited in place beside the date.
class UncitedEventsModel : public EventsByDateModel {
public:
    using EventsByDateModel::EventsByDateModel;

    bool setData(const QModelIndex& index, const QVariant& value, int role) override
    {
        if (index.column() != PlaceColumn)
            return EventsByDateModel::setData(index, value, role);
        FTEvent* e = event(index.row());
        if (!e || role != Qt::EditRole)
            return false;
        if (value.toString() != e->place()) {
            e->setPlace(value.toString());
            Q_EMIT dataChanged(index, index);
        }
        return true;
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        Qt::ItemFlags f = EventsByDateModel::flags(index);
        if (index.isValid() && index.column() == PlaceColumn)
            f |= Qt::ItemIsEditable;
        return f;
    }
};

EventsWithNoSourceReferences::EventsWithNoSourceReferences(FTMoc* moc, QWidget* parent)
    : QDialog(parent)
    , m_moc(moc)
    , m_events(UncitedEvents::allEvents(moc))
{
    setUpPanelSheet(this, L("UncitedEventsTitle"));

    m_exclude = new QCheckBox(L("ExcludeEventsWithSources"));
    m_exclude->setObjectName(QStringLiteral("bExcludeEventsWithSources"));
    m_exclude->setChecked(true);
    connect(m_exclude, &QCheckBox::toggled, this, &EventsWithNoSourceReferences::optionsChanged);
    m_count = new QLabel;
    auto* top = new QHBoxLayout;
    top->addWidget(m_exclude);
    top->addStretch(1);
    top->addWidget(m_count);

    m_model = new UncitedEventsModel(this);
    m_table = ToolsWindowHelpers::makeEventsTable(QStringLiteral("tv_events"), m_model, 11, false);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
        &EventsWithNoSourceReferences::refreshDisplay);
    connect(m_model, &QAbstractItemModel::dataChanged, this, &EventsWithNoSourceReferences::refreshDisplay);

    m_description = new QTextEdit;
    m_description->setObjectName(QStringLiteral("sourceDescription"));
    m_description->setReadOnly(true);
    auto* split = new QSplitter(Qt::Vertical);
    split->addWidget(m_table);
    split->addWidget(m_description);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);
    split->setChildrenCollapsible(false);

    m_sourceButton = new SelectASourceButton;
    m_sourceButton->setObjectName(QStringLiteral("selectASourceButton"));
    m_sourceButton->setText(L("CiteASource"));
    m_sourceButton->setIcon(QIcon());
    m_sourceButton->setMoc(moc);
    m_sourceButton->setDelegate(static_cast<SelectASourceDelegate*>(this));
    m_focal = new QPushButton(L("MakeFocalPerson"));
    m_focal->setObjectName(QStringLiteral("focalButton"));
    m_close = new QPushButton(L("Close"));
    m_close->setObjectName(QStringLiteral("closeButton"));
    for (QPushButton* b : { m_focal, m_close })
        b->setAutoDefault(false);
    connect(m_focal, &QPushButton::clicked, this, &EventsWithNoSourceReferences::promoteToFocalPerson);
    connect(m_close, &QPushButton::clicked, this, [this] { done(0); });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_sourceButton);
    buttons->addSpacing(12);
    buttons->addWidget(m_focal);
    buttons->addStretch(1);
    buttons->addWidget(m_close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(split, 1);
    layout->addLayout(buttons);
    resize(g_prevSize.width() > 0 ? g_prevSize : QSize(820, 560));

    // Citations made anywhere, in any open database, show in the description.
    NotificationCenter::defaultCenter().addObserver(
        QStringLiteral("RefreshAllViews"), nullptr, [this](const Notification&) { refreshDisplay(); }, this);
    optionsChanged();
}

EventsWithNoSourceReferences::~EventsWithNoSourceReferences()
{
    NotificationCenter::defaultCenter().removeObserversOf(this);
}

QList<FTEvent*> EventsWithNoSourceReferences::events() const
{
    return m_model->events();
}

FTEvent* EventsWithNoSourceReferences::selectedEvent() const
{
    const QModelIndexList rows = m_table->selectionModel()->selectedRows();
    return rows.isEmpty() ? nullptr : m_model->event(rows.first().row());
}

void EventsWithNoSourceReferences::optionsChanged()
{
    m_table->endEditing();
    m_model->setEvents(UncitedEvents::filter(m_events, m_exclude->isChecked()));
    m_count->setText(QStringLiteral("%1 %2").arg(L("UncitedEventsCount")).arg(m_model->rowCount()));
}

void EventsWithNoSourceReferences::addReference(FTSource* source)
{
    FTEvent* event = selectedEvent();
    if (!event || !source)
        return;
    event->addReferenceToSource(source);
    m_model->refreshRows();
    refreshDisplay();
}

void EventsWithNoSourceReferences::promoteToFocalPerson()
{
    if (FTPerson* person = UncitedEvents::personToPromote(selectedEvent()))
        m_moc->setFocalPerson(person);
}

void EventsWithNoSourceReferences::refreshDisplay()
{
    if (const FTEvent* event = selectedEvent(); event && !event->isDeleted())
        m_description->setPlainText(event->eventDescription_full());
}

void EventsWithNoSourceReferences::done(int result)
{
    m_table->endEditing();
    g_prevSize = size();
    QDialog::done(result);
}
