#include "platform/FTLog.h"
#include "platform/Prompts.h"
#include "platform/ui/QtPrompts.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Kinloom");
    QApplication::setApplicationName("Kinloom");
    QApplication::setApplicationVersion(KINLOOM_VERSION);

    QtPrompts prompts;
    Prompts::install(&prompts);

    // Until the main window exists, starting up means: set up, then quit cleanly.
    FTLog(QStringLiteral("Kinloom started"));
    int rc = 0;
    Prompts::install(nullptr);
    return rc;
}
