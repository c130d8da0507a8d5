#include "pictures/ui/PicEdit.h"

#include "pictures/ui/PictureController.h"
#include "pictures/ui/PictureWindowParts.h"

#include "pictures/CropGeometry.h"
#include "pictures/PictureIntake.h"

#include "shell/DisplayMsg.h"
#include "shell/ui/ThemeIcon.h"

#include "model/FTPerson.h"
#include "model/FTPicture.h"
#include "model/FTSource.h"
#include "model/PicturePlist.h"
#include "model/UtilsPics.h"

#include "platform/Localizer.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>

#include <cmath>

bool PicEdit::s_tracking = false;

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}
}

PicEdit::PicEdit(PictureController* pc, QScrollArea* scrollArea)
    : m_pc(pc)
    , m_scrollArea(scrollArea)
{
    setObjectName(QStringLiteral("picEdit"));
    setAcceptDrops(true);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    scrollArea->setWidget(this);
    scrollArea->setWidgetResizable(false);
    scrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    scrollArea->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    scrollArea->viewport()->installEventFilter(this);

    auto* pasteAction = new QAction(this);
    pasteAction->setShortcut(QKeySequence::Paste);
    pasteAction->setShortcutContext(Qt::WidgetShortcut);
    connect(pasteAction, &QAction::triggered, this, &PicEdit::paste);
    addAction(pasteAction);
}

QSizeF PicEdit::imageSize() const
{
    const QImage& image = m_pc->editing().displayedImage();
    if (!image.isNull())
        return image.size();
    return m_scrollArea->viewport()->size();
}

QRectF PicEdit::imageRect() const
{
    return QRectF(QPointF(0, 0), size());
}

QRectF PicEdit::rclDragBox() const
{
    return CropGeometry::dragBoxFromCrop(m_rclCrop, imageRect(), m_scale);
}

void PicEdit::reloadImage()
{
    m_rclCrop = m_pc->editing().rclCrop();
    m_scale = 1.0;
    setSliderScale(1.0);
}

void PicEdit::fitToImage()
{
    const QSizeF s = imageSize();
    if (m_pc->editing().displayedImage().isNull())
        resize(m_scrollArea->viewport()->size());
    else
        resize(std::max(1, int(std::lround(s.width() * m_scale))), std::max(1, int(std::lround(s.height() * m_scale))));
}

void PicEdit::setRclCrop(const QRectF& crop)
{
    m_rclCrop = crop;
    scrollDragRectVisible();
    update();
}

void PicEdit::setSliderScale(double s)
{
    m_sliderScale = s;
    const double old = m_scale;
    const QImage& image = m_pc->editing().displayedImage();
    const double scale = CropGeometry::zoomScale(image.size(), m_scrollArea->viewport()->size(), s);
    if (scale <= 0) {
        m_scale = 1.0;
        fitToImage();
        update();
        return;
    }
    m_scale = scale;
    fitToImage();
    const QRectF visible(m_scrollArea->horizontalScrollBar()->value(), m_scrollArea->verticalScrollBar()->value(),
        m_scrollArea->viewport()->width(), m_scrollArea->viewport()->height());
    if (const auto target = CropGeometry::scrollTarget(m_rclCrop, old, m_scale, visible)) {
        m_scrollArea->horizontalScrollBar()->setValue(int(target->x()));
        m_scrollArea->verticalScrollBar()->setValue(int(target->y()));
    }
    update();
}

void PicEdit::scrollDragRectVisible()
{
    const QRectF box = CropGeometry::dragBoxFromCrop(m_rclCrop, QRectF(), m_scale);
    if (box.isEmpty())
        return;
    const QRectF visible(m_scrollArea->horizontalScrollBar()->value(), m_scrollArea->verticalScrollBar()->value(),
        m_scrollArea->viewport()->width(), m_scrollArea->viewport()->height());
    if (!visible.contains(box)) {
        m_scrollArea->horizontalScrollBar()->setValue(int(box.x() - 10));
        m_scrollArea->verticalScrollBar()->setValue(int(box.y() - 10));
    }
}

