#include "pictures/ui/ExportPictureFiles.h"

#include "pictures/ui/PictureWindowParts.h"

#include "model/FTMoc.h"
#include "model/FTPicture.h"
#include "model/ModelHooks.h"

#include "shell/DisplayMsg.h"

#include "platform/Localizer.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}
}

ExportPictureFiles::ExportPictureFiles(FTMoc* moc, const QList<FTPicture*>& pictures, QWidget* parent)
    : QDialog(parent)
    , m_exporter(moc, pictures)
{
    setObjectName(QStringLiteral("ExportPictures"));
    preparePictureWindow(this, m_exporter.dialogTitle());
    openInDesktop = openInDesktopApplication;

    m_title = new QLabel(m_exporter.dialogTitle());
    QFont bold = m_title->font();
    bold.setBold(true);
    m_title->setFont(bold);
    m_table = new QTableWidget(0, 2);
    m_table->setObjectName(QStringLiteral("tv"));
    m_table->setHorizontalHeaderLabels({ L("PicsDirectoryColumn"), L("PicsFileNameColumn") });
    m_table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_table->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Interactive);
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setAlternatingRowColors(true);
    m_table->setWordWrap(false);
    m_table->setMinimumSize(560, 240);
    m_table->setTextElideMode(Qt::ElideMiddle);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() * 13 / 10 + 2);
    m_thumbnailsOnly = new QCheckBox(L("ExportThumbnailsOnly"));
    m_thumbnailsOnly->setObjectName(QStringLiteral("exportThumbnailsOnly"));
    connect(m_thumbnailsOnly, &QCheckBox::toggled, this, [this](bool on) { m_exporter.exportThumbnailsOnly = on; });
    m_required = new QLabel;
    m_required->setObjectName(QStringLiteral("requiredDiskSpace"));
    m_available = new QLabel;
    m_available->setObjectName(QStringLiteral("availableDiskSpace"));
    m_progress = new QProgressBar;
    m_progress->setObjectName(QStringLiteral("progressIndicator"));
    m_progress->setRange(0, 100);
    m_progress->setTextVisible(false);
    m_exporter.progressChanged = [this](int percent) {
        m_progress->setValue(percent);
        m_progress->repaint();
    };

    m_printListButton = pictureWindowButton("PrintList", "document-print", "printListButton");
    m_finderButton = pictureWindowButton("OpenInFileManager", "folder-open", "finderButton");
    m_closeButton = pictureWindowButton("Close", "window-close", "closeButton");
    m_exportButton = pictureWindowButton("ExportPicsButton", "document-save", "exportButton");
    m_exportButton->setDefault(true);
    connect(m_printListButton, &QPushButton::clicked, this, [this] { printListOfPictures(); });
    connect(m_finderButton, &QPushButton::clicked, this, [this] { launchFinder(); });
    connect(m_closeButton, &QPushButton::clicked, this, [this] { closeSheet(); });
    connect(m_exportButton, &QPushButton::clicked, this, [this] { exportPictures(); });

    auto* space = new QVBoxLayout;
    space->addWidget(m_required);
    space->addWidget(m_available);
    auto* options = new QHBoxLayout;
    options->addWidget(m_thumbnailsOnly);
    options->addStretch(1);
    options->addLayout(space);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_printListButton);
    buttons->addWidget(m_finderButton);
    buttons->addStretch(1);
    buttons->addWidget(m_closeButton);
    buttons->addWidget(m_exportButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_title);
    layout->addWidget(m_table, 1);
    layout->addLayout(options);
    layout->addWidget(m_progress);
    layout->addLayout(buttons);
    resize(680, 460);

    // Given no pictures, the window offers every picture file of the database, with the space they need.
    if (m_exporter.picturesArray().isEmpty() && moc)
        m_exporter.loadPictures();
    m_progress->setValue(0);
    if (m_exporter.picturesArray().isEmpty())
        DisplayMsg(QStringLiteral("%1 %2.").arg(L("NoPicsToExport"), moc ? moc->modelName() : QString()));
    m_required->setText(m_exporter.requiredDiskSpace());
    m_available->setText(m_exporter.availableDiskSpace());
    m_exportButton->setEnabled(m_exporter.exportEnabled() && !m_exporter.picturesArray().isEmpty());
    fillTable();
}

void ExportPictureFiles::fillTable()
{
    const QList<FTPicture*>& pictures = m_exporter.picturesArray();
    m_table->setRowCount(int(pictures.size()));
    for (int row = 0; row < pictures.size(); ++row) {
        const QFileInfo file(pictures[row]->filename());
        auto* folder = new QTableWidgetItem(file.path() == QLatin1String(".") ? QString() : file.path());
        folder->setToolTip(folder->text());
        m_table->setItem(row, 0, folder);
        m_table->setItem(row, 1, new QTableWidgetItem(file.fileName()));
    }
    // The file names take what they need, up to half the width; the folders, mostly one long path, the rest.
    m_table->resizeColumnToContents(1);
    const int half = std::max(m_table->viewport()->width(), m_table->minimumWidth()) / 2;
    m_table->setColumnWidth(1, std::min(m_table->columnWidth(1), half));
}

void ExportPictureFiles::exportPictures()
{
    m_exportButton->setEnabled(false);
    const int written = m_exporter.exportPictures();
    if (written < 0) {
        m_exportButton->setEnabled(true);
        return;
    }
    closeSheet();
}

void ExportPictureFiles::printListOfPictures()
{
    const QString path = m_exporter.printListOfPictures();
    if (path.isEmpty())
        return;
    DisplayMsg(QStringLiteral("%1:\n\n%2").arg(L("PicsFileListCompleted"), path));
    if (openInDesktop)
        openInDesktop(path);
}

void ExportPictureFiles::launchFinder()
{
    QString folder = m_exporter.lastExportFolder();
    if (folder.isEmpty())
        folder = m_exporter.exportFolder(m_exporter.exportThumbnailsOnly);
    if (!QFileInfo(folder).isDir())
        folder = ModelHooks::dataDirectoryPath();
    if (openInDesktop)
        openInDesktop(folder);
}

void ExportPictureFiles::closeSheet()
{
    hide();
    done(0);
}

void ExportPictureFiles::reject()
{
    closeSheet();
}
