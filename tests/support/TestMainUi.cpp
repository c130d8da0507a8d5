#include "TestSupport.h"

#include <QApplication>

#include <gmock/gmock.h>

int main(int argc, char** argv)
{
    if (const int status = TestSupport::runChildRoutine(argc, argv); status >= 0)
        return status;
    TestSupport::prepareProcess();
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    // Qt WebEngine (the web pages' preview, the map window) needs this before the application object exists.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    ::testing::InitGoogleMock(&argc, argv);
    TestSupport::installTestEnvironment();
    return RUN_ALL_TESTS();
}
