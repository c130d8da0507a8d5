#include "publishing/SiteUpload.h"

#include "model/FTMoc.h"

#include "platform/Localizer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QUrl>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

bool isPage(const QFileInfo& info)
{
    return info.isFile() && info.suffix().compare(QLatin1String("html"), Qt::CaseInsensitive) == 0;
}
}

QStringList SiteUpload::sites(const QString& siteRoot)
{
    QStringList found;
    if (siteRoot.isEmpty())
        return found;
    for (const QFileInfo& entry : QDir(siteRoot).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        if (entry.fileName().startsWith(QLatin1Char('.')))
            continue;
        const QFileInfoList files = QDir(entry.filePath()).entryInfoList(QDir::Files | QDir::Hidden);
        if (std::any_of(files.begin(), files.end(), isPage))
            found << entry.fileName();
    }
    return found;
}

QStringList SiteUpload::htmlFilesInFolder(const QString& site)
{
    QStringList pages;
    for (const QFileInfo& entry : QDir(site).entryInfoList(QDir::Files, QDir::Name))
        if (isPage(entry))
            pages << entry.fileName();
    return pages;
}

QString SiteUpload::Upload::destination() const
{
    return siteRoot + QLatin1Char('/') + QFileInfo(pageSetFolder).fileName();
}

QString SiteUpload::Upload::mainIndexPath() const
{
    return destination() + QStringLiteral("/index.html");
}

QString SiteUpload::Upload::homePagePath() const
{
    return siteRoot + QLatin1Char('/') + site + QLatin1Char('/') + homePage;
}

QString SiteUpload::recordKey()
{
    return L("MobMeLatest");
}

QStringList SiteUpload::recordEntryKeys()
{
    QStringList keys;
    for (const char* key : {"MobMeKeyLastUpload", "MobMeKeyAcctName", "MobMeKeyHomePage", "MobMeKeySiteName",
                            "MobMeKeyKinloomFolder", "MobMeKeyMainUrl", "MobMeKeyHomeUrl", "MobMeKeyKinloomVersion"})
        keys << L(key);
    return keys;
}

bool SiteUpload::saveRecord(FTMoc& moc, const Upload& upload, const QDateTime& when, QString* error)
{
    const QStringList keys = recordEntryKeys();
    const QStringList values = {
        QLocale::c().toString(when, QStringLiteral("dd-MMM-yy 'at' HH:mm")),
        upload.siteRoot,
        upload.homePage,
        upload.siteRoot + QLatin1Char('/') + upload.site,
        upload.pageSetFolder,
        QUrl::fromLocalFile(upload.mainIndexPath()).toString(),
        QUrl::fromLocalFile(upload.homePagePath()).toString(),
        QStringLiteral("V%1").arg(QCoreApplication::applicationVersion()),
    };
    QVariantMap record;
    for (int i = 0; i < keys.size(); ++i)
        record.insert(keys.at(i), values.at(i));
    moc.setMetadataValue(recordKey(), record);
    return moc.saveMoc(error);
}

QString SiteUpload::recordText(const QVariantMap& metadata)
{
    const QVariantMap record = metadata.value(recordKey()).toMap();
    if (record.isEmpty())
        return {};
    QString text;
    for (const QString& key : recordEntryKeys())
        text += QStringLiteral("%1\n%2\n\n").arg(key, record.value(key).toString());
    return text;
}
