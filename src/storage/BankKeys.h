#pragma once

#include "params/ParameterTable.h"

#include <string_view>

namespace grelmond {

// Key and bank-writer format of a list index (0 to 63), from the parameter table.
const char* bankKey(int listIndex);
BankFormat bankFormat(int listIndex);

// List index of a key: the first exact match wins, so the repeated "not used"
// always addresses index 25; an unknown key addresses index 0.
int keyIndex(std::string_view key);
// The same, but the n-th occurrence (from 0) of a repeated key addresses the
// n-th index that carries it ("not used": 25, 26, 27, 38, 48), as exact texts
// number them; past the last it is the first match again.
int keyIndex(std::string_view key, int occurrence);

// The version attribute of bank and patch files, and of the exact texts that
// carry every value to its last bit (the host state).
constexpr const char* kFileVersion = "1.0";
constexpr const char* kExactVersion = "1.1";

} // namespace grelmond
