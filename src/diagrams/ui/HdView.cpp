#include "diagrams/ui/HdView.h"

#include "diagrams/HdPageGeometry.h"
#include "diagrams/HdPrinting.h"
#include "diagrams/ui/DiagramPopupMenu.h"

#include "shell/DisplayMsg.h"
#include "shell/Utils.h"
#include "shell/ui/SharedPrinter.h"

#include "model/FTPerson.h"
#include "model/Hierarchy.h"

#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"
#include "platform/Prompts.h"
#include "platform/UserDefaults.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>

#include <cmath>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}
}

HdView::HdView(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    runPrintDialog = [this](QPrinter& printer) {
        QPrintDialog dialog(&printer, window());
        return dialog.exec() == QDialog::Accepted;
    };
    // Every new window starts with five generations.
    UserDefaults::standard().setInteger(QStringLiteral("hdGenerations"), 5);
    observeNotifications();
}

HdView::~HdView()
{
    NotificationCenter::defaultCenter().removeObserversOf(this);
}

void HdView::observeNotifications()
{
    NotificationCenter& center = NotificationCenter::defaultCenter();
    for (const char* name : { "PersonNameOrDateChanged", "BDMInfoChanged", "NotesOrCommentsChanged", "TitleChanged" })
        center.addObserver(QString::fromLatin1(name), nullptr,
            [this](const Notification& n) { m_commands.personalDataChanged(n); }, this);
}

QScrollArea* HdView::scrollArea() const
{
    for (QWidget* w = parentWidget(); w; w = w->parentWidget())
        if (auto* area = qobject_cast<QScrollArea*>(w))
            return area;
    return nullptr;
}

QSize HdView::visibleSize() const
{
    const QScrollArea* area = scrollArea();
    return area ? area->viewport()->size() : size();
}

// ---- Rebuilding ----------------------------------------------------------------------------------------------

void HdView::setNeedsRebuild()
{
    if (m_prepareQueued)
        return;
    m_prepareQueued = true;
    QMetaObject::invokeMethod(this, [this] { prepare(); }, Qt::QueuedConnection);
}

void HdView::prepare()
{
    m_prepareQueued = false;
    // The menu's items point at boxes of this tree.
    if (m_popupMenuOpen)
        return;
    if (const FTPerson* root = m_commands.rootPerson(); root && root->isDeleted()) {
        if (onRootPersonGone)
            onRootPersonGone();
        return;
    }
    const bool rebuild = m_commands.needsRebuild();
    const QSizeF frame = m_commands.prepare(QSizeF(visibleSize()), HdPrinting::paperSizeFromPoints(sharedPaperSize()));
    if (rebuild)
        ++m_rebuildCount;
    const QSize wanted(int(std::ceil(frame.width())), int(std::ceil(frame.height())));
    if (wanted != size())
        resize(wanted);
    // A new tree shows its selected box.
    if (rebuild)
        m_commands.scrollSelectedPersonVisible();
    update();
}

// ---- Host --------------------------------------------------------------------------------------------------------

void HdView::redraw()
{
    m_lastRedrawRect = rect();
    update();
}

void HdView::redrawRect(const QRectF& area)
{
    if (area.isNull())
        return redraw();
    m_lastRedrawRect = area;
    update(area.toAlignedRect());
}

void HdView::scrollRectToVisible(const QRectF& area)
{
    if (QScrollArea* scroll = scrollArea()) {
        const QPointF centre = area.center();
        scroll->ensureVisible(int(centre.x()), int(centre.y()), int(area.width() / 2) + 1,
            int(area.height() / 2) + 1);
    }
}

void HdView::scrollToOrigin()
{
    if (QScrollArea* scroll = scrollArea()) {
        scroll->horizontalScrollBar()->setValue(0);
        scroll->verticalScrollBar()->setValue(0);
    }
}

void HdView::selectedPersonChanged(FTPerson* person, const QString& info)
{
    if (onSelectedPersonChanged)
        onSelectedPersonChanged(person, info);
}

void HdView::dialogTitleChanged(const QString& title)
{
    m_painter.dialogTitle = title;
    if (onTitleChanged)
        onTitleChanged(title);
    update();
}

void HdView::showMiniPersonalDetails(FTPerson* person)
{
    if (onShowMiniPersonalDetails)
        onShowMiniPersonalDetails(person);
}

void HdView::showPopupMenu(Hierarchy* node, const QPointF& at)
{
    if (m_popupMenuOpen || m_commands.needsRebuild())
        return;
    m_popupMenuOpen = true;
    const std::optional<DiagramMenuItem> chosen
        = DiagramPopupMenu::exec(m_commands.popupMenu(node), mapToGlobal(at.toPoint()), this);
    m_popupMenuOpen = false;
    // A change that came while the menu was open has left the tree as it was: the chosen item's box still exists,
    // though its person may have been deleted meanwhile.
    const FTPerson* person = chosen ? chosen->person() : nullptr;
    if (chosen && chosen->node())
        person = chosen->node()->person();
    if (chosen && !(person && person->isDeleted()))
        m_commands.perform(*chosen);
    if (m_commands.needsRebuild())
        setNeedsRebuild();
}

// ---- Painting ----------------------------------------------------------------------------------------------------

void HdView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    if (m_commands.needsRebuild()) {
        // The tree is being rebuilt from the event loop; until then only the background.
        painter.fillRect(event->rect(), m_layout.options().bgColour);
        return;
    }
    if (m_layout.showPageBreaks())
        m_painter.pageLayout = sharedPrinter().pageLayout();
    m_painter.paint(painter, QRectF(event->rect()), QSizeF(size()));
}

// ---- Paper -------------------------------------------------------------------------------------------------------

