#include "gui/win32/ThreadDpiAwareness.h"

namespace grelmond {

namespace {

// The awareness contexts are fixed pseudo-handles; V2 exists from Windows 10 1703.
const HANDLE kPerMonitorAwareV2 = reinterpret_cast<HANDLE>(-4);
const HANDLE kPerMonitorAware = reinterpret_cast<HANDLE>(-3);

} // namespace

ThreadDpiAwareness::ThreadDpiAwareness()
{
    HMODULE user = GetModuleHandleA("user32.dll");
    if (user == nullptr)
        return;
    set_ = reinterpret_cast<SetContext>(reinterpret_cast<void*>(GetProcAddress(user, "SetThreadDpiAwarenessContext")));
    if (set_ == nullptr)
        return;
    previous_ = set_(kPerMonitorAwareV2);
    if (previous_ == nullptr)
        previous_ = set_(kPerMonitorAware);
}

ThreadDpiAwareness::~ThreadDpiAwareness()
{
    if (previous_ != nullptr)
        set_(previous_);
}

} // namespace grelmond
