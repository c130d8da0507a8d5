#include "pictures/ui/SourceImage.h"

#include "pictures/ui/SourcePictureArea.h"

#include "pictures/PictureIntake.h"
#include "pictures/SourcePicture.h"

#include "shell/Utils.h"
#include "shell/ui/ThemeIcon.h"

#include "model/FTPicture.h"
#include "model/FTSource.h"
#include "model/UtilsPics.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>

namespace {
const char* iconFor(SourcePicture::Command command)
{
    switch (command) {
    case SourcePicture::Command::Paste:
        return "edit-paste";
    case SourcePicture::Command::Remove:
        return "list-remove";
    case SourcePicture::Command::DisplayPDF:
        return "document-open";
    case SourcePicture::Command::EditPic:
        return "document-properties";
    case SourcePicture::Command::Transcribe:
        return "accessories-text-editor";
    case SourcePicture::Command::OpenWith:
        return "system-run";
    case SourcePicture::Command::Help:
        return "help-browser";
    }
    return "";
}
}

SourceImage::SourceImage(SourcePictureArea* area)
    : m_area(area)
{
    setObjectName(QStringLiteral("sourceImage"));
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setFixedSize(hintRect().width() + 20, hintRect().height() + 4);
    setAcceptDrops(true);
    // Reached with Tab too, so that the keyboard can paste into it.
    setFocusPolicy(Qt::StrongFocus);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    auto* pasteAction = new QAction(this);
    pasteAction->setShortcut(QKeySequence::Paste);
    pasteAction->setShortcutContext(Qt::WidgetShortcut);
    connect(pasteAction, &QAction::triggered, this, &SourceImage::paste);
    addAction(pasteAction);
}

QRect SourceImage::hintRect()
{
    return QRect(10, 2, 120, 120);
}

void SourceImage::setImage(const QImage& image)
{
    m_image = image;
    const QString filename = m_area->pictureFilename();
    setToolTip(filename);
    update();
}

// ---- Drawing ---------------------------------------------------------------------------------------------------

void SourceImage::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter p(this);
    if (!m_image.isNull()) {
        // Shrunk to fit with its proportions, never enlarged.
        const QRect inside = contentsRect().adjusted(2, 2, -2, -2);
        QSize size = m_image.size();
        if (size.width() > inside.width() || size.height() > inside.height())
            size.scale(inside.size(), Qt::KeepAspectRatio);
        QRect target(QPoint(0, 0), size);
        target.moveCenter(inside.center());
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(target, m_image);
    }
    const SourcePicture::Hint hint = SourcePicture::hintFor(m_area->currentSource(), !m_image.isNull());
    if (hint == SourcePicture::Hint::None)
        return;
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(10);
    p.setFont(font);
    p.setPen(Qt::black);
    const QString text = hint == SourcePicture::Hint::Initial ? SourcePicture::initialHint()
                                                              : SourcePicture::loadHint(m_area->pictureFilename());
    // File names are cut anywhere, the words of the first hint between words.
    p.drawText(hintRect(),
        Qt::AlignCenter | (hint == SourcePicture::Hint::Load ? Qt::TextWrapAnywhere : Qt::TextWordWrap), text);
}

// ---- Mouse and menu --------------------------------------------------------------------------------------------

void SourceImage::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && (event->modifiers() & Qt::ControlModifier)) {
        makePopupMenu()->exec(event->globalPosition().toPoint());
        return;
    }
    if (event->button() == Qt::LeftButton) {
        m_area->displayPictureEditor();
        return;
    }
    QFrame::mousePressEvent(event);
}

void SourceImage::contextMenuEvent(QContextMenuEvent* event)
{
    makePopupMenu()->exec(event->globalPos());
}

QMenu* SourceImage::makePopupMenu()
{
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("sourceImageMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    FTSource* source = m_area->currentSource();
    const QMimeData* clipboard = QGuiApplication::clipboard()->mimeData();
    const int offered
        = clipboard ? PictureIntake::numImageFilesInPasteboard(*clipboard, source ? source->moc() : nullptr) : 0;
    for (const SourcePicture::MenuItem& item : SourcePicture::menu(source, offered)) {
        QAction* action = menu->addAction(themeIcon(QString::fromLatin1(iconFor(item.command))), item.title);
        action->setEnabled(item.enabled);
        switch (item.command) {
        case SourcePicture::Command::Paste:
            connect(action, &QAction::triggered, this, &SourceImage::paste);
            break;
        case SourcePicture::Command::Remove:
            connect(action, &QAction::triggered, m_area, &SourcePictureArea::removePicture);
            break;
        case SourcePicture::Command::DisplayPDF:
            connect(action, &QAction::triggered, this, [this] {
                const QString file = m_area->pictureFilename();
                if (!file.isEmpty())
                    Utils::displayFile(UtilsPics::resolveAliasedPath(file), QString());
            });
            break;
        case SourcePicture::Command::EditPic:
            connect(action, &QAction::triggered, m_area, &SourcePictureArea::displayPictureEditor);
            break;
        case SourcePicture::Command::Transcribe:
            connect(action, &QAction::triggered, m_area, &SourcePictureArea::transcribePicture);
            break;
        case SourcePicture::Command::OpenWith: {
            auto* applications = new QMenu(menu);
            for (const PicturesMenuItem& app : item.applications) {
                if (app.isSeparator) {
                    applications->addSeparator();
                    continue;
                }
                QAction* open = applications->addAction(app.title);
                const QString id = app.application;
                connect(open, &QAction::triggered, this, [this, id] {
                    const QString file = m_area->pictureFilename();
                    if (!file.isEmpty())
                        Utils::displayFile(UtilsPics::resolveAliasedPath(file), id);
                });
            }
            action->setMenu(applications);
            break;
        }
        case SourcePicture::Command::Help:
            connect(action, &QAction::triggered, m_area, &SourcePictureArea::helpForSourcePictures);
            break;
        }
    }
    return menu;
}

// ---- Pasting and dropping --------------------------------------------------------------------------------------

bool SourceImage::pastePictureFromPasteboard(const QMimeData& mime, bool dragging)
{
    FTSource* source = m_area->currentSource();
    if (!source)
        return false;
    const std::optional<SourcePicture::Offer> offer = SourcePicture::pictureOffered(mime, source->moc(), dragging);
    return offer && m_area->setPictureFilename(offer->path, offer->title, offer->date, offer->notes);
}

void SourceImage::paste()
{
    if (const QMimeData* mime = QGuiApplication::clipboard()->mimeData())
        pastePictureFromPasteboard(*mime, false);
}

void SourceImage::dragEnterEvent(QDragEnterEvent* event)
{
    const FTSource* source = m_area->currentSource();
    if (source && event->mimeData() && SourcePicture::dragEntered(*event->mimeData(), source->moc())) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void SourceImage::dragMoveEvent(QDragMoveEvent* event)
{
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void SourceImage::dropEvent(QDropEvent* event)
{
    if (event->mimeData() && pastePictureFromPasteboard(*event->mimeData(), true)) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    }
    update();
}
