#pragma once

#include <QString>

// Where the program's own read-only files live: <prefix>/share/kinloom when installed, the build tree's
// share/kinloom when run from the build (both sit at ../share/kinloom from the executable).
// KINLOOM_SHARE_DIR in the environment overrides both.
namespace AppPaths {
QString sharedSupportDirectory();
void setSharedSupportDirectory(const QString& dir);
}
