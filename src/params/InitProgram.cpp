#include "params/InitProgram.h"

namespace grelmond {

InitProgram::InitProgram() {
  for (ParameterId i = 0; i < kNumParameters; ++i) setValue(i, parameterInfo(i).defaultValue);
  setName("Init");
}

} // namespace grelmond
