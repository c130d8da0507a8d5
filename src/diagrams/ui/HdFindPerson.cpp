#include "diagrams/ui/HdFindPerson.h"

#include "diagrams/ui/HdView.h"
#include "diagrams/ui/HdWindowParts.h"

#include "shell/ui/SetFontSize.h"

#include "model/FTEvent.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"
#include "platform/UserDefaults.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

QTableWidgetItem* cell(const QString& text, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    item->setTextAlignment(alignment);
    return item;
}
}

HdFindPerson::HdFindPerson(HdView* view, QWidget* hierarchyWindow)
    : QDialog(hierarchyWindow)
    , m_view(view)
{
    setObjectName(QStringLiteral("HdFindPerson"));
    setWindowTitle(L("HdFindPersonTitle"));
    HdWindowParts::applyPanelColour(this);

    auto* heading = new QLabel(L("HdFindPersonHeading"));
    heading->setWordWrap(true);
    m_tv = new QTableWidget(0, 3);
    m_tv->setObjectName(QStringLiteral("peopleTable"));
    m_tv->setHorizontalHeaderLabels({ L("HdFindPersonNumber"), L("HdFindPersonName"), L("HdFindPersonBorn") });
    m_tv->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_tv->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tv->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tv->setAlternatingRowColors(true);
    m_tv->setShowGrid(false);
    m_tv->verticalHeader()->hide();
    m_tv->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    m_tv->horizontalHeader()->setHighlightSections(false);
    // The tables' type size; 11 points until the preferences have one.
    const double fontSize = UserDefaults::standard().doubleForKey(QStringLiteral("fontSize"));
    SetFontSize(m_tv, fontSize >= 6 ? int(fontSize) : 11);
    connect(m_tv, &QTableWidget::itemSelectionChanged, this, [this] { tableViewSelectionDidChange(); });
    connect(m_tv, &QTableWidget::cellDoubleClicked, this, [this] { accept(); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    QPushButton* close = HdWindowParts::makeButton("Close", [this] { accept(); });
    close->setDefault(true);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 12, 14, 12);
    layout->setSpacing(8);
    layout->addWidget(heading);
    layout->addWidget(m_tv, 1);
    layout->addLayout(buttons);
    resize(440, 460);
    HdWindowParts::placeBesideHierarchyWindow(this, hierarchyWindow);
    loadPeopleArray();
}

void HdFindPerson::loadPeopleArray()
{
    m_view->prepare();
    m_peopleArray = m_view->layout().loadPeopleArray();
    const QSignalBlocker quiet(m_tv);
    m_tv->clearContents();
    m_tv->setRowCount(int(m_peopleArray.size()));
    for (int row = 0; row < m_peopleArray.size(); ++row) {
        const FTPerson* p = m_peopleArray[row];
        const int year = p->birth() ? p->birth()->year() : 0;
        m_tv->setItem(row, 0, cell(QString::number(p->numericId()), Qt::AlignRight | Qt::AlignVCenter));
        m_tv->setItem(row, 1, cell(p->name()));
        m_tv->setItem(row, 2, cell(year ? QString::number(year) : QString(), Qt::AlignRight | Qt::AlignVCenter));
    }
    m_tv->resizeColumnToContents(0);
    m_tv->resizeColumnToContents(2);
}

void HdFindPerson::tableViewSelectionDidChange()
{
    const QList<QTableWidgetSelectionRange> ranges = m_tv->selectedRanges();
    if (ranges.isEmpty())
        return;
    const int row = ranges.first().topRow();
    if (row < 0 || row >= m_peopleArray.size())
        return;
    HierarchyLayout& layout = m_view->layout();
    // A person no longer in the diagram clears the selection.
    m_view->commands().setSelectedHierarchy(layout.findFirstPerson(m_peopleArray[row], layout.rootHierarchy()));
}
