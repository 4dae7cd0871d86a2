#include "platform/AtomicFile.h"

#include "platform/win32/LinkTarget.h"

#include <cstddef>
#include <string>
#include <windows.h>
#include <winioctl.h>

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

// A symbolic link's reparse data (the system headers keep it to drivers).
struct SymlinkReparse {
    DWORD tag;
    WORD dataLength, reserved;
    WORD substituteOffset, substituteLength, printOffset, printLength;
    DWORD flags;
    WCHAR names[1];
};
constexpr DWORD kRelativeLink = 1;

std::string narrow(const WCHAR* text, int length)
{
    const int size = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? std::size_t(size) : 0, '\0');
    if (size > 0)
        WideCharToMultiByte(CP_ACP, 0, text, length, out.data(), size, nullptr, nullptr);
    return out;
}

// The path the symbolic link at path names; false when path is no symbolic
// link (or its data cannot be read).
bool readLink(const std::string& path, std::string& target)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return false;
    HANDLE link = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (link == INVALID_HANDLE_VALUE)
        return false;
    alignas(8) static thread_local char buffer[MAXIMUM_REPARSE_DATA_BUFFER_SIZE];
    DWORD size = 0;
    const bool read = DeviceIoControl(link, FSCTL_GET_REPARSE_POINT, nullptr, 0, buffer, sizeof buffer, &size, nullptr);
    CloseHandle(link);
    const auto* data = reinterpret_cast<const SymlinkReparse*>(buffer);
    if (!read || size < offsetof(SymlinkReparse, names) || data->tag != IO_REPARSE_TAG_SYMLINK)
        return false;
    const std::size_t namesRoom = size - offsetof(SymlinkReparse, names);
    if (std::size_t(data->substituteOffset) + data->substituteLength > namesRoom)
        return false;
    const std::string stored = narrow(data->names + data->substituteOffset / sizeof(WCHAR),
                                      data->substituteLength / sizeof(WCHAR));
    target = linkTargetPath(path, stored, (data->flags & kRelativeLink) != 0);
    return !stored.empty();
}

// The file a save really replaces: the end of its chain of symbolic links,
// which need not exist yet, so a link kept to a file in a synced folder stays
// a link. Empty when the chain loops.
std::string targetOf(const std::string& path)
{
    std::string current = path;
    for (int hop = 0; hop < 32; ++hop) {
        std::string next;
        if (!readLink(current, next))
            return current;
        current = next;
    }
    return {};
}

} // namespace

bool writeFileAtomically(const std::string& requested, std::string_view contents)
{
    const std::string path = requested.empty() ? std::string() : targetOf(requested);
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
