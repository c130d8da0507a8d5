#pragma once

#include "pictures/ThumbnailMover.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

// The window that moves the thumbnails of a database of an older release into records of their own when it opens:
// it starts by itself once shown, tells how far it has gone, and lets the user close it when done.
//
//   MoveThumbnails window(moc, pictures);
//   window.exec();
class MoveThumbnails : public QDialog {
    Q_OBJECT
public:
    MoveThumbnails(FTMoc& moc, const QList<FTPicture*>& pictures, QWidget* parent = nullptr);

    // The move, once; the close button works again afterwards.
    void moveAllThumbnails();
    bool moved() const { return m_moved; }

    QLabel* progressMessage() const { return m_message; }
    QPushButton* closeButton() const { return m_closeButton; }

    // What ModelHooks::moveThumbnails runs: this window, modal, until the user closes it.
    static void run(FTMoc& moc, const QList<FTPicture*>& pictures);

public Q_SLOTS:
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    ThumbnailMover m_mover;
    bool m_firstTime = true;
    bool m_moved = false;
    bool m_running = false;
    QLabel* m_message = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_closeButton = nullptr;
};
