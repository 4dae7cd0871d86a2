#pragma once

#include "params/ParameterTable.h"

#include <string>

namespace grelmond::lv2 {

// The LV2 symbol of a parameter's port: its name in lower case with '_' for
// every other character. A name that several parameters share gets the
// parameter index appended, so every symbol is unique and none depends on
// the others' order.
std::string portSymbol(ParameterId index);

// The name hosts show: the parameter name without its padding blanks.
std::string portName(ParameterId index);

} // namespace grelmond::lv2
