#include "editor/ui/DisconnectPerson.h"

#include "model/FTPerson.h"

#include "platform/Localizer.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
QSize g_keptSize;
}

DisconnectPerson::DisconnectPerson(FTPerson* person, QWidget* parent)
    : RelationshipDialog(parent)
    , m_links(person)
{
    setObjectName(QStringLiteral("DisconnectPerson"));
    setWindowTitle(QStringLiteral("%1 %2").arg(LocalizedString("DisconnectTitle"),
                                               person ? person->nameWithBirthAndDeathYears() : QString()));
    auto* caption = new QLabel(LocalizedString("DisconnectCaption"));
    caption->setWordWrap(true);

    m_tv = new QTableWidget(0, 3);
    m_tv->setObjectName(QStringLiteral("tv"));
    m_tv->setHorizontalHeaderLabels(
        {QString(), LocalizedString("DisconnectLinkColumn"), LocalizedString("DisconnectPersonColumn")});
    m_tv->verticalHeader()->hide();
    m_tv->setSelectionMode(QAbstractItemView::NoSelection);
    m_tv->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tv->setAlternatingRowColors(true);
    m_tv->setShowGrid(false);
    m_tv->setWordWrap(false);
    QHeaderView* columns = m_tv->horizontalHeader();
    columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    columns->setSectionResizeMode(0, QHeaderView::Fixed);
    columns->resizeSection(0, 28);
    columns->resizeSection(1, 150);
    columns->setStretchLastSection(true);
    connect(m_tv, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (item->column() == 0 && item->row() < m_links.relsArray().size())
            m_links.relsArray()[item->row()].setChecked(item->checkState() == Qt::Checked);
    });

    QPushButton* close = makeCloseButton();
    QPushButton* disconnect = makeButton("edit-delete", "DisconnectButton", QStringLiteral("disconnectButton"),
                                         [this] { disconnectSelectedPeople(); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    buttons->addWidget(disconnect);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption);
    layout->addWidget(m_tv, 1);
    layout->addLayout(buttons);
    resize(520, 360);
    keepSizeIn(&g_keptSize);
    showRows();
}

void DisconnectPerson::showRows()
{
    const QSignalBlocker quiet(m_tv);
    const QList<Relative>& rows = m_links.relsArray();
    m_tv->setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        auto* box = new QTableWidgetItem;
        box->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        box->setCheckState(rows[r].checked() ? Qt::Checked : Qt::Unchecked);
        m_tv->setItem(r, 0, box);
        m_tv->setItem(r, 1, new QTableWidgetItem(rows[r].relationship()));
        m_tv->setItem(r, 2, new QTableWidgetItem(rows[r].person() ? rows[r].person()->nameWithBirthAndDeathYears()
                                                                   : QString()));
    }
}

void DisconnectPerson::setChecked(int row, bool checked)
{
    if (QTableWidgetItem* box = m_tv->item(row, 0))
        box->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void DisconnectPerson::disconnectSelectedPeople()
{
    m_links.disconnectSelectedPeople();
    showRows();
}

void DisconnectPerson::close()
{
    done(QDialog::Accepted);
}
