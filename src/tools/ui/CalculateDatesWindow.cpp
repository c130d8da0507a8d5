#include "tools/ui/CalculateDatesWindow.h"

#include "sources/ui/SourcesWindowHelpers.h"

#include "shell/ui/WindowProgress.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"

#include <QAbstractTableModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {
constexpr int kFontSize = 12;

QString L(const char* key) { return LocalizedString(QString::fromLatin1(key)); }
}

// The events the dates may come from: the person, the event and its date.
class CalculateDatesWindow::Candidates : public QAbstractTableModel {
public:
    Candidates(const QList<FTEvent*>& events, QObject* parent)
        : QAbstractTableModel(parent)
        , m_events(events)
    {
    }
    void refresh()
    {
        if (!m_events.isEmpty())
            Q_EMIT dataChanged(index(0, 0), index(int(m_events.size()) - 1, 2));
    }
    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(m_events.size()); }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 3; }
    QVariant data(const QModelIndex& index, int role) const override
    {
        const FTEvent* e = m_events.value(index.row());
        if (!e || e->isDeleted() || role != Qt::DisplayRole)
            return {};
        switch (index.column()) {
        case 0:
            return e->person() ? e->person()->nameWithBirthAndDeathYears() : QString();
        case 1:
            return e->name();
        default:
            return e->date();
        }
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return QAbstractTableModel::headerData(section, orientation, role);
        return section == 0 ? L("EventOwner") : section == 1 ? L("Event") : L("Date");
    }

private:
    QList<FTEvent*> m_events;
};

CalculateDatesWindow::CalculateDatesWindow(FTMoc* moc, DatesCalculation::Kind kind, QWidget* parent)
    : QDialog(parent)
    , m_calculation(moc, kind)
{
    const bool births = kind == DatesCalculation::Births;
    setObjectName(births ? QStringLiteral("CalculateBirthDates") : QStringLiteral("CalculateDeathDates"));
    setWindowTitle(births ? L("CalculateBirthDatesTitle") : L("CalculateDeathDatesTitle"));
    auto* layout = new QVBoxLayout(this);
    auto* info = new QLabel(births ? L("CalculateBirthDatesInfo") : L("CalculateDeathDatesInfo"));
    info->setObjectName(QStringLiteral("info"));
    info->setWordWrap(true);
    layout->addWidget(info);

    m_candidates = new Candidates(m_calculation.createEventsArray(), this);
    m_table = SourcesWindowHelpers::makeListTable(QStringLiteral("eventsArray"), m_candidates, false, kFontSize);
    m_table->horizontalHeader()->resizeSection(
        0, m_table->fontMetrics().horizontalAdvance(QStringLiteral("Margaret Elizabeth Ann Smith (1800 - 1880)")));
    m_table->horizontalHeader()->resizeSection(1, m_table->fontMetrics().horizontalAdvance(QStringLiteral("Christening")) + 24);
    m_table->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(m_table, 1);

    m_progress = new QProgressBar;
    m_progress->setObjectName(QStringLiteral("progressIndicator"));
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);
    layout->addWidget(m_progress);
    m_message = new QLabel;
    m_message->setObjectName(QStringLiteral("progressMessage"));
    layout->addWidget(m_message);

    auto* buttons = new QHBoxLayout;
    m_calculate = SourcesWindowHelpers::makeButton(
        QStringLiteral("createDates"), L("CalculateDatesButton"), [this] { createDates(); });
    m_calculate->setEnabled(!m_calculation.events().isEmpty());
    buttons->addWidget(m_calculate);
    buttons->addStretch();
    buttons->addWidget(SourcesWindowHelpers::makeCloseButton([this] { done(0); }));
    layout->addLayout(buttons);

    SourcesWindowHelpers::usePanelColour(this);
    resize(640, 460);
}

CalculateDatesWindow::~CalculateDatesWindow() = default;

DatesCalculation::Outcome CalculateDatesWindow::createDates()
{
    WindowProgress progress(nullptr, m_progress);
    const DatesCalculation::Outcome outcome = m_calculation.createDates(&progress);
    m_message->setText(m_calculation.progressMessage());
    m_candidates->refresh();
    return outcome;
}

void CalculateDatesWindow::done(int result)
{
    if (isVisible())
        if (FTMoc* moc = m_calculation.moc())
            moc->saveMoc();
    QDialog::done(result);
}
