#include "pictures/ui/TranscriptionController.h"

#include "pictures/ui/DocumentImage.h"
#include "pictures/ui/PictureWindowParts.h"

#include "pictures/TranscriptionLinks.h"

#include "shell/DisplayMsg.h"
#include "shell/Utils.h"
#include "shell/ui/ElidedLabel.h"

#include "model/FTMoc.h"
#include "model/FTPicture.h"

#include "platform/Localizer.h"
#include "platform/UserDefaults.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QCheckBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QSplitter>
#include <QTextEdit>
#include <QVBoxLayout>

#include <cmath>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

const QString kSplitVertically = QStringLiteral("transcriptionSplitVertically");
// The slider's range, in per cent of the picture's size.
constexpr int kMinPercent = 1;
constexpr int kMaxPercent = 400;
constexpr QSize kFirstContentSize(850, 600);

QSize s_contentSize = kFirstContentSize;
}

QSize TranscriptionController::rememberedContentSize()
{
    return s_contentSize;
}

void TranscriptionController::setRememberedContentSize(const QSize& size)
{
    s_contentSize = size.isValid() ? size : kFirstContentSize;
}

TranscriptionController::TranscriptionController(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TranscriptionController"));
    preparePictureWindow(this, L("TranscriptionTitle"));
    buildWindow();
    resize(s_contentSize);
}

TranscriptionController::~TranscriptionController() = default;

TranscriptionController* TranscriptionController::beginSheet(
    QWidget* window, FTPicture* picture, FTManagedObject* owner, std::function<void()> didEnd)
{
    auto* controller = new TranscriptionController(window);
    controller->setPicture(picture);
    controller->setOwner(owner);
    controller->setWindowModality(window ? Qt::WindowModal : Qt::ApplicationModal);
    connect(controller, &QDialog::finished, controller, [controller, didEnd] {
        if (didEnd)
            didEnd();
        controller->deleteLater();
    });
    controller->open();
    return controller;
}

// ---- The window ------------------------------------------------------------------------------------------------

void TranscriptionController::buildWindow()
{
    auto* layout = new QVBoxLayout(this);

    auto* names = new QHBoxLayout;
    auto* titleLabel = new QLabel(L("PictureTitleLabel"));
    m_title = new QLineEdit;
    m_title->setObjectName(QStringLiteral("title"));
    m_title->setReadOnly(true);
    auto* fileLabel = new QLabel(L("TranscriptionFileLabel"));
    // A long path is shortened in the middle, keeping the file's name in sight.
    m_fileName = new ElidedLabel(Qt::ElideMiddle);
    m_fileName->setObjectName(QStringLiteral("fileName"));
    m_fileName->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_fileName->setMinimumWidth(80);
    m_loadError = new QLabel;
    m_loadError->setObjectName(QStringLiteral("loadError"));
    m_loadError->setStyleSheet(QStringLiteral("color: #b00000;"));
    m_loadError->setWordWrap(true);
    m_loadError->hide();
    names->addWidget(titleLabel);
    names->addWidget(m_title, 2);
    names->addSpacing(12);
    names->addWidget(fileLabel);
    names->addWidget(m_fileName, 3);
    layout->addLayout(names);
    layout->addWidget(m_loadError);

    m_splitView = new QSplitter;
    m_splitView->setObjectName(QStringLiteral("splitView"));
    m_splitView->setChildrenCollapsible(false);
    m_scroll = new QScrollArea;
    m_scroll->setObjectName(QStringLiteral("pictureScrollView"));
    m_scroll->setMinimumSize(160, 120);
    m_documentImage = new DocumentImage(m_scroll);
    m_splitView->addWidget(m_scroll);

    m_transcription = new QTextEdit;
    m_transcription->setObjectName(QStringLiteral("transcription"));
    m_transcription->setAcceptRichText(true);
    m_transcription->setMinimumSize(160, 120);
    // The text is written black (links blue): on a paper-white page whatever the desktop's colours.
    QPalette page = m_transcription->palette();
    page.setColor(QPalette::Base, Qt::white);
    page.setColor(QPalette::Text, Qt::black);
    m_transcription->setPalette(page);
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    // Somewhat larger than the window's own text: the eye goes between the picture and what is typed from it.
    font.setPointSize(12);
    m_transcription->setFont(font);
    m_transcription->viewport()->installEventFilter(this);
    m_splitView->addWidget(m_transcription);
    m_splitView->setStretchFactor(0, 1);
    m_splitView->setStretchFactor(1, 1);
    m_splitView->setOrientation(
        UserDefaults::standard().boolForKey(kSplitVertically) ? Qt::Horizontal : Qt::Vertical);
    layout->addWidget(m_splitView, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel(L("TranscriptionScale")));
    m_scaleSlider = new QSlider(Qt::Horizontal);
    m_scaleSlider->setObjectName(QStringLiteral("scaleSlider"));
    m_scaleSlider->setRange(kMinPercent, kMaxPercent);
    m_scaleSlider->setFixedWidth(160);
    connect(m_scaleSlider, &QSlider::valueChanged, this, [this](int percent) { changeScale(percent / 100.0); });
    bottom->addWidget(m_scaleSlider);
    m_scaleLabel = new QLabel;
    m_scaleLabel->setObjectName(QStringLiteral("scaleLabel"));
    m_scaleLabel->setMinimumWidth(QFontMetrics(m_scaleLabel->font()).horizontalAdvance(QStringLiteral("400 %")) + 4);
    bottom->addWidget(m_scaleLabel);
    bottom->addSpacing(12);
    m_sideBySide = new QCheckBox(L("TranscriptionSideBySide"));
    m_sideBySide->setObjectName(QStringLiteral("sideBySide"));
    m_sideBySide->setChecked(UserDefaults::standard().boolForKey(kSplitVertically));
    connect(m_sideBySide, &QCheckBox::toggled, this, [this](bool on) {
        UserDefaults::standard().setBool(kSplitVertically, on);
        changeSplitOrientation();
    });
    bottom->addWidget(m_sideBySide);
    bottom->addStretch();
    auto* create = pictureWindowButton("CreateLink", "insert-link", "createLink");
    connect(create, &QPushButton::clicked, this, [this] { createLink(); });
    auto* remove = pictureWindowButton("RemoveLink", "edit-clear", "removeLink");
    connect(remove, &QPushButton::clicked, this, [this] { removeLink(); });
    auto* close = pictureWindowButton("Close", "window-close", "close");
    connect(close, &QPushButton::clicked, this, [this] { closeTranscription(); });
    bottom->addWidget(create);
    bottom->addWidget(remove);
    bottom->addSpacing(12);
    bottom->addWidget(close);
    layout->addLayout(bottom);
}

