#include "platform/win32/ModuleHandle.h"

#include <atomic>

namespace grelmond::platform {

namespace {
// Process-wide: the one library image this code lives in.
std::atomic<HINSTANCE> gModule{nullptr};
} // namespace

void setModuleHandle(HINSTANCE module) { gModule.store(module, std::memory_order_relaxed); }

HINSTANCE moduleHandle()
{
    if (HINSTANCE stored = gModule.load(std::memory_order_relaxed))
        return stored;
    HMODULE found = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&moduleHandle), &found);
    return found;
}

std::string moduleFileName()
{
    char name[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(moduleHandle(), name, MAX_PATH);
    // A truncated name (length == MAX_PATH) is no name at all.
    if (length == 0 || length >= MAX_PATH)
        return {};
    return std::string(name, length);
}

} // namespace grelmond::platform
