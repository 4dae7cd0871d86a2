#include "storage/RememberedFolder.h"

#include "platform/AtomicFile.h"
#include "platform/Paths.h"
#include "platform/RegularFile.h"
#include "platform/UserFolders.h"

#include <cstdio>
#include <cstring>

namespace grelmond {

namespace {

constexpr const char* kFileName = "grldefault.cfg";

} // namespace

RememberedFolder::RememberedFolder(std::string installFolder) : installFolder_(std::move(installFolder)) {}

std::string RememberedFolder::configFolder() const {
  if (!installFolder_.empty() && platform::isWritableFolder(installFolder_))
    return installFolder_;
  return platform::userConfigFolder();
}

std::string RememberedFolder::filePath() const {
  const std::string folder = configFolder();
  return folder.empty() ? std::string() : platform::joinPath(folder, kFileName);
}

std::string RememberedFolder::readContents() const {
  const std::string path = filePath();
  if (path.empty())
    return {};
  std::FILE* file = platform::openRegularFile(path);
  if (!file)
    return {};
  std::string text(kFileSize, '\0');
  const std::size_t got = std::fread(text.data(), 1, kFileSize - 1, file);
  std::fclose(file);
  text.resize(got);
  return text;
}

std::optional<std::string> RememberedFolder::read() const {
  const std::string text = readContents();
  // An empty (or zeroed) file remembers nothing; taken as a folder it would
  // put a bare name at the root of the filesystem.
  const std::size_t length = strnlen(text.c_str(), text.size());
  if (length == 0)
    return std::nullopt;
  return text.substr(0, length);
}

std::optional<int> RememberedFolder::readZoom() const {
  const std::string text = readContents();
  if (text.size() <= kZoomOffset)
    return std::nullopt;
  const std::string tail(text.c_str() + kZoomOffset, strnlen(text.c_str() + kZoomOffset, text.size() - kZoomOffset));
  int percent = 0;
  char extra = 0;
  if (std::sscanf(tail.c_str(), "zoom=%d%c", &percent, &extra) != 1 || percent < 100 || percent > 200)
    return std::nullopt;
  return percent;
}

bool RememberedFolder::write(std::string_view folder) const { return writeContents(folder, readZoom()); }

bool RememberedFolder::writeZoom(int percent) const {
  if (percent < 100 || percent > 200)
    return false;
  return writeContents(read().value_or(std::string()), percent);
}

bool RememberedFolder::writeContents(std::string_view folder, std::optional<int> zoom) const {
  const std::string configDir = configFolder();
  if (configDir.empty() || folder.size() >= kFileSize || !platform::makeFolders(configDir))
    return false;
  std::string contents(kFileSize, '\0');
  contents.replace(0, folder.size(), folder);
  if (zoom && folder.size() < kZoomOffset) {
    char text[16];
    const int n = std::snprintf(text, sizeof text, "zoom=%d", *zoom);
    contents.replace(kZoomOffset, size_t(n), text, size_t(n));
  }
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
