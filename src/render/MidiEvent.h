#pragma once

#include <cstdint>

namespace grelmond {

// One incoming MIDI message, independent of any plug-in format: a channel
// message {status, data1, data2} at a frame of the coming block, or, with
// status 0xF0, a system-exclusive message whose bytes (F0 … F7) the sender
// owns for the duration of the call that hands the event over, so nothing
// needs to be copied or allocated on the audio thread.
struct MidiEvent {
    int32_t frame = 0; // 0 ≤ frame < the block's frames; negative counts as 0
    uint8_t status = 0;
    uint8_t data1 = 0;
    uint8_t data2 = 0;
    const uint8_t* sysex = nullptr;
    uint32_t sysexSize = 0;

    static constexpr uint8_t kSysExStatus = 0xF0;
    bool isSysEx() const { return status == kSysExStatus; }
};

} // namespace grelmond