void TranscriptionController::setPicture(FTPicture* picture)
{
    m_picture = picture;
    m_title->setText(picture ? picture->name() : QString());
    m_fileName->setText(picture ? picture->filename() : QString());
    m_fileName->setToolTip(m_fileName->text());
    m_documentImage->setPicture(picture);
    m_loadError->setText(m_documentImage->loadError());
    m_loadError->setVisible(!m_documentImage->loadError().isEmpty());
    m_scale = 1.0;
    m_documentImage->setScale(m_scale);
    if (isVisible())
        fillWidth();
    else
        m_fillPending = true;
    showScale();
    loadTranscription();
}

void TranscriptionController::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_fillPending)
        return;
    m_fillPending = false;
    // The panes share the window, and the picture fills its pane's width, once the window is laid out.
    if (QLayout* l = layout())
        l->activate();
    shareSplitView();
    fillWidth();
}

void TranscriptionController::shareSplitView()
{
    const int whole = m_splitView->orientation() == Qt::Horizontal ? m_splitView->width() : m_splitView->height();
    m_splitView->setSizes({ whole / 2, whole - whole / 2 });
}

void TranscriptionController::fillWidth()
{
    const QSize image = m_documentImage->image().size();
    if (image.width() > 1) {
        // The width without scroll bars; less the vertical one when the picture is then too high for its pane.
        const QSize pane = m_scroll->maximumViewportSize();
        m_scale = double(pane.width()) / image.width();
        if (m_scale * image.height() > pane.height())
            m_scale = double(pane.width() - m_scroll->verticalScrollBar()->sizeHint().width()) / image.width();
        m_documentImage->setScale(m_scale);
    }
    showScale();
}

void TranscriptionController::showScale()
{
    const QSignalBlocker blocker(m_scaleSlider);
    m_scaleSlider->setValue(int(std::lround(m_scale * 100)));
    m_scaleLabel->setText(QStringLiteral("%1 %").arg(std::lround(m_scale * 100)));
}

void TranscriptionController::loadTranscription()
{
    const QString html = m_picture ? m_picture->transcription() : QString();
    QTextDocument* document = m_transcription->document();
    if (html.isEmpty())
        m_transcription->clear();
    else
        m_transcription->setHtml(html);
    document->setModified(false);
    document->clearUndoRedoStacks();
    m_htmlAsLoaded = document->toHtml();
    m_transcription->moveCursor(QTextCursor::Start);
}

// ---- Actions ---------------------------------------------------------------------------------------------------

void TranscriptionController::changeScale(double scale)
{
    if (scale == m_scale)
        return;
    m_scale = scale;
    m_documentImage->setScale(scale);
    showScale();
}

