#include "pictures/ThumbnailMover.h"

#include "model/FTMoc.h"
#include "model/FTMocUndoManager.h"
#include "model/FTOriginalPicture.h"
#include "model/FTPicture.h"

#include "platform/FTLog.h"
#include "platform/Localizer.h"

#include <QElapsedTimer>

ThumbnailMover::ThumbnailMover(FTMoc& moc, QList<FTPicture*> pictures)
    : m_moc(moc)
    , m_pictures(std::move(pictures))
{
}

void ThumbnailMover::saveMoc()
{
    m_moc.saveMoc();
    for (FTPicture* p : std::as_const(m_unsaved)) {
        if (FTOriginalPicture* op = p->originalPicture())
            m_moc.releaseLazyValues(op);
        m_moc.releaseLazyValues(p);
    }
    m_unsaved.clear();
}

int ThumbnailMover::moveAllThumbnails()
{
    QElapsedTimer timer;
    timer.start();
    UndoManager* undo = m_moc.undoManager();
    undo->disableUndoRegistration();
    int done = 0;
    for (FTPicture* picture : std::as_const(m_pictures)) {
        const QByteArray data = picture->thumbNailImageData();
        FTOriginalPicture* record = picture->originalPicture();
        if (!record)
            record = FTOriginalPicture::initInMoc(&m_moc);
        record->setData(data);
        picture->setThumbNailImageData(QByteArray());
        picture->setOriginalPicture(record);
        m_unsaved << picture;
        if (++done % kSaveEvery == 0) {
            saveMoc();
            if (progressChanged)
                progressChanged(done);
            if (messageChanged)
                messageChanged(QStringLiteral("%1 %2 %3").arg(QString::number(done),
                    LocalizedString(QStringLiteral("thumbnailsMoved")), QString::number(m_pictures.size())));
        }
    }
    saveMoc();
    undo->enableUndoRegistration();
    if (progressChanged)
        progressChanged(done);
    if (messageChanged)
        messageChanged(LocalizedString(QStringLiteral("AllThumbnailsMoved")));
    FTLog(QStringLiteral("%1 secs to %2 moveThumbnails to new table")
              .arg(double(timer.nsecsElapsed()) / 1e9, 0, 'f', 3)
              .arg(m_pictures.size()));
    return done;
}
