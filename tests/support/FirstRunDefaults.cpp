// Linked into the test binaries of the shell and of every library above it: their tests start from the settings
// of a first run of the program.
#include "TestSupport.h"

#include "shell/FirstRunDefaults.h"

namespace {
const bool registered = (TestSupport::setFirstRunDefaults(&FirstRunDefaults::initialiseUserDefaults), true);
}
