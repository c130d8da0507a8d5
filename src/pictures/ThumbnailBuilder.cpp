#include "pictures/ThumbnailBuilder.h"

#include "model/FTMoc.h"
#include "model/FTMocUndoManager.h"
#include "model/FTOriginalPicture.h"
#include "model/FTPicture.h"
#include "model/UtilsPics.h"

#include "shell/Utils.h"

#include "platform/AppPaths.h"
#include "platform/FTLog.h"
#include "platform/Localizer.h"
#include "platform/store/ReleasingWalk.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QFuture>
#include <QThread>
#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <new>

const QRectF ThumbnailBuilder::kIconCrop(20, 2, 88, 120);

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

struct Job {
    QString path;
    QRectF crop;
};

struct Made {
    QByteArray tiff;
    QRectF cropUsed;
    QString whyNot;
};

std::atomic<qint64> gDecodeBudget { ThumbnailBuilder::kDefaultDecodeBudget };

// Lets a decode start while the memory of the decodes running stays within the budget; one that alone exceeds it
// waits until nothing else runs. The workers wait here, so the pictures of a window are decoded a few at a time
// when they are large and all at once when they are small.
class DecodeGate {
public:
    explicit DecodeGate(qint64 budget)
        : m_budget(budget)
    {
    }

    void acquire(qint64 bytes)
    {
        std::unique_lock lock(m_mutex);
        m_freed.wait(lock, [&] { return m_inFlight == 0 || m_inFlight + bytes <= m_budget; });
        m_inFlight += bytes;
        m_peak = std::max(m_peak, m_inFlight);
    }
    void release(qint64 bytes)
    {
        {
            std::lock_guard lock(m_mutex);
            m_inFlight -= bytes;
        }
        m_freed.notify_all();
    }
    qint64 peak() const
    {
        std::lock_guard lock(m_mutex);
        return m_peak;
    }

private:
    const qint64 m_budget;
    mutable std::mutex m_mutex;
    std::condition_variable m_freed;
    qint64 m_inFlight = 0;
    qint64 m_peak = 0;
};

// The memory of one decode, given back however the decode ends: a worker that kept it would leave every other
// one waiting for it.
class DecodeReservation {
public:
    DecodeReservation(DecodeGate& gate, qint64 bytes)
        : m_gate(gate)
        , m_bytes(bytes)
    {
        m_gate.acquire(m_bytes);
    }
    ~DecodeReservation() { m_gate.release(m_bytes); }
    DecodeReservation(const DecodeReservation&) = delete;
    DecodeReservation& operator=(const DecodeReservation&) = delete;

private:
    DecodeGate& m_gate;
    const qint64 m_bytes;
};

// One file that cannot be read (a huge one that does not fit in memory) is a failure of its own; the others go on.
Made makeThumbnail(const Job& job, DecodeGate& gate, const std::function<void(const QString&)>& decoding)
{
    Made made;
    try {
        QImage image;
        {
            const DecodeReservation reserved(gate, UtilsPics::thumbnailDecodeBytes(job.path, job.crop));
            if (decoding)
                decoding(job.path);
            image = ThumbnailBuilder::thumbnailImageForFile(job.path, job.crop, &made.cropUsed, &made.whyNot);
        }
        if (!image.isNull())
            made.tiff = UtilsPics::tiffRepresentation(image);
    } catch (const std::bad_alloc&) {
        made = Made();
        made.whyNot = LocalizedString(QStringLiteral("PicOutOfMemory")).arg(QFileInfo(job.path).fileName());
    } catch (const std::exception& e) {
        made = Made();
        made.whyNot = LocalizedString(QStringLiteral("PicDecodeError"))
                          .arg(QFileInfo(job.path).fileName(), QString::fromLocal8Bit(e.what()));
    }
    return made;
}
}

void ThumbnailBuilder::setDecodeBudget(qint64 bytes)
{
    gDecodeBudget = bytes > 0 ? bytes : kDefaultDecodeBudget;
}

qint64 ThumbnailBuilder::decodeBudget()
{
    return gDecodeBudget;
}

ThumbnailBuilder::ThumbnailBuilder(FTMoc* moc)
    : m_moc(moc)
{
}

void ThumbnailBuilder::start()
{
    m_active = true;
}

void ThumbnailBuilder::stop()
{
    m_active = false;
}

