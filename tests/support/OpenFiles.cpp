#include "OpenFiles.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dirent.h>
#endif

namespace testsupport {

#ifdef _WIN32
// Every kernel handle of the process, files among them.
int openFileCount()
{
    DWORD handles = 0;
    GetProcessHandleCount(GetCurrentProcess(), &handles);
    return int(handles);
}
#else
int openFileCount()
{
    int n = 0;
    if (DIR* d = opendir("/proc/self/fd")) {
        while (readdir(d))
            ++n;
        closedir(d);
    }
    return n;
}
#endif

} // namespace testsupport
