#pragma once

#include <cstddef>
#include <string>

namespace grelmond::platform {

// The folder that holds the plug-in's data files: $GRELMOND_INSTALL_PATH when
// set, otherwise the folder of the loaded library, otherwise empty. No trailing '/'.
std::string installFolder();

// installFolder() copied into a caller's buffer. False, with an empty text,
// when there is no folder or it does not fit.
bool readInstallPath(char* buffer, std::size_t size);

} // namespace grelmond::platform
