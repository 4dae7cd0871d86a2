#include "platform/win32/ModuleHandle.h"

#include <windows.h>

// The library's load routine: the toolkit needs the module handle for its window
// class and bitmap resources, and the install folder falls back to the DLL's own.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        grelmond::platform::setModuleHandle(instance);
    return TRUE;
}
