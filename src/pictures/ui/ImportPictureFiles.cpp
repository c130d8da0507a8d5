#include "pictures/ui/ImportPictureFiles.h"

#include "pictures/ui/PictureWindowParts.h"
#include "pictures/ui/PicturesDropBox.h"

#include "model/FTMoc.h"
#include "model/UtilsPics.h"

#include "shell/DisplayMsg.h"
#include "shell/Utils.h"
#include "shell/ui/ThemeIcon.h"

#include "platform/FTLog.h"
#include "platform/Localizer.h"
#include "platform/Prompts.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}
}

ImportPictureFiles::ImportPictureFiles(FTMoc* moc, QWidget* parent)
    : QDialog(parent)
    , m_moc(moc)
    , m_missing(moc)
    , m_builder(moc)
{
    setObjectName(QStringLiteral("ImportPictures"));
    preparePictureWindow(this, L("ImportPicturesTitle"));
    openInDesktop = openInDesktopApplication;

    auto* info = new QLabel(L("ImportPicturesInfo"));
    info->setWordWrap(true);
    m_list = new QListWidget;
    m_list->setObjectName(QStringLiteral("filenamesArray"));
    m_list->setMinimumSize(300, 220);
    m_list->setSelectionMode(QAbstractItemView::NoSelection);
    m_list->setFocusPolicy(Qt::NoFocus);
    m_list->setTextElideMode(Qt::ElideMiddle);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* listLabel = new QLabel(L("MissingFileNames"));
    listLabel->setBuddy(m_list);
    m_dropBox = new PicturesDropBox;
    m_dropBox->setIpfController(this);
    m_dropBox->setMinimumSize(220, 220);
    m_message = new QLabel(QStringLiteral(" "));
    m_message->setObjectName(QStringLiteral("messageField"));
    m_message->setWordWrap(true);
    m_message->setMinimumHeight(2 * fontMetrics().lineSpacing());
    m_message->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_progress = new QProgressBar;
    m_progress->setObjectName(QStringLiteral("progressIndicator"));
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);

    m_printListButton = pictureWindowButton("PrintList", "document-print", "printListButton");
    m_finderButton = pictureWindowButton("OpenInFileManager", "folder-open", "finderButton");
    m_prebuildButton = pictureWindowButton("PrebuildThumbnails", "insert-image", "prebuildThumbnailsButton");
    m_closeButton = pictureWindowButton("Close", "window-close", "closeButton");
    m_closeButton->setDefault(true);
    connect(m_printListButton, &QPushButton::clicked, this, [this] { printListOfMissingPictures(); });
    connect(m_finderButton, &QPushButton::clicked, this, [this] { launchFinder(); });
    connect(m_prebuildButton, &QPushButton::clicked, this, [this] { makeAllThumbnails(); });
    connect(m_closeButton, &QPushButton::clicked, this, [this] { closeSheet(); });

    auto* listColumn = new QVBoxLayout;
    listColumn->addWidget(listLabel);
    listColumn->addWidget(m_list, 1);
    auto* middle = new QHBoxLayout;
    middle->addLayout(listColumn, 3);
    middle->addWidget(m_dropBox, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_printListButton);
    buttons->addWidget(m_finderButton);
    buttons->addWidget(m_prebuildButton);
    buttons->addStretch(1);
    buttons->addWidget(m_closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(info);
    layout->addLayout(middle, 1);
    layout->addWidget(m_message);
    layout->addWidget(m_progress);
    layout->addLayout(buttons);
    resize(680, 480);

    // Shown at once: matching and building run on this thread.
    m_missing.messageChanged = [this](const QString& text) {
        m_message->setText(text);
        m_message->repaint();
    };
    m_missing.progressChanged = [this](int percent) {
        m_progress->setValue(percent);
        m_progress->repaint();
    };
    m_builder.messageChanged = m_missing.messageChanged;
    m_builder.progressChanged = m_missing.progressChanged;
    m_builder.keepAlive = [] { QCoreApplication::processEvents(QEventLoop::AllEvents, 5); };
    enableButtons(false);
}

ImportPictureFiles::~ImportPictureFiles()
{
    if (m_dropBox)
        m_dropBox->setIpfController(nullptr);
    FTLog(QStringLiteral("dealloc ImportPictureFiles"));
}

void ImportPictureFiles::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_firstTime)
        return;
    m_firstTime = false;
    // What the pictures folder holds already is matched first, as if it had been dropped.
    QTimer::singleShot(0, this, [this] {
        findMissingPictures(MissingPictureFiles::contentsOfPicturesDirectory());
        enableButtons(true);
    });
}

void ImportPictureFiles::enableButtons(bool enable)
{
    m_printListButton->setEnabled(enable);
    m_finderButton->setEnabled(enable);
    m_prebuildButton->setEnabled(enable);
}

void ImportPictureFiles::showFilenames()
{
    m_list->clear();
    for (const QString& name : m_missing.filenamesArray()) {
        auto* item = new QListWidgetItem(name, m_list);
        item->setToolTip(name);
    }
}

void ImportPictureFiles::findMissingPictures(const QStringList& paths)
{
    if (!m_moc || buildRunning())
        return;
    m_missing.findMissingPictures(paths);
    showFilenames();
}

void ImportPictureFiles::printListOfMissingPictures()
{
    const QString path = m_missing.printListOfMissingPictures();
    if (path.isEmpty())
        return;
    DisplayMsg(QStringLiteral("%1:\n\n%2").arg(L("PicsReport2"), path));
    if (openInDesktop)
        openInDesktop(path);
}

void ImportPictureFiles::launchFinder()
{
    const QString folder = UtilsPics::picturesDirectory();
    if (!folder.isEmpty() && openInDesktop)
        openInDesktop(folder);
}

void ImportPictureFiles::makeAllThumbnails()
{
    if (buildRunning())
        return;
    m_builder.start();
    m_closeButton->setText(L("Stop"));
    m_closeButton->setIcon(themeIcon(QStringLiteral("process-stop")));
    enableButtons(false);
    if (!m_moc) {
        m_message->setText(L("NoThumbMoc"));
    } else {
        const QList<FTPicture*> pictures = m_builder.arrayOfPicsNeedingThumbnailsInMoc();
        if (pictures.isEmpty()) {
            m_message->setText(L("NoThumbs"));
        } else {
            const int answer = Prompts::current().choose(ThumbnailBuilder::prebuildQuestion(pictures.size()),
                LocalizedHelpString(QStringLiteral("PrebuildThumbnailsInfo")), { L("MakeThumbs"), L("Cancel") });
            if (answer == 0)
                m_builder.createThumbnails(pictures);
        }
    }
    m_builder.finish();
    m_closeButton->setText(L("Close"));
    m_closeButton->setIcon(themeIcon(QStringLiteral("window-close")));
    enableButtons(true);
}

void ImportPictureFiles::closeSheet()
{
    if (buildRunning()) {
        m_builder.stop();
        return;
    }
    if (m_moc) {
        ThumbnailBuilder counter(m_moc);
        const qsizetype needing = counter.arrayOfPicsNeedingThumbnailsInMoc().size();
        m_progress->setValue(0);
        if (needing > 0
            && !Utils::displayYesNoQuery(
                QStringLiteral("%1 %2 %3").arg(L("ThereAre"), QString::number(needing), L("CreateThumbnails")),
                L("Close"), L("DontClose")))
            return;
    }
    if (m_dropBox)
        m_dropBox->setIpfController(nullptr);
    hide();
    done(0);
}

void ImportPictureFiles::reject()
{
    closeSheet();
}
