#pragma once

#include "editor/PicturesMenuItem.h"

#include <QList>
#include <QString>

#include <optional>

class FTMoc;
class FTPicture;
class FTSource;
class QMimeData;

// A source's one picture (a scan, photograph or PDF of the document): giving it a file, removing it, what a paste
// or drop offers for it, and the rules of the sources editor's picture well (its context menu and its hints).
//
//   if (const auto offer = SourcePicture::pictureOffered(*mime, moc, false))
//       SourcePicture::setPictureFilename(source, offer->path, offer->title, offer->date, offer->notes);
//   for (const SourcePicture::MenuItem& item : SourcePicture::menu(source, imagesOnClipboard)) ...
class SourcePicture {
public:
    // The name of a pasted image's file: "Source.tiff", numbered when the pictures folder has one already.
    static const QString kDefaultFilename;

    // The picture a paste or drop gives a source: its file, and the title, date and notes of a picture record.
    struct Offer {
        QString path;
        QString title;
        QString date;
        QString notes;
    };
    // The one picture that `mime` offers. Several are refused, and so is nothing usable: a paste says why
    // ("OneAtATime", "NoClipboardPic"), a drop says nothing (the drag was refused as it entered). A file that gives
    // no image is refused with the reason either way.
    static std::optional<Offer> pictureOffered(const QMimeData& mime, const FTMoc* moc, bool dragging);
    // Whether a drag entering the well may be dropped: exactly one picture. Several are refused with the
    // "OneAtATimeDrag" message, nothing usable silently.
    static bool dragEntered(const QMimeData& mime, const FTMoc* moc);

    // Gives the source the file: a picture it has takes the file and the whole-picture crop, else a new picture of
    // the source is made. The temporary pictures folder is removed; the title becomes `title`, or the file's name
    // when it is empty; the notes and date are set; the stored thumbnail is dropped, to be made again from the new
    // file. Null for no source (or when no picture could be made).
    static FTPicture* setPictureFilename(
        FTSource* source, const QString& path, const QString& title, const QString& date, const QString& notes);
    // Deletes the source's picture (not its file) under the undo action "DeletePictureOfSource". False when the
    // source has none.
    static bool removePicture(FTSource* source);

    // The file is a PDF: the extension "pdf", or "pdf alias" for a link in the pictures folder, in any case.
    static bool isPdf(const QString& path);
    // The source's picture's file; empty for no source, no picture or a picture without a file.
    static QString pictureFilename(const FTSource* source);

    // The well's context menu, in order: Paste (always); with a picture, Remove; with a file, "DisplayPDF" for a
    // PDF, else "EditPic" and "Transcribe", then "OpenWith" with the applications that open the file; Help
    // (always). Each item is enabled as validateMenuItem says.
    enum class Command { Paste, Remove, DisplayPDF, EditPic, Transcribe, OpenWith, Help };
    struct MenuItem {
        Command command;
        QString title;
        bool enabled = true;
        // OpenWith: one item per application, the default one first.
        PicturesMenu applications;
    };
    static QList<MenuItem> menu(FTSource* source, int imagesOnClipboard);
    // Paste: the clipboard offers exactly one picture; Remove: the source has a picture; DisplayPDF: its file is a
    // PDF; every other item is enabled.
    static bool validateMenuItem(Command command, const FTSource* source, int imagesOnClipboard);

    // What the well draws over its picture: for a source without a picture file, the hint how to give it one; for a
    // file that shows no image, the hint naming the file; nothing without a source, or when the image shows.
    enum class Hint { None, Initial, Load };
    static Hint hintFor(const FTSource* source, bool imageShown);
    static QString initialHint();
    static QString loadHint(const QString& filename);
};
