#include "storage/ScalaText.h"

#include <charconv>
#include <cmath>

namespace grelmond {

namespace {

// Beyond any numerator or denominator a real scale uses, and well inside a
// long long, so that digits never overflow.
constexpr long long kMaxWhole = 999'999'999'999'999LL;
constexpr std::size_t kMaxDigits = 15;

bool blank(char c) { return c == ' ' || c == '\t'; }
bool digit(char c) { return c >= '0' && c <= '9'; }

std::size_t skipBlanks(std::string_view s, std::size_t i) {
    while (i < s.size() && blank(s[i])) ++i;
    return i;
}

std::size_t skipDigits(std::string_view s, std::size_t i) {
    while (i < s.size() && digit(s[i])) ++i;
    return i;
}

// Digits from i as a whole number; false without digits or with too many.
bool wholeAt(std::string_view s, std::size_t& i, long long& value) {
    const std::size_t end = skipDigits(s, i);
    if (end == i || end - i > kMaxDigits) return false;
    value = 0;
    for (; i < end; ++i) value = value * 10 + (s[i] - '0');
    return value <= kMaxWhole;
}

// An optional sign, digits, an optional period and digits, at least one digit
// in all: its extent from i, or 0 when there is none.
std::size_t decimalExtent(std::string_view s, std::size_t i, bool& hasPeriod) {
    const std::size_t start = i;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) ++i;
    std::size_t intEnd = skipDigits(s, i);
    std::size_t digits = intEnd - i;
    std::size_t end = intEnd;
    hasPeriod = end < s.size() && s[end] == '.';
    if (hasPeriod) {
        std::size_t fracEnd = skipDigits(s, end + 1);
        digits += fracEnd - (end + 1);
        end = fracEnd;
    }
    return digits == 0 ? 0 : end - start;
}

bool parseDecimal(std::string_view s, double& value) {
    const bool negative = !s.empty() && s[0] == '-';
    if (!s.empty() && (s[0] == '-' || s[0] == '+')) s.remove_prefix(1);
    // from_chars wants a digit first: ".5" is read as "0.5".
    std::string_view body = s;
    double v = 0.0;
    if (!body.empty() && body[0] == '.') {
        if (body.size() == 1) return false;
        std::string_view frac = body.substr(1);
        double f = 0.0;
        auto r = std::from_chars(frac.data(), frac.data() + frac.size(), f, std::chars_format::fixed);
        if (r.ec != std::errc() || r.ptr != frac.data() + frac.size()) return false;
        v = f / std::pow(10.0, static_cast<double>(frac.size()));
    } else {
        // A trailing period ("408.") is a valid cents value.
        if (body.back() == '.') body.remove_suffix(1);
        auto r = std::from_chars(body.data(), body.data() + body.size(), v, std::chars_format::fixed);
        if (r.ec != std::errc() || r.ptr != body.data() + body.size()) return false;
    }
    value = negative ? -v : v;
    return std::isfinite(value);
}

} // namespace

std::string ScalaStatus::message() const {
    const char* what = "";
    switch (error) {
    case ScalaError::none: return "The file is valid.";
    case ScalaError::tooLarge: return "The file is larger than 64 KB.";
    case ScalaError::missingLine: what = "the file ends before a required line"; break;
    case ScalaError::badNumber: what = "not a valid number"; break;
    case ScalaError::outOfRange: what = "the number is out of range"; break;
    case ScalaError::nonPositiveRatio: what = "a ratio must be positive"; break;
    case ScalaError::tooManyDegrees: what = "more than 1000 degrees"; break;
    case ScalaError::countMismatch: what = "fewer pitches than the count says"; break;
    case ScalaError::unmappedReference: what = "the reference key is unmapped"; break;
    }
    // Some faults belong to no one line (a reference key the mapping leaves out).
    if (line <= 0) {
        std::string text = std::string(what) + ".";
        text[0] = static_cast<char>(text[0] - 'a' + 'A');
        return text;
    }
    return "Line " + std::to_string(line) + ": " + what + ".";
}

bool ScalaText::next(std::string_view& line, bool skipBlank) {
    while (at_ < text_.size()) {
        std::size_t end = text_.find('\n', at_);
        if (end == std::string_view::npos) end = text_.size();
        std::string_view l = text_.substr(at_, end - at_);
        at_ = end < text_.size() ? end + 1 : end;
        ++lineNumber_;
        if (!l.empty() && l.back() == '\r') l.remove_suffix(1);
        if (!l.empty() && l[0] == '!') continue;
        if (skipBlank && skipBlanks(l, 0) == l.size()) continue;
        line = l;
        return true;
    }
    return false;
}

bool ScalaText::integer(std::string_view line, long long& value) {
    std::size_t i = skipBlanks(line, 0);
    bool negative = false;
    if (i < line.size() && (line[i] == '-' || line[i] == '+')) negative = line[i++] == '-';
    if (!wholeAt(line, i, value)) return false;
    // "12.5" is not a whole number.
    if (i < line.size() && line[i] == '.') return false;
    if (negative) value = -value;
    return true;
}

bool ScalaText::decimal(std::string_view line, double& value) {
    const std::size_t i = skipBlanks(line, 0);
    bool hasPeriod = false;
    const std::size_t n = decimalExtent(line, i, hasPeriod);
    return n != 0 && parseDecimal(line.substr(i, n), value);
}

ScalaError ScalaText::pitch(std::string_view line, double& cents) {
    std::size_t i = skipBlanks(line, 0);
    bool hasPeriod = false;
    const std::size_t n = decimalExtent(line, i, hasPeriod);
    if (n == 0) return ScalaError::badNumber;
    if (hasPeriod) {
        if (!parseDecimal(line.substr(i, n), cents)) return ScalaError::badNumber;
        return std::fabs(cents) <= 1e6 ? ScalaError::none : ScalaError::outOfRange;
    }
    const bool negative = line[i] == '-';
    if (line[i] == '-' || line[i] == '+') ++i;
    long long num = 0, den = 1;
    if (!wholeAt(line, i, num)) return ScalaError::badNumber;
    if (i < line.size() && line[i] == '/') {
        ++i;
        if (i < line.size() && line[i] == '-') return ScalaError::nonPositiveRatio;
        if (!wholeAt(line, i, den)) return ScalaError::badNumber;
    }
    if (negative || num == 0 || den == 0) return ScalaError::nonPositiveRatio;
    cents = 1200.0 * std::log2(static_cast<double>(num) / static_cast<double>(den));
    return ScalaError::none;
}

} // namespace grelmond
