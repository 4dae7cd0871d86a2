#pragma once

#include "storage/BankImage.h"

#include <cstddef>
#include <string>

namespace grelmond {

// Reads up to 64 patches into image, patch k into list k and name k. Values and
// names that the file does not carry keep what the caller put there. The result
// says whether the file is a whole bank; on failure the image may be partly
// overwritten, so callers read into a copy.
bool readBank(const std::string& path, BankImage& image);

// The same on text already in memory.
bool readBankText(const char* data, std::size_t size, BankImage& image);

} // namespace grelmond
