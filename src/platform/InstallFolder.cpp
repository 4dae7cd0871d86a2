#include "platform/InstallFolder.h"

#include "platform/BundleFolder.h"
#include "platform/Paths.h"

#include <cstdlib>
#include <cstring>
#include <dlfcn.h>

namespace grelmond::platform {

namespace {

std::string stripTrailingSlashes(std::string folder) {
  while (folder.size() > 1 && folder.back() == '/')
    folder.pop_back();
  return folder;
}

std::string folderOfThisLibrary() {
  Dl_info info{};
  // Any function of this library locates the file it was loaded from.
  if (dladdr(reinterpret_cast<const void*>(&folderOfThisLibrary), &info) == 0 || !info.dli_fname)
    return {};
  std::string folder;
  if (!directoryOf(info.dli_fname, folder))
    return {};
  return dataFolderForLibrary(folder);
}

} // namespace

std::string installFolder() {
  const char* fromEnvironment = std::getenv("GRELMOND_INSTALL_PATH");
  if (fromEnvironment && *fromEnvironment)
    return stripTrailingSlashes(fromEnvironment);
  return folderOfThisLibrary();
}

bool readInstallPath(char* buffer, std::size_t size) {
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
