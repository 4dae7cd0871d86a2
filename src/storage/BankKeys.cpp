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

} // namespace grelmond
