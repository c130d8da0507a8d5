#pragma once

#include <QFrame>
#include <QImage>

class QMenu;
class QMimeData;
class SourcePictureArea;

// The picture well of the sources editor: the current source's thumbnail, shrunk to fit. It takes one picture at a
// time by paste or drop, opens the picture editor on a plain click (also for a source without a picture), and
// offers the picture's commands in its context menu (secondary or Ctrl-click). Without a picture file it says how to
// give the source one; for a file that shows no image, it names the file. It keeps nothing of its own: every change
// goes through the picture area's operations.
class SourceImage : public QFrame {
    Q_OBJECT
public:
    explicit SourceImage(SourcePictureArea* area);

    // The image shown (null for none).
    void setImage(const QImage& image);
    const QImage& image() const { return m_image; }

    // Takes the one picture a clipboard or drop offers; several, or nothing usable, are refused (with a message
    // when pasting). False when nothing was taken.
    bool pastePictureFromPasteboard(const QMimeData& mime, bool dragging);
    void paste();
    // The context menu, built afresh for the current source.
    QMenu* makePopupMenu();

    // The rectangle the hints are written into.
    static QRect hintRect();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    SourcePictureArea* m_area;
    QImage m_image;
};
