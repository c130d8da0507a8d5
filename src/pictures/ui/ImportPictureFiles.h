#pragma once

#include "pictures/MissingPictureFiles.h"
#include "pictures/ThumbnailBuilder.h"

#include <QDialog>

#include <functional>

class FTMoc;
class PicturesDropBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;

// The import-pictures window, a sheet on the document window: the file names of the pictures whose files are
// missing, a drop box for files or a folder to link them to, the list as a text file, the pictures folder in the
// file manager, and the building of the thumbnails still missing. When it first shows, the files already in the
// pictures folder are matched as if they had been dropped.
//
//   document->beginSheet(new ImportPictureFiles(document->moc()));
class ImportPictureFiles : public QDialog {
    Q_OBJECT
public:
    explicit ImportPictureFiles(FTMoc* moc, QWidget* parent = nullptr);
    ~ImportPictureFiles() override;

    FTMoc* moc() const { return m_moc; }
    MissingPictureFiles& missing() { return m_missing; }

    // Re-links the missing pictures to `paths` and shows what is still missing.
    void findMissingPictures(const QStringList& paths);
    void printListOfMissingPictures();
    void launchFinder();
    // Builds the missing thumbnails after asking; while it runs the Close button reads "Stop".
    void makeAllThumbnails();
    // Stops a running build; otherwise offers to stay when thumbnails are missing, then ends the sheet.
    void closeSheet();
    bool buildRunning() const { return m_builder.threadActive(); }

    // Opens a file or folder in the desktop's application for it; replaceable by tests.
    std::function<void(const QString& path)> openInDesktop;

    PicturesDropBox* dropBox() const { return m_dropBox; }
    QListWidget* filenamesList() const { return m_list; }
    QLabel* messageField() const { return m_message; }
    QProgressBar* progressIndicator() const { return m_progress; }
    QPushButton* closeButton() const { return m_closeButton; }
    QPushButton* printListButton() const { return m_printListButton; }
    QPushButton* finderButton() const { return m_finderButton; }
    QPushButton* prebuildThumbnailsButton() const { return m_prebuildButton; }

public Q_SLOTS:
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void enableButtons(bool enable);
    void showFilenames();

    FTMoc* m_moc;
    MissingPictureFiles m_missing;
    ThumbnailBuilder m_builder;
    bool m_firstTime = true;

    QLabel* m_message = nullptr;
    QListWidget* m_list = nullptr;
    PicturesDropBox* m_dropBox = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_closeButton = nullptr;
    QPushButton* m_printListButton = nullptr;
    QPushButton* m_finderButton = nullptr;
    QPushButton* m_prebuildButton = nullptr;
};
