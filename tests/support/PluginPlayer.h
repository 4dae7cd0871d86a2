#pragma once

// A plug-in instance played as a host plays it: the rate and block size set,
// MIDI events at frame offsets, then processReplacing block by block, with the
// rendered channels kept for measuring.

#include "PluginLoader.h"

#include <memory>
#include <vector>

namespace testsupport {

struct MidiMessage {
    int delta;
    unsigned char status, data1, data2;
};

class PluginPlayer {
public:
    PluginPlayer(PluginLoader& loader, float sampleRate = 44100.0f, int blockSize = 512);
    bool ok() const { return instance_ != nullptr; }
    PluginInstance& plugin() { return *instance_; }
    ScriptedHost& host() { return host_; }
    float sampleRate() const { return rate_; }

    void set(int index, float value) { instance_->setParameter(index, value); }
    void program(int index);
    // One plain sine on oscillator 3 straight to the output: no proc function,
    // filter bypassed, no effects, instant attack, full sustain, volume 0.5.
    void sinePatch();
    void events(const std::vector<MidiMessage>& list);
    // One system-exclusive event (bytes as given) at frame `delta` of the next block.
    void sysex(int delta, std::vector<unsigned char> bytes);
    // Renders `frames` more frames in blocks of the player's block size.
    void render(int frames);
    // The same in blocks of `block` frames, through process (adding into
    // zeroed buffers) when `accumulate` is set.
    void render(int frames, int block, bool accumulate = false);

    std::vector<float> left, right;

private:
    ScriptedHost host_;
    std::unique_ptr<PluginInstance> instance_;
    float rate_;
    int block_;
};

// The plug-in the sound tests measure: the built one, or the one named by
// GRELMOND_TEST_PLUGIN (to take the same figures of another build).
std::string measuredPluginPath();

} // namespace testsupport
