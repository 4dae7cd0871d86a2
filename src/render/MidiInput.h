#pragma once

#include "render/MidiEvent.h"
#include "render/HeldNotes.h"
#include "render/VoicePool.h"

namespace grelmond {

class KeyDepth;
class SampleStore;
class TuningTable;

// Turns the host's MIDI into voice starts, releases and controller changes,
// at once, as handleEvents delivers them; an event's frame offset travels with
// the voice as its start or release delay. All channels act alike. Audio
// thread only, after attach().
class MidiInput {
public:
    // What a program change asks of the plug-in instance.
    class Owner {
    public:
        virtual void midiProgramChange(int number) = 0;

    protected:
        ~Owner() = default;
    };

    // tuning: the audio thread's table, which silences unmapped keys and takes
    // tuning messages; null plays every key and ignores them.
    void attach(SampleStore* store, KeyDepth* keyDepth, Owner* owner, TuningTable* tuning = nullptr);

    // Channel messages act at once (data bytes taken as 7 bits, negative
    // frames as 0); system-exclusive messages go to handleSysEx.
    void handleEvents(const MidiEvent* events, int count);
    // A system-exclusive message, its bytes valid during the call only:
    // tuning messages retune the table, sounding notes included from their
    // next block; anything else is ignored.
    void handleSysEx(const uint8_t* bytes, uint32_t size);
    void handleMessage(unsigned char status, unsigned char data1, unsigned char data2, int deltaFrames);

    void noteOn(int note, int velocity, int deltaFrames);
    void noteOff(int note, int deltaFrames);
    void holdNote(int note);
    void releaseHeld();
    void allNotesOff(int deltaFrames);
    void setPitchBend(float value);
    // A 14-bit wheel position (0-16383) as -1 ... +1 of the bend range.
    static float bendValue(int wheel);
    void setModWheel(float value);

    VoicePool& pool() { return pool_; }
    const HeldNotes& held() const { return held_; }
    float pitchBend() const { return pitchBend_; }
    bool sustainDown() const { return sustainDown_; }

private:
    VoicePool pool_;
    HeldNotes held_;
    KeyDepth* keyDepth_ = nullptr;
    Owner* owner_ = nullptr;
    TuningTable* tuning_ = nullptr;
    float pitchBend_ = 0.0f;
    bool sustainDown_ = false;
};

} // namespace grelmond
