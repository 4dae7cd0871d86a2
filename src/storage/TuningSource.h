#pragma once

#include "params/TuningTable.h"
#include "storage/KeyboardMapping.h"
#include "storage/ScalaScale.h"

#include <string>
#include <string_view>

namespace grelmond {

// The tuning an instance plays: the scale and keyboard-mapping texts it was
// loaded from (empty for equal temperament and the standard mapping), and the
// table they give. Saved with the instance's state as a trailing section.
// User-interface side only; the table goes to the audio thread by hand-over.
class TuningSource {
public:
    TuningSource();

    // A new scale or mapping, kept with the other half; refused texts change nothing.
    ScalaStatus setScale(std::string_view text);
    ScalaStatus setMapping(std::string_view text);
    // Equal temperament with the standard mapping.
    void reset();

    const TuningTable& table() const { return table_; }
    bool isEqualTemperament() const { return scaleText_.empty() && mappingText_.empty(); }
    // The scale's description line; empty in equal temperament.
    std::string description() const;

    // The state section: empty in equal temperament, so that states without a
    // tuning and states saved before tunings existed mean the same.
    std::string stateSection() const;
    // Finds the section at the end of a state text and applies it; without one,
    // or with one that does not read, the tuning is equal temperament (false
    // only for the latter). sectionStart receives where the section begins
    // (text.size() when there is none), so the rest can be read without it.
    bool readStateSection(std::string_view text, std::size_t& sectionStart);

private:
    ScalaStatus rebuild(const ScalaScale& scale, const KeyboardMapping& mapping);
    bool readSectionAt(std::string_view text, std::size_t at);

    std::string scaleText_;
    std::string mappingText_;
    ScalaScale scale_;
    KeyboardMapping mapping_;
    TuningTable table_;
};

} // namespace grelmond
