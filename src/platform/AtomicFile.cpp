#include "platform/AtomicFile.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace grelmond::platform {

namespace {

std::string linkText(const std::string& link) {
  char text[PATH_MAX];
  const ssize_t length = readlink(link.c_str(), text, sizeof text);
  if (length <= 0 || static_cast<std::size_t>(length) >= sizeof text)
    return {};
  return std::string(text, static_cast<std::size_t>(length));
}

// The file that a write to path really replaces: the end of its chain of
// symbolic links, which need not exist yet (a link kept to a file in a synced
// folder stays a link). Empty when the chain cannot be read or loops.
std::string targetOf(const std::string& path) {
  constexpr int maxLinks = 40; // the kernel's own limit
  std::string current = path;
  for (int hop = 0; hop < maxLinks; ++hop) {
    struct stat info {};
    if (lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
      return current;
    std::string next = linkText(current);
    if (next.empty())
      return {};
    // A relative link names a file beside the link itself.
    const std::size_t slash = current.rfind('/');
    if (next[0] != '/' && slash != std::string::npos)
      next = current.substr(0, slash + 1) + next;
    current = next;
  }
  return {};
}

// Only a regular file this process may write is replaced. The rename alone
// would also replace a read-only file, a device node or a FIFO.
bool mayReplace(const std::string& target) {
  struct stat info {};
  if (stat(target.c_str(), &info) != 0)
    return errno == ENOENT;
  return S_ISREG(info.st_mode) && faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) == 0;
}

int createTemporary(const std::string& target, std::string& temporaryPath) {
  // O_EXCL settles any clash between writers; the clock only makes one unlikely.
  for (int attempt = 0; attempt < 16; ++attempt) {
    const auto tick = std::chrono::steady_clock::now().time_since_epoch().count();
    temporaryPath = target + ".tmp" + std::to_string(getpid()) + "-" + std::to_string(tick + attempt);
    const int fd = open(temporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST)
      return fd;
  }
  return -1;
}

bool writeAll(int fd, std::string_view contents) {
  while (!contents.empty()) {
    const ssize_t written = write(fd, contents.data(), contents.size());
    if (written < 0) {
      if (errno == EINTR)
        continue;
      return false;
    }
    contents.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

} // namespace

bool writeFileAtomically(const std::string& path, std::string_view contents) {
  if (path.empty())
    return false;
  const std::string target = targetOf(path);
  if (target.empty() || !mayReplace(target))
    return false;
  std::string temporaryPath;
  const int fd = createTemporary(target, temporaryPath);
  if (fd < 0)
    return false;

  // A replaced file keeps its permissions.
  struct stat old {};
  if (stat(target.c_str(), &old) == 0)
    fchmod(fd, old.st_mode & 07777);

  const bool written = writeAll(fd, contents) && fsync(fd) == 0;
  const bool closed = close(fd) == 0;
  if (!written || !closed || rename(temporaryPath.c_str(), target.c_str()) != 0) {
    unlink(temporaryPath.c_str());
    return false;
  }
  return true;
}

} // namespace grelmond::platform
