#include "TestSupport.h"

#include <QGuiApplication>

#include <gmock/gmock.h>

int main(int argc, char** argv)
{
    if (const int status = TestSupport::runChildRoutine(argc, argv); status >= 0)
        return status;
    TestSupport::prepareProcess();
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleMock(&argc, argv);
    TestSupport::installTestEnvironment();
    return RUN_ALL_TESTS();
}
