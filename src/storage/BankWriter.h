#pragma once

#include "storage/BankImage.h"

#include <string>

namespace grelmond {

// The text of a bank of all 64 patches, numbered 1 to 64.
std::string formatBank(const BankImage& image);

// The text of a single patch: a bank holding one patch numbered 0, every value
// with three decimals.
std::string formatPatch(const BankEntry& entry);

// The same texts with every value exact (the shortest text that reads back to
// the same bits, the "not used" ones included) and version 1.1: what the host
// state carries.
std::string formatExactBank(const BankImage& image);
std::string formatExactPatch(const BankEntry& entry);

// Write the text above to path, replacing an existing file only once the new
// one is complete. False when the file cannot be written.
bool writeBank(const std::string& path, const BankImage& image);
bool writePatch(const std::string& path, const BankEntry& entry);

} // namespace grelmond
