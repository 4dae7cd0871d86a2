#pragma once

#include <string>

namespace grelmond::lv2 {

// A float as a Turtle decimal: the shortest digits that read back to the
// same bits, never in exponent form, whatever the locale.
std::string turtleNumber(float value);

// A Turtle string literal, quotes included, with '"', '\' and control
// characters escaped.
std::string turtleString(const std::string& text);

} // namespace grelmond::lv2
