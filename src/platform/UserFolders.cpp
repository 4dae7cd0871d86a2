#include "platform/UserFolders.h"

#include "platform/Paths.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace grelmond::platform {

std::string userConfigFolder() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && xdg[0] == '/')
    return joinPath(xdg, "Grelmond");
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/')
    return joinPath(joinPath(home, ".config"), "Grelmond");
  return {};
}

bool makeFolders(const std::string& folder) {
  for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
    const std::string part = folder.substr(0, slash);
    if (mkdir(part.c_str(), 0777) != 0 && errno != EEXIST)
      return false;
    if (slash == std::string::npos)
      return true;
  }
}

bool isWritableFolder(const std::string& folder) { return access(folder.c_str(), W_OK) == 0; }

} // namespace grelmond::platform
