#include "pictures/MissingPictureFiles.h"

#include "pictures/PictureIntake.h"

#include "model/FTMoc.h"
#include "model/FTPicture.h"
#include "model/ModelHooks.h"
#include "model/UtilsPics.h"

#include "shell/DisplayMsg.h"
#include "shell/Utils.h"

#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"
#include "platform/store/ReleasingWalk.h"

#include <QCollator>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QSet>
#include <QUrl>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

// The database's import flag for one re-linking run, put back however the run ends.
class ImportFlagScope {
public:
    explicit ImportFlagScope(FTMoc* moc)
        : m_moc(moc)
        , m_was(moc->importThreadIsActive())
    {
        m_moc->setImportThreadIsActive(true);
    }
    ~ImportFlagScope() { m_moc->setImportThreadIsActive(m_was); }
    ImportFlagScope(const ImportFlagScope&) = delete;
    ImportFlagScope& operator=(const ImportFlagScope&) = delete;

private:
    FTMoc* m_moc;
    bool m_was;
};

QString valueFor(const FTPicture* picture, bool byFilename)
{
    return byFilename ? picture->filename() : picture->originalFilename();
}

void sortCaseInsensitively(QStringList& list)
{
    std::sort(list.begin(), list.end(), [](const QString& a, const QString& b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
}
}

MissingPictureFiles::MissingPictureFiles(FTMoc* moc)
    : m_moc(moc)
{
}

QStringList MissingPictureFiles::contentsOfPicturesDirectory()
{
    const QString folder = UtilsPics::picturesDirectory();
    QStringList out;
    if (folder.isEmpty())
        return out;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
             QDir::Name))
        out << folder + QLatin1Char('/') + name;
    return out;
}

QStringList MissingPictureFiles::imageFilesInFolder(const QString& folder, const FTMoc* moc)
{
    const QSet<QString> types = PictureIntake::acceptedFileTypes(moc);
    QStringList out;
    const QDir dir(folder);
    for (const QFileInfo& entry : dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name))
        if (types.contains(entry.suffix()))
            out << folder + QLatin1Char('/') + entry.fileName();
    return out;
}

QStringList MissingPictureFiles::filesOffered(const QMimeData& mime, const FTMoc* moc)
{
    const QStringList files = PictureIntake::imageFilesInFilenamesPasteboard(mime, moc);
    if (!files.isEmpty() || !mime.hasUrls())
        return files;
    for (const QUrl& url : mime.urls())
        if (url.isLocalFile() && QFileInfo(url.toLocalFile()).isDir())
            return imageFilesInFolder(QDir::cleanPath(url.toLocalFile()), moc);
    return {};
}

void MissingPictureFiles::loadMissingPicsArray()
{
    m_loaded = true;
    m_missing.clear();
    QSet<QString> present;
    for (const QString& path : contentsOfPicturesDirectory())
        if (QFileInfo::exists(path)) // a link whose file is gone does not count
            present.insert(path);
    int neither = 0;
    ReleasingWalk walk(*m_moc);
    for (FTPicture* picture : m_moc->fetch<FTPicture>()) {
        walk.releasePoint();
        const QString filename = picture->filename();
        if (!filename.isEmpty()) {
            if (!present.contains(filename))
                m_missing << picture;
        } else if (!picture->originalFilename().isEmpty()) {
            m_missing << picture;
        } else {
            ++neither;
        }
    }
    if (neither != 0)
        DisplayMsg(QStringLiteral("%1 %2 %3").arg(L("Found"), QString::number(neither), L("FoundPics")));
}

QString MissingPictureFiles::progressText(qint64 elapsedMilliseconds, qsizetype done, qsizetype total)
{
    const double elapsed = double(elapsedMilliseconds) / 1000;
    const qint64 remaining = done > 0 ? qint64(elapsed * double(total - done) / double(done)) : 0;
    const qint64 estimated = qint64(elapsed + double(remaining));
    return QStringLiteral("%1 %2 %3 %4. %5 = %6, %7 = %8")
        .arg(QString::number(done), L("ConjunctiveOf"), QString::number(total), L("recordsProcessed"),
            L("EstimatedTotalTime"), Utils::timeToText(int(estimated)), L("TimeRemaining"),
            Utils::timeToText(int(estimated - qint64(elapsed))));
}

