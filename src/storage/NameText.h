#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace grelmond {

// Program names in bank files: '"', '<', '>' and '&' would break the format, so
// they are written as XML entities and exactly those entities are decoded on
// reading. Names without them are written unchanged.
void appendEscapedName(std::string& out, std::string_view name);
std::string unescapeName(std::string_view text);

// Copies text into a NUL-terminated field of size bytes, cut so that no
// multi-byte UTF-8 character is split.
void copyBoundedName(char* field, std::size_t size, std::string_view text);

} // namespace grelmond
