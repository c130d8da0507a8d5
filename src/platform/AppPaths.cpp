#include "platform/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {
QString& overrideDir()
{
    static QString dir;
    return dir;
}
}

QString AppPaths::sharedSupportDirectory()
{
    if (!overrideDir().isEmpty())
        return overrideDir();
    const QString env = qEnvironmentVariable("KINLOOM_SHARE_DIR");
    if (!env.isEmpty())
        return env;
    QString exeDir = QCoreApplication::instance() ? QCoreApplication::applicationDirPath()
                                                  : QFileInfo("/proc/self/exe").symLinkTarget().section('/', 0, -2);
    return QDir(exeDir + "/../share/kinloom").absolutePath();
}

void AppPaths::setSharedSupportDirectory(const QString& dir) { overrideDir() = dir; }
