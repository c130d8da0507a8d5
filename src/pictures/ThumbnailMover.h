#pragma once

#include <QList>
#include <QString>

#include <functional>

class FTMoc;
class FTPicture;

// Moves the thumbnails that databases of an older release keep inside their Picture rows into OriginalPicture
// records of their own, without undo, saving every 100 pictures and at the end (a failed save is reported by the
// context). The MoveThumbnails window runs it when such a database opens.
//
//   ThumbnailMover mover(moc, pictures);
//   mover.messageChanged = [&](const QString& t) { label->setText(t); };
//   mover.moveAllThumbnails();
class ThumbnailMover {
public:
    static constexpr int kSaveEvery = 100;

    ThumbnailMover(FTMoc& moc, QList<FTPicture*> pictures);

    std::function<void(const QString& text)> messageChanged;
    // The number of pictures moved so far, with each message.
    std::function<void(int done)> progressChanged;

    // Answers the number of pictures moved.
    int moveAllThumbnails();
    qsizetype picsArrayCount() const { return m_pictures.size(); }

private:
    void saveMoc();

    FTMoc& m_moc;
    QList<FTPicture*> m_pictures;
    QList<FTPicture*> m_unsaved;
};
