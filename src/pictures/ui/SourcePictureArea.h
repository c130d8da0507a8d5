#pragma once

#include <QGroupBox>
#include <QString>

class FTPicture;
class FTSource;
class QTextEdit;
class SourceImage;
class SourcesAddModDel;

// The sources editor's picture area: the picture well of the current source and the text of its transcription. It
// carries the editor's operations on the current source's picture, which open the picture editor and the
// transcription window as sheets on the editor. The pictures library installs it in every sources editor:
//
//   SourcesAddModDel::setPictureWellFactory([](SourcesAddModDel& e) { return new SourcePictureArea(e); });
class SourcePictureArea : public QGroupBox {
    Q_OBJECT
public:
    explicit SourcePictureArea(SourcesAddModDel& editor);

    SourcesAddModDel& editor() const { return m_editor; }
    // The editor's current source (null when none is selected), and its picture's file.
    FTSource* currentSource() const;
    QString pictureFilename() const;

    // ---- The editor's picture operations ----
    // The picture editor on the current source's picture (a first file chosen there makes one).
    void displayPictureEditor();
    // Gives the current source the file (a new picture, or its picture's new file), then shows it.
    FTPicture* setPictureFilename(const QString& path, const QString& title, const QString& date, const QString& notes);
    // Deletes the current source's picture.
    void removePicture();
    // The transcription window on the current source's picture.
    void transcribePicture();
    void helpForSourcePictures();

    // Shows the current source's thumbnail and transcription anew.
    void showCurrentSource();

    SourceImage* sourceImage() const { return m_sourceImage; }
    QTextEdit* transcriptionNotesTextView() const { return m_transcriptionNotesTextView; }

private:
    void showTranscription();

    SourcesAddModDel& m_editor;
    SourceImage* m_sourceImage = nullptr;
    QTextEdit* m_transcriptionNotesTextView = nullptr;
};