void ThumbnailBuilder::finish()
{
    m_active = false;
}

void ThumbnailBuilder::message(const QString& text) const
{
    if (messageChanged)
        messageChanged(text);
}

void ThumbnailBuilder::progress(int percent) const
{
    if (progressChanged)
        progressChanged(percent);
}

QString ThumbnailBuilder::iconPathFor(const QString& path)
{
    const QString kind = UtilsPics::fileKindOf(path);
    if (kind.isEmpty())
        return {};
    QString icon;
    if (UtilsPics::soundFileTypes().contains(kind))
        icon = QStringLiteral("iTunes-audible");
    else if (UtilsPics::movieFileTypes().contains(kind))
        icon = QStringLiteral("iTunes-movie");
    else if (kind == QLatin1String("txt") || kind == QLatin1String("pdf"))
        icon = QStringLiteral("txt");
    else if (kind.startsWith(QLatin1String("rtf")) || kind == QLatin1String("doc"))
        icon = QStringLiteral("rtf");
    else if (kind.startsWith(QLatin1String("htm")))
        icon = QStringLiteral("html");
    else
        return {};
    return AppPaths::sharedSupportDirectory() + QStringLiteral("/PictureIcons/") + icon + QStringLiteral(".png");
}

QImage ThumbnailBuilder::thumbnailImageForFile(
    const QString& path, const QRectF& crop, QRectF* cropUsed, QString* whyNot)
{
    if (whyNot)
        whyNot->clear();
    const QString kind = UtilsPics::fileKindOf(path);
    if (kind != QLatin1String("pdf") && UtilsPics::imageFileTypes().contains(kind)) {
        if (cropUsed)
            *cropUsed = crop;
        return UtilsPics::thumbnailImageForFile(path, crop, whyNot);
    }
    if (cropUsed)
        *cropUsed = kIconCrop;
    const QString icon = iconPathFor(path);
    if (icon.isEmpty())
        return {};
    const QImage image(icon);
    if (image.isNull()) {
        FTLog(QStringLiteral("No icon at %1").arg(icon));
        return {};
    }
    // The icon's artwork may be drawn at a higher resolution than its 128 points.
    const double scale = double(image.width()) / kIconPoints;
    const QRectF pixels(kIconCrop.x() * scale, kIconCrop.y() * scale, kIconCrop.width() * scale,
        kIconCrop.height() * scale);
    return UtilsPics::makeThumbnailImageFrom(image, pixels);
}

QList<FTPicture*> ThumbnailBuilder::arrayOfPicsNeedingThumbnailsInMoc()
{
    message(L("SearchingThumbs"));
    progress(0);
    QList<FTPicture*> out;
    if (!m_moc)
        return out;
    ReleasingWalk walk(*m_moc);
    const QList<FTPicture*> candidates = m_moc->fetch<FTPicture>([&walk](const FTPicture* p) {
        walk.releasePoint();
        return !p->filename().isEmpty() && !p->originalPicture();
    });
    int shown = 0;
    for (qsizetype i = 0; i < candidates.size(); ++i) {
        walk.releasePoint();
        if (QFileInfo::exists(candidates[i]->filename()))
            out << candidates[i];
        const int percent = int((i + 1) * 100 / candidates.size());
        if (percent > shown + 1) {
            shown = percent;
            progress(percent);
        }
    }
    progress(0);
    return out;
}

QString ThumbnailBuilder::prebuildQuestion(qsizetype count)
{
    return QStringLiteral("%1 %2 %3.\n\n%4 = %5")
        .arg(L("Prebuild"), QString::number(count), L("Thumbnails"), L("EstimatedTime"),
            Utils::timeToText(estimatedSeconds(count)));
}

void ThumbnailBuilder::saveTnMoc()
{
    // A failed save is reported by the context itself.
    m_moc->saveMoc();
    for (ManagedObject* o : std::as_const(m_unsaved))
        m_moc->releaseLazyValues(o);
    m_unsaved.clear();
    if (saved)
        saved();
}

