#include "platform/AtomicFile.h"

#include <string>
#include <windows.h>

namespace grelmond::platform {

namespace {

HANDLE createTemporary(const std::string& target, std::string& temporaryPath)
{
    // CREATE_NEW settles any clash between writers; the tick count only makes one unlikely.
    for (int attempt = 0; attempt < 16; ++attempt) {
        temporaryPath = target + ".tmp" + std::to_string(GetCurrentProcessId()) + "-" +
                        std::to_string(GetTickCount() + DWORD(attempt));
        HANDLE file = CreateFileA(temporaryPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS)
            return file;
    }
    return INVALID_HANDLE_VALUE;
}

bool writeAll(HANDLE file, std::string_view contents)
{
    while (!contents.empty()) {
        DWORD written = 0;
        const DWORD chunk = contents.size() > 1u << 20 ? 1u << 20 : DWORD(contents.size());
        if (!WriteFile(file, contents.data(), chunk, &written, nullptr) || written == 0)
            return false;
        contents.remove_prefix(written);
    }
    return true;
}

// Only a regular file the user may write is replaced: a read-only file, a
// folder or a device is left alone and the save reports failure.
bool mayReplace(const std::string& target)
{
    const DWORD attributes = GetFileAttributesA(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return GetLastError() == ERROR_FILE_NOT_FOUND || GetLastError() == ERROR_PATH_NOT_FOUND;
    if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DEVICE))
        return false;
    HANDLE file = CreateFileA(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const bool disk = GetFileType(file) == FILE_TYPE_DISK;
    CloseHandle(file);
    return disk;
}

} // namespace

bool writeFileAtomically(const std::string& path, std::string_view contents)
{
    if (path.empty() || !mayReplace(path))
        return false;
    std::string temporaryPath;
    HANDLE file = createTemporary(path, temporaryPath);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const bool written = writeAll(file, contents) && FlushFileBuffers(file);
    const bool closed = CloseHandle(file) != 0;
    if (!written || !closed ||
        !MoveFileExA(temporaryPath.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(temporaryPath.c_str());
        return false;
    }
    return true;
}

} // namespace grelmond::platform
