#include "shell/ModelHooksSetup.h"

#include "shell/AlertHooks.h"
#include "shell/Utils.h"

#include "model/ModelHooks.h"

void installModelHooks()
{
    ModelHooks& hooks = ModelHooks::shared();
    hooks.dataDirectory = [] { return Utils::KinloomDataDirectory(); };
    hooks.supportEmailAddress = [] { return Utils::supportEmailAddress(); };
    hooks.reportCurrentException = [](const char* file, int line, const QString& method) {
        Utils::reportCurrentException(file, line, method);
    };
    hooks.beep = [] {
        if (const auto& beep = Utils::alertHooks().beep)
            beep();
    };
}
