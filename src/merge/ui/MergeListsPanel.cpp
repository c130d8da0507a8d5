#include "merge/ui/MergeListsPanel.h"

#include "merge/MergeLists.h"

#include "sources/ui/SourcesWindowHelpers.h"

#include "model/FTEvent.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace {
constexpr int kFontSize = 11;

QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

const char* const kTableNames[] = { "tv_fromRels", "tv_intoRels", "tv_fromEvents", "tv_intoEvents" };

QList<QStandardItem*> makeRow(const QStringList& texts)
{
    QList<QStandardItem*> row;
    for (const QString& text : texts)
        row << new QStandardItem(text);
    return row;
}

void fillRelatives(QStandardItemModel* model, const QList<Relative>& rows, bool greyShared)
{
    model->removeRows(0, model->rowCount());
    for (const Relative& r : rows) {
        QList<QStandardItem*> row = makeRow({ r.relationship(), r.person()->nameWithBirthAndDeathYears() });
        if (greyShared && (r.flags() & MergeLists::kSharedRelative))
            for (QStandardItem* item : row)
                item->setForeground(QColor(Qt::gray));
        model->appendRow(row);
    }
}

void fillEvents(QStandardItemModel* model, const QList<FTEvent*>& events)
{
    model->removeRows(0, model->rowCount());
    for (const FTEvent* e : events) {
        QList<QStandardItem*> row = makeRow({ e->name(), e->date(), e->place() });
        for (QStandardItem* item : row)
            item->setToolTip(e->notes());
        model->appendRow(row);
    }
}
}

MergeListsPanel::MergeListsPanel(const QString& eventButtonTitle, std::function<void()> mergeRelative,
    std::function<void()> mergeEvent, QWidget* parent)
    : QWidget(parent)
{
    for (int i = 0; i < 4; ++i) {
        const bool relatives = i < 2;
        m_models[i] = new QStandardItemModel(0, relatives ? 2 : 3, this);
        m_models[i]->setHorizontalHeaderLabels(relatives
                ? QStringList { L("MergeColumnRelationship"), L("MergeColumnName") }
                : QStringList { L("MergeColumnEvent"), L("MergeColumnDate"), L("MergeColumnPlace") });
        QTableView* table
            = SourcesWindowHelpers::makeListTable(QString::fromLatin1(kTableNames[i]), m_models[i], false, kFontSize);
        table->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
        table->horizontalHeader()->resizeSection(0, relatives ? 130 : 140);
        table->horizontalHeader()->resizeSection(1, relatives ? 220 : 100);
        table->horizontalHeader()->setStretchLastSection(true);
        table->setMinimumHeight(120);
        m_tables[i] = table;
    }
    m_mergeRelsButton = SourcesWindowHelpers::makeButton(
        QStringLiteral("mergeRelsButton"), L("MergeRelativeButton"), std::move(mergeRelative), QStringLiteral("go-next"));
    m_mergeEventsButton = SourcesWindowHelpers::makeButton(
        QStringLiteral("mergeEventsButton"), eventButtonTitle, std::move(mergeEvent), QStringLiteral("go-next"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(makeRow(L("MergeRelatives"), 0, m_mergeRelsButton), 1);
    column->addWidget(makeRow(L("MergeEvents"), 2, m_mergeEventsButton), 1);
}

QWidget* MergeListsPanel::makeRow(const QString& title, int firstTable, QPushButton* button)
{
    auto* row = new QWidget;
    auto* grid = new QGridLayout(row);
    grid->setContentsMargins(0, 0, 0, 0);
    auto* heading = new QLabel(title);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    grid->addWidget(heading, 0, 0);
    grid->addWidget(m_tables[firstTable], 1, 0);
    grid->addWidget(button, 1, 1, Qt::AlignVCenter);
    grid->addWidget(m_tables[firstTable + 1], 1, 2);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(1, 1);
    return row;
}

void MergeListsPanel::setRelatives(const QList<Relative>& from, const QList<Relative>& into)
{
    m_fromRelatives = from;
    m_intoRelatives = into;
    fillRelatives(m_models[0], from, true);
    fillRelatives(m_models[1], into, false);
}

void MergeListsPanel::setEvents(const QList<FTEvent*>& from, const QList<FTEvent*>& into)
{
    m_fromEvents = from;
    m_intoEvents = into;
    fillEvents(m_models[2], from);
    fillEvents(m_models[3], into);
}

int MergeListsPanel::selectedRow(int table) const
{
    const QModelIndexList rows = m_tables[table]->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

const Relative* MergeListsPanel::selectedFromRelative() const
{
    const int row = selectedRow(0);
    return row >= 0 && row < m_fromRelatives.size() ? &m_fromRelatives[row] : nullptr;
}

FTEvent* MergeListsPanel::selectedFromEvent() const
{
    const int row = selectedRow(2);
    return row >= 0 && row < m_fromEvents.size() ? m_fromEvents[row] : nullptr;
}

void MergeListsPanel::selectFromRelative(int row)
{
    if (row >= 0 && row < m_models[0]->rowCount())
        m_tables[0]->selectRow(row);
}

void MergeListsPanel::selectFromEvent(int row)
{
    if (row >= 0 && row < m_models[2]->rowCount())
        m_tables[2]->selectRow(row);
}

void MergeListsPanel::setButtonsEnabled(bool enabled)
{
    m_mergeRelsButton->setEnabled(enabled);
    m_mergeEventsButton->setEnabled(enabled);
}
