#pragma once

#include <cstdio>
#include <string>

namespace grelmond::platform {

// Opens path for reading when it is a regular file (a link to one included).
// Null for anything else, which is refused before it is opened: a FIFO would
// block the caller until someone writes to it, a device may never end.
// Text mode unless binary (the two differ on Windows only).
std::FILE* openRegularFile(const std::string& path, bool binary = false);

} // namespace grelmond::platform
