#include "pictures/SourcePicture.h"

#include "pictures/PictureIntake.h"

#include "editor/PicturesMenuBuilder.h"

#include "shell/DisplayMsg.h"

#include "model/FTMoc.h"
#include "model/FTMocUndoManager.h"
#include "model/FTOriginalPicture.h"
#include "model/FTPicture.h"
#include "model/FTSource.h"
#include "model/PicturePlist.h"
#include "model/UtilsPics.h"

#include "platform/Localizer.h"

#include <QMimeData>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}
}

const QString SourcePicture::kDefaultFilename = QStringLiteral("Source");

std::optional<SourcePicture::Offer> SourcePicture::pictureOffered(
    const QMimeData& mime, const FTMoc* moc, bool dragging)
{
    const int offered = PictureIntake::numImageFilesInPasteboard(mime, moc);
    if (offered != 1) {
        if (!dragging)
            DisplayMsg(L(offered == 0 ? "NoClipboardPic" : "OneAtATime"));
        return std::nullopt;
    }
    bool told = false;
    const std::optional<QString> path = PictureIntake::onePictureFile(mime, kDefaultFilename, moc, &told);
    if (!path) {
        // Image data that gives no image is nothing usable too.
        if (!dragging && !told)
            DisplayMsg(L("NoClipboardPic"));
        return std::nullopt;
    }
    Offer offer { *path, {}, {}, {} };
    if (const std::optional<PicturePlist> record = PicturePlist::readFrom(mime)) {
        offer.title = record->title;
        offer.date = record->date;
        offer.notes = record->notes;
    }
    return offer;
}

bool SourcePicture::dragEntered(const QMimeData& mime, const FTMoc* moc)
{
    const int offered = PictureIntake::numImageFilesInPasteboard(mime, moc);
    if (offered > 1)
        DisplayMsg(L("OneAtATimeDrag"));
    return offered == 1;
}

FTPicture* SourcePicture::setPictureFilename(
    FTSource* source, const QString& path, const QString& title, const QString& date, const QString& notes)
{
    FTMoc* moc = source ? source->moc() : nullptr;
    if (!moc)
        return nullptr;
    FTPicture* picture = source->picture();
    if (picture) {
        picture->setFilename(path);
        picture->setRclCut(UtilsPics::stringFromRect(QRectF()));
    } else {
        picture = FTPicture::initInMoc(moc, path, source);
        if (!picture)
            return nullptr;
    }
    UtilsPics::removeTempPicsDirectory();
    if (title.isEmpty())
        picture->setTitleFromFileName(path);
    else
        picture->setName(title);
    picture->setNotes(notes);
    picture->setDate(date);
    // The thumbnail's record goes with its image: the next look at the thumbnail makes it from the new file.
    if (FTOriginalPicture* old = picture->originalPicture()) {
        picture->setOriginalPicture(nullptr);
        moc->deleteObject(old);
    }
    return picture;
}

bool SourcePicture::removePicture(FTSource* source)
{
    FTPicture* picture = source ? source->picture() : nullptr;
    FTMoc* moc = picture ? picture->moc() : nullptr;
    if (!moc)
        return false;
    moc->undoManager()->setActionName(L("DeletePictureOfSource"));
    moc->deleteObject(picture);
    return true;
}

bool SourcePicture::isPdf(const QString& path)
{
    return UtilsPics::fileKindOf(path) == QLatin1String("pdf");
}

QString SourcePicture::pictureFilename(const FTSource* source)
{
    const FTPicture* picture = source ? source->picture() : nullptr;
    return picture ? picture->filename() : QString();
}

bool SourcePicture::validateMenuItem(Command command, const FTSource* source, int imagesOnClipboard)
{
    switch (command) {
    case Command::Paste:
        return imagesOnClipboard == 1;
    case Command::Remove:
        // A picture whose file went missing can be removed too.
        return source && source->picture();
    case Command::DisplayPDF:
        return isPdf(pictureFilename(source));
    default:
        return true;
    }
}

QList<SourcePicture::MenuItem> SourcePicture::menu(FTSource* source, int imagesOnClipboard)
{
    QList<MenuItem> items;
    auto add = [&](Command command, const char* key) -> MenuItem& {
        items.append({ command, L(key), validateMenuItem(command, source, imagesOnClipboard), {} });
        return items.last();
    };
    add(Command::Paste, "Paste");
    if (source && source->picture())
        add(Command::Remove, "Remove");
    const QString filename = pictureFilename(source);
    if (!filename.isEmpty()) {
        if (isPdf(filename)) {
            add(Command::DisplayPDF, "DisplayPDF");
        } else {
            add(Command::EditPic, "EditPic");
            add(Command::Transcribe, "Transcribe");
        }
        MenuItem& openWith = add(Command::OpenWith, "OpenWith");
        openWith.applications = PicturesMenuBuilder::openWithMenu(source->picture());
        openWith.enabled = !openWith.applications.empty();
    }
    add(Command::Help, "Help");
    return items;
}

SourcePicture::Hint SourcePicture::hintFor(const FTSource* source, bool imageShown)
{
    if (!source)
        return Hint::None;
    if (pictureFilename(source).isEmpty())
        return Hint::Initial;
    return imageShown ? Hint::None : Hint::Load;
}

QString SourcePicture::initialHint()
{
    return QStringLiteral("%1\n\n%2\n\n%3").arg(L("Cut&Paste"), L("Drag&Drop"), L("SourcePic"));
}

QString SourcePicture::loadHint(const QString& filename)
{
    return QStringLiteral("%1\n%2").arg(L("NoPicFile"), filename);
}
