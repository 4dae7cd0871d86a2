#include "storage/KeyboardMapping.h"

#include <cmath>

namespace grelmond {

namespace {

constexpr int kMaxMapSize = 1000;
constexpr double kMaxFrequency = 1e6;
constexpr long long kMaxEntry = 100000;

long long floorDiv(long long a, long long b) {
    long long q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// The header's whole numbers, each on its own line, within [low, high].
ScalaStatus readWhole(ScalaText& reader, long long low, long long high, int& value) {
    std::string_view line;
    if (!reader.next(line, true)) return {ScalaError::missingLine, reader.lineNumber() + 1};
    long long v = 0;
    if (!ScalaText::integer(line, v)) return {ScalaError::badNumber, reader.lineNumber()};
    if (v < low || v > high) return {ScalaError::outOfRange, reader.lineNumber()};
    value = static_cast<int>(v);
    return {};
}

// A mapping entry: a degree, or 'x' for an unmapped key.
ScalaStatus readEntry(std::string_view line, int lineNumber, int& entry) {
    std::size_t i = 0;
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (i < line.size() && (line[i] == 'x' || line[i] == 'X')) {
        entry = KeyboardMapping::kUnmapped;
        return {};
    }
    long long v = 0;
    if (!ScalaText::integer(line, v)) return {ScalaError::badNumber, lineNumber};
    if (v < -kMaxEntry || v > kMaxEntry) return {ScalaError::outOfRange, lineNumber};
    entry = static_cast<int>(v);
    return {};
}

} // namespace

KeyboardMapping KeyboardMapping::standard() { return KeyboardMapping(); }

ScalaStatus KeyboardMapping::parse(std::string_view text, KeyboardMapping& mapping) {
    if (text.size() > ScalaText::kMaxBytes) return {ScalaError::tooLarge, 0};
    ScalaText reader(text);
    KeyboardMapping m;
    ScalaStatus s;
    if (!(s = readWhole(reader, 0, kMaxMapSize, m.size_)).ok()) return s;
    if (!(s = readWhole(reader, 0, 127, m.first_)).ok()) return s;
    if (!(s = readWhole(reader, 0, 127, m.last_)).ok()) return s;
    if (!(s = readWhole(reader, 0, 127, m.middle_)).ok()) return s;
    if (!(s = readWhole(reader, 0, 127, m.reference_)).ok()) return s;
    std::string_view line;
    if (!reader.next(line, true)) return {ScalaError::missingLine, reader.lineNumber() + 1};
    if (!ScalaText::decimal(line, m.frequency_)) return {ScalaError::badNumber, reader.lineNumber()};
    if (!(m.frequency_ > 0.0 && m.frequency_ <= kMaxFrequency)) return {ScalaError::outOfRange, reader.lineNumber()};
    if (!(s = readWhole(reader, 0, ScalaText::kMaxDegrees, m.octaveDegree_)).ok()) return s;
    // Fewer entries than the size leave the remaining keys unmapped.
    m.map_.reserve(static_cast<std::size_t>(m.size_));
    while (static_cast<int>(m.map_.size()) < m.size_ && reader.next(line, true)) {
        int entry = 0;
        if (!(s = readEntry(line, reader.lineNumber(), entry)).ok()) return s;
        m.map_.push_back(entry);
    }
    mapping = std::move(m);
    return {};
}

long long KeyboardMapping::patternDegree(int key, int scaleSize) const {
    const long long offset = static_cast<long long>(key) - middle_;
    if (size_ == 0) return offset;
    const long long repeats = floorDiv(offset, size_);
    const long long index = offset - repeats * size_;
    if (index >= static_cast<long long>(map_.size())) return kNoDegree;
    const int entry = map_[static_cast<std::size_t>(index)];
    if (entry == kUnmapped) return kNoDegree;
    const long long octave = octaveDegree_ != 0 ? octaveDegree_ : scaleSize;
    return entry + repeats * octave;
}

long long KeyboardMapping::degree(int key, int scaleSize) const {
    if (key < first_ || key > last_) return kNoDegree;
    return patternDegree(key, scaleSize);
}

double KeyboardMapping::referencePitch() const {
    if (frequency_ == 0.0) return static_cast<double>(reference_);
    return 69.0 + 12.0 * std::log2(frequency_ / 440.0);
}

} // namespace grelmond
