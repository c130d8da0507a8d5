#pragma once

#include "pictures/PictureMetadataReader.h"

#include <QDialog>

class FTPicture;
class QLabel;
class QPushButton;
class QTreeWidget;
class ThumbView;

// What a picture's file says about itself, in a small window beside the picture editor: the path, the type, the
// size, a preview and the tree of its EXIF, GPS, IPTC and XMP properties. When the file has IPTC properties, a
// button appends them to the picture's notes. The window deletes itself when it closes.
class PictureMetadata : public QDialog {
    Q_OBJECT
public:
    explicit PictureMetadata(FTPicture* picture, QWidget* parent = nullptr);

    FTPicture* picture() const { return m_picture; }
    // The file shown (its path resolved).
    QString path() const { return m_path; }
    // Reads the file anew (nothing when it is the one shown).
    void setURL(const QString& path);
    // Appends the IPTC properties to the picture's notes, single or double spaced as the user answers.
    void insertMetadataIntoNotes();

    QTreeWidget* tree() const { return m_tree; }
    QPushButton* appendIPTCButton() const { return m_appendIPTCButton; }
    ThumbView* thumbView() const { return m_thumbView; }
    QString filePathText() const;
    QString fileTypeText() const;
    QString fileSizeText() const;

Q_SIGNALS:
    // Before the notes are read for an append: whoever edits them writes what was typed first.
    void aboutToReadNotes();
    void notesChanged();

private:
    FTPicture* m_picture;
    QString m_path;
    QList<MetadataNode> m_nodes;
    ThumbView* m_thumbView;
    QLabel* m_filePath;
    QLabel* m_fileType;
    QLabel* m_fileSize;
    QTreeWidget* m_tree;
    QPushButton* m_appendIPTCButton;
};
