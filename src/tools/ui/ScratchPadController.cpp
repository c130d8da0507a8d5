#include "tools/ui/ScratchPadController.h"

#include "sources/ui/SourcesWindowHelpers.h"

#include "shell/ui/DOvurDocument.h"

#include "platform/Localizer.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMainWindow>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>

namespace {
constexpr int kWells = 4;

QString L(const char* key) { return LocalizedString(QString::fromLatin1(key)); }
}

ImageWell::ImageWell(QWidget* parent)
    : QLabel(parent)
{
    setAcceptDrops(true);
    setAlignment(Qt::AlignCenter);
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    setMinimumSize(90, 90);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setWordWrap(true);
    showImage();
}

void ImageWell::setImage(const QImage& image)
{
    m_image = image;
    showImage();
}

QImage ImageWell::imageIn(const QMimeData& mime)
{
    for (const QUrl& url : mime.urls()) {
        if (!url.isLocalFile())
            continue;
        const QImage image(url.toLocalFile());
        if (!image.isNull())
            return image;
    }
    if (mime.hasImage())
        return qvariant_cast<QImage>(mime.imageData());
    return {};
}

void ImageWell::dragEnterEvent(QDragEnterEvent* event)
{
    if (!imageIn(*event->mimeData()).isNull())
        event->acceptProposedAction();
}

void ImageWell::dropEvent(QDropEvent* event)
{
    const QImage image = imageIn(*event->mimeData());
    if (image.isNull())
        return;
    setImage(image);
    event->acceptProposedAction();
}

void ImageWell::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    showImage();
}

void ImageWell::showImage()
{
    if (m_image.isNull()) {
        setPixmap({});
        setText(L("ScratchPadImageWell"));
        setEnabled(true);
        return;
    }
    setText({});
    setPixmap(QPixmap::fromImage(
        m_image.scaled(contentsRect().size() - QSize(4, 4), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

ScratchPadController* ScratchPadController::shared()
{
    static QPointer<ScratchPadController> pad;
    if (!pad) {
        pad = new ScratchPadController;
        // Parentless, so that no main window takes it along when it closes; it goes with the program.
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, pad, &QObject::deleteLater);
    }
    return pad;
}

ScratchPadController::ScratchPadController()
    : QWidget(nullptr, Qt::Tool)
{
    setObjectName(QStringLiteral("ScratchPadController"));
    setWindowTitle(L("ScratchPadTitle"));
    auto* layout = new QVBoxLayout(this);
    m_textView = new QPlainTextEdit;
    m_textView->setObjectName(QStringLiteral("textView"));
    layout->addWidget(m_textView, 3);
    auto* wells = new QGridLayout;
    for (int i = 0; i < kWells; ++i) {
        auto* well = new ImageWell;
        well->setObjectName(QStringLiteral("imageWell%1").arg(i + 1));
        wells->addWidget(well, 0, i);
        m_wells << well;
    }
    layout->addLayout(wells, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(SourcesWindowHelpers::makeButton(
        QStringLiteral("clearAll"), L("ClearAllButton"), [this] { clearAll(); }, QStringLiteral("edit-clear-all")));
    buttons->addStretch();
    buttons->addWidget(SourcesWindowHelpers::makeButton(QStringLiteral("hide"), L("HideButton"), [this] { hide(); }));
    layout->addLayout(buttons);
    SourcesWindowHelpers::usePanelColour(this);
    resize(480, 360);
}

void ScratchPadController::displayScratchPad(DOvurDocument* document)
{
    QMainWindow* main = document ? document->dovurWindow() : nullptr;
    if (!main)
        return;
    ScratchPadController* pad = shared();
    // Detached from the window it floated over, attached to this one: it stays above it and moves with it to
    // the front, without belonging to it.
    pad->m_parentWindow = main;
    pad->winId();
    main->winId();
    if (QWindow* window = pad->windowHandle())
        window->setTransientParent(main->windowHandle());
    pad->show();
    pad->raise();
    pad->activateWindow();
}

void ScratchPadController::hide()
{
    QWidget::hide();
    if (m_parentWindow) {
        m_parentWindow->raise();
        m_parentWindow->activateWindow();
    }
}

void ScratchPadController::clearAll()
{
    m_textView->clear();
    for (ImageWell* well : std::as_const(m_wells))
        well->setImage({});
}

void ScratchPadController::closeEvent(QCloseEvent* event)
{
    // Closing only hides: the text and pictures are kept.
    event->ignore();
    hide();
}
