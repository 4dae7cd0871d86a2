#include "platform/InstallFolder.h"

#include "platform/BundleFolder.h"
#include "platform/Paths.h"
#include "platform/win32/ModuleHandle.h"

#include <cstdlib>
#include <cstring>
#include <windows.h>

namespace grelmond::platform {

namespace {

constexpr const char* kKey = "Software\\Zavr\\Grelmond";
constexpr const char* kValue = "InstallPath";
constexpr std::size_t kRegistryBuffer = 256;

std::string stripTrailingSeparators(std::string folder)
{
    while (folder.size() > 1 && (folder.back() == '\\' || folder.back() == '/') && folder[folder.size() - 2] != ':')
        folder.pop_back();
    return folder;
}

// "InstallPath" of the machine key, type unchecked; empty when missing or too long.
std::string folderFromRegistry()
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return {};
    char buffer[kRegistryBuffer] = {};
    DWORD size = sizeof buffer - 1; // room for a terminator the stored value may lack
    const LONG status = RegQueryValueExA(key, kValue, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        return {};
    return stripTrailingSeparators(std::string(buffer, strnlen(buffer, size)));
}

std::string folderOfThisLibrary()
{
    std::string folder;
    if (!directoryOf(moduleFileName(), folder))
        return {};
    return dataFolderForLibrary(folder);
}

} // namespace

std::string installFolder()
{
    const char* fromEnvironment = std::getenv("GRELMOND_INSTALL_PATH");
    if (fromEnvironment && *fromEnvironment)
        return stripTrailingSeparators(fromEnvironment);
    std::string folder = folderFromRegistry();
    if (folder.empty())
        folder = folderOfThisLibrary();
    return folder;
}

bool readInstallPath(char* buffer, std::size_t size)
{
    if (!buffer || size == 0)
        return false;
    buffer[0] = '\0';
    const std::string folder = installFolder();
    if (folder.empty() || folder.size() >= size)
        return false;
    std::memcpy(buffer, folder.c_str(), folder.size() + 1);
    return true;
}

} // namespace grelmond::platform
