#include "ResidentSize.h"

#include <cstdlib>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <fstream>
#include <string>

namespace testsupport {

long residentKilobytes()
{
    // Freed heap the allocator still holds is no leak: an editor's pictures come
    // and go in blocks large enough to move malloc's mmap threshold.
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return 0;
}

} // namespace testsupport
