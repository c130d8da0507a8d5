#include "editor/ui/InfoArea_Pictures.h"

#include "editor/PictureClipboard.h"
#include "editor/PicturesGrid.h"
#include "editor/PicturesMenuBuilder.h"
#include "editor/ui/EditorHooks.h"

#include "shell/DisplayMsg.h"
#include "shell/SystemFlags.h"
#include "shell/Utils.h"
#include "shell/ui/DOvurDocument.h"
#include "shell/ui/DocumentController.h"
#include "shell/ui/FamilyDiagramPane.h"
#include "shell/ui/ModelPopupMenu.h"
#include "shell/ui/ThemeIcon.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/FTPicture.h"
#include "model/FTSource.h"
#include "model/PicturePlist.h"
#include "model/UtilsPics.h"

#include "platform/FTLog.h"
#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"
#include "platform/Prompts.h"
#include "platform/UserDefaults.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDrag>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMimeData>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTextLayout>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

const QString kRowSpacingKey = QStringLiteral("picturesRowSpacing");
const QColor kSelectionColour(60, 160, 255);
// The scroll view moves this far a step, also while a drag scrolls it.
constexpr int kLineScroll = 5;
// Titles keep this far from the cell's sides.
constexpr double kTitlePadding = 2;
// A drag this close to the visible grid's top or bottom scrolls it.
constexpr double kAutoScrollMargin = 12;

const QString kHelpText = QStringLiteral(
    "Right Click to activate the popup menu for Add, Edit, Remove and Default\nYou may drag/drop or copy/paste "
    "images, documents, PDF and RTF files and other media such as sound and movie files into this pane.");

// The title wrapped within its box: as many whole lines as fit in `height` (one at least), the last one ending in
// an ellipsis when text remains.
void drawTitleText(QPainter& painter, const QString& title, const QRectF& box, double height)
{
    const double width = box.width() - 2 * kTitlePadding;
    QTextLayout layout(title, painter.font());
    QTextOption option(Qt::AlignHCenter);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QList<QTextLine> lines;
    double y = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        y += line.height();
        lines << line;
    }
    layout.endLayout();
    if (lines.isEmpty())
        return;
    const QPointF origin = box.topLeft() + QPointF(kTitlePadding, 0);
    const qsizetype fit = std::max<qsizetype>(1, qsizetype(height / lines.first().height()));
    if (lines.size() <= fit) {
        layout.draw(&painter, origin);
        return;
    }
    for (qsizetype i = 0; i < fit - 1; ++i)
        lines[i].draw(&painter, origin);
    const QTextLine& last = lines[fit - 1];
    const QString rest = title.mid(last.textStart()).simplified();
    const QString shown = QFontMetricsF(painter.font()).elidedText(rest, Qt::ElideRight, width);
    painter.drawText(QRectF(origin.x(), origin.y() + last.y(), width, last.height()), Qt::AlignHCenter | Qt::AlignTop,
        shown);
}

QString pathToOpen(const FTPicture* picture)
{
    // A link in the pictures folder stands for its target.
    return UtilsPics::resolveAliasedPath(picture->filename());
}
}

// The grid inside the scroll view: it paints and passes the mouse, keys and drags to the page.
class InfoArea_Pictures::View : public QWidget {
public:
    explicit View(InfoArea_Pictures* page)
        : m_page(page)
    {
        setObjectName(QStringLiteral("picturesView"));
        setFocusPolicy(Qt::StrongFocus);
        setAcceptDrops(true);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter painter(this);
        m_page->paint(painter, event->rect());
    }
    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() != Qt::LeftButton) {
            QWidget::mousePressEvent(event);
            return;
        }
        setFocus(Qt::MouseFocusReason);
        m_page->mousePressed(event->position(), event->button(), event->modifiers());
    }
    void mouseMoveEvent(QMouseEvent* event) override
    {
        if (event->buttons() & Qt::LeftButton)
            m_page->mouseDragged(event->position());
    }
    void mouseReleaseEvent(QMouseEvent*) override { m_page->m_pressPicture = nullptr; }
    void mouseDoubleClickEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton && !(event->modifiers() & Qt::ControlModifier))
            m_page->doubleClicked(event->position());
    }
    void contextMenuEvent(QContextMenuEvent* event) override
    {
        setFocus(Qt::PopupFocusReason);
        m_page->contextMenu(event->pos(), event->globalPos(), event->reason() == QContextMenuEvent::Mouse);
    }
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->matches(QKeySequence::Paste))
            m_page->paste();
        else if (!m_page->keyPressed(event->key(), event->modifiers()))
            QWidget::keyPressEvent(event);
    }
    void dragEnterEvent(QDragEnterEvent* event) override
    {
        if (m_page->draggingEntered(*event->mimeData())) {
            event->setDropAction(Qt::CopyAction);
            event->accept();
        } else {
            event->ignore();
        }
    }
    void dragMoveEvent(QDragMoveEvent* event) override
    {
        autoScroll(event->position());
        if (m_page->draggingUpdated(*event->mimeData(), event->position())) {
            event->setDropAction(Qt::CopyAction);
            event->accept();
        } else {
            event->ignore();
        }
    }
    void dragLeaveEvent(QDragLeaveEvent*) override { m_page->draggingExited(); }
    void dropEvent(QDropEvent* event) override
    {
        m_page->performDragOperation(*event->mimeData(), event->position());
        event->setDropAction(Qt::CopyAction);
        event->accept();
    }