void TranscriptionController::changeSplitOrientation()
{
    if (m_scale < 1.0) {
        m_scale = 1.0;
        m_documentImage->setScale(1.0);
        m_documentImage->repaint();
        showScale();
    }
    const bool sideBySide = UserDefaults::standard().boolForKey(kSplitVertically);
    m_splitView->setOrientation(sideBySide ? Qt::Horizontal : Qt::Vertical);
    {
        const QSignalBlocker blocker(m_sideBySide);
        m_sideBySide->setChecked(sideBySide);
    }
    shareSplitView();
    DisplayMsg(L("TranscriptionVertical"));
}

void TranscriptionController::createLink()
{
    QTextCursor cursor = m_transcription->textCursor();
    const int start = cursor.selectionStart();
    const int length = cursor.selectionEnd() - start;
    QTextCharFormat typing;
    const TranscriptionLinks::Refusal refusal = TranscriptionLinks::createLink(
        *m_transcription->document(), start, length, m_documentImage->rclCrop(), &typing);
    if (refusal != TranscriptionLinks::Refusal::None) {
        Utils::displayMsgWithTitle(L("CreateLink"), LocalizedString(TranscriptionLinks::messageKey(refusal)));
        return;
    }
    cursor.setPosition(start + length + 1);
    m_transcription->setTextCursor(cursor);
    m_transcription->setCurrentCharFormat(typing);
    m_transcription->setFocus();
}

void TranscriptionController::removeLink()
{
    const QTextCursor cursor = m_transcription->textCursor();
    const int start = cursor.selectionStart();
    QTextCharFormat typing;
    const TranscriptionLinks::Refusal refusal = TranscriptionLinks::removeLink(
        *m_transcription->document(), start, cursor.selectionEnd() - start, &typing);
    if (refusal != TranscriptionLinks::Refusal::None) {
        Utils::displayMsgWithTitle(L("CreateLink"), LocalizedString(TranscriptionLinks::messageKey(refusal)));
        return;
    }
    m_transcription->setCurrentCharFormat(typing);
}

bool TranscriptionController::clickedOnLink(const QString& link, int index)
{
    const std::optional<QRectF> rectangle = TranscriptionLinks::rectangleOfLink(link);
    if (!rectangle)
        return true;
    m_documentImage->setRclCrop(*rectangle);
    if (const auto followed = TranscriptionLinks::followLink(*m_transcription->document(), index)) {
        QTextCursor cursor = m_transcription->textCursor();
        cursor.setPosition(followed->position);
        cursor.setPosition(followed->position + followed->length, QTextCursor::KeepAnchor);
        m_transcription->setTextCursor(cursor);
    }
    return true;
}

bool TranscriptionController::eventFilter(QObject* watched, QEvent* event)
{
    // A plain click on a link follows it; the text stays editable everywhere else.
    if (watched == m_transcription->viewport()) {
        if (event->type() == QEvent::MouseButtonPress) {
            m_pressedAt = static_cast<QMouseEvent*>(event)->position().toPoint();
        } else if (event->type() == QEvent::MouseButtonRelease) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            const QPoint at = mouse->position().toPoint();
            if (mouse->button() == Qt::LeftButton && mouse->modifiers() == Qt::NoModifier
                && (at - m_pressedAt).manhattanLength() < QApplication::startDragDistance()) {
                const QString link = m_transcription->anchorAt(at);
                if (!link.isEmpty()) {
                    const QPoint inDocument(at.x() + m_transcription->horizontalScrollBar()->value(),
                        at.y() + m_transcription->verticalScrollBar()->value());
                    const int index
                        = m_transcription->document()->documentLayout()->hitTest(inDocument, Qt::ExactHit);
                    // After the text view has placed its cursor for the click.
                    QMetaObject::invokeMethod(
                        this, [this, link, index] { clickedOnLink(link, index); }, Qt::QueuedConnection);
                }
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool TranscriptionController::transcriptionChanged() const
{
    const QTextDocument* document = m_transcription->document();
    return document->isModified() && document->toHtml() != m_htmlAsLoaded;
}

void TranscriptionController::closeTranscription()
{
    if (m_closing)
        return;
    m_closing = true;
    s_contentSize = size();
    if (m_picture && transcriptionChanged()) {
        // A text emptied stores no transcription rather than the frame of an empty page.
        const QTextDocument* document = m_transcription->document();
        m_picture->setTranscription(document->isEmpty() ? QString() : document->toHtml());
    }
    if (FTMoc* moc = m_picture ? m_picture->moc() : nullptr; moc && moc->hasChanges())
        moc->saveMoc();
    done(0);
}

void TranscriptionController::reject()
{
    closeTranscription();
}
