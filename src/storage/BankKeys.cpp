#include "storage/BankKeys.h"

#include "params/ParameterList.h"

namespace grelmond {

const char* bankKey(int listIndex) { return parameterInfo(ParameterList::positionOf(listIndex)).bankKey; }

BankFormat bankFormat(int listIndex) { return parameterInfo(ParameterList::positionOf(listIndex)).bankFormat; }

int keyIndex(std::string_view key) {
  for (int i = 0; i < kNumParameters; ++i)
    if (key == bankKey(i))
      return i;
  return 0;
}

int keyIndex(std::string_view key, int occurrence) {
  for (int i = 0; i < kNumParameters; ++i)
    if (key == bankKey(i) && occurrence-- == 0)
      return i;
  return keyIndex(key);
}

} // namespace grelmond