int MissingPictureFiles::matchMissingFilenamesAgainst(const QHash<QString, QString>& byName, const QString& key)
{
    const bool byFilename = key == QLatin1String("filename");
    // Each value read once; equal values end up side by side.
    QList<std::pair<QString, FTPicture*>> list;
    list.reserve(m_missing.size());
    for (FTPicture* p : std::as_const(m_missing))
        list.append({ valueFor(p, byFilename), p });
    std::stable_sort(list.begin(), list.end(), [](const auto& a, const auto& b) {
        const int c = a.first.compare(b.first, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a.first < b.first;
    });

    const QString pictures = UtilsPics::picturesDirectory();
    QElapsedTimer timer;
    timer.start();
    const qsizetype total = list.size();
    qsizetype examined = 0;
    int relinked = 0;
    int shown = 0;
    auto examine = [&] {
        if (++examined % 100 == 0 && messageChanged)
            messageChanged(progressText(timer.elapsed(), examined, total));
    };
    // The file found is the picture's own under its name: what was transcribed from it still stands, and so does
    // the path it was first chosen from (setFilename would put the copy's own path there).
    auto relink = [](FTPicture* picture, const QString& stored) {
        const QByteArray transcription = picture->transcriptionData();
        const QString original = picture->originalFilename();
        picture->setFilename(stored);
        if (picture->originalFilename() != original)
            picture->setOriginalFilename(original);
        if (picture->transcriptionData() != transcription)
            picture->setTranscriptionData(transcription);
    };
    QList<FTPicture*> still;
    qsizetype i = 0;
    while (i < total) {
        const QString& value = list[i].first;
        FTPicture* first = list[i].second;
        examine();
        qsizetype next = i + 1;
        const QString found = value.isEmpty() ? QString() : byName.value(QFileInfo(value).fileName().toUpper());
        bool linked = false;
        if (!found.isEmpty() && QFileInfo(found).isFile()) {
            const QString stored = FTPicture::copyPictureFile(found, pictures);
            // A failed copy has been told; its pictures stay missing.
            if (!pictures.isEmpty() && stored.startsWith(pictures + QLatin1Char('/'))) {
                linked = true;
                relink(first, stored);
                ++relinked;
                while (next < total && list[next].first == value) {
                    examine();
                    relink(list[next].second, stored);
                    ++relinked;
                    ++next;
                }
            }
        }
        if (!linked)
            still << first;
        const int percent = int(examined * 100 / total);
        if (percent > shown + 2) {
            shown = percent;
            if (progressChanged)
                progressChanged(percent);
        }
        m_moc->releaseLazyValues(first);
        i = next;
    }
    m_missing = still;
    return relinked;
}

int MissingPictureFiles::findMissingPictures(const QStringList& paths)
{
    ImportFlagScope importing(m_moc);
    if (progressChanged)
        progressChanged(0);
    if (messageChanged)
        messageChanged(L("SearchingForPicLinks"));
    QHash<QString, QString> byName;
    for (const QString& path : paths) {
        const QString name = QFileInfo(path).fileName();
        if (!name.isEmpty())
            byName.insert(name.toUpper(), path);
    }
    if (!m_loaded)
        loadMissingPicsArray();
    int relinked = 0;
    if (!byName.isEmpty() && !m_missing.isEmpty()) {
        relinked = matchMissingFilenamesAgainst(byName, QStringLiteral("filename"));
        relinked += matchMissingFilenamesAgainst(byName, QStringLiteral("originalFilename"));
    }
    if (relinked > 0) {
        if (messageChanged)
            messageChanged(L("SavingChanges"));
        m_moc->saveMoc(); // a failed save is reported by the context
    }

    QSet<QString> names;
    for (const FTPicture* p : std::as_const(m_missing)) {
        const QString filename = p->filename();
        const QString name = filename.isEmpty() ? p->originalFilename() : filename;
        if (!name.isEmpty())
            names.insert(name);
    }
    m_filenames = QStringList(names.begin(), names.end());
    sortCaseInsensitively(m_filenames);

    if (messageChanged) {
        if (!m_missing.isEmpty())
            messageChanged(QStringLiteral("%1 %2 %3 %4")
                               .arg(QString::number(m_missing.size()), L("ImportPicsInfo1"),
                                   QString::number(m_filenames.size()), L("ImportPicsInfo2")));
        else
            messageChanged(QStringLiteral("%1 %2%3").arg(
                L("ImportPicsInfoSuccess1"), QStringLiteral("KinloomData"), L("ImportPicsInfoSuccess2")));
    }
    NotificationCenter::defaultCenter().post(QStringLiteral("RefreshAllViews"));
    if (progressChanged)
        progressChanged(0);
    return relinked;
}

QString MissingPictureFiles::printListOfMissingPictures()
{
    if (!m_loaded)
        loadMissingPicsArray();
    if (m_missing.isEmpty()) {
        DisplayMsg(L("NoPics"));
        return {};
    }
    const QString path = ModelHooks::dataDirectoryPath() + QLatin1Char('/') + L("MissingPicturesFileName");
    QFile::remove(path);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        DisplayMsg(QStringLiteral("%1 %2").arg(L("MissingPicsReport"), path));
        return {};
    }
    QList<std::pair<QString, FTPicture*>> sorted;
    for (FTPicture* p : std::as_const(m_missing))
        sorted.append({ p->originalFilename(), p });
    std::stable_sort(sorted.begin(), sorted.end(),
        [](const auto& a, const auto& b) { return a.first.compare(b.first, Qt::CaseInsensitive) < 0; });
    QByteArray text("\xEF\xBB\xBF");
    text += L("PicsReport1").toUtf8();
    for (const auto& [original, picture] : std::as_const(sorted)) {
        text += QStringLiteral("%1 = %2\n%3 = %4\n%5 = %6\n\n")
                    .arg(L("originalFilename"), original, L("filename"), picture->filename(), L("owner"),
                        picture->ownersName())
                    .toUtf8();
        m_moc->releaseLazyValues(picture);
    }
    if (file.write(text) != text.size() || !file.flush()) {
        file.close();
        QFile::remove(path);
        DisplayMsg(QStringLiteral("%1 %2").arg(L("MissingPicsReport"), path));
        return {};
    }
    return path;
}
