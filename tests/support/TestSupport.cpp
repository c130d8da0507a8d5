#include "TestSupport.h"

#include "platform/AppPaths.h"
#include "platform/UserDefaults.h"

#include <QDir>

#include <memory>

namespace {
std::unique_ptr<QTemporaryDir>& root()
{
    static std::unique_ptr<QTemporaryDir> dir;
    return dir;
}
int g_settingsCounter = 0;
}

QString TestSupport::tempRoot()
{
    if (!root())
        root() = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/kinloom-test-XXXXXX");
    return root()->path();
}

QString TestSupport::useFreshDefaults()
{
    const QString path = QStringLiteral("%1/settings-%2.ini").arg(tempRoot()).arg(++g_settingsCounter);
    QFile::remove(path);
    UserDefaults::useSettingsFile(path);
    return path;
}

QString TestSupport::dataFile(const QString& name) { return QStringLiteral(KINLOOM_TEST_DATA_DIR) + "/" + name; }
QString TestSupport::sourceDir() { return QStringLiteral(KINLOOM_SOURCE_DIR); }

void TestSupport::installTestEnvironment()
{
    qputenv("HOME", tempRoot().toUtf8());
    useFreshDefaults();
}