private:
    void autoScroll(const QPointF& point)
    {
        QScrollBar* bar = m_page->m_scroll->verticalScrollBar();
        const QRect visible = visibleRegion().boundingRect();
        if (point.y() < visible.top() + kAutoScrollMargin)
            bar->setValue(bar->value() - bar->singleStep());
        else if (point.y() > visible.bottom() - kAutoScrollMargin)
            bar->setValue(bar->value() + bar->singleStep());
    }

    InfoArea_Pictures* m_page;
};

InfoArea_Pictures::InfoArea_Pictures(QWidget* parent)
    : EditorPage(parent)
{
    m_view = new View(this);
    m_scroll = new QScrollArea;
    m_scroll->setObjectName(QStringLiteral("picturesScrollView"));
    m_scroll->setWidgetResizable(false);
    m_scroll->setFrameShape(QFrame::NoFrame);
    // The page is always taller than the scroll view, so the bar always shows and the width never jumps.
    m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setWidget(m_view);
    m_scroll->verticalScrollBar()->setSingleStep(kLineScroll);
    m_scroll->viewport()->installEventFilter(this);

    m_info = new QLabel(QStringLiteral(" "));
    m_info->setObjectName(QStringLiteral("pictureInfoTextField"));
    m_info->setTextFormat(Qt::PlainText);
    m_info->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_info->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    m_info->setFixedHeight(2 * m_info->fontMetrics().lineSpacing() + 4);
    m_info->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto button = [this](const char* name, const char* key, const char* icon, std::function<void()> run) {
        auto* b = new QPushButton(themeIcon(QString::fromLatin1(icon)), L(key));
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, std::move(run));
        m_controls << b;
        return b;
    };
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addWidget(button("pictureAdd", "PicturesAddButton", "list-add", [this] { pictureAdd(); }));
    buttons->addWidget(
        button("pictureEdit", "PicturesEditButton", "document-properties", [this] { pictureEdit(nullptr); }));
    buttons->addWidget(
        button("pictureRemove", "PicturesRemoveButton", "list-remove", [this] { pictureRemove(nullptr); }));
    buttons->addWidget(button(
        "pictureMakeDefault", "PicturesMakeDefaultButton", "starred", [this] { pictureMakeDefault(nullptr); }));
    buttons->addWidget(
        button("addPlaceHolder", "PicturesPlaceholderButton", "image-x-generic", [this] { addPlaceHolder(); }));
    buttons->addStretch();
    auto* spacingLabel = new QLabel(L("PicturesRowSpacing"));
    m_rowSpacing = new QSpinBox;
    m_rowSpacing->setObjectName(kRowSpacingKey);
    m_rowSpacing->setRange(0, PicturesGrid::kMaxRowSpacing);
    m_rowSpacing->setValue(int(UserDefaults::standard().integerForKey(kRowSpacingKey)));
    spacingLabel->setBuddy(m_rowSpacing);
    connect(m_rowSpacing, &QSpinBox::valueChanged, this, [this](int value) { setRowSpacing(value); });
    buttons->addWidget(spacingLabel);
    buttons->addWidget(m_rowSpacing);
    buttons->addSpacing(12);
    m_transcribe = button(
        "transcribeButton", "PicturesTranscribeButton", "accessories-text-editor", [this] { pictureTranscribe(nullptr); });
    buttons->addWidget(m_transcribe);

    auto* bottom = new QVBoxLayout;
    bottom->setContentsMargins(0, 4, 0, 0);
    bottom->setSpacing(4);
    bottom->addWidget(m_info);
    bottom->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_scroll, 1);
    layout->addLayout(bottom);
    for (QWidget* w : std::as_const(m_controls))
        w->setEnabled(false);
    listChanged();
}

