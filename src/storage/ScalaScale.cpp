#include "storage/ScalaScale.h"

namespace grelmond {

namespace {

long long floorDiv(long long a, long long b) {
    long long q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

} // namespace

ScalaScale ScalaScale::equalTemperament() {
    ScalaScale s;
    s.description_ = "12-tone equal temperament";
    for (int k = 1; k <= 12; ++k) s.cents_.push_back(100.0 * k);
    return s;
}

ScalaStatus ScalaScale::parse(std::string_view text, ScalaScale& scale) {
    if (text.size() > ScalaText::kMaxBytes) return {ScalaError::tooLarge, 0};
    ScalaText reader(text);
    std::string_view line;
    // The description may be empty, so only comments are passed over.
    if (!reader.next(line, false)) return {ScalaError::missingLine, reader.lineNumber() + 1};
    ScalaScale read;
    read.description_.assign(line);
    if (!reader.next(line, true)) return {ScalaError::missingLine, reader.lineNumber() + 1};
    long long count = 0;
    if (!ScalaText::integer(line, count)) return {ScalaError::badNumber, reader.lineNumber()};
    if (count < 0) return {ScalaError::outOfRange, reader.lineNumber()};
    if (count > ScalaText::kMaxDegrees) return {ScalaError::tooManyDegrees, reader.lineNumber()};
    read.cents_.reserve(static_cast<std::size_t>(count));
    for (long long k = 0; k < count; ++k) {
        if (!reader.next(line, true)) return {ScalaError::countMismatch, reader.lineNumber()};
        double cents = 0.0;
        ScalaError e = ScalaText::pitch(line, cents);
        if (e != ScalaError::none) return {e, reader.lineNumber()};
        read.cents_.push_back(cents);
    }
    scale = std::move(read);
    return {};
}

double ScalaScale::degreeCents(long long degree) const {
    const long long n = size();
    if (n == 0) return 0.0;
    const long long octaves = floorDiv(degree, n);
    const long long step = degree - octaves * n;
    return static_cast<double>(octaves) * period() + (step == 0 ? 0.0 : cents_[static_cast<std::size_t>(step - 1)]);
}

} // namespace grelmond
