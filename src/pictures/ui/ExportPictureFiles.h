#pragma once

#include "pictures/PictureFilesExport.h"

#include <QDialog>

#include <functional>

class FTMoc;
class FTPicture;
class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;

// The export-pictures window, a sheet on the document window: the picture files to export (those given, else every
// one of the database) with their folders, the disk space they need and the space free, the switch for thumbnails
// only, the export into a folder of the data folder, the list of the files and that folder in the file manager.
//
//   document->beginSheet(new ExportPictureFiles(document->moc(), picturesNamedByTheGedcomFile));
class ExportPictureFiles : public QDialog {
    Q_OBJECT
public:
    ExportPictureFiles(FTMoc* moc, const QList<FTPicture*>& pictures = {}, QWidget* parent = nullptr);

    PictureFilesExport& exporter() { return m_exporter; }

    // Export: the files (or the thumbnails), then the sheet ends.
    void exportPictures();
    void printListOfPictures();
    void launchFinder();
    void closeSheet();

    // Opens a file or folder in the desktop's application for it; replaceable by tests.
    std::function<void(const QString& path)> openInDesktop;

    QTableWidget* tableView() const { return m_table; }
    QCheckBox* thumbnailsOnlyBox() const { return m_thumbnailsOnly; }
    QLabel* requiredDiskSpaceLabel() const { return m_required; }
    QLabel* availableDiskSpaceLabel() const { return m_available; }
    QProgressBar* progressIndicator() const { return m_progress; }
    QPushButton* exportButton() const { return m_exportButton; }

public Q_SLOTS:
    void reject() override;

private:
    void fillTable();

    PictureFilesExport m_exporter;

    QLabel* m_title = nullptr;
    QTableWidget* m_table = nullptr;
    QCheckBox* m_thumbnailsOnly = nullptr;
    QLabel* m_required = nullptr;
    QLabel* m_available = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_exportButton = nullptr;
    QPushButton* m_printListButton = nullptr;
    QPushButton* m_finderButton = nullptr;
    QPushButton* m_closeButton = nullptr;
};
