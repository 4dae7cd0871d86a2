#pragma once

#include "params/Program.h"

namespace grelmond {

// The defaults of every parameter, named "Init".
class InitProgram : public Program {
public:
  InitProgram();
};

} // namespace grelmond
