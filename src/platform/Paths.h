#pragma once

#include <string>
#include <string_view>

namespace grelmond::platform {

// folder + '/' + name.
std::string joinPath(std::string_view folder, std::string_view name);

// A full path starts with '/', or with "~/" for one under $HOME; anything else
// is a bare name resolved against the remembered folder.
bool isFullPath(std::string_view name);

// "~/x" becomes $HOME + "/x" (empty without a usable $HOME); other names are returned unchanged.
std::string expandHome(std::string_view name);

// The part of path before its last '/', searching back to the second character
// only, so "/bank.grb" has no folder. Leaves out untouched and returns false
// when there is none.
bool directoryOf(std::string_view path, std::string& out);

} // namespace grelmond::platform
