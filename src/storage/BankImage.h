#pragma once

namespace grelmond {

constexpr int kBankPatches = 64;   // patches in a bank and programs in the plug-in
constexpr int kListSize = 64;      // values of one patch, in list order
constexpr int kImageNameSize = 64; // bytes of one name, NUL included

// One program as bank files carry it: values in list order and a NUL-terminated name.
struct BankEntry {
  float values[kListSize];
  char name[kImageNameSize];
};

// The 64 programs passing to or from a bank file.
struct BankImage {
  BankEntry entries[kBankPatches];
};

} // namespace grelmond
