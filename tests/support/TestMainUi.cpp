#include "TestSupport.h"

#include <QApplication>

#include <gmock/gmock.h>

#include <unistd.h>

int main(int argc, char** argv)
{
    if (const int status = TestSupport::runChildRoutine(argc, argv); status >= 0)
        return status;
    TestSupport::prepareProcess();
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    // Qt WebEngine's sandbox cannot run for root and then ends the whole program (a Debian machine set up as root,
    // the suite in CI): root has nothing for the sandbox to keep apart, so it is turned off there.
    if (::geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // Qt WebEngine (the web pages' preview, the map window) needs this before the application object exists.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    ::testing::InitGoogleMock(&argc, argv);
    TestSupport::installTestEnvironment();
    return RUN_ALL_TESTS();
}
