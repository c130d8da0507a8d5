#include "TestSupport.h"

#include "platform/AppPaths.h"
#include "platform/UserDefaults.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>

#include <memory>

#include <gtest/gtest.h>

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

QByteArray TestSupport::readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool TestSupport::writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

void TestSupport::expectGolden(const QByteArray& actual, const QString& name)
{
    const QString path = dataFile(name);
    if (qEnvironmentVariableIsSet("KINLOOM_UPDATE_GOLDEN")) {
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(actual);
        return;
    }
    QFile in(path);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly)) << path.toStdString();
    const QList<QByteArray> a = actual.split('\n'), e = in.readAll().split('\n');
    for (int i = 0; i < qMax(a.size(), e.size()); ++i)
        if (a.value(i) != e.value(i)) {
            ADD_FAILURE() << name.toStdString() << " differs at line " << i + 1 << ":\n  expected: "
                          << e.value(i).toStdString() << "\n  actual:   " << a.value(i).toStdString();
            return;
        }
}
