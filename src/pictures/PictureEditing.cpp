#include "pictures/PictureEditing.h"

#include "pictures/PictureAdjustments.h"
#include "pictures/PictureRotation.h"
#include "pictures/ThumbnailBuilder.h"

#include "shell/AlertHooks.h"
#include "shell/DisplayMsg.h"
#include "shell/Utils.h"

#include "model/FTMoc.h"
#include "model/FTMocUndoManager.h"
#include "model/FTOriginalPicture.h"
#include "model/FTPerson.h"
#include "model/FTPicture.h"
#include "model/FTSource.h"
#include "model/UtilsPics.h"

#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"
#include "platform/Prompts.h"

#include <QFileInfo>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}
}

PictureEditing::PictureEditing(FTManagedObject* owner, FTPicture* picture)
    : m_moc(owner ? owner->moc() : nullptr)
    , m_owner(owner)
    , m_picture(picture)
    , m_ownersName(ownersNameFor(owner))
{
    beginPictureUndo();
    initialiseVariables();
}

PictureEditing::~PictureEditing()
{
    endPictureUndo();
}

FTPerson* PictureEditing::personOwner() const
{
    return dynamic_cast<FTPerson*>(m_owner);
}

QString PictureEditing::ownersNameFor(const FTManagedObject* owner)
{
    if (const auto* person = dynamic_cast<const FTPerson*>(owner))
        return person->nameWithBirthAndDeathYears();
    if (const auto* source = dynamic_cast<const FTSource*>(owner))
        return source->shortDescription().replace(QLatin1Char('\n'), QLatin1Char(' '));
    return {};
}

// The edits of one picture are one undo action, from opening it until it is left.
void PictureEditing::beginPictureUndo()
{
    if (!m_moc || m_undoGroupOpen)
        return;
    m_moc->undoManager()->beginUndoGrouping();
    m_undoGroupOpen = true;
}

void PictureEditing::endPictureUndo()
{
    if (!m_undoGroupOpen)
        return;
    m_undoGroupOpen = false;
    // An undo or redo meanwhile has closed the group already.
    if (m_moc && m_moc->undoManager()->groupingLevel() > 0)
        m_moc->undoManager()->endUndoGrouping();
}

void PictureEditing::initialiseVariables()
{
    m_rclCrop = m_picture ? UtilsPics::rectFromString(m_picture->rclCut()) : QRectF();
    loadPictureData(false);
    displayOtherReferences();
    m_dateError = false;
    m_pictureNo.clear();
    displayPicsCount();
    takeSnapshot();
}

void PictureEditing::loadPictureData(bool preview)
{
    m_loadError.clear();
    QImage original;
    if (m_picture && !m_picture->filename().isEmpty())
        original = UtilsPics::originalImageForFile(m_picture->filename(), nullptr, &m_loadError);
    takeImage(original);
    if (preview)
        displayThumbnail();
}

void PictureEditing::takeImage(const QImage& original)
{
    m_original = original;
    m_pyramid.setImage(m_picture ? PictureRotation::rotatedImage(original, m_picture->rotation()) : QImage());
}

QString PictureEditing::pictureSize() const
{
    const QImage& image = m_pyramid.image();
    if (image.isNull())
        return {};
    return QStringLiteral("%1 x %2 pixels").arg(image.width()).arg(image.height());
}

QString PictureEditing::sourceReferencesTitle() const
{
    return QStringLiteral("%1 (%2)").arg(L("SourceReferences")).arg(m_picture ? m_picture->sourceRels().size() : 0);
}

QImage PictureEditing::displayThumbnail(bool store)
{
    m_lastPreview = QImage();
    if (!m_picture)
        return {};
    const QImage thumbnail = m_pyramid.thumbnail(m_rclCrop);
    if (thumbnail.isNull()) {
        // Nothing to cut from: the stored thumbnail stays as it is.
        if (const FTOriginalPicture* op = m_picture->originalPicture())
            m_lastPreview = QImage::fromData(op->data());
        return m_lastPreview;
    }
    m_lastPreview = PictureAdjustments::of(*m_picture).apply(thumbnail);
    if (store)
        m_picture->setThumbnailImage(m_lastPreview);
    return m_lastPreview;
}

