#include "render/MidiInput.h"

#include "engine/Voice.h"
#include "params/TuningTable.h"
#include "render/KeyDepth.h"
#include "render/TuningSysex.h"

namespace grelmond {

void MidiInput::attach(SampleStore* store, KeyDepth* keyDepth, Owner* owner, TuningTable* tuning)
{
    tuning_ = tuning;
    pool_.attach(store, &held_);
    keyDepth_ = keyDepth;
    owner_ = owner;
}

void MidiInput::handleEvents(const MidiEvent* events, int count)
{
    if (events == nullptr)
        return;
    for (int i = 0; i < count; ++i) {
        const MidiEvent& event = events[i];
        if (event.isSysEx()) {
            if (event.sysex != nullptr)
                handleSysEx(event.sysex, event.sysexSize);
            continue;
        }
        handleMessage(event.status, event.data1 & 127, event.data2 & 127, event.frame < 0 ? 0 : event.frame);
    }
}

void MidiInput::handleMessage(unsigned char status, unsigned char data1, unsigned char data2, int deltaFrames)
{
    if (status >= 0x80 && status <= 0x9F) {
        const int velocity = status < 0x90 ? 0 : data2;
        if (velocity != 0)
            noteOn(data1, velocity, deltaFrames);
        else if (sustainDown_)
            holdNote(data1);
        else
            noteOff(data1, deltaFrames);
    } else if (status >= 0xE0 && status <= 0xEF) {
        setPitchBend(bendValue(data1 + data2 * 128));
    } else if (status >= 0xB0 && status <= 0xBF) {
        if (data1 == 64) {
            sustainDown_ = data2 != 0;
            if (!sustainDown_)
                releaseHeld();
        }
        if (data1 == 1)
            setModWheel(static_cast<float>(data2) / 127.0f);
        if (data1 == 123)
            allNotesOff(deltaFrames);
    } else if (status >= 0xC0 && status <= 0xCF) {
        if (owner_ != nullptr)
            owner_->midiProgramChange(data1);
    }
}

void MidiInput::handleSysEx(const uint8_t* bytes, uint32_t size)
{
    if (tuning_ != nullptr && bytes != nullptr && size > 0)
        TuningSysex::apply(bytes, size, *tuning_);
}

void MidiInput::noteOn(int note, int velocity, int deltaFrames)
{
    if (keyDepth_ != nullptr && keyDepth_->controlNote(note))
        return;
    if (tuning_ != nullptr && !tuning_->mapped(note))
        return;
    pool_.start(velocity, note, deltaFrames, pitchBend_);
}

void MidiInput::noteOff(int note, int deltaFrames)
{
    pool_.releaseKey(note, deltaFrames);
}

void MidiInput::holdNote(int note)
{
    pool_.holdKey(note);
}

void MidiInput::releaseHeld()
{
    for (int i = 0; i < held_.size(); ++i)
        if (Voice* voice = held_[i])
            voice->noteOff(0);
    held_.clear();
}

void MidiInput::allNotesOff(int deltaFrames)
{
    pool_.releaseAll(deltaFrames);
}

// The wheel's centre, 8192, is exactly no bend; each side spans its own
// number of steps so that 0 and 16383 are the full range.
float MidiInput::bendValue(int wheel)
{
    const int offset = wheel - 8192;
    return static_cast<float>(offset) / (offset < 0 ? 8192.0f : 8191.0f);
}

void MidiInput::setPitchBend(float value)
{
    pitchBend_ = value;
    pool_.setPitchBendAll(value);
}

void MidiInput::setModWheel(float value)
{
    pool_.setModWheelAll(value);
}

} // namespace grelmond
