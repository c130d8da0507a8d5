#include "model/RelativeDialogs.h"

#include <atomic>

namespace {
std::atomic<RelativeDialogs*> g_dialogs { nullptr };
}

RelativeDialogs* RelativeDialogs::current()
{
    return g_dialogs.load();
}

void RelativeDialogs::install(RelativeDialogs* dialogs)
{
    g_dialogs.store(dialogs);
}
