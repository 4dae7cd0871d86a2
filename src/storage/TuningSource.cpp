#include "storage/TuningSource.h"

#include "storage/ScalaTuning.h"

#include <charconv>

namespace grelmond {

namespace {

// <tuning scale="N" mapping="M">\n, then N bytes of scale text and M bytes of
// mapping text exactly as loaded, then </tuning>\n. Lengths rather than
// escapes: file texts may hold anything.
constexpr std::string_view kOpen = "<tuning scale=\"";
constexpr std::string_view kMiddle = "\" mapping=\"";
constexpr std::string_view kOpenEnd = "\">\n";
constexpr std::string_view kClose = "</tuning>\n";

bool readLength(std::string_view& s, std::string_view end, std::size_t& length) {
    auto r = std::from_chars(s.data(), s.data() + s.size(), length);
    if (r.ec != std::errc() || r.ptr == s.data() || length > ScalaText::kMaxBytes) return false;
    s.remove_prefix(static_cast<std::size_t>(r.ptr - s.data()));
    if (s.substr(0, end.size()) != end) return false;
    s.remove_prefix(end.size());
    return true;
}

} // namespace

TuningSource::TuningSource() : scale_(ScalaScale::equalTemperament()), mapping_(KeyboardMapping::standard()) {}

ScalaStatus TuningSource::rebuild(const ScalaScale& scale, const KeyboardMapping& mapping) {
    return ScalaTuning::build(scale, mapping, table_);
}

ScalaStatus TuningSource::setScale(std::string_view text) {
    ScalaScale scale;
    ScalaStatus s = ScalaScale::parse(text, scale);
    if (s.ok()) s = rebuild(scale, mapping_);
    if (!s.ok()) return s;
    scale_ = std::move(scale);
    scaleText_.assign(text);
    return s;
}

ScalaStatus TuningSource::setMapping(std::string_view text) {
    KeyboardMapping mapping;
    ScalaStatus s = KeyboardMapping::parse(text, mapping);
    if (s.ok()) s = rebuild(scale_, mapping);
    if (!s.ok()) return s;
    mapping_ = std::move(mapping);
    mappingText_.assign(text);
    return s;
}

void TuningSource::reset() {
    scaleText_.clear();
    mappingText_.clear();
    scale_ = ScalaScale::equalTemperament();
    mapping_ = KeyboardMapping::standard();
    table_.reset();
}

std::string TuningSource::description() const { return scaleText_.empty() ? std::string() : scale_.description(); }

std::string TuningSource::stateSection() const {
    if (isEqualTemperament()) return {};
    std::string s(kOpen);
    s += std::to_string(scaleText_.size());
    s += kMiddle;
    s += std::to_string(mappingText_.size());
    s += kOpenEnd;
    s += scaleText_;
    s += mappingText_;
    s += kClose;
    return s;
}

bool TuningSource::readSectionAt(std::string_view text, std::size_t at) {
    std::string_view s = text.substr(at + kOpen.size());
    std::size_t scaleLength = 0, mappingLength = 0;
    if (!readLength(s, kMiddle, scaleLength) || !readLength(s, kOpenEnd, mappingLength) ||
        s.size() != scaleLength + mappingLength + kClose.size() || s.substr(scaleLength + mappingLength) != kClose)
        return false;
    const std::string_view scale = s.substr(0, scaleLength), mapping = s.substr(scaleLength, mappingLength);
    // The mapping first: a scale's table is built with the mapping it will play through.
    if ((mapping.empty() || setMapping(mapping).ok()) && (scale.empty() || setScale(scale).ok())) return true;
    reset();
    return false;
}

bool TuningSource::readStateSection(std::string_view text, std::size_t& sectionStart) {
    reset();
    // Hosts may hand back a terminator that was never written.
    while (!text.empty() && text.back() == '\0') text.remove_suffix(1);
    // The section's own texts may hold its opening, so the last opening that
    // reads as a whole section to the end is the one.
    for (std::size_t at = text.rfind(kOpen); at != std::string_view::npos; at = at == 0 ? std::string_view::npos : text.rfind(kOpen, at - 1)) {
        if (readSectionAt(text, at)) {
            sectionStart = at;
            return true;
        }
    }
    sectionStart = text.size();
    return text.find(kOpen) == std::string_view::npos;
}

} // namespace grelmond
