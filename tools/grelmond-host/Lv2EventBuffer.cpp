#include "Lv2EventBuffer.h"

#include <lv2/midi/midi.h>
#include <cmath>
#include <lv2/time/time.h>

namespace host {

Lv2EventBuffer::Lv2EventBuffer(UridMap& urids) : urids_(urids), storage_(kCapacity / sizeof(std::uint64_t))
{
    lv2_atom_forge_init(&forge_, urids_.mapFeature());
    clear();
}

void Lv2EventBuffer::clear()
{
    lv2_atom_forge_set_buffer(&forge_, reinterpret_cast<uint8_t*>(storage_.data()), kCapacity);
    lv2_atom_forge_sequence_head(&forge_, &sequence_, 0);
}

bool Lv2EventBuffer::addMidi(std::uint32_t frame, const unsigned char* bytes, std::uint32_t size)
{
    return lv2_atom_forge_frame_time(&forge_, frame) != 0 &&
           lv2_atom_forge_atom(&forge_, size, urids_.map(LV2_MIDI__MidiEvent)) != 0 &&
           lv2_atom_forge_write(&forge_, bytes, size) != 0;
}

bool Lv2EventBuffer::addPosition(std::uint32_t frame, std::int64_t position, double sampleRate, double tempo)
{
    const double beats = static_cast<double>(position) / sampleRate * tempo / 60.0;
    LV2_Atom_Forge_Frame object;
    if (lv2_atom_forge_frame_time(&forge_, frame) == 0 ||
        lv2_atom_forge_object(&forge_, &object, 0, urids_.map(LV2_TIME__Position)) == 0)
        return false;
    lv2_atom_forge_key(&forge_, urids_.map(LV2_TIME__frame));
    lv2_atom_forge_long(&forge_, position);
    lv2_atom_forge_key(&forge_, urids_.map(LV2_TIME__speed));
    lv2_atom_forge_float(&forge_, 1.0f);
    lv2_atom_forge_key(&forge_, urids_.map(LV2_TIME__beatsPerMinute));
    lv2_atom_forge_float(&forge_, static_cast<float>(tempo));
    lv2_atom_forge_key(&forge_, urids_.map(LV2_TIME__beatsPerBar));
    lv2_atom_forge_float(&forge_, 4.0f);
    lv2_atom_forge_key(&forge_, urids_.map(LV2_TIME__beatUnit));
    lv2_atom_forge_int(&forge_, 4);
    lv2_atom_forge_key(&forge_, urids_.map(LV2_TIME__bar));
    lv2_atom_forge_long(&forge_, static_cast<std::int64_t>(beats / 4.0));
    lv2_atom_forge_key(&forge_, urids_.map(LV2_TIME__barBeat));
    const bool written = lv2_atom_forge_float(&forge_, static_cast<float>(beats - 4.0 * std::floor(beats / 4.0))) != 0;
    lv2_atom_forge_pop(&forge_, &object);
    return written;
}

bool Lv2EventBuffer::addAtom(std::uint32_t frame, const LV2_Atom* atom)
{
    return lv2_atom_forge_frame_time(&forge_, frame) != 0 &&
           lv2_atom_forge_write(&forge_, atom, static_cast<uint32_t>(sizeof(LV2_Atom) + atom->size)) != 0;
}

} // namespace host
