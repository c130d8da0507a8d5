#include "model/ModelHooks.h"

#include "platform/FTLog.h"
#include "platform/UserDefaults.h"

#include <QDir>

ModelHooks& ModelHooks::shared()
{
    static ModelHooks hooks;
    return hooks;
}

QString ModelHooks::dataDirectoryPath()
{
    if (const ModelHooks& h = shared(); h.dataDirectory)
        return h.dataDirectory();
    QString dir = UserDefaults::standard().stringForKey(QStringLiteral("KinloomDataDirectory"));
    if (dir.isEmpty())
        return QDir::homePath() + QStringLiteral("/KinloomData");
    if (dir == QStringLiteral("~") || dir.startsWith(QStringLiteral("~/")))
        dir = QDir::homePath() + dir.mid(1);
    return dir;
}

QString ModelHooks::supportAddress()
{
    if (const ModelHooks& h = shared(); h.supportEmailAddress)
        return h.supportEmailAddress();
    return QStringLiteral("support@kinloom.org");
}

void ModelHooks::reportException(const char* file, int line, const QString& method)
{
    if (const ModelHooks& h = shared(); h.reportCurrentException)
        h.reportCurrentException(file, line, method);
    else
        FTLog(QStringLiteral("%1: an exception stopped %2").arg(QString::fromLatin1(file), method));
}
