#pragma once

#include <string>
#include <string_view>

namespace grelmond::platform {

// Writes contents to path through a temporary file in the same folder that is
// renamed over the old file, so a failed write leaves any existing file intact.
// A symbolic link is followed and its target replaced, or created when it
// does not exist yet (in a folder that must); the link stays. Only a regular file the
// process may write is replaced; anything else is left untouched and nothing
// is written. False on any failure.
bool writeFileAtomically(const std::string& path, std::string_view contents);

} // namespace grelmond::platform
