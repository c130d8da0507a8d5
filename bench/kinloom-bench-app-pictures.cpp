// kinloom-bench-app-pictures [PEOPLE]
// The picture editor on the offscreen platform, over the synthetic family database of PEOPLE people (default
// 100,000) with the picture files of kinloom-bench-pictures: a 24-megapixel JPEG (with EXIF and IPTC properties)
// and a person with 200 pictures of 3-megapixel JPEGs. Prints one figure a line as "name: value":
//   editor_open_ms    the editor made, shown and drawn on the 24-megapixel picture (median of 3)
//   drag_step_ms      one step of a crop drag on that picture: the box and the preview drawn (median of 60)
//   rotate_ms         a quarter turn of it, the view and the stored preview made anew (median of 4)
//   next_picture_ms   the next of the person's 200 pictures, loaded and drawn (median of 20)
//   metadata_ms       the metadata window of the 24-megapixel file made, read and drawn (median of 5)
//   transcription_open_ms  the transcription window made, shown and drawn on the 24-megapixel picture (median of 3)
//   transcription_zoom_ms  a new scale of that picture in the window, redrawn (median of 20)
//   peak_mb           peak resident memory
// Everything is written into a temporary folder of its own.
#include "BenchPictures.h"
#include "BenchSupport.h"

#include "pictures/ui/DocumentImage.h"
#include "pictures/ui/PicEdit.h"
#include "pictures/ui/PictureController.h"
#include "pictures/ui/PictureMetadata.h"
#include "pictures/ui/TranscriptionController.h"

#include "shell/FirstRunDefaults.h"

#include "model/FTMoc.h"
#include "model/FTMocUndoManager.h"
#include "model/FTPerson.h"
#include "model/FTPicture.h"
#include "model/SyntheticDatabase.h"

#include "platform/Prompts.h"
#include "platform/ScriptedPrompts.h"
#include "platform/UserDefaults.h"

#include <QApplication>
#include <QDir>
#include <QMouseEvent>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <exiv2/exiv2.hpp>
#pragma GCC diagnostic pop

#include <cstdio>
#include <cstdlib>

namespace {
void mouse(QWidget* w, QEvent::Type type, QPointF at)
{
    const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, at, w->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
        Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void tag(const QString& path)
{
    auto file = Exiv2::ImageFactory::open(path.toStdString());
    file->readMetadata();
    Exiv2::ExifData exif;
    exif["Exif.Image.Make"] = "Bench Camera";
    exif["Exif.Photo.DateTimeOriginal"] = "1920:06:12 10:30:00";
    Exiv2::IptcData iptc;
    iptc["Iptc.Application2.Caption"] = "A large photograph";
    file->setExifData(exif);
    file->setIptcData(iptc);
    file->writeMetadata();
}
}

int main(int argc, char** argv)
{
    BenchSandbox temp;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int people = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100000;

    FirstRunDefaults::initialiseUserDefaults();
    BenchSandbox::useDataDirectory(temp.filePath("KinloomData"));
    UserDefaults::standard().setBool("alwaysCopyToPicturesFolder", true);
    ScriptedPrompts prompts;
    Prompts::install(&prompts);

    const QString big = temp.filePath("big24.jpg");
    if (!writeFile(big, photoLikeJpeg(6000, 4000, 24)))
        return 1;
    tag(big);
    const QString photos = temp.filePath("photos");
    QDir().mkpath(photos);
    QList<QByteArray> jpegs;
    for (quint32 seed = 1; seed <= 8; ++seed)
        jpegs << photoLikeJpeg(2048, 1536, seed);
    const QStringList files = writePhotoFiles(photos, 200, jpegs);
    if (files.isEmpty())
        return 1;

    std::unique_ptr<FTMoc> moc = openSyntheticDatabase(temp.filePath("Bench.RezUdu"), people);
    if (!moc)
        return 1;
    const QList<FTPerson*> persons = moc->fetch<FTPerson>();
    FTPerson* owner = persons[persons.size() / 2];
    FTPicture* bigPicture = FTPicture::initInMoc(moc.get(), big, persons[persons.size() / 3]);
    QList<FTPicture*> album;
    for (const QString& f : files)
        album << FTPicture::initInMoc(moc.get(), f, owner);
    for (FTPicture* p : album)
        p->thumbnailImage();
    bigPicture->thumbnailImage();
    if (!moc->saveMoc())
        return 1;
    moc->undoManager()->closeOpenGroups();

    // Opening on the large picture.
    PictureController* editor = nullptr;
    const double open = medianMs(3, [&] {
        delete editor;
        editor = new PictureController(bigPicture->owner(), bigPicture);
        editor->resize(1100, 760);
        editor->show();
        QApplication::processEvents();
        editor->picEdit()->repaint();
    });
    std::printf("editor_open_ms: %.1f\n", open);
    std::fflush(stdout);

    // A crop drag: every step draws the box and the preview.
    PicEdit* view = editor->picEdit();
    mouse(view, QEvent::MouseButtonPress, { 30, 30 });
    std::vector<double> steps;
    QElapsedTimer timer;
    for (int i = 1; i <= 60; ++i) {
        timer.start();
        mouse(view, QEvent::MouseMove, { 30.0 + i * 6, 30.0 + i * 4 });
        view->repaint();
        steps.push_back(timer.nsecsElapsed() / 1e6);
    }
    mouse(view, QEvent::MouseButtonRelease, { 390, 270 });
    if (editor->editing().rclCrop().isEmpty()) {
        std::fprintf(stderr, "the drag made no crop\n");
        return 1;
    }
    std::printf("drag_step_ms: %.2f\n", median(steps));

    std::printf("rotate_ms: %.1f\n", medianMs(4, [&] {
        editor->rotateOriginalImage(QStringLiteral("+"));
        view->repaint();
    }));
    std::printf("metadata_ms: %.1f\n", medianMs(5, [&] {
        auto* metadata = new PictureMetadata(bigPicture, editor);
        metadata->show();
        metadata->repaint();
        delete metadata;
    }));
    editor->closeEditor();
    delete editor;
    std::fflush(stdout);

    // The transcription window on the large picture: made, filled to its pane's width and drawn; then zoomed.
    TranscriptionController* transcription = nullptr;
    std::printf("transcription_open_ms: %.1f\n", medianMs(3, [&] {
        delete transcription;
        transcription = new TranscriptionController;
        transcription->setPicture(bigPicture);
        transcription->show();
        QApplication::processEvents();
        transcription->documentImage()->repaint();
    }));
    if (transcription->documentImage()->image().isNull()) {
        std::fprintf(stderr, "the transcription window shows no picture\n");
        return 1;
    }
    int zoom = 0;
    std::printf("transcription_zoom_ms: %.2f\n", medianMs(20, [&] {
        transcription->changeScale(++zoom % 2 ? 0.25 : 0.4);
        transcription->documentImage()->repaint();
    }));
    delete transcription;
    std::fflush(stdout);

    editor = new PictureController(owner, album.first());
    editor->resize(1100, 760);
    editor->show();
    QApplication::processEvents();
    std::printf("next_picture_ms: %.1f\n", medianMs(20, [&] {
        editor->nextPicture();
        editor->picEdit()->repaint();
    }));
    if (editor->picture() != album[20]) {
        std::fprintf(stderr, "next did not move through the pictures\n");
        return 1;
    }
    editor->closeEditor();
    delete editor;

    std::printf("peak_mb: %.0f\n", peakResidentMegabytes());
    Prompts::install(nullptr);
    return 0;
}