void PictureEditing::displayOtherReferences()
{
    m_otherReferences = m_picture ? UtilsPics::referencesToPicture(m_picture) : QList<FTPicture*>();
}

void PictureEditing::displayPicsCount()
{
    FTPerson* person = personOwner();
    if (!m_picture || !person)
        return;
    const QList<FTPicture*> pictures = person->picturesArray();
    const qsizetype index = pictures.indexOf(m_picture);
    if (index >= 0)
        m_pictureNo = QStringLiteral("%1 %2 %3").arg(index + 1).arg(L("ConjunctiveOf")).arg(pictures.size());
}

bool PictureEditing::isImageFile() const
{
    return m_picture && m_picture->isImageFile();
}

bool PictureEditing::setFilename(const QString& path, const QString& title, const QString& date, const QString& notes)
{
    if (!m_moc || path.isEmpty())
        return false;
    // A file that claims to be a picture but gives none is refused before anything changes.
    const QString kind = UtilsPics::fileKindOf(path);
    QImage original;
    if (kind != QLatin1String("pdf") && UtilsPics::imageFileTypes().contains(kind)) {
        QString whyNot;
        original = UtilsPics::originalImageForFile(path, nullptr, &whyNot);
        if (original.isNull()) {
            DisplayMsg(whyNot.isEmpty() ? L("PicUnreadable").arg(QFileInfo(path).fileName()) : whyNot);
            return false;
        }
    }

    const QString oldTitle = m_picture ? m_picture->name() : QString();
    const QString oldDate = m_picture ? m_picture->date() : QString();
    const QString oldNotes = m_picture ? m_picture->notes() : QString();
    // The record's own setFilename clears the transcription; here it goes only when the user discards the texts.
    const QByteArray oldTranscription = m_picture ? m_picture->transcriptionData() : QByteArray();
    if (!m_picture) {
        m_picture = FTPicture::initInMoc(m_moc, path, m_owner);
        if (!m_picture)
            return false;
    } else {
        m_picture->setFilename(path);
        m_picture->setOriginalFilename(QString());
    }

    bool keep = false;
    const bool asked = !oldTitle.trimmed().isEmpty() || !oldDate.isEmpty() || !oldNotes.isEmpty();
    if (asked) {
        const QString info = QStringLiteral("%1 = %2\n\n%3 = %4\n\n%5 = %6\n")
                                 .arg(L("ExistingTitle"), oldTitle, L("ExistingDate"), oldDate, L("ExistingNotes"),
                                     oldNotes);
        // Closing the question without an answer must not throw the user's texts away.
        keep = Prompts::current().chooseWithEscape(L("PictureEditorTitle"), L("PictureEditorMsg"), info,
                   { L("PictureEditorKeep"), L("PictureEditorDiscard") }, 0)
            == 0;
    }
    if (!keep) {
        if (title.isEmpty())
            m_picture->setTitleFromFileName(path);
        else
            m_picture->setName(title);
        m_picture->setDate(date);
        m_picture->setNotes(notes);
    }
    if ((keep || !asked) && m_picture->transcriptionData() != oldTranscription)
        m_picture->setTranscriptionData(oldTranscription);

    m_picture->setTnEnhancementDefaults();
    m_rclCrop = QRectF();
    m_loadError.clear();
    // A refused date was never stored: the date shown from now on is the picture's own, kept or replaced.
    m_dateError = false;
    takeImage(original);
    if (original.isNull())
        storeThumbnailOfKind(path);
    displayThumbnail();
    displayOtherReferences();
    displayPicsCount();
    NotificationCenter::defaultCenter().post(QStringLiteral("DefaultPictureChanged"), m_owner, m_moc);
    return true;
}

// A file that gives no image to cut from (a PDF, sound, movie or document) must not keep the previous file's
// thumbnail: it gets the icon of its kind, or none, which Prebuild Thumbnails can then make.
void PictureEditing::storeThumbnailOfKind(const QString& path)
{
    const QImage icon = ThumbnailBuilder::thumbnailImageForFile(path, QRectF(), nullptr, nullptr);
    if (!icon.isNull()) {
        m_picture->setThumbnailImage(icon);
    } else if (FTOriginalPicture* old = m_picture->originalPicture()) {
        m_picture->setOriginalPicture(nullptr);
        m_moc->deleteObject(old);
    }
}

