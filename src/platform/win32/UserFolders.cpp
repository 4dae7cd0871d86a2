#include "platform/UserFolders.h"

#include "platform/Paths.h"

#include <cstdlib>
#include <windows.h>

namespace grelmond::platform {

std::string userConfigFolder()
{
    const char* appData = std::getenv("APPDATA");
    if (!appData || !isFullPath(appData))
        return {};
    return joinPath(appData, "Grelmond");
}

bool makeFolders(const std::string& folder)
{
    if (folder.empty())
        return false;
    // Parents first, skipping the drive ("C:") or share ("\\server\share") itself.
    for (std::size_t k = 3; k < folder.size(); ++k) {
        if (folder[k] == '\\' || folder[k] == '/')
            CreateDirectoryA(folder.substr(0, k).c_str(), nullptr);
    }
    if (!CreateDirectoryA(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        return false;
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The access rights of a folder say little on Windows (virtualised Program Files,
// ACLs); creating a file there is the one sure test.
bool isWritableFolder(const std::string& folder)
{
    if (folder.empty())
        return false;
    const std::string probe = joinPath(folder, "grelmond-write-probe.tmp");
    HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

} // namespace grelmond::platform
