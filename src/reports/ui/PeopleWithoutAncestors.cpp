#include "reports/ui/PeopleWithoutAncestors.h"

#include "reports/ListingReport.h"
#include "reports/ui/PanelSheet.h"
#include "reports/ui/PeopleListModel.h"

#include "shell/RtfWriter.h"
#include "shell/Utils.h"
#include "shell/ui/ThemeIcon.h"
#include "shell/ui/WindowProgress.h"

#include "platform/Localizer.h"
#include "platform/Prompts.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {
const auto L = ListingReport::label;
}

PeopleWithoutAncestors::PeopleWithoutAncestors(FTMoc* moc, QWidget* parent)
    : QDialog(parent)
    , m_listing(moc)
{
    setUpPanelSheet(this, L("NoAncestorsWindowTitle"));

    auto* help = new QLabel(L("NoAncestorsHelp"));
    help->setWordWrap(true);
    m_model = new PeopleListModel(this);
    m_model->setPeople(m_listing.people());
    m_table = new QTableView;
    m_table->setObjectName(QStringLiteral("tv"));
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 4);
    m_table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_table->horizontalHeader()->resizeSection(1, 160);
    m_table->horizontalHeader()->resizeSection(2, 160);
    m_table->setMinimumHeight(300);

    m_progress = newSheetProgressBar();
    m_close = new QPushButton(L("Close"));
    m_close->setObjectName(QStringLiteral("closeButton"));
    m_close->setAutoDefault(false);
    m_print = new QPushButton(themeIcon(QStringLiteral("document-print")), L("GenerateReport"));
    m_print->setObjectName(QStringLiteral("printButton"));
    m_print->setAutoDefault(false);
    connect(m_close, &QPushButton::clicked, this, [this] { done(0); });
    connect(m_print, &QPushButton::clicked, this, &PeopleWithoutAncestors::printReport);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_progress, 1);
    buttons->addWidget(m_close);
    buttons->addWidget(m_print);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(help);
    layout->addWidget(m_table, 1);
    layout->addLayout(buttons);
    resize(620, 520);
}

void PeopleWithoutAncestors::printReport()
{
    QModelIndexList rows = m_table->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    if (rows.isEmpty()) {
        Prompts::current().message(L("TryAgain"));
        return;
    }
    QList<FTPerson*> selected;
    for (const QModelIndex& index : std::as_const(rows))
        selected << m_model->people().at(index.row());
    const bool longForm = Utils::displayYesNoQuery(L("BDMQuery"), L("BDMQueryYes"), L("BDMQueryNo"));
    RtfWriter writer;
    WindowProgress progress(nullptr, m_progress);
    if (m_listing.generate(writer, selected, longForm, &progress))
        writer.handOver();
}
