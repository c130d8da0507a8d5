#pragma once

#include <QImage>
#include <QLabel>
#include <QList>
#include <QPointer>
#include <QWidget>

class DOvurDocument;
class QMimeData;
class QPlainTextEdit;

// A picture well of the scratch pad: shows the picture dropped on it (an image file or image data), scaled to fit.
class ImageWell : public QLabel {
    Q_OBJECT
public:
    explicit ImageWell(QWidget* parent = nullptr);
    const QImage& image() const { return m_image; }
    void setImage(const QImage& image);
    // The picture a drop offers: the first image file among its URLs, else its image data; null for none.
    static QImage imageIn(const QMimeData& mime);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void showImage();
    QImage m_image;
};

// The scratch pad: one small window for the whole program, with free text and picture wells, kept in memory only
// (never in a database). It floats above the main window of the database it was last shown for; closing it only
// hides it, so its text and pictures stay for the next time, whatever database is open then.
class ScratchPadController : public QWidget {
    Q_OBJECT
public:
    // The program's pad, made on first use.
    static ScratchPadController* shared();
    // Shows the pad above the document's main window, in front and active; nothing without a main window.
    static void displayScratchPad(DOvurDocument* document);

    // ---- Actions ----
    void hide();
    void clearAll();

    QPlainTextEdit* textView() const { return m_textView; }
    const QList<ImageWell*>& imageWells() const { return m_wells; }
    QWidget* parentWindow() const { return m_parentWindow; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    ScratchPadController();

    QPlainTextEdit* m_textView = nullptr;
    QList<ImageWell*> m_wells;
    QPointer<QWidget> m_parentWindow;
};
