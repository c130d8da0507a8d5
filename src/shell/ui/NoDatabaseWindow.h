#pragma once

#include <QMainWindow>

class QLabel;

// Shown while no database is open: the menus (New..., Open..., Open Recent, Quit) and a line that says so.
// Closing it quits the program.
class NoDatabaseWindow : public QMainWindow {
    Q_OBJECT
public:
    NoDatabaseWindow();
    QLabel* messageLabel() const { return m_label; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* m_label = nullptr;
};
