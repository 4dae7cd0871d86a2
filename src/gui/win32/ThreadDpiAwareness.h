#pragma once

#include <windows.h>

namespace grelmond {

// Makes the calling thread per-monitor DPI aware while it lives, so that a
// window created meanwhile gets the monitor's real DPI instead of a
// bitmap-stretched 96; the thread's earlier awareness comes back at the end.
// Does nothing where Windows lacks SetThreadDpiAwarenessContext (before 10 1607).
class ThreadDpiAwareness {
public:
    ThreadDpiAwareness();
    ~ThreadDpiAwareness();
    ThreadDpiAwareness(const ThreadDpiAwareness&) = delete;
    ThreadDpiAwareness& operator=(const ThreadDpiAwareness&) = delete;

    // True when the thread's awareness was changed (and will be restored).
    bool active() const { return previous_ != nullptr; }

private:
    using Context = HANDLE; // DPI_AWARENESS_CONTEXT, which older headers lack
    using SetContext = Context(WINAPI*)(Context);
    SetContext set_ = nullptr;
    Context previous_ = nullptr;
};

} // namespace grelmond
