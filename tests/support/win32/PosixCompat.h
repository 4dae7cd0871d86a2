#pragma once

// The few POSIX calls the tests use, on Windows: environment variables and
// fresh temporary folders. Included ahead of every test source of the Windows build.
#ifdef _WIN32
#include <cstdlib>
#include <cstring>
#include <direct.h>
#include <io.h>
#include <process.h>
#include <string>

inline int setenv(const char* name, const char* value, int overwrite)
{
    if (!overwrite && std::getenv(name))
        return 0;
    return _putenv_s(name, value);
}

inline int unsetenv(const char* name) { return _putenv_s(name, ""); }

// pattern ends in "XXXXXX"; the folder is made and pattern names it.
inline char* mkdtemp(char* pattern)
{
    const std::size_t length = std::strlen(pattern);
    if (length < 6)
        return nullptr;
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        unsigned value = unsigned(_getpid()) * 7919u + ++counter * 104729u + unsigned(attempt);
        for (std::size_t k = length - 6; k < length; ++k, value /= 36)
            pattern[k] = "0123456789abcdefghijklmnopqrstuvwxyz"[value % 36];
        if (_mkdir(pattern) == 0)
            return pattern;
    }
    return nullptr;
}
#endif
