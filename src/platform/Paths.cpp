#include "platform/Paths.h"

#include <cstdlib>

namespace grelmond::platform {

std::string joinPath(std::string_view folder, std::string_view name) {
  std::string path;
  path.reserve(folder.size() + 1 + name.size());
  path.append(folder);
  path.push_back('/');
  path.append(name);
  return path;
}

bool isFullPath(std::string_view name) {
  return name.starts_with('/') || name.starts_with("~/");
}

std::string expandHome(std::string_view name) {
  if (!name.starts_with("~/"))
    return std::string(name);
  const char* home = std::getenv("HOME");
  if (!home || home[0] != '/')
    return {};
  std::string path = home;
  while (!path.empty() && path.back() == '/')
    path.pop_back();
  path.append(name.substr(1));
  return path;
}

bool directoryOf(std::string_view path, std::string& out) {
  for (std::size_t k = path.size(); k-- > 1;) {
    if (path[k] == '/') {
      out.assign(path.substr(0, k));
      return true;
    }
  }
  return false;
}

} // namespace grelmond::platform
