#pragma once

#include <functional>

// Workers never touch a window: they hand progress and results to the main thread with these.
namespace MainThread {
bool isMainThread();
// Queued: returns at once; `fn` runs on the main thread's next event-loop turn.
void post(std::function<void()> fn);
// Runs `fn` on the main thread and waits for it (runs it at once when already there).
void invokeAndWait(std::function<void()> fn);
}
