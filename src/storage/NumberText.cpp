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
  const auto result = std::from_chars(text.data() + i, text.data() + text.size(), value);
  return result.ec == std::errc() ? value : 0.0;
}

float parseParameterValue(std::string_view text) {
  const double value = parseNumber(text);
  if (std::isnan(value))
    return 0.0f;
  return static_cast<float>(std::fmin(std::fmax(value, 0.0), 1.0));
}

} // namespace grelmond
