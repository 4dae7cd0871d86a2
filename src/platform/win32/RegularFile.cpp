#include "platform/RegularFile.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace grelmond::platform {

namespace {

// A disk file that is not a folder: pipes, consoles and devices such as NUL or
// COM1 report another type and are refused.
bool isRegular(HANDLE file)
{
    BY_HANDLE_FILE_INFORMATION info{};
    return GetFileType(file) == FILE_TYPE_DISK && GetFileInformationByHandle(file, &info) &&
           !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

std::FILE* openRegularFile(const std::string& path, bool binary)
{
    if (path.empty())
        return nullptr;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return nullptr;
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return nullptr;
    if (!isRegular(handle)) {
        CloseHandle(handle);
        return nullptr;
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY | (binary ? _O_BINARY : _O_TEXT));
    if (fd < 0) {
        CloseHandle(handle);
        return nullptr;
    }
    std::FILE* file = _fdopen(fd, binary ? "rb" : "r");
    if (!file)
        _close(fd);
    return file;
}

} // namespace grelmond::platform
