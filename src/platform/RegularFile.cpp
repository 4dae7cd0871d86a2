#include "platform/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace grelmond::platform {

namespace {

bool isRegular(const struct stat& info) { return S_ISREG(info.st_mode); }

} // namespace

std::FILE* openRegularFile(const std::string& path, bool binary) {
  struct stat info {};
  if (path.empty() || stat(path.c_str(), &info) != 0 || !isRegular(info))
    return nullptr;
  // The name may have been swapped for a FIFO since: opening without blocking
  // and checking what was opened settles it.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0)
    return nullptr;
  if (fstat(fd, &info) != 0 || !isRegular(info)) {
    close(fd);
    return nullptr;
  }
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  std::FILE* file = fdopen(fd, binary ? "rb" : "r");
  if (!file)
    close(fd);
  return file;
}

} // namespace grelmond::platform
