#pragma once

#include <QMenu>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QToolButton>

#include <memory>

class FTMoc;
class SelectASourceDelegate;
class SourceMenuModel;

// The source menu button of the toolbar, the citations page, the citation sheets, the active source panel and the
// picture citations window: a click opens a menu of every source, grouped by type and by the second-level option
// (SourceMenuModel), with the active and recent sources first. The menu is built at each click; a type's submenu is
// filled when it opens, so that thousands of sources open at once. Choosing tells the delegate
// (SelectASourceDelegate); choosing another option opens the menu again, grouped by it.
//
// The toolbar's button starts grouped by title whatever was chosen last, and Ctrl+1 opens it as a click in its
// centre would. Every other button starts with the option chosen last ("sourcesSubMenu").
//
//   auto* button = new SelectASourceButton;
//   button->setMoc(moc);
//   button->setDelegate(this);          // a SelectASourceDelegate
class SelectASourceButton : public QToolButton {
    Q_OBJECT
public:
    explicit SelectASourceButton(QWidget* parent = nullptr);
    ~SelectASourceButton() override;

    void setMoc(FTMoc* moc) { m_moc = moc; }
    FTMoc* moc() const { return m_moc; }
    // The owner (not owned).
    void setDelegate(SelectASourceDelegate* delegate);
    // An owner made for the button alone (the toolbar's), owned by it.
    void setDelegate(std::unique_ptr<SelectASourceDelegate> delegate);
    SelectASourceDelegate* delegate() const { return m_delegate; }
    // The second-level option the next menu is grouped by.
    QString subMenuOption() const { return m_subMenuOption; }

    // Builds the menu as a click does; the caller owns it. Each type's submenu fills itself when it opens
    // (aboutToShow).
    QMenu* buildMenu();
    // Builds and pops up the menu at `globalPos`.
    void openMenu(const QPoint& globalPos);
    // The menu on the screen, null once it closed.
    QMenu* shownMenu() const { return m_shownMenu; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void adoptOption();

    FTMoc* m_moc = nullptr;
    SelectASourceDelegate* m_delegate = nullptr;
    std::unique_ptr<SelectASourceDelegate> m_ownedDelegate;
    QString m_subMenuOption;
    QPoint m_lastMouseDown;
    QPointer<QMenu> m_shownMenu;
    QAction* m_openShortcut = nullptr;
};