bool HdView::pagesFitPaper(const QSizeF& paper)
{
    if (HdPageGeometry::calculate(m_layout, paper).fitsPaper())
        return true;
    // Nothing could be shown of the pages either.
    if (m_layout.showPageBreaks()) {
        m_layout.setShowPageBreaks(false);
        m_commands.markForRebuild();
    }
    DisplayMsg(L("HdColumnsWiderThanPaper"));
    return false;
}

void HdView::print()
{
    if (!m_commands.rootPerson())
        return;
    prepare();
    QPrinter& printer = sharedPrinter();
    if (!m_layout.showPageBreaks()) {
        // The first time, the user sees where the pages break before anything is printed.
        m_layout.setShowPageBreaks(true);
        m_commands.markForRebuild();
        prepare();
        if (!pagesFitPaper(HdPrinting::paperSize(printer.pageLayout())))
            return;
        repaint();
        const int answer = Prompts::current().chooseWithTitle(QStringLiteral("Kinloom"), L("PrintAsShown"),
            L("PrintNote"), { L("Print"), L("Cancel") });
        if (answer != 0)
            return;
    } else if (!pagesFitPaper(HdPrinting::paperSize(printer.pageLayout()))) {
        return;
    }
    if (!runPrintDialog || !runPrintDialog(printer))
        return;
    // The dialog may have changed the paper: the pages break where it needs them.
    m_commands.markForRebuild();
    prepare();
    const QSizeF paper = HdPrinting::paperSize(printer.pageLayout());
    if (!pagesFitPaper(paper))
        return;
    const HdPageGeometry pages = HdPageGeometry::calculate(m_layout, paper);
    int first = 1;
    int last = pages.pageCount();
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = printer.fromPage();
        last = std::max(first, printer.toPage());
    }
    // The printer measures in the diagram's own points while it prints.
    const int resolution = printer.resolution();
    printer.setResolution(HdPrinting::viewDpi());
    QString error;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool printed = HdPrinting::printPages(m_painter, printer, pages, first, last, &error);
    QApplication::restoreOverrideCursor();
    printer.setResolution(resolution);
    if (!printed)
        DisplayMsg(L("HdNotPrinted").arg(error));
}

void HdView::printAsPDF()
{
    if (!m_commands.rootPerson())
        return;
    prepare();
    const QString folder = Utils::reportsDirectory();
    if (folder.isEmpty())
        return;
    const QString path = HdPrinting::pdfPath(folder, m_commands.rootPerson(), m_commands.bAncestors());
    QString error;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool written = HdPrinting::writePdf(m_painter, QSizeF(size()), path, &error);
    QApplication::restoreOverrideCursor();
    if (!written) {
        DisplayMsg(L("HdPdfNotWritten").arg(path, error));
        return;
    }
    Utils::displayFile(path, QString());
}

// ---- Keys and mouse ----------------------------------------------------------------------------------------------

void HdView::keyPressEvent(QKeyEvent* event)
{
    if (m_commands.needsRebuild())
        prepare();
    const int key = event->key();
    const bool modifierOnly = key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt
        || key == Qt::Key_Meta || key == Qt::Key_AltGr;
    if (!modifierOnly && endEditing && !endEditing()) {
        event->accept();
        return;
    }
    if (m_commands.keyDown(event->key(), event->text(), event->modifiers()))
        event->accept();
    else
        QWidget::keyPressEvent(event);
}

void HdView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    if (m_commands.needsRebuild())
        prepare();
    if (endEditing && !endEditing())
        return;
    m_commands.mouseDown(event->position(), false, event->modifiers());
    m_dragging = true;
    m_movedBox = false;
    m_dragStart = m_dragLast = event->globalPosition().toPoint();
    if (const QScrollArea* scroll = scrollArea())
        m_scrollStart = QPoint(scroll->horizontalScrollBar()->value(), scroll->verticalScrollBar()->value());
}

void HdView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mouseDoubleClickEvent(event);
    if (endEditing && !endEditing())
        return;
    m_commands.mouseDown(event->position(), true, event->modifiers());
}

void HdView::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_dragging || !(event->buttons() & Qt::LeftButton))
        return QWidget::mouseMoveEvent(event);
    const QPoint now = event->globalPosition().toPoint();
    if (now == m_dragLast)
        return;
    setCursor(Qt::OpenHandCursor);
    if (event->modifiers() & Qt::ShiftModifier) {
        // Shift moves the selected box along its row.
        m_commands.moveSelectedBoxSideways(now.x() - m_dragLast.x());
        m_movedBox = true;
    } else if (QScrollArea* scroll = scrollArea()) {
        // The diagram follows the pointer.
        scroll->horizontalScrollBar()->setValue(m_scrollStart.x() - (now.x() - m_dragStart.x()));
        scroll->verticalScrollBar()->setValue(m_scrollStart.y() - (now.y() - m_dragStart.y()));
    }
    m_dragLast = now;
}

void HdView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_dragging)
        return QWidget::mouseReleaseEvent(event);
    m_dragging = false;
    unsetCursor();
    if (m_movedBox)
        m_commands.setSelectedHierarchy(m_commands.selectedHierarchy());
    m_movedBox = false;
}

void HdView::contextMenuEvent(QContextMenuEvent* event)
{
    if (m_commands.needsRebuild())
        prepare();
    if (endEditing && !endEditing())
        return;
    setFocus(Qt::MouseFocusReason);
    if (event->reason() == QContextMenuEvent::Keyboard) {
        // The menu key: the selected box's menu at its centre.
        if (Hierarchy* selected = m_commands.selectedHierarchy())
            showPopupMenu(selected, selected->rclBox().center());
        return;
    }
    m_commands.rightMouseDown(event->pos());
}
