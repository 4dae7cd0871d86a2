#pragma once

namespace storage {

constexpr int kBankPatches = 64; // patches in a bank and programs in the plug-in
constexpr int kListSize = 64;    // values of one patch, in list order
constexpr int kImageNameSize = 64; // bytes of one name, NUL included

// The form in which programs pass to and from bank files: 64 lists of values in
// list order and 64 NUL-terminated names.
struct BankImage {
  float lists[kBankPatches][kListSize];
  char names[kBankPatches][kImageNameSize];
};

} // namespace storage