bool PictureEditing::rotateOriginalImage(const QString& buttonTitle)
{
    if (!m_picture || !isImageFile() || m_original.isNull())
        return false;
    m_picture->setRotation(PictureRotation::rotationAfter(m_picture->rotation(), buttonTitle));
    takeImage(m_original);
    m_rclCrop = QRectF();
    displayThumbnail();
    return true;
}

bool PictureEditing::cropAll()
{
    if (!isImageFile() || m_original.isNull())
        return false;
    m_rclCrop = QRectF();
    displayThumbnail();
    return true;
}

void PictureEditing::setDefaultEnhancements()
{
    if (m_picture)
        m_picture->setTnEnhancementDefaults();
}

bool PictureEditing::movePicture(int step)
{
    FTPerson* person = personOwner();
    if (!m_picture || !person)
        return false;
    const QList<FTPicture*> pictures = person->picturesArray();
    const qsizetype index = pictures.indexOf(m_picture);
    const bool allowed = step > 0 ? index >= 0 && index < pictures.size() - 1 : index >= 1;
    if (!allowed) {
        if (Utils::alertHooks().beep)
            Utils::alertHooks().beep();
        return false;
    }
    if (!saveCurrentChanges())
        return false;
    endPictureUndo();
    m_picture = pictures[index + (step > 0 ? 1 : -1)];
    beginPictureUndo();
    initialiseVariables();
    return true;
}

bool PictureEditing::saveCurrentChanges()
{
    if (m_dateError) {
        DisplayMsg(L("PleaseCorrectDate"));
        return false;
    }
    commitChanges();
    return true;
}

std::optional<int> PictureEditing::closeCode()
{
    if (m_dateError) {
        DisplayMsg(L("PleaseCorrectDateBeforeClosing"));
        return std::nullopt;
    }
    const int code = commitChanges() ? 1 : 0;
    endPictureUndo();
    return code;
}

bool PictureEditing::commitChanges()
{
    if (!m_picture || m_picture->filename().isEmpty())
        return false;
    UtilsPics::removeTempPicsDirectory();
    if (m_rclCrop != UtilsPics::rectFromString(m_picture->rclCut()))
        m_picture->setRclCut(UtilsPics::stringFromRect(m_rclCrop));
    if (!hasChanged())
        return false;
    FTMocUndoManager* undo = m_moc->undoManager();
    if (undo->actionName() != L("AddPicture"))
        undo->setActionName(QStringLiteral("%1 - %2").arg(L("EditPicture"), m_picture->name()));
    NotificationCenter::defaultCenter().post(QStringLiteral("DefaultPictureChanged"), m_owner, m_moc);
    // Changes are measured from here on: a picture left and shown again starts unchanged.
    takeSnapshot();
    return true;
}

void PictureEditing::takeSnapshot()
{
    m_snapshot.clear();
    if (!m_picture)
        return;
    const FTOriginalPicture* op = m_picture->originalPicture();
    m_snapshot = { m_picture->filename(), m_picture->originalFilename(), m_picture->name(), m_picture->date(),
        m_picture->notes(), m_picture->rotation(), m_picture->rclCut(), m_picture->extraData(),
        op ? op->data() : QByteArray() };
}

// Whether anything of the picture differs from when it was shown: a save while the editor is open must not hide
// a change.
bool PictureEditing::hasChanged() const
{
    if (!m_picture)
        return false;
    if (m_picture->isInserted() || m_snapshot.isEmpty())
        return true;
    const FTOriginalPicture* op = m_picture->originalPicture();
    const QList<QVariant> now { m_picture->filename(), m_picture->originalFilename(), m_picture->name(),
        m_picture->date(), m_picture->notes(), m_picture->rotation(), m_picture->rclCut(), m_picture->extraData(),
        op ? op->data() : QByteArray() };
    return now != m_snapshot;
}
