#pragma once

#include <QDialog>
#include <QSize>

#include <functional>

class DocumentImage;
class ElidedLabel;
class FTManagedObject;
class FTPicture;
class QCheckBox;
class QLabel;
class QLineEdit;
class QScrollArea;
class QSlider;
class QSplitter;
class QTextEdit;

// The transcription window: a document picture (a scanned record, a letter, a certificate) beside the text the user
// types from it. A range of the text can be linked to a rectangle dragged on the picture: it shows blue and
// underlined, and a click on it selects the rectangle, scrolls to it and selects the range. Closing stores the text,
// links included, as the picture's transcription.
//
//   TranscriptionController::beginSheet(window, picture, source, [] { ... show the new transcription ... });
class TranscriptionController : public QDialog {
    Q_OBJECT
public:
    // Built at the size of the last transcription window closed in this run (850 × 600 at first).
    explicit TranscriptionController(QWidget* parent = nullptr);
    ~TranscriptionController() override;

    // Opens the window on the picture of `owner` (a person or a source) as a sheet on `window`; `didEnd` runs when
    // it has closed. The window deletes itself afterwards.
    static TranscriptionController* beginSheet(
        QWidget* window, FTPicture* picture, FTManagedObject* owner, std::function<void()> didEnd = {});

    // Shows the picture, filling the width of its pane, and its transcription.
    void setPicture(FTPicture* picture);
    FTPicture* picture() const { return m_picture; }
    void setOwner(FTManagedObject* owner) { m_owner = owner; }
    FTManagedObject* owner() const { return m_owner; }
    double scale() const { return m_scale; }

    // ---- Actions ----
    void changeScale(double scale);
    // Arranges picture and text as the user default "transcriptionSplitVertically" says (side by side when set),
    // showing the picture at full size when it was smaller.
    void changeSplitOrientation();
    // Links the selected text to the picture's rectangle; refused with a message without either.
    void createLink();
    // The selected text loses its link; refused with a message without a selection.
    void removeLink();
    // A link of the text was clicked at the character `index`: a rectangle's link selects the rectangle and the
    // linked text; any other link does nothing. Always handled.
    bool clickedOnLink(const QString& link, int index);
    // Remembers the size, stores the transcription when it changed, saves and closes.
    void closeTranscription();

    QLineEdit* titleField() const { return m_title; }
    ElidedLabel* fileName() const { return m_fileName; }
    QLabel* loadError() const { return m_loadError; }
    QTextEdit* transcription() const { return m_transcription; }
    DocumentImage* documentImage() const { return m_documentImage; }
    QScrollArea* pictureScrollView() const { return m_scroll; }
    QSlider* scaleSlider() const { return m_scaleSlider; }
    QSplitter* splitView() const { return m_splitView; }
    QCheckBox* sideBySide() const { return m_sideBySide; }

    // The content size every new window starts with.
    static QSize rememberedContentSize();
    static void setRememberedContentSize(const QSize& size);

public Q_SLOTS:
    // Closing the window in any way keeps what was typed.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildWindow();
    void loadTranscription();
    void shareSplitView();
    void fillWidth();
    void showScale();
    bool transcriptionChanged() const;

    FTManagedObject* m_owner = nullptr;
    FTPicture* m_picture = nullptr;
    double m_scale = 1.0;
    bool m_fillPending = false;
    bool m_closing = false;
    QString m_htmlAsLoaded;
    QPoint m_pressedAt;

    QLineEdit* m_title = nullptr;
    ElidedLabel* m_fileName = nullptr;
    QLabel* m_loadError = nullptr;
    QTextEdit* m_transcription = nullptr;
    QScrollArea* m_scroll = nullptr;
    DocumentImage* m_documentImage = nullptr;
    QSlider* m_scaleSlider = nullptr;
    QLabel* m_scaleLabel = nullptr;
    QSplitter* m_splitView = nullptr;
    QCheckBox* m_sideBySide = nullptr;
};
