#include "storage/NumberText.h"

#include <charconv>
#include <cmath>

namespace grelmond {

void appendFixed(std::string& out, double value, int decimals) {
  char buffer[400]; // fits the longest fixed text of any double
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  if (result.ec == std::errc())
    out.append(buffer, result.ptr);
  else
    out.append("0.0");
}

void appendShortest(std::string& out, float value) {
  char buffer[64]; // fits the longest shortest text of any float
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  if (result.ec == std::errc())
    out.append(buffer, result.ptr);
  else
    out.append("0.0");
}

double parseNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
    ++i;
  // from_chars takes a '-' but no '+'.
  if (i < text.size() && text[i] == '+') {
    ++i;
    if (i < text.size() && text[i] == '-')
      return 0.0;
  }
  double value = 0.0;
  const char* start = text.data() + i;
  const auto result = std::from_chars(start, text.data() + text.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    // Like atof: too small is zero, too large is infinite with the number's sign.
    const std::string_view number(start, static_cast<std::size_t>(result.ptr - start));
    const std::size_t e = number.find_first_of("eE");
    if (e != std::string_view::npos && e + 1 < number.size() && number[e + 1] == '-')
      return 0.0;
    return number.starts_with('-') ? -HUGE_VAL : HUGE_VAL;
  }
  return result.ec == std::errc() ? value : 0.0;
}

float parseParameterValue(std::string_view text) {
  const double value = parseNumber(text);
  if (std::isnan(value))
    return 0.0f;
  return static_cast<float>(std::fmin(std::fmax(value, 0.0), 1.0));
}

} // namespace grelmond

namespace grelmond {

float parseExactParameterValue(std::string_view text) {
  float value = 0.0f;
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, value);
  if (text.empty() || result.ec != std::errc() || result.ptr != end)
    return parseParameterValue(text);
  if (std::isnan(value))
    return 0.0f;
  // Comparisons, not fmax/fmin: they keep the sign of a zero.
  if (value < 0.0f)
    return 0.0f;
  return value > 1.0f ? 1.0f : value;
}

} // namespace grelmond
