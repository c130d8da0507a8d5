#pragma once

#include <QPushButton>

class AddEventReceiver;
class QMenu;

// The family dialog's button that adds an other marriage event: a menu of the other marriage events, LDS spouse
// sealing and "Other Event", opened at the button's right edge and only while the button is enabled. The chosen
// tag goes to the delegate, or else to the button's window when that adds events.
class AddMarriageEventButton : public QPushButton {
    Q_OBJECT
public:
    explicit AddMarriageEventButton(QWidget* parent = nullptr);

    void setDelegate(AddEventReceiver* delegate) { m_delegate = delegate; }
    // A new menu whose items call addEvent(); the caller owns it.
    QMenu* createMenu(QWidget* parent = nullptr);
    // Opens the menu beside the button; null while the button is disabled.
    QMenu* popUpMenu();
    void addEvent(const QString& name);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    AddEventReceiver* receiver() const;
    AddEventReceiver* m_delegate = nullptr;
};
