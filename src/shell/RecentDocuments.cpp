#include "shell/RecentDocuments.h"

#include "platform/UserDefaults.h"

#include <QFileInfo>

const QString RecentDocuments::kKey = QStringLiteral("RecentDocuments");

QStringList RecentDocuments::paths()
{
    return UserDefaults::standard().stringListForKey(kKey);
}

void RecentDocuments::noteNewRecentDocument(const QString& path)
{
    if (path.isEmpty())
        return;
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList list = paths();
    list.removeAll(absolute);
    list.prepend(absolute);
    while (list.size() > kMaxCount)
        list.removeLast();
    UserDefaults::standard().setObject(kKey, list);
}

void RecentDocuments::clear()
{
    UserDefaults::standard().removeObject(kKey);
}
