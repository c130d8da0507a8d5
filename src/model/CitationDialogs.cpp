#include "model/CitationDialogs.h"

#include <atomic>

namespace {
std::atomic<CitationDialogs*> g_dialogs { nullptr };
}

CitationDialogs* CitationDialogs::current()
{
    return g_dialogs.load();
}

void CitationDialogs::install(CitationDialogs* dialogs)
{
    g_dialogs.store(dialogs);
}
