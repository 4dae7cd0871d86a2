#include "PortSymbols.h"

#include <cctype>

namespace grelmond::lv2 {

namespace {

std::string baseSymbol(ParameterId index) {
  std::string symbol;
  for (const char c : portName(index)) {
    const auto u = static_cast<unsigned char>(c);
    symbol += std::isalnum(u) && u < 0x80 ? static_cast<char>(std::tolower(u)) : '_';
  }
  // A symbol may not start with a digit.
  if (symbol.empty() || std::isdigit(static_cast<unsigned char>(symbol[0])))
    symbol.insert(0, "_");
  return symbol;
}

bool nameIsShared(ParameterId index) {
  const std::string own = baseSymbol(index);
  for (ParameterId other = 0; other < kNumParameters; ++other)
    if (other != index && baseSymbol(other) == own)
      return true;
  return false;
}

} // namespace

std::string portName(ParameterId index) {
  std::string name = parameterInfo(index).name;
  const auto first = name.find_first_not_of(' ');
  if (first == std::string::npos)
    return {};
  return name.substr(first, name.find_last_not_of(' ') - first + 1);
}

std::string portSymbol(ParameterId index) {
  std::string symbol = baseSymbol(index);
  if (nameIsShared(index))
    symbol += "_" + std::to_string(index);
  return symbol;
}

} // namespace grelmond::lv2
