#pragma once

#include <cstdint>
#include <memory>

#include "params/Program.h"

namespace grelmond {

// A program in the form bank and patch files exchange: values in list order
// (parameter order with positions 36 and 37 exchanged) and a 64-byte name.
struct ParameterList {
  static constexpr int32_t kNameSize = 64;

  float values[kNumParameters] = {};
  char name[kNameSize] = {};

  // List position that holds a parameter, and the reverse (the same swap).
  static constexpr int32_t positionOf(ParameterId index) {
    return index == 36 ? 37 : index == 37 ? 36 : index;
  }

  // A new program from this entry's values and the given name (cut to 23).
  // Null name keeps the program unnamed. Null if allocation fails.
  std::unique_ptr<Program> toProgram(const char* programName) const;

  // Values of the program in list order; the name is copied whole.
  void fillFrom(const Program& program);
};

} // namespace grelmond
