#include "params/ParameterList.h"

#include <cstring>
#include <new>

namespace grelmond {

std::unique_ptr<Program> ParameterList::toProgram(const char* programName) const {
  std::unique_ptr<Program> program(new (std::nothrow) Program());
  if (!program) return nullptr;
  for (ParameterId i = 0; i < kNumParameters; ++i) program->setValue(i, values[positionOf(i)]);
  program->setName(programName);
  return program;
}

void ParameterList::fillFrom(const Program& program) {
  for (ParameterId i = 0; i < kNumParameters; ++i) values[positionOf(i)] = program.value(i);
  std::memset(name, 0, sizeof name);
  std::strncpy(name, program.name().c_str(), kNameSize - 1);
}

} // namespace grelmond
