#pragma once

#include "params/ParameterList.h"

namespace grelmond {

constexpr int kBankPatches = 64;                         // patches in a bank, programs in the plug-in
constexpr int kListSize = kNumParameters;                // values of one patch, in list order
constexpr int kImageNameSize = ParameterList::kNameSize; // bytes of one name, NUL included

// One program as bank files carry it: values in list order and a NUL-terminated name.
using BankEntry = ParameterList;

// The 64 programs passing to or from a bank file.
struct BankImage {
  BankEntry entries[kBankPatches];
};

} // namespace grelmond
