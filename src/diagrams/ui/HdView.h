#pragma once

#include "diagrams/HdPainter.h"
#include "diagrams/HierarchyDiagramCommands.h"
#include "diagrams/HierarchyLayout.h"

#include <QWidget>

#include <functional>

class QPrinter;
class QScrollArea;

// The hierarchy diagram's view, inside the window's scroll area: the tree of a root person's ancestors or
// descendants as boxes. The tree, its layout and painting live in the diagrams core (HierarchyLayout, HdPainter);
// what the keys, the mouse, the menu and the controls do is HierarchyDiagramCommands, whose host this view is.
//
// A change that needs a new tree only marks it stale: the tree is built again from the event loop (prepare()),
// before the next painting, and the view takes the size of the new diagram. paintEvent() only paints, and only
// what meets the exposed rectangle.
class HdView : public QWidget, public HierarchyDiagramCommands::Host {
    Q_OBJECT
public:
    explicit HdView(QWidget* parent = nullptr);
    ~HdView() override;

    HierarchyLayout& layout() { return m_layout; }
    HierarchyDiagramCommands& commands() { return m_commands; }
    HdPainter& hdPainter() { return m_painter; }

    // Builds the tree when it is stale and sizes the view to it. Runs by itself from the event loop after every
    // request; callers that paint at once (grabs, tests) call it first.
    void prepare();
    int rebuildCount() const { return m_rebuildCount; }
    // The area of the last in-place repaint (tests).
    QRectF lastRedrawRect() const { return m_lastRedrawRect; }

    // ---- Paper ----
    // Prints the diagram through the print dialog, page after page. The first time, the page breaks are shown
    // and the user is asked to go on; a diagram whose columns are wider than the paper is refused with a message.
    void print();
    // Writes the whole diagram as a PDF file into the reports folder and opens it; a failure is shown with the
    // file's path and opens nothing.
    void printAsPDF();
    // The print dialog over the printer: true to print. Replaced by tests.
    std::function<bool(QPrinter& printer)> runPrintDialog;

    // What the window shows and opens for the view.
    std::function<void(const QString& title)> onTitleChanged;
    std::function<void(FTPerson* person, const QString& info)> onSelectedPersonChanged;
    std::function<void(FTPerson* person)> onShowMiniPersonalDetails;
    // The root person has been deleted (an undo of its making): the tree is not built again.
    std::function<void()> onRootPersonGone;
    // Asked before a press or a key moves the selection: false leaves it where it is (the details window keeps a
    // value it refused, and has said why).
    std::function<bool()> endEditing;

    // ---- HierarchyDiagramCommands::Host ----
    void setNeedsRebuild() override;
    void redraw() override;
    void redrawRect(const QRectF& rect) override;
    void scrollRectToVisible(const QRectF& rect) override;
    void scrollToOrigin() override;
    void selectedPersonChanged(FTPerson* person, const QString& info) override;
    void dialogTitleChanged(const QString& title) override;
    void showMiniPersonalDetails(FTPerson* person) override;
    void showPopupMenu(Hierarchy* node, const QPointF& at) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    QScrollArea* scrollArea() const;
    QSize visibleSize() const;
    void observeNotifications();
    // True when the diagram's columns fit the paper; otherwise tells the user and turns the page breaks off.
    bool pagesFitPaper(const QSizeF& paper);

    HierarchyLayout m_layout;
    HierarchyDiagramCommands m_commands { *this, m_layout };
    HdPainter m_painter { m_layout };
    bool m_prepareQueued = false;
    bool m_popupMenuOpen = false;
    int m_rebuildCount = 0;
    QRectF m_lastRedrawRect;

    // A drag with the primary button: the pointer where it began and last was, the scroll position it began at.
    bool m_dragging = false;
    bool m_movedBox = false;
    QPoint m_dragStart;
    QPoint m_dragLast;
    QPoint m_scrollStart;
};
