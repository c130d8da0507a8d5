#pragma once

#include <QPushButton>
#include <QStringList>

class AddEventReceiver;
class FTMoc;
class QMenu;

// A button that pops up a menu of event types and hands the chosen type's GEDCOM tag to its delegate
// (addEventWithType). It offers the other personal events, attributes and LDS ordinances unless its host sets
// another list (eventNamesArray: English event names, "SEPARATOR" for a line, possibly the localised "None"). The
// menu opens on every press, even while the button is disabled.
//
//   auto* button = new AddEventButton;
//   button->setDelegate(page);                              // a window that adds events
//   button->setEventNamesArray(AddEventMenu::eventsPageEventNames());
//   button->setOpensBesideButton(true);                     // the add-child dialog: menu at the right edge
class AddEventButton : public QPushButton {
    Q_OBJECT
public:
    explicit AddEventButton(QWidget* parent = nullptr);

    void setDelegate(AddEventReceiver* delegate) { m_delegate = delegate; }
    AddEventReceiver* delegate() const { return m_delegate; }
    void setMoc(FTMoc* moc) { m_moc = moc; }
    FTMoc* moc() const { return m_moc; }
    QStringList eventNamesArray() const { return m_eventNames; }
    // An empty list brings back the default one.
    void setEventNamesArray(const QStringList& names);
    // The menu opens at the button's right edge, raised for its length, rather than where the button was pressed.
    void setOpensBesideButton(bool beside) { m_beside = beside; }
    bool opensBesideButton() const { return m_beside; }

    // A new menu of the list, whose items call addEvent(); the caller owns it.
    QMenu* createMenu(QWidget* parent = nullptr);
    // Opens the menu as a press at `pressPos` (the button's coordinates) would; answers it (it deletes itself
    // when closed).
    QMenu* popUpMenu(const QPoint& pressPos);
    // The choice of the menu item named `name`: its tag goes to the delegate (see AddEventMenu).
    void addEvent(const QString& name);

protected:
    bool event(QEvent* event) override;

private:
    AddEventReceiver* m_delegate = nullptr;
    FTMoc* m_moc = nullptr;
    QStringList m_eventNames;
    bool m_beside = false;
};