InfoArea_Pictures::~InfoArea_Pictures()
{
    // The scroll view outlives the page's own members while the page's children are deleted.
    m_scroll->viewport()->removeEventFilter(this);
    FTLog(QStringLiteral("dealloc InfoArea_Pictures"));
}

QWidget* InfoArea_Pictures::view() const
{
    return m_view;
}

FTMoc* InfoArea_Pictures::moc() const
{
    return m_list.person() ? m_list.person()->moc() : nullptr;
}

// ---- The page protocol -----------------------------------------------------------------------------------------

void InfoArea_Pictures::setSelectedPerson(FTPerson* person)
{
    if (person == m_list.person())
        return;
    m_scroll->verticalScrollBar()->setValue(0);
    m_scroll->horizontalScrollBar()->setValue(0);
    m_thumbnails.clear();
    m_list.setPerson(person);
    m_refreshArray = false;
    for (QWidget* w : std::as_const(m_controls))
        w->setEnabled(person != nullptr);
    listChanged();
}

void InfoArea_Pictures::refreshDisplay()
{
    const int spacing = int(UserDefaults::standard().integerForKey(kRowSpacingKey));
    if (m_rowSpacing->value() != spacing)
        m_rowSpacing->setValue(spacing);
    setRefreshArray(true);
}

void InfoArea_Pictures::setRefreshArray(bool refresh)
{
    m_refreshArray = refresh;
    if (!refresh)
        return;
    // Reloaded after what is queued now has run: a command that posts while it reorders finishes first.
    if (!m_reloadQueued) {
        m_reloadQueued = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_reloadQueued = false;
                reloadIfNeeded();
            },
            Qt::QueuedConnection);
    }
    m_view->update();
}

void InfoArea_Pictures::reloadIfNeeded()
{
    if (!m_refreshArray)
        return;
    m_refreshArray = false;
    m_thumbnails.clear();
    m_list.reload();
    listChanged();
}

void InfoArea_Pictures::freeMemory()
{
    setSelectedPerson(nullptr);
}

void InfoArea_Pictures::personToBeDeleted(const Notification& n)
{
    if (n.object && n.object == m_list.person())
        setSelectedPerson(nullptr);
}

void InfoArea_Pictures::prepareForPrinting()
{
    m_scroll->verticalScrollBar()->setValue(0);
    m_scroll->horizontalScrollBar()->setValue(0);
}

bool InfoArea_Pictures::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_scroll->viewport() && event->type() == QEvent::Resize)
        layoutPictures();
    return EditorPage::eventFilter(watched, event);
}

// ---- Layout and selection --------------------------------------------------------------------------------------

void InfoArea_Pictures::listChanged()
{
    layoutPictures();
    // What the intake said stays until a picture is selected.
    if (!m_infoIsMessage || m_list.selected())
        displaySelectedPictureInfo();
    m_view->update();
}

void InfoArea_Pictures::showMessage(const QString& text)
{
    m_info->setText(text);
    m_infoIsMessage = true;
}

void InfoArea_Pictures::layoutPictures()
{
    const QSize content = m_scroll->viewport()->size();
    m_rowHeight = PicturesGrid::rowHeight();
    m_cells = PicturesGrid::cells(m_list.count(), content.width(), m_rowHeight);
    const double height = PicturesGrid::viewHeight(m_list.count(), content.width(), content.height(), m_rowHeight);
    m_view->resize(content.width(), int(std::ceil(height)));
}

void InfoArea_Pictures::setRowSpacing(int spacing)
{
    UserDefaults::standard().setInteger(kRowSpacingKey, spacing);
    listChanged();
}

QImage InfoArea_Pictures::thumbnailAt(int index)
{
    FTPicture* picture = m_list.pictures().value(index);
    if (!picture || picture->isDeleted())
        return {};
    auto it = m_thumbnails.find(picture);
    if (it == m_thumbnails.end())
        it = m_thumbnails.insert(picture, picture->thumbnailImage());
    return it.value();
}

QRectF InfoArea_Pictures::drawingRectAt(int index)
{
    if (index < 0 || index >= m_cells.size() || index >= m_list.count())
        return {};
    const QRectF rect = PicturesGrid::drawingRect(m_cells[index], thumbnailAt(index).size());
    m_list.pictures()[index]->setDrawingRect(rect);
    return rect;
}

