#include "reports/ui/StatisticsReport.h"

#include "reports/ListingReport.h"
#include "reports/ui/PanelSheet.h"

#include "shell/RtfWriter.h"
#include "shell/ui/ThemeIcon.h"
#include "shell/ui/WindowProgress.h"

#include "platform/Localizer.h"
#include "platform/Prompts.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {
const auto L = ListingReport::label;
}

StatisticsReport::StatisticsReport(FTMoc* moc, QWidget* parent)
    : QDialog(parent)
    , m_stats(moc)
{
    setUpPanelSheet(this, L("StatisticsTitle"));

    m_table = new QTableWidget(0, 2);
    m_table->setObjectName(QStringLiteral("tv"));
    m_table->setHorizontalHeaderLabels({ L("StatsItem"), L("StatsCount") });
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionMode(QAbstractItemView::NoSelection);
    m_table->setShowGrid(false);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 4);
    m_table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_table->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    m_table->setMinimumSize(460, 360);

    m_progress = newSheetProgressBar();
    m_lifespan = new QPushButton(L("StatsLifespan"));
    m_lifespan->setObjectName(QStringLiteral("showLifespanInfo"));
    m_lifespan->setAutoDefault(false);
    m_save = new QPushButton(themeIcon(QStringLiteral("document-save")), L("StatsSave"));
    m_save->setObjectName(QStringLiteral("saveButton"));
    m_save->setAutoDefault(false);
    m_close = new QPushButton(L("Close"));
    m_close->setObjectName(QStringLiteral("closeButton"));
    m_close->setDefault(true);
    connect(m_lifespan, &QPushButton::clicked, this, &StatisticsReport::addAverageLifespan);
    connect(m_save, &QPushButton::clicked, this, &StatisticsReport::printReport);
    connect(m_close, &QPushButton::clicked, this, [this] { done(0); });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_progress, 1);
    buttons->addWidget(m_lifespan);
    buttons->addWidget(m_save);
    buttons->addWidget(m_close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table, 1);
    layout->addLayout(buttons);
    resize(560, 560);
}

void StatisticsReport::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The sheet shows at once; the counting waits a moment so that it is seen to happen.
    if (!m_counted) {
        m_counted = true;
        QTimer::singleShot(1000, this, &StatisticsReport::generateStats);
    }
}

void StatisticsReport::generateStats()
{
    WindowProgress progress(nullptr, m_progress);
    m_stats.countRecords(&progress);
    showRows();
}

void StatisticsReport::addAverageLifespan()
{
    const int chosen = Prompts::current().chooseWithTitle(L("StatsLifespan"), L("StatsLifespanSort"), {},
        { L("StatsAgeAtDeath"), L("StatsFirstFamily"), L("StatsFamilyFirst") });
    const DatabaseStatistics::Order order = chosen == 1 ? DatabaseStatistics::ByName
        : chosen == 2                                   ? DatabaseStatistics::ByFamilyName
                                                        : DatabaseStatistics::ByAgeAtDeath;
    WindowProgress progress(nullptr, m_progress);
    m_stats.addLifespans(order, &progress);
    showRows();
    m_lifespan->setVisible(false);
}

void StatisticsReport::showRows()
{
    const QList<DatabaseStatistics::Row>& rows = m_stats.rows();
    m_table->setRowCount(int(rows.size()));
    for (int i = 0; i < rows.size(); ++i) {
        const DatabaseStatistics::Row& row = rows[i];
        auto* name = new QTableWidgetItem(row.name);
        // A heading: the first row after a blank one, without a number of its own.
        if (!row.showCount && !row.name.isEmpty() && row.count == 0 && i > 0 && rows[i - 1].name.isEmpty()) {
            QFont bold = name->font();
            bold.setBold(true);
            name->setFont(bold);
        }
        m_table->setItem(i, 0, name);
        auto* count = new QTableWidgetItem(row.showCount ? QString::number(row.count) : QString());
        count->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_table->setItem(i, 1, count);
    }
}

void StatisticsReport::printReport()
{
    RtfWriter writer;
    if (!m_stats.save(writer))
        return;
    Prompts::current().message(QStringLiteral("%1: %2").arg(L("ReportSavedToFile"), writer.outputPath()));
    writer.handOver();
}
