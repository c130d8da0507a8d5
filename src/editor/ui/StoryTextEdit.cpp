#include "editor/ui/StoryTextEdit.h"

#include "editor/StoryGenerator.h"

#include <QFocusEvent>
#include <QImage>
#include <QMimeData>
#include <QTextCursor>
#include <QTextImageFormat>

StoryTextEdit::StoryTextEdit(QWidget* parent)
    : QTextEdit(parent)
{
    setAcceptRichText(true);
    setTabChangesFocus(false);
    document()->setDocumentMargin(5);
    StoryGenerator::prepareStoryDocument(*document());
}

void StoryTextEdit::focusOutEvent(QFocusEvent* event)
{
    QTextEdit::focusOutEvent(event);
    // A menu or another window taking the focus for a moment does not end the edit.
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason && didEndEditing)
        didEndEditing();
}

bool StoryTextEdit::canInsertFromMimeData(const QMimeData* source) const
{
    return source->hasImage() || QTextEdit::canInsertFromMimeData(source);
}

void StoryTextEdit::insertFromMimeData(const QMimeData* source)
{
    const QImage image = source->hasImage() ? qvariant_cast<QImage>(source->imageData()) : QImage();
    if (image.isNull()) {
        QTextEdit::insertFromMimeData(source);
        return;
    }
    // Named by its own bytes, the picture is stored inside the story's text rather than beside it.
    QTextImageFormat format;
    format.setName(StoryGenerator::jpegDataUrl(image));
    format.setWidth(image.width());
    format.setHeight(image.height());
    document()->addResource(QTextDocument::ImageResource, QUrl(format.name()), image);
    textCursor().insertImage(format);
}