FTPicture* InfoArea_Pictures::pictureAt(const QPointF& point)
{
    const int index = PicturesGrid::pictureAt(m_cells, point, [this](int i) { return drawingRectAt(i); });
    return m_list.pictures().value(index);
}

void InfoArea_Pictures::setSelectedPicture(FTPicture* picture)
{
    m_list.select(picture);
    displaySelectedPictureInfo();
    m_view->update();
}

void InfoArea_Pictures::displaySelectedPictureInfo()
{
    FTPicture* selected = m_list.selected();
    m_info->setText(PersonPictures::description(selected));
    m_infoIsMessage = false;
    // Without a selection the button keeps its state: pressing it asks for a picture.
    if (selected)
        m_transcribe->setEnabled(PersonPictures::canTranscribeFromButton(selected));
}

FTPicture* InfoArea_Pictures::selectedOrAsk(const QString& message) const
{
    if (FTPicture* selected = m_list.selected())
        return selected;
    DisplayMsg(message);
    return nullptr;
}

// ---- Drawing ---------------------------------------------------------------------------------------------------

void InfoArea_Pictures::paint(QPainter& painter, const QRectF& dirty)
{
    painter.fillRect(dirty, Qt::white);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QList<FTPicture*>& pictures = m_list.pictures();
    const int n = int(std::min(pictures.size(), m_cells.size()));
    if (gPrinting) {
        drawThePicturesForPrinting(painter, dirty);
        gPrinting = false;
    } else {
        for (int i = 0; i < n; ++i)
            if (!pictures[i]->isDeleted() && m_cells[i].intersects(dirty))
                drawPicture(painter, i, drawingRectAt(i));
        // Titles after every thumbnail: a long one may reach into the row below.
        for (int i = 0; i < n; ++i)
            if (!pictures[i]->isDeleted() && m_cells[i].adjusted(0, 0, 0, m_rowHeight).intersects(dirty))
                drawTitle(painter, pictures[i], drawingRectAt(i), dirty);
        const int selected = m_list.selectedIndex();
        if (selected >= 0 && selected < n) {
            const QRectF frame = PicturesGrid::selectionRect(drawingRectAt(selected), thumbnailAt(selected).size());
            painter.setPen(QPen(kSelectionColour, 2));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(frame.adjusted(1, 1, -1, -1));
        }
        if (m_bDraggingInfoAreaPicture && !m_rclDrop.isEmpty()) {
            painter.setPen(QPen(Qt::blue, 1));
            painter.drawRect(m_rclDrop);
            const QRectF rowEnd = PicturesGrid::rowEndMarker(m_rclDrop, m_view->width(), m_rowHeight);
            if (!rowEnd.isEmpty()) {
                painter.setPen(QPen(Qt::blue, 10));
                painter.drawRect(rowEnd);
            }
        }
    }
    if (pictures.isEmpty() && m_list.person()) {
        painter.setPen(Qt::black);
        painter.setFont(m_view->font());
        painter.drawText(QRectF(5, 5, m_view->width() - 10, m_view->height() - 10),
            Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, kHelpText);
    }
    if (FTMoc* m = moc(); m && m->hasChanges())
        m->deferredSave();
}

void InfoArea_Pictures::drawPicture(QPainter& painter, int index, const QRectF& drawingRect)
{
    const QImage thumbnail = thumbnailAt(index);
    // Sounds, movies, documents and unreadable images have no thumbnail: their icon shows what the cell holds.
    if (!thumbnail.isNull())
        painter.drawImage(drawingRect, thumbnail);
    else
        themeIcon(PersonPictures::iconNameFor(m_list.pictures()[index])).paint(&painter, drawingRect.toAlignedRect());
    if (PersonPictures::isFramed(m_list.pictures()[index])) {
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(drawingRect.adjusted(0.5, 0.5, -0.5, -0.5));
    }
}

void InfoArea_Pictures::drawTitle(
    QPainter& painter, const FTPicture* picture, const QRectF& drawingRect, const QRectF& dirty)
{
    const QString title = picture->name();
    const QRectF box = PicturesGrid::titleRect(drawingRect);
    if (title.isEmpty() || !box.intersects(dirty))
        return;
    // Down to where the thumbnails of the next row begin.
    const double cellTop = drawingRect.center().y() - 60;
    const double height = cellTop + m_rowHeight + 10 - box.top();
    painter.setPen(Qt::black);
    painter.setFont(m_view->font());
    drawTitleText(painter, title, box, height);
}

