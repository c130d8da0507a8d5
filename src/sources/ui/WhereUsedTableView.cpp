#include "sources/ui/WhereUsedTableView.h"

#include "sources/WhereUsedModel.h"
#include "sources/ui/SourcesAddModDel.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/FTSourceRel.h"

#include "platform/Localizer.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>
#include <QProgressBar>

#include <memory>

WhereUsedTableView::WhereUsedTableView(SourcesAddModDel* delegate, QWidget* parent)
    : QTableView(parent)
    , m_delegate(delegate)
{
    setObjectName(QStringLiteral("whereUsedTable"));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAlternatingRowColors(true);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setSortIndicatorShown(true);
    horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
}

void WhereUsedTableView::mousePressEvent(QMouseEvent* event)
{
    const bool controlClick = event->button() == Qt::LeftButton && (event->modifiers() & Qt::ControlModifier);
    if (event->button() == Qt::RightButton || controlClick) {
        rightMouseDown(event->position().toPoint(), event->globalPosition().toPoint());
        event->accept();
        return;
    }
    QTableView::mousePressEvent(event);
}

void WhereUsedTableView::contextMenuEvent(QContextMenuEvent* event)
{
    // The press has shown the menu already; a keyboard's menu key has no row under it.
    event->accept();
}

FTSourceRel* WhereUsedTableView::rightMouseDown(const QPoint& pos, const QPoint& globalPos)
{
    const int row = rowAt(pos.y());
    if (row < 0)
        return nullptr;
    m_delegate->endEditing();
    const WhereUsedModel* rows = m_delegate->sourceRelsArrayController();
    if (row >= rows->rowCount())
        return nullptr;
    selectionModel()->select(rows->index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    FTSourceRel* citation = rows->citationAt(row);
    if (citation) {
        std::unique_ptr<QMenu> menu(popupMenuFor(citation, this));
        if (menu)
            menu->exec(globalPos);
    }
    return citation;
}

QMenu* WhereUsedTableView::popupMenuFor(FTSourceRel* citation, QWidget* parent)
{
    FTPerson* person = citation ? citation->person() : nullptr;
    if (!person)
        return nullptr;
    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("whereUsedMenu"));
    QFont font = menu->font();
    font.setPointSize(13);
    menu->setFont(font);
    // The owner of a citation that names a person is that person.
    const QString name
        = citation->owner() ? citation->owner()->valueForKey(QStringLiteral("name")).toString() : person->name();
    QAction* promote = menu->addAction(
        QStringLiteral("%1 %2 %3")
            .arg(LocalizedString(QStringLiteral("Promote")), name, LocalizedString(QStringLiteral("toBeFocal"))));
    promote->setObjectName(QStringLiteral("promoteToFocalPerson"));
    connect(promote, &QAction::triggered, this, [this, person] { promoteToFocalPerson(person); });
    return menu;
}

void WhereUsedTableView::promoteToFocalPerson(FTPerson* person)
{
    if (person && !person->isDeleted())
        m_delegate->moc()->setFocalPerson(person);
}

void WhereUsedTableView::paintEvent(QPaintEvent* event)
{
    if (QProgressBar* indicator = m_delegate->sortProgressIndicator())
        indicator->hide();
    QTableView::paintEvent(event);
}
