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

} // namespace grelmond
