#include "storage/RememberedFolder.h"

#include "platform/AtomicFile.h"
#include "platform/Paths.h"
#include "platform/RegularFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace grelmond {

namespace {

constexpr const char* kFileName = "grldefault.cfg";

std::string userConfigFolder() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && xdg[0] == '/')
    return platform::joinPath(xdg, "Grelmond");
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/')
    return platform::joinPath(platform::joinPath(home, ".config"), "Grelmond");
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

} // namespace

RememberedFolder::RememberedFolder(std::string installFolder) : installFolder_(std::move(installFolder)) {}

std::string RememberedFolder::configFolder() const {
  if (!installFolder_.empty() && access(installFolder_.c_str(), W_OK) == 0)
    return installFolder_;
  return userConfigFolder();
}

std::string RememberedFolder::filePath() const {
  const std::string folder = configFolder();
  return folder.empty() ? std::string() : platform::joinPath(folder, kFileName);
}

std::optional<std::string> RememberedFolder::read() const {
  const std::string path = filePath();
  if (path.empty())
    return std::nullopt;
  std::FILE* file = platform::openRegularFile(path);
  if (!file)
    return std::nullopt;
  char text[kFileSize + 1] = {};
  const std::size_t got = std::fread(text, 1, kFileSize - 1, file);
  std::fclose(file);
  // An empty (or zeroed) file remembers nothing; taken as a folder it would
  // put a bare name at the root of the filesystem.
  const std::size_t length = strnlen(text, got);
  if (length == 0)
    return std::nullopt;
  return std::string(text, length);
}

bool RememberedFolder::write(std::string_view folder) const {
  const std::string configDir = configFolder();
  if (configDir.empty() || folder.size() >= kFileSize || !makeFolders(configDir))
    return false;
  std::string contents(kFileSize, '\0');
  contents.replace(0, folder.size(), folder);
  return platform::writeFileAtomically(platform::joinPath(configDir, kFileName), contents);
}

std::optional<std::string> RememberedFolder::resolve(std::string_view name, Use use) const {
  if (name.empty())
    return std::nullopt;
  if (platform::isFullPath(name)) {
    std::string path = platform::expandHome(name);
    if (path.empty())
      return std::nullopt;
    std::string folder;
    if (platform::directoryOf(path, folder))
      write(folder);
    return path;
  }
  if (const auto folder = read())
    return platform::joinPath(*folder, name);
  write(installFolder_);
  if (use == Use::Load)
    return std::nullopt;
  return platform::joinPath(installFolder_, name);
}

} // namespace grelmond
