#include "sources/OtherSourceDatabase.h"

#include "model/FTMoc.h"

#include "platform/Localizer.h"
#include "platform/Prompts.h"
#include "platform/store/ObjectContext.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

bool holdsCurrentModel(const QVariantMap& metadata)
{
    return metadata.value(FTMoc::kMomKey).toString().compare(FTMoc::kCurrentModelVersion, Qt::CaseInsensitive) == 0;
}

// The metadata as the message shows it: "{key = value; ...}", values that are not plain shown by their kind.
QString describe(const QVariantMap& metadata)
{
    QStringList entries;
    for (auto it = metadata.begin(); it != metadata.end(); ++it) {
        const QVariant& v = it.value();
        const bool plain = v.canConvert<QString>() && v.typeId() != QMetaType::QByteArray;
        entries << QStringLiteral("%1 = %2").arg(it.key(), plain ? v.toString() : QString::fromLatin1(v.typeName()));
    }
    return QStringLiteral("{%1}").arg(entries.join(QStringLiteral("; ")));
}

QString canonical(const QString& path)
{
    const QFileInfo info(path);
    const QString resolved = info.canonicalFilePath();
    return resolved.isEmpty() ? info.absoluteFilePath() : resolved;
}
}

QStringList OtherSourceDatabase::candidates(const QString& folder, const FTMoc* openMoc, bool olderModels)
{
    QStringList names;
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Files | QDir::Readable | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries) {
        if (entry.suffix().compare(QLatin1String("RezUdu"), Qt::CaseInsensitive) != 0
            || isFileOf(entry.filePath(), openMoc))
            continue;
        QString error;
        const QVariantMap metadata = ObjectContext::metadataForStoreAt(entry.filePath(), &error);
        if (error.isEmpty() && (olderModels || holdsCurrentModel(metadata)))
            names << entry.fileName();
    }
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(names.begin(), names.end(), [&collator](const QString& a, const QString& b) {
        if (const int c = collator.compare(a, b))
            return c < 0;
        return a < b;
    });
    return names;
}

bool OtherSourceDatabase::holdsOlderModel(const QString& path)
{
    QString error;
    const QVariantMap metadata = ObjectContext::metadataForStoreAt(path, &error);
    return error.isEmpty() && metadata.contains(FTMoc::kMomKey) && !holdsCurrentModel(metadata);
}

bool OtherSourceDatabase::checkChosenFile(const QString& path)
{
    QString error;
    const QVariantMap metadata = ObjectContext::metadataForStoreAt(path, &error);
    if (error.isEmpty() && holdsCurrentModel(metadata))
        return true;
    Prompts::current().message(QStringLiteral("%1\n\n%2\n\n%3 = %4")
                                   .arg(QDir::toNativeSeparators(path), L("UnkDbModel"), L("Metadata"),
                                       error.isEmpty() ? describe(metadata) : error));
    return false;
}

bool OtherSourceDatabase::isFileOf(const QString& path, const FTMoc* moc)
{
    return moc && !path.isEmpty() && canonical(path) == canonical(moc->databaseURL());
}

std::unique_ptr<FTMoc> OtherSourceDatabase::open(const QString& path, const FTMoc* openMoc)
{
    if (isFileOf(path, openMoc)) {
        Prompts::current().message(L("SameDbSelected"));
        return nullptr;
    }
    return FTMoc::initForReadingStoreURL(path);
}