void InfoArea_Pictures::drawThePicturesForPrinting(QPainter& painter, const QRectF& rect)
{
    painter.fillRect(rect, Qt::white);
    const QList<FTPicture*>& pictures = m_list.pictures();
    for (const PicturesGrid::PrintedCell& printed : PicturesGrid::printedCells(m_list.count(), rect, m_rowHeight)) {
        if (pictures[printed.index]->isDeleted())
            continue;
        const QRectF drawn = PicturesGrid::drawingRect(printed.cell, thumbnailAt(printed.index).size());
        drawPicture(painter, printed.index, drawn);
        drawTitle(painter, pictures[printed.index], drawn, rect);
    }
}

// ---- Mouse, keys and the menu ----------------------------------------------------------------------------------

void InfoArea_Pictures::mousePressed(const QPointF& point, Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
    reloadIfNeeded();
    m_pressPicture = nullptr;
    if (button != Qt::LeftButton)
        return;
    FTPicture* picture = pictureAt(point);
    setSelectedPicture(picture);
    if (modifiers & Qt::ControlModifier) {
        if (picture)
            pictureEdit(picture);
        return;
    }
    m_pressPoint = point;
    m_pressPicture = picture;
}

void InfoArea_Pictures::mouseDragged(const QPointF& point)
{
    FTPicture* picture = m_pressPicture;
    if (!picture || (point - m_pressPoint).manhattanLength() < QApplication::startDragDistance())
        return;
    m_pressPicture = nullptr;
    const int index = m_list.indexOf(picture);
    if (index < 0)
        return;
    const QRectF drawn = drawingRectAt(index);
    auto* mime = new QMimeData;
    PicturePlist::writeDraggedPicture(*mime, *picture);
    QPixmap image(drawn.size().toSize());
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.setOpacity(0.8);
        if (const QImage thumbnail = thumbnailAt(index); !thumbnail.isNull())
            p.drawImage(QRectF(image.rect()), thumbnail);
        p.setOpacity(1);
        p.setPen(QPen(Qt::black, 1));
        p.drawRect(QRectF(image.rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    }
    auto* drag = new QDrag(m_view);
    drag->setMimeData(mime);
    drag->setPixmap(image);
    m_hotSpot = m_pressPoint - drawn.topLeft();
    drag->setHotSpot(m_hotSpot.toPoint());
    m_dragged = picture;
    if (m_dragRunner)
        m_dragRunner(*drag);
    else
        drag->exec(Qt::CopyAction);
    m_dragged = nullptr;
    m_bDraggingInfoAreaPicture = false;
    setDropMarker({});
}

void InfoArea_Pictures::doubleClicked(const QPointF& point)
{
    reloadIfNeeded();
    if (FTPicture* picture = pictureAt(point))
        openPicture(picture);
}

void InfoArea_Pictures::contextMenu(const QPointF& point, const QPoint& globalPos, bool fromMouse)
{
    reloadIfNeeded();
    FTPicture* picture = m_list.selected();
    if (fromMouse) {
        picture = pictureAt(point);
        setSelectedPicture(picture);
    }
    if (auto chosen = ModelPopupMenu<PicturesMenuItem>::exec(
            menuFor(picture), globalPos, m_view, QStringLiteral("PicturesPopupMenu")))
        perform(*chosen);
}

bool InfoArea_Pictures::keyPressed(int key, Qt::KeyboardModifiers)
{
    reloadIfNeeded();
    FTPicture* selected = m_list.selected();
    using Move = PicturesGrid::Move;
    std::optional<Move> move;
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (selected)
            pictureEdit(selected);
        return true;
    case Qt::Key_Delete:
        if (selected)
            pictureRemove(selected);
        return true;
    case Qt::Key_Left:
        move = Move::Left;
        break;
    case Qt::Key_Right:
        move = Move::Right;
        break;
    case Qt::Key_Up:
        move = Move::Up;
        break;
    case Qt::Key_Down:
        move = Move::Down;
        break;
    default:
        return false;
    }
    const int to = PicturesGrid::moved(
        m_cells, m_list.selectedIndex(), *move, m_rowHeight, [this](int i) { return drawingRectAt(i); });
    if (to >= 0) {
        setSelectedPicture(m_list.pictures()[to]);
        const QPointF centre = drawingRectAt(to).center();
        m_scroll->ensureVisible(int(centre.x()), int(centre.y()), 60, 60 + int(m_rowHeight) - 120);
    }
    return true;
}

