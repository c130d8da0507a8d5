#include "pictures/ui/PicturesDropBox.h"

#include "pictures/MissingPictureFiles.h"
#include "pictures/PictureIntake.h"
#include "pictures/ui/ImportPictureFiles.h"

#include "shell/ui/ThemeIcon.h"

#include "platform/Localizer.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPainterPath>

PicturesDropBox::PicturesDropBox(QWidget* parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("dropBox"));
    setAcceptDrops(true);
    setMinimumSize(200, 120);
    setToolTip(LocalizedString(QStringLiteral("DropPicturesHere")));
}

bool PicturesDropBox::accepts(const QMimeData& mime) const
{
    const FTMoc* moc = m_ipfController ? m_ipfController->moc() : nullptr;
    return PictureIntake::numImageFilesInPasteboard(mime, moc) > 0
        || !MissingPictureFiles::filesOffered(mime, moc).isEmpty();
}

void PicturesDropBox::copyMissingPicsFromPasteboard(const QMimeData& mime)
{
    if (m_ipfController)
        m_ipfController->findMissingPictures(
            MissingPictureFiles::filesOffered(mime, m_ipfController ? m_ipfController->moc() : nullptr));
}

void PicturesDropBox::paste()
{
    if (const QMimeData* mime = QApplication::clipboard()->mimeData())
        copyMissingPicsFromPasteboard(*mime);
}

void PicturesDropBox::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData() && accepts(*event->mimeData())) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
        m_dragInside = true;
        update();
    } else {
        event->ignore();
    }
}

void PicturesDropBox::dragMoveEvent(QDragMoveEvent* event)
{
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void PicturesDropBox::dragLeaveEvent(QDragLeaveEvent*)
{
    m_dragInside = false;
    update();
}

void PicturesDropBox::dropEvent(QDropEvent* event)
{
    m_dragInside = false;
    update();
    if (!event->mimeData())
        return;
    event->setDropAction(Qt::CopyAction);
    event->accept();
    copyMissingPicsFromPasteboard(*event->mimeData());
}

void PicturesDropBox::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    QAction* pasteAction = menu.addAction(themeIcon(QStringLiteral("edit-paste")),
        LocalizedString(QStringLiteral("PasteImages")), this, [this] { paste(); });
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    pasteAction->setEnabled(mime && accepts(*mime));
    menu.exec(event->globalPos());
}

void PicturesDropBox::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(rect()).adjusted(4, 4, -4, -4);
    const QPalette& pal = palette();
    QColor fill = pal.color(QPalette::Base);
    if (m_dragInside)
        fill = pal.color(QPalette::Highlight).lighter(180);
    QPainterPath path;
    path.addRoundedRect(area, 10, 10);
    p.fillPath(path, fill);
    QPen pen(m_dragInside ? pal.color(QPalette::Highlight) : pal.color(QPalette::Mid), 2, Qt::DashLine);
    p.setPen(pen);
    p.drawPath(path);

    const int iconSize = 48;
    const QIcon icon = themeIcon(QStringLiteral("folder-pictures"));
    const QString text = LocalizedString(QStringLiteral("DropPicturesHere"));
    const QFontMetrics fm(font());
    const QRect textRect = fm.boundingRect(area.toRect().adjusted(12, 0, -12, 0), Qt::AlignCenter | Qt::TextWordWrap,
        text);
    const int total = iconSize + 8 + textRect.height();
    const int top = int(area.center().y()) - total / 2;
    icon.paint(&p, QRect(int(area.center().x()) - iconSize / 2, top, iconSize, iconSize));
    p.setPen(pal.color(QPalette::Text));
    p.drawText(QRect(int(area.left()) + 12, top + iconSize + 8, int(area.width()) - 24, textRect.height()),
        Qt::AlignCenter | Qt::TextWordWrap, text);
}
