#pragma once

#include "storage/ScalaText.h"

#include <string>
#include <string_view>
#include <vector>

namespace grelmond {

// A scale read from a Scala .scl text: its description and its degrees in
// cents above the implicit 1/1; the last degree is the period (the formal octave).
class ScalaScale {
public:
    // 12 equal steps to the octave.
    static ScalaScale equalTemperament();

    // Reads text into scale; on refusal scale is left as it was.
    static ScalaStatus parse(std::string_view text, ScalaScale& scale);

    const std::string& description() const { return description_; }
    int size() const { return static_cast<int>(cents_.size()); }
    // Degree 0 is 0 cents; degrees beyond the scale repeat it a period higher
    // (or lower, for negative degrees). An empty scale keeps every degree at 0.
    double degreeCents(long long degree) const;
    double period() const { return cents_.empty() ? 0.0 : cents_.back(); }

private:
    std::string description_;
    std::vector<double> cents_; // degrees 1..size
};

} // namespace grelmond
