#pragma once

// The atom sequence a host hands an LV2 plug-in for one block: MIDI messages
// and the transport position, at frame offsets.

#include "UridMap.h"

#include <lv2/atom/forge.h>

#include <cstdint>
#include <vector>

namespace host {

class Lv2EventBuffer {
public:
    static constexpr std::uint32_t kCapacity = 1 << 16;

    explicit Lv2EventBuffer(UridMap& urids);

    // Starts an empty sequence for the next block.
    void clear();
    // Events must come in frame order; false when the buffer is full.
    bool addMidi(std::uint32_t frame, const unsigned char* bytes, std::uint32_t size);
    // The transport rolling at tempo, at position (frames from the start).
    bool addPosition(std::uint32_t frame, std::int64_t position, double sampleRate, double tempo);
    // Any atom, copied whole (the editor's messages).
    bool addAtom(std::uint32_t frame, const LV2_Atom* atom);

    void* data() { return storage_.data(); }

private:
    UridMap& urids_;
    std::vector<std::uint64_t> storage_; // 64-bit aligned, as atoms must be
    LV2_Atom_Forge forge_;
    LV2_Atom_Forge_Frame sequence_;
};

} // namespace host
