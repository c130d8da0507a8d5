#include "editor/ui/PcRelTypesTable.h"

#include "editor/PcRelCleanup.h"

#include "shell/ui/SetFontSize.h"

#include "model/FTEvent.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"

#include <QComboBox>
#include <QHeaderView>
#include <QStandardItemModel>

#include <algorithm>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}
}

QStringList PcRelTypesTable::pcRelTypes()
{
    return { L("Not Related"), L("Natural"), L("Step"), L("Adopted"), L("Foster") };
}

PcRelTypesTable::PcRelTypesTable(Shows shows, PcRelCleanup& cleanup, QWidget* parent)
    : EditorTableView(parent)
    , m_shows(shows)
    , m_cleanup(cleanup)
    , m_model(new QStandardItemModel(this))
{
    QStringList headings { L(shows == Parents ? "ParentColumn" : "ChildColumn") };
    if (shows == ChildrenWithBirthYears)
        headings << L("BirthYearColumn");
    headings << L("RelationshipColumn");
    m_model->setHorizontalHeaderLabels(headings);
    setModel(m_model);
    setSelectionMode(QAbstractItemView::NoSelection);
    setFocusPolicy(Qt::NoFocus);
    horizontalHeader()->setStretchLastSection(true);
    SetFontSize(this, font().pointSize());
}

void PcRelTypesTable::setLinks(const QList<FTPcRel*>& links)
{
    m_links = links;
    m_model->setRowCount(0);
    const int typeColumn = m_model->columnCount() - 1;
    for (int row = 0; row < links.size(); ++row) {
        const FTPcRel* link = links[row];
        const FTPerson* other = m_shows == Parents ? link->parent() : link->child();
        QList<QStandardItem*> items { new QStandardItem(other ? other->nameWithBirthAndDeathYears() : QString()) };
        if (m_shows == ChildrenWithBirthYears) {
            const int year = other && other->birth() ? other->birth()->year() : 0;
            items << new QStandardItem(year ? QString::number(year) : QString());
        }
        items << new QStandardItem;
        m_model->appendRow(items);
        auto* chooser = new QComboBox;
        chooser->setObjectName(QStringLiteral("pcRelType%1").arg(row));
        connect(chooser, &QComboBox::activated, this, [this, row, chooser](int index) {
            choose(row, chooser->itemText(index));
        });
        setIndexWidget(m_model->index(row, typeColumn), chooser);
        showType(row);
        // Rows as high as a pop-up, so that none is squeezed.
        verticalHeader()->setDefaultSectionSize(std::max(verticalHeader()->defaultSectionSize(), chooser->sizeHint().height()));
    }
    setColumnWidths();
    // Room for every row up to four, so that a person's parents are seen at once.
    const int rows = std::clamp(int(links.size()), 2, 4);
    setMinimumHeight(horizontalHeader()->sizeHint().height() + rows * verticalHeader()->defaultSectionSize()
        + 2 * frameWidth());
}

QComboBox* PcRelTypesTable::typeChooser(int row) const
{
    return qobject_cast<QComboBox*>(indexWidget(m_model->index(row, m_model->columnCount() - 1)));
}

void PcRelTypesTable::choose(int row, const QString& word)
{
    if (row < 0 || row >= m_links.size() || m_links[row]->isDeleted())
        return;
    m_cleanup.setStringPcRelType(m_links[row], word);
    showType(row);
}

void PcRelTypesTable::showType(int row)
{
    QComboBox* chooser = typeChooser(row);
    if (!chooser)
        return;
    const QString stored = m_links[row]->stringPcRelType();
    QStringList items = pcRelTypes();
    if (!items.contains(stored))
        items << stored; // "Unknown": shown, never offered once left
    const QSignalBlocker block(chooser);
    if (chooser->count() != items.size() || chooser->itemText(chooser->count() - 1) != items.last()) {
        chooser->clear();
        chooser->addItems(items);
    }
    chooser->setCurrentText(stored);
}

void PcRelTypesTable::setColumnWidths()
{
    const int width = viewport()->width();
    const int typeWidth = std::max(130, width / 4);
    if (m_shows == ChildrenWithBirthYears) {
        const int yearWidth = fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 16;
        setColumnWidth(1, yearWidth);
        setColumnWidth(0, std::max(80, width - typeWidth - yearWidth));
    } else {
        setColumnWidth(0, std::max(80, width - typeWidth));
    }
}