PicturesMenu InfoArea_Pictures::menuFor(FTPicture* picture) const
{
    if (!m_list.person())
        return {};
    if (picture)
        return PicturesMenuBuilder::pictureMenu(picture, m_list.pictures(), m_list.person());
    int offered = 0;
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    if (const auto& count = EditorHooks::shared().imagesInPasteboard; count && mime)
        offered = count(*mime, moc());
    return PicturesMenuBuilder::emptySpaceMenu(m_list.count(), offered);
}

void InfoArea_Pictures::perform(const PicturesMenuItem& item)
{
    using A = PicturesMenuItem::Action;
    FTPicture* picture = item.picture;
    // Each command of a picture acts only on the picture its item carries.
    const bool needsPicture = item.action != A::PictureAdd && item.action != A::Paste && item.action != A::SortByDate
        && item.action != A::SortByTitle && item.action != A::RemoveDuplicates;
    if (needsPicture && !picture)
        return;
    switch (item.action) {
    case A::None:
    case A::DoNothing:
        break;
    case A::OpenPictureWith:
        openPictureWith(picture, item.application);
        break;
    case A::PictureEdit:
        pictureEdit(picture);
        break;
    case A::PictureRemove:
        pictureRemove(picture);
        break;
    case A::PictureMakeDefault:
        pictureMakeDefault(picture);
        break;
    case A::PictureTranscribe:
        pictureTranscribe(picture);
        break;
    case A::AttachPictureToActiveSource:
        attachPictureToActiveSource(picture);
        break;
    case A::CopyOriginalImage:
        copyOriginalImage(picture);
        break;
    case A::CopyThumbNailImage:
        copyThumbNailImage(picture);
        break;
    case A::SelectPersonOrPictureEdit:
        selectPersonOrPictureEdit(picture);
        break;
    case A::PictureAdd:
        pictureAdd();
        break;
    case A::Paste:
        paste();
        break;
    case A::SortByDate:
        sortByDate();
        break;
    case A::SortByTitle:
        sortByTitle();
        break;
    case A::RemoveDuplicates:
        removeDuplicates();
        break;
    }
}

// ---- Commands --------------------------------------------------------------------------------------------------

void InfoArea_Pictures::pictureAdd()
{
    reloadIfNeeded();
    FTPerson* person = m_list.person();
    if (!person)
        return;
    QPointer<InfoArea_Pictures> self(this);
    EditorHooks::run(EditorHooks::shared().pictureEditor, "PictureEditorWindow", window(),
        static_cast<FTManagedObject*>(person), static_cast<FTPicture*>(nullptr),
        [self, person](FTPicture* added, bool changed) {
            if (!self || self->m_list.person() != person)
                return;
            if (added && !added->isDeleted() && added->owner() == person)
                self->m_list.append({added});
            if (changed || added)
                self->listChanged();
        });
}

void InfoArea_Pictures::pictureEdit(FTPicture* picture)
{
    if (!picture)
        picture = selectedOrAsk(QStringLiteral("Please select a picture and try again"));
    if (!picture)
        return;
    FTManagedObject* owner = picture->owner();
    if (!owner)
        owner = picture->source();
    QPointer<InfoArea_Pictures> self(this);
    EditorHooks::run(EditorHooks::shared().pictureEditor, "PictureEditorWindow", window(), owner, picture,
        [self](FTPicture* edited, bool changed) {
            if (!self || !changed)
                return;
            // Its crop, and with it the thumbnail, may have changed.
            self->m_thumbnails.remove(edited);
            self->listChanged();
        });
}

void InfoArea_Pictures::pictureRemove(FTPicture* picture)
{
    if (!picture)
        picture = selectedOrAsk(QStringLiteral("Please select a picture and try again"));
    if (!picture)
        return;
    m_thumbnails.remove(picture);
    m_list.remove(picture);
    listChanged();
}

void InfoArea_Pictures::pictureMakeDefault(FTPicture* picture)
{
    if (!picture)
        picture = selectedOrAsk(QStringLiteral("Please select a picture and try again"));
    if (picture && m_list.makeDefault(picture))
        listChanged();
}

void InfoArea_Pictures::pictureTranscribe(FTPicture* picture)
{
    if (!picture)
        picture = selectedOrAsk(QStringLiteral("Please select a document/picture and try again."));
    if (!picture)
        return;
    QPointer<InfoArea_Pictures> self(this);
    EditorHooks::run(EditorHooks::shared().transcription, "TranscriptionWindow", window(), picture,
        static_cast<FTManagedObject*>(m_list.person()), [self] {
            if (self)
                self->listChanged();
        });
}

