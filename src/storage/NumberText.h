#pragma once

#include <string>
#include <string_view>

namespace grelmond {

// Numbers in bank files are written and read the same way whatever locale the
// host has set: always a '.' decimal point, and the process locale is never touched.

// Appends value with a fixed number of decimals, rounded as printf's "%.Nf" does.
void appendFixed(std::string& out, double value, int decimals);

// Appends the shortest text that reads back to exactly value's bits ("-0"
// for negative zero).
void appendShortest(std::string& out, float value);

// Reads a number like atof: leading white space skipped, text after the number
// ignored, no number gives 0.0, one out of range 0.0 or an infinity.
double parseNumber(std::string_view text);

// A value text as a stored parameter value: a normalised value, so non-numbers
// become 0.0 and everything else is held to 0..1.
float parseParameterValue(std::string_view text);

// The same, but a text that is nothing but a number is read straight into a
// float, so shortest texts come back bit for bit (negative zero included).
float parseExactParameterValue(std::string_view text);

} // namespace grelmond
