#pragma once

#include <QFrame>

class ImportPictureFiles;
class QMimeData;

// The drop area of the import-pictures window: picture files, or a folder holding them, dropped or pasted here go
// to the window's re-linking. A drag is accepted when it offers accepted files, or a folder that holds some; the
// context menu offers "Paste Images".
class PicturesDropBox : public QFrame {
    Q_OBJECT
public:
    explicit PicturesDropBox(QWidget* parent = nullptr);

    // The window it reports to; cleared when the window closes.
    void setIpfController(ImportPictureFiles* controller) { m_ipfController = controller; }
    ImportPictureFiles* ipfController() const { return m_ipfController; }

    // Whether a drag offering `mime` is taken.
    bool accepts(const QMimeData& mime) const;
    // Hands the files of `mime` to the window.
    void copyMissingPicsFromPasteboard(const QMimeData& mime);
    // The clipboard's files.
    void paste();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    ImportPictureFiles* m_ipfController = nullptr;
    bool m_dragInside = false;
};
