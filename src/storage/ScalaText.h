#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace grelmond {

// Why a scale or keyboard-mapping text was refused.
enum class ScalaError {
    none,
    tooLarge,          // more than ScalaText::kMaxBytes
    missingLine,       // the text ends before a required line
    badNumber,         // a line does not start with the number it must hold
    outOfRange,        // a number is valid text but outside what it may be
    nonPositiveRatio,  // a ratio with a zero or negative part
    tooManyDegrees,    // more than ScalaText::kMaxDegrees
    countMismatch,     // fewer pitch lines than the count announced
    unmappedReference, // the mapping leaves its own reference key unmapped
};

// A refusal and the line (1-based) where it was found; line 0 for the whole text.
struct ScalaStatus {
    ScalaError error = ScalaError::none;
    int line = 0;

    bool ok() const { return error == ScalaError::none; }
    // A sentence for the musician, such as "Line 5: a ratio must be positive."
    std::string message() const;
};

// The line reading and number syntax that scale and keyboard-mapping files
// share: '!' comment lines, CR LF or LF endings, blanks and tabs around
// values, and anything after a valid number ignored. Never reads outside the
// text it is given, and never depends on the process locale.
class ScalaText {
public:
    static constexpr std::size_t kMaxBytes = 64 * 1024;
    static constexpr int kMaxDegrees = 1000;

    explicit ScalaText(std::string_view text) : text_(text) {}

    // The next line that is not a comment, without its line ending; with
    // skipBlank, lines of only blanks and tabs are passed over too. False at the end.
    bool next(std::string_view& line, bool skipBlank);
    int lineNumber() const { return lineNumber_; }

    // A whole number with an optional sign at the line's start (after blanks).
    static bool integer(std::string_view line, long long& value);
    // A pitch: cents when the value holds a period, otherwise a ratio a/b or a
    // whole number a (= a/1). Cents may be negative; ratios must be positive.
    static ScalaError pitch(std::string_view line, double& cents);
    // A decimal number such as 440 or 261.6256 (no exponent), finite.
    static bool decimal(std::string_view line, double& value);

private:
    std::string_view text_;
    std::size_t at_ = 0;
    int lineNumber_ = 0;
};

} // namespace grelmond
