#pragma once

// Base64 as Ardour writes plug-in state into its session files.

#include <optional>
#include <string>
#include <string_view>

namespace ardourtest {

std::string toBase64(std::string_view bytes);
// Whitespace is skipped; any other character outside the alphabet, or a
// length that does not end on a whole group, gives nothing.
std::optional<std::string> fromBase64(std::string_view text);

} // namespace ardourtest