void InfoArea_Pictures::addPlaceHolder()
{
    reloadIfNeeded();
    if (m_list.addPlaceholder())
        listChanged();
}

void InfoArea_Pictures::sortByDate()
{
    reloadIfNeeded();
    m_list.sortByDate();
    refreshDisplay();
}

void InfoArea_Pictures::sortByTitle()
{
    reloadIfNeeded();
    m_list.sortByTitle();
    refreshDisplay();
}

void InfoArea_Pictures::removeDuplicates()
{
    reloadIfNeeded();
    m_list.removeDuplicates();
    refreshDisplay();
}

void InfoArea_Pictures::attachPictureToActiveSource(FTPicture* picture)
{
    FTMoc* m = picture ? picture->moc() : nullptr;
    if (!m)
        return;
    if (FTSource* source = m->activeSource()) {
        picture->addReferenceToSource(source);
        return;
    }
    if (Utils::askToActivateSource())
        EditorHooks::run(EditorHooks::shared().sourcesEditor, "Sources", window());
}

void InfoArea_Pictures::openPictureWith(FTPicture* picture, const QString& application)
{
    if (!picture || picture->filename().isEmpty())
        return;
    const QString path = pathToOpen(picture);
    if (!QFileInfo::exists(path)) {
        DisplayMsg(QStringLiteral("Unable to find the original file: %1").arg(picture->filename()));
        return;
    }
    Utils::displayFile(path, application);
}

void InfoArea_Pictures::openPicture(FTPicture* picture)
{
    if (!picture || picture->filename().isEmpty())
        return;
    const QString path = pathToOpen(picture);
    if (!QFileInfo::exists(path)) {
        DisplayMsg(QStringLiteral("Unable to find the file: %1").arg(picture->filename()));
        return;
    }
    Utils::displayFile(path, QString());
}

void InfoArea_Pictures::selectPersonOrPictureEdit(FTPicture* picture)
{
    FTPerson* owner = picture ? picture->owner() : nullptr;
    FTMoc* m = owner ? owner->moc() : nullptr;
    if (!m) {
        Utils::glassSound();
        return;
    }
    FTPerson* focal = m->focalPerson();
    FTPerson* shown = m_list.person();
    if (owner == focal && owner == shown) {
        pictureEdit(picture);
        return;
    }
    FamilyDiagramPane* pcd = nullptr;
    for (DOvurDocument* doc : DocumentController::shared().documents())
        if (doc->moc() == m)
            pcd = doc->pcd();
    if (!pcd) {
        Utils::glassSound();
        return;
    }
    const QString name = owner->nameWithBirthAndDeathYears();
    QStringList buttons {QStringLiteral("Picture Editor")};
    QString text;
    enum class Second { None, Select, Focus } second = Second::None;
    if (pcd->findPerson(owner) && owner != shown) {
        buttons << QStringLiteral("Make Selected Person");
        text = QStringLiteral("Do you want to make %1 the Selected Person in the diagram or to invoke the Picture "
                              "Editor for his/her link to this picture?")
                   .arg(name);
        second = Second::Select;
    } else if (owner != focal) {
        buttons << QStringLiteral("Make Focal Person");
        text = QStringLiteral("Do you want to make %1 the Focal Person in the diagram or to invoke the Picture Editor "
                              "for his/her link to this picture?")
                   .arg(name);
        second = Second::Focus;
    }
    buttons << L("Cancel");
    const int answer = Prompts::current().chooseWithTitle(name, text, QString(), buttons);
    if (answer == 0)
        pictureEdit(picture);
    else if (answer == 1 && second == Second::Select)
        m->setSelectedPerson(owner);
    else if (answer == 1 && second == Second::Focus)
        m->setFocalPerson(owner);
}

void InfoArea_Pictures::copyOriginalImage(FTPicture* picture)
{
    if (auto data = PictureClipboard::originalImage(picture))
        QGuiApplication::clipboard()->setMimeData(data.release());
}

void InfoArea_Pictures::copyThumbNailImage(FTPicture* picture)
{
    if (auto data = PictureClipboard::thumbnailImage(picture))
        QGuiApplication::clipboard()->setMimeData(data.release());
}

