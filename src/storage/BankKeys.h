#pragma once

#include "storage/BankImage.h"

#include <string_view>

namespace grelmond {

// How the bank writer prints a value; the patch writer always uses Short.
enum class ValueStyle {
  Short, // three decimals
  Long,  // nine decimals, for the oscillator shapes
  Zero,  // the literal "0.0" of the unused entries
};

struct BankKey {
  const char* key;
  ValueStyle bankStyle;
};

// One entry per list index, in list order.
extern const BankKey kBankKeys[kListSize];

// List index of a key: the first exact match wins, so the repeated "not used"
// always addresses index 25; an unknown key addresses index 0.
int keyIndex(std::string_view key);

} // namespace grelmond
