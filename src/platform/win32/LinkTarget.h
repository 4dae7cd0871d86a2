#pragma once

#include <string>

namespace grelmond::platform {

// The path a symbolic link at linkPath names, from the name stored in the link:
// the "\??\" of an NT path is dropped, and a relative name is taken from the
// link's own folder.
std::string linkTargetPath(const std::string& linkPath, std::string stored, bool relative);

} // namespace grelmond::platform