int ThumbnailBuilder::createThumbnails(const QList<FTPicture*>& pictures)
{
    if (!m_active || !m_moc)
        return 0;
    if (pictures.isEmpty()) {
        message(L("AllThumbsGood"));
        return 0;
    }
    m_failures.clear();
    m_peakDecodeBytes = 0;
    UndoManager* undo = m_moc->undoManager();
    undo->removeAllActions();
    undo->disableUndoRegistration();
    message(L("BuildingThumbnails"));
    progress(0);
    QElapsedTimer elapsed;
    elapsed.start();
    QElapsedTimer lap;
    lap.start();

    const qsizetype total = pictures.size();
    // Decoded a window ahead of the writing, on every core, while the records of the window before are written.
    const qsizetype window = std::max<qsizetype>(kSaveEvery, qsizetype(QThread::idealThreadCount()) * 4);
    const auto gate = std::make_shared<DecodeGate>(decodeBudget());
    auto launch = [&](qsizetype from) {
        QList<Job> jobs;
        for (qsizetype i = from; i < std::min(total, from + window); ++i)
            jobs.append({ pictures[i]->filename(), UtilsPics::rectFromString(pictures[i]->rclCut()) });
        // The workers hold only their jobs, the gate and the hook, all their own: a stopped build may return while
        // they finish.
        return QtConcurrent::mapped(std::move(jobs),
            [gate, decoding = decoding](const Job& job) { return makeThumbnail(job, *gate, decoding); });
    };
    // False when the build was stopped while it waited.
    auto await = [&](QFuture<Made>& future) {
        while (!future.isFinished()) {
            if (keepAlive)
                keepAlive();
            if (!m_active)
                return false;
            QThread::msleep(2);
        }
        return true;
    };

    int created = 0;
    int shown = 0;
    bool stopped = false;
    QFuture<Made> current = launch(0);
    for (qsizetype from = 0; from < total && !stopped; from += window) {
        if (!await(current)) {
            stopped = true;
            break;
        }
        const QList<Made> made = current.results();
        if (from + window < total)
            current = launch(from + window);
        for (qsizetype k = 0; k < made.size(); ++k) {
            FTPicture* picture = pictures[from + k];
            const Made& m = made[k];
            if (m.tiff.isEmpty()) {
                m_failures << (m.whyNot.isEmpty() ? picture->filename() : m.whyNot);
            } else {
                auto* record = FTOriginalPicture::initInMoc(m_moc);
                record->setData(m.tiff);
                picture->setOriginalPicture(record);
                if (UtilsPics::rectFromString(picture->rclCut()) != m.cropUsed || picture->rclCut().isEmpty())
                    picture->setRclCut(UtilsPics::stringFromRect(m.cropUsed));
                m_unsaved << picture << record;
                ++created;
                if (created % kSaveEvery == 0) {
                    saveTnMoc();
                    const int percent = int(qint64(created) * 100 / total);
                    if (percent > shown + 1) {
                        shown = percent;
                        progress(percent);
                    }
                    const double seconds = double(elapsed.elapsed()) / 1000;
                    const int remaining = int(seconds / created * (total - created));
                    QString times = QStringLiteral("%1 = %2. %3 = %4")
                                        .arg(L("TimeRemaining"), Utils::timeToText(remaining), L("ElapsedTime"),
                                            Utils::timeToText(int(seconds)));
                    if (gDevelopmentVersion)
                        times += QStringLiteral(", Current Average = %1")
                                     .arg(double(lap.elapsed()) / 1000 / kSaveEvery, 0, 'f', 3);
                    lap.restart();
                    message(QStringLiteral("%1 %2 %3 %4. %5")
                                .arg(QString::number(created), L("ConjunctiveOf"), QString::number(total),
                                    L("thumbnailsCreated"), times));
                }
            }
            if (keepAlive)
                keepAlive();
            if (!m_active) {
                stopped = true;
                break;
            }
        }
    }
    // The decodes under way end on their own; those not begun are dropped.
    if (stopped)
        current.cancel();
    m_peakDecodeBytes = gate->peak();
    message(QStringLiteral("%1 %2 %3 %4 %5 %6. (%7 %8)")
                .arg(QString::number(created), L("ConjunctiveOf"), QString::number(total), L("thumbnailsCreated"),
                    L("ConjunctiveIn"), Utils::timeToText(int(elapsed.elapsed() / 1000)),
                    QString::number(total - created), L("couldntBeCreated")));
    saveTnMoc();
    undo->enableUndoRegistration();
    progress(0);
    for (const QString& failure : std::as_const(m_failures))
        FTLog(QStringLiteral("No thumbnail: %1").arg(failure));
    return created;
}