bool PicEdit::eventFilter(QObject* watched, QEvent* event)
{
    // The zoom is relative to the fitting size, which follows the window's size.
    if (watched == m_scrollArea->viewport() && event->type() == QEvent::Resize)
        setSliderScale(m_sliderScale);
    return QWidget::eventFilter(watched, event);
}

// ---- Drawing -------------------------------------------------------------------------------------------------------

void PicEdit::drawMessage(QPainter& p, const QString& text, int size, const QColor& colour, double top)
{
    // Hint texts in Arial (fontconfig gives its metric twin where Arial itself is missing).
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(size);
    p.setFont(font);
    p.setPen(colour);
    const QRectF area(8, top, width() - 16, height() - top);
    p.drawText(area, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, text);
}

void PicEdit::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    p.fillRect(event->rect(), palette().color(QPalette::Mid));
    PictureEditing& editing = m_pc->editing();
    const FTPicture* picture = editing.picture();
    const double messageTop = height() / 2.0 - 10;
    if (!picture || picture->filename().isEmpty()) {
        drawMessage(p, L("DrawInitMsg"), 13, palette().color(QPalette::WindowText), messageTop);
    } else if (editing.displayedImage().isNull()) {
        QString text = QStringLiteral("%1:\n%2").arg(L("NoPicFile"), picture->filename());
        if (!editing.loadError().isEmpty())
            text += QStringLiteral("\n\n") + editing.loadError();
        drawMessage(p, text, 14, palette().color(QPalette::WindowText), messageTop);
    } else {
        // The part of the picture that needs drawing, from the smallest copy that still has a pixel a point.
        drawExposedPicture(p, editing.pyramid(), m_scale, event->rect(), imageRect(), !s_tracking);

        const QRectF box = rclDragBox();
        if (!box.isEmpty() && box != imageRect()) {
            drawDragBox(p, box);
            if (s_tracking && CropGeometry::hasFixedRatio()) {
                QColor guide(Qt::white);
                guide.setAlphaF(0.4f);
                p.setPen(QPen(guide, 2));
                p.drawLine(box.topLeft(), box.bottomRight());
                p.drawLine(box.topRight(), box.bottomLeft());
            }
            p.setRenderHint(QPainter::Antialiasing, false);
        }
        for (const FTPicture* other : m_pc->selectedOtherReferences()) {
            const QRectF frame
                = CropGeometry::dragBoxFromCrop(UtilsPics::rectFromString(other->rclCut()), imageRect(), m_scale);
            if (frame.isEmpty() || frame == imageRect())
                continue;
            p.setPen(QPen(Qt::yellow, 3));
            p.setBrush(Qt::NoBrush);
            p.drawRect(frame.adjusted(-1.5, -1.5, 1.5, 1.5));
        }
    }
    if (m_oneAtATime) {
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(14);
        p.setFont(font);
        p.setPen(Qt::red);
        const QRectF visible = visibleRegion().boundingRect();
        p.drawText(QRectF(visible.x(), visible.y() + visible.height() * 2 / 3, visible.width(), visible.height() / 3),
            Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, L("PicsOneAtATime"));
    }
}

// ---- Mouse ---------------------------------------------------------------------------------------------------------

void PicEdit::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    if (event->modifiers() & Qt::ControlModifier) {
        makePopupMenu()->popup(event->globalPosition().toPoint());
        return;
    }
    const QPointF p = event->position();
    PictureEditing& editing = m_pc->editing();
    if (!imageRect().contains(p) || !editing.isImageFile() || editing.displayedImage().isNull())
        return;
    const QRectF box = rclDragBox();
    s_tracking = true;
    m_drag.begin(box, p);
    setCursor(m_drag.kind() == CropDrag::Kind::Move ? Qt::ClosedHandCursor : Qt::CrossCursor);
}

void PicEdit::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_drag.isActive()) {
        updateCursor(event->position());
        return;
    }
    trackTo(event->position(), false);
}

void PicEdit::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_drag.isActive() || event->button() != Qt::LeftButton)
        return;
    s_tracking = false;
    trackTo(event->position(), true);
    m_drag.end();
    updateCursor(event->position());
}

