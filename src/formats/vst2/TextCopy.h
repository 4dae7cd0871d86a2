#pragma once

#include <cstddef>

namespace grelmond {

// Copies text into a host buffer of `capacity` bytes (terminator included),
// cutting it to fit. A null destination or a zero capacity writes nothing;
// a null source writes an empty text.
void copyText(char* dest, const char* src, std::size_t capacity);

} // namespace grelmond