void InfoArea_Pictures::paste()
{
    reloadIfNeeded();
    FTPerson* person = m_list.person();
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    const auto& intake = EditorHooks::shared().addPicturesFromPasteboard;
    std::optional<QList<FTPicture*>> added;
    if (person && mime && intake)
        added = intake(*mime, person, [this](const QString& text) { showMessage(text); });
    if (!added || added->isEmpty()) {
        DisplayMsg(QStringLiteral("No images found in clipboard."));
        return;
    }
    m_list.append(*added);
    listChanged();
    if (m_list.count() == 1)
        NotificationCenter::defaultCenter().post(QStringLiteral("DefaultPictureChanged"), person, person->moc());
}

// ---- Drag and drop ---------------------------------------------------------------------------------------------

bool InfoArea_Pictures::isOwnDrag(const QMimeData& mime) const
{
    return m_dragged && PicturePlist::draggedPicture(mime, moc()) == m_dragged;
}

bool InfoArea_Pictures::draggingEntered(const QMimeData& mime)
{
    reloadIfNeeded();
    m_gDragOp = 0;
    if (PicturePlist::isDraggedPicture(mime)) {
        // A picture dragged from this page moves within it; one from anywhere else is not taken here.
        if (isOwnDrag(mime)) {
            m_gDragOp = 1;
            m_bDraggingInfoAreaPicture = true;
        }
    } else if (const auto& count = EditorHooks::shared().imagesInPasteboard; count && m_list.person()) {
        m_gDragOp = count(mime, moc()) > 0 ? 1 : 0;
    }
    if (m_gDragOp == 1)
        m_scroll->verticalScrollBar()->setSingleStep(kLineScroll);
    return m_gDragOp == 1;
}

bool InfoArea_Pictures::draggingUpdated(const QMimeData& mime, const QPointF& point)
{
    if (!isOwnDrag(mime))
        return m_gDragOp == 1;
    m_bDraggingInfoAreaPicture = true;
    return setDropIndication(point);
}

void InfoArea_Pictures::draggingExited()
{
    m_gDragOp = 0;
    m_bDraggingInfoAreaPicture = false;
    setDropMarker({});
}

void InfoArea_Pictures::performDragOperation(const QMimeData& mime, const QPointF& point)
{
    if (QWidget* w = window())
        w->activateWindow();
    const bool own = isOwnDrag(mime);
    m_bDraggingInfoAreaPicture = false;
    setDropMarker({});
    if (own) {
        resetPictureSequence(point);
    } else if (FTPerson* person = m_list.person()) {
        if (const auto& intake = EditorHooks::shared().addPicturesFromPasteboard)
            intake(mime, person, [this](const QString& text) { showMessage(text); });
    }
    m_gDragOp = 0;
    if (!own)
        refreshDisplay();
    m_view->update();
}

QPointF InfoArea_Pictures::dragProbe(const QPointF& point)
{
    // The centre of the dragged image, which the pointer holds at the hot spot.
    const QRectF drawn = drawingRectAt(m_list.indexOf(m_dragged));
    return point - m_hotSpot + QPointF(drawn.width() * 0.5, drawn.height() * 0.5);
}

bool InfoArea_Pictures::setDropIndication(const QPointF& point)
{
    const int dragged = m_list.indexOf(m_dragged);
    if (m_list.count() < 2 || dragged < 0) {
        setDropMarker({});
        return false;
    }
    PicturesGrid::Marker marker;
    PicturesGrid::insertionIndex(m_cells, dragProbe(point), m_rowHeight, m_view->width(), &marker, dragged);
    setDropMarker(PicturesGrid::dropMarker(marker));
    return marker.x != -1;
}

void InfoArea_Pictures::resetPictureSequence(const QPointF& point)
{
    const int from = m_list.indexOf(m_dragged);
    if (from < 0)
        return;
    const QPointF probe = dragProbe(point);
    if (PicturesGrid::holds(drawingRectAt(from), probe))
        return;
    const int to = PicturesGrid::insertionIndex(m_cells, probe, m_rowHeight, m_view->width());
    m_list.reorder(m_dragged, to);
    listChanged();
}

void InfoArea_Pictures::setDropMarker(const QRectF& marker)
{
    if (marker == m_rclDrop)
        return;
    // The row-end mark is drawn 10 wide about its rectangle.
    for (const QRectF& old : {m_rclDrop, marker}) {
        if (old.isEmpty())
            continue;
        m_view->update(old.adjusted(-2, -2, 2, 2).toAlignedRect());
        const QRectF rowEnd = PicturesGrid::rowEndMarker(old, m_view->width(), m_rowHeight);
        if (!rowEnd.isEmpty())
            m_view->update(rowEnd.adjusted(-6, -6, 6, 6).toAlignedRect());
    }
    m_rclDrop = marker;
}
