#pragma once

#include <string>

namespace grelmond::platform {

// The user's own folder for the plug-in's settings: $XDG_CONFIG_HOME/Grelmond or
// ~/.config/Grelmond on Linux, %APPDATA%\Grelmond on Windows. Empty when unknown.
std::string userConfigFolder();

// Creates folder and any missing parents; true when it exists afterwards.
bool makeFolders(const std::string& folder);

// True when files can be created in folder.
bool isWritableFolder(const std::string& folder);

} // namespace grelmond::platform
