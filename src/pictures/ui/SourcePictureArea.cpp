#include "pictures/ui/SourcePictureArea.h"

#include "pictures/ui/PictureController.h"
#include "pictures/ui/SourceImage.h"
#include "pictures/ui/TranscriptionController.h"

#include "pictures/SourcePicture.h"

#include "sources/ui/SourcesAddModDel.h"

#include "model/FTPicture.h"
#include "model/FTSource.h"

#include "platform/Localizer.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QTextEdit>
#include <QVBoxLayout>

SourcePictureArea::SourcePictureArea(SourcesAddModDel& editor)
    : QGroupBox(LocalizedString(QStringLiteral("SourcePictureBox")))
    , m_editor(editor)
{
    setObjectName(QStringLiteral("sourcePictureArea"));
    auto* layout = new QHBoxLayout(this);
    m_sourceImage = new SourceImage(this);
    layout->addWidget(m_sourceImage, 0, Qt::AlignTop);

    auto* text = new QVBoxLayout;
    text->setSpacing(2);
    text->addWidget(new QLabel(LocalizedString(QStringLiteral("SourceTranscriptionLabel"))));
    m_transcriptionNotesTextView = new QTextEdit;
    m_transcriptionNotesTextView->setObjectName(QStringLiteral("transcriptionNotesTextView"));
    m_transcriptionNotesTextView->setReadOnly(true);
    m_transcriptionNotesTextView->setMinimumWidth(220);
    m_transcriptionNotesTextView->setMaximumHeight(m_sourceImage->height() - 20);
    text->addWidget(m_transcriptionNotesTextView);
    layout->addLayout(text, 1);

    connect(&editor, &SourcesAddModDel::currentSourceChanged, this, [this] { showCurrentSource(); });
}

FTSource* SourcePictureArea::currentSource() const
{
    return m_editor.currentSource();
}

QString SourcePictureArea::pictureFilename() const
{
    return SourcePicture::pictureFilename(currentSource());
}

void SourcePictureArea::showCurrentSource()
{
    FTPicture* picture = currentSource() ? currentSource()->picture() : nullptr;
    m_sourceImage->setImage(picture ? picture->thumbnailImage() : QImage());
    showTranscription();
}

void SourcePictureArea::showTranscription()
{
    const FTPicture* picture = currentSource() ? currentSource()->picture() : nullptr;
    m_transcriptionNotesTextView->setPlainText(picture ? picture->transcriptionString() : QString());
}

void SourcePictureArea::displayPictureEditor()
{
    FTSource* source = currentSource();
    if (!source)
        return;
    m_editor.endEditing();
    QPointer<SourcePictureArea> self(this);
    PictureController::beginSheet(&m_editor, source, source->picture(), [self](FTPicture*, bool) {
        if (!self)
            return;
        self->m_editor.endEditing();
        self->showCurrentSource();
    });
}

FTPicture* SourcePictureArea::setPictureFilename(
    const QString& path, const QString& title, const QString& date, const QString& notes)
{
    FTPicture* picture = SourcePicture::setPictureFilename(currentSource(), path, title, date, notes);
    showCurrentSource();
    return picture;
}

void SourcePictureArea::removePicture()
{
    if (SourcePicture::removePicture(currentSource()))
        showCurrentSource();
}

void SourcePictureArea::transcribePicture()
{
    FTSource* source = currentSource();
    // Without a picture there is nothing to transcribe, nor to keep a transcription in.
    if (!source || !source->picture())
        return;
    m_editor.endEditing();
    QPointer<SourcePictureArea> self(this);
    TranscriptionController::beginSheet(&m_editor, source->picture(), source, [self] {
        if (!self)
            return;
        self->m_editor.endEditing();
        self->showTranscription();
    });
}

void SourcePictureArea::helpForSourcePictures()
{
    m_editor.helpForSourcePictures();
}