void PicEdit::trackTo(QPointF q, bool final)
{
    setCroppedRectangle(m_drag.boxAt(q, imageRect(), CropGeometry::currentRatio()), final);
}

void PicEdit::setCroppedRectangle(const QRectF& box, bool final)
{
    if (m_pc->editing().displayedImage().isNull())
        return;
    m_rclCrop = CropGeometry::cropFromDragRect(box, imageRect(), m_scale);
    m_pc->setRclCrop(m_rclCrop, final);
    update();
}

void PicEdit::updateCursor(QPointF p)
{
    const QRectF box = rclDragBox();
    if (!m_pc->editing().isImageFile() || m_rclCrop.width() == 0 || box.isEmpty()) {
        unsetCursor();
        return;
    }
    if (CropGeometry::handleRect(box).contains(p))
        setCursor(Qt::CrossCursor);
    else if (box.adjusted(5, 5, -5, -5).contains(p))
        setCursor(Qt::OpenHandCursor);
    else
        unsetCursor();
}

// ---- Pasting and dropping ------------------------------------------------------------------------------------------

bool PicEdit::pastePictureFromPasteboard(const QMimeData& mime, bool dropping)
{
    FTMoc* moc = m_pc->editing().moc();
    const int n = PictureIntake::numImageFilesInPasteboard(mime, moc);
    if (n == 0) {
        if (!dropping)
            DisplayMsg(L("NoPicsInClip"));
        return false;
    }
    if (n > 1) {
        if (!dropping)
            DisplayMsg(L("PicsPasteOneAtATime"));
        return false;
    }
    QString defaultName;
    if (const auto* person = dynamic_cast<const FTPerson*>(m_pc->owner()))
        defaultName = person->name();
    else if (const auto* source = dynamic_cast<const FTSource*>(m_pc->owner()))
        defaultName = source->title();
    const QStringList files = PictureIntake::copyImageFilesFromPasteboard(mime, defaultName, moc);
    if (files.isEmpty())
        return false;
    // A picture of this program brings its title, date and notes along.
    if (const std::optional<PicturePlist> record = PicturePlist::readFrom(mime))
        return m_pc->setFilename(files.first(), record->title, record->date, record->notes);
    return m_pc->setFilename(files.first());
}

void PicEdit::paste()
{
    if (const QMimeData* mime = QGuiApplication::clipboard()->mimeData())
        pastePictureFromPasteboard(*mime, false);
    else
        DisplayMsg(L("NoPicsInClip"));
}

QMenu* PicEdit::makePopupMenu()
{
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QAction* item = menu->addAction(themeIcon(QStringLiteral("edit-paste")), L("PasteImageMenuOpt"), this, &PicEdit::paste);
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    const int n = mime ? PictureIntake::numImageFilesInPasteboard(*mime, m_pc->editing().moc()) : 0;
    if (n != 1) {
        item->setText(L(n == 0 ? "NoPicInClip" : "ClipHasMultiPics"));
        item->setEnabled(false);
    }
    return menu;
}

void PicEdit::contextMenuEvent(QContextMenuEvent* event)
{
    makePopupMenu()->popup(event->globalPos());
}

void PicEdit::dragEnterEvent(QDragEnterEvent* event)
{
    const int n = PictureIntake::numImageFilesInPasteboard(*event->mimeData(), m_pc->editing().moc());
    m_oneAtATime = false;
    if (n == 1) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
        return;
    }
    if (n > 1) {
        // Taken in only to say so, and to hear when the drag leaves: no move or drop is accepted.
        m_oneAtATime = true;
        update();
        event->accept();
        return;
    }
    event->ignore();
}

void PicEdit::dragMoveEvent(QDragMoveEvent* event)
{
    if (m_oneAtATime)
        event->ignore();
    else
        event->acceptProposedAction();
}

void PicEdit::dragLeaveEvent(QDragLeaveEvent*)
{
    if (m_oneAtATime) {
        m_oneAtATime = false;
        update();
    }
}

void PicEdit::dropEvent(QDropEvent* event)
{
    if (m_oneAtATime) {
        m_oneAtATime = false;
        event->ignore();
        update();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    pastePictureFromPasteboard(*event->mimeData(), true);
    update();
}
