#include "TurtleText.h"

#include <charconv>
#include <cstdio>

namespace grelmond::lv2 {

std::string turtleNumber(float value) {
  char text[64];
  const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed).ptr;
  std::string number(text, end);
  // "1" would read as an integer; a decimal keeps the port's float type.
  if (number.find('.') == std::string::npos)
    number += ".0";
  return number;
}

std::string turtleString(const std::string& text) {
  std::string quoted = "\"";
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (u < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04X", u);
      quoted += escape;
    } else {
      quoted += c;
    }
  }
  return quoted + "\"";
}

} // namespace grelmond::lv2
