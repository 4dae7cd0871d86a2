#pragma once

#include "render/MidiInput.h"
#include "render/RenderLoop.h"

namespace grelmond {

class EngineHolder;
class ParameterMirror;
class RenderValues;

// Everything one plug-in instance plays with: its MIDI input and voice list,
// its render loop and effect chain. Reads only its own instance's values, so
// instances in one process never disturb each other. Held by value in the
// plug-in; attach() on the constructing thread, the rest on the audio thread.
class InstanceRenderer : private RenderClient {
public:
    // What the instance's plug-in object answers for the renderer.
    class Host : public MidiInput::Owner {
    public:
        // The host's tempo (audioMasterGetTime); false when it gives none.
        virtual bool hostTempo(double& tempo) = 0;

    protected:
        ~Host() = default;
    };

    InstanceRenderer(const ParameterMirror& mirror, const RenderValues& values, Host& host);
    ~InstanceRenderer();
    InstanceRenderer(const InstanceRenderer&) = delete;
    InstanceRenderer& operator=(const InstanceRenderer&) = delete;

    // Connects the event handling and voice list to the instance's engine.
    void attach(EngineHolder& engine);
    // Clears the effect state and the key-depth values.
    void reset();

    // Replaces or adds to the two outputs; null outputs or no frames render nothing.
    void render(float** outputs, int frames, double sampleRate, RenderLoop::Mode mode);

    KeyDepth& keyDepth() { return loop_.keyDepth(); }
    int delayCapacity() const { return loop_.delayCapacity(); }
    // Sizes the delay buffers for the rate; never on the audio thread.
    void setSampleRate(double sampleRate) { loop_.setSampleRate(sampleRate); }
    MidiInput& midi() { return midi_; }
    RenderLoop& loop() { return loop_; }

private:
    void readSettings(RenderSettings& settings) override;
    bool hostTempo(double& tempo) override { return host_.hostTempo(tempo); }
    void renderVoices(float* left, float* right, const VoiceChunk& chunk) override;
    void clearVoiceFilters() override;

    const ParameterMirror& mirror_;
    const RenderValues& values_;
    Host& host_;
    EngineHolder* engine_ = nullptr;
    MidiInput midi_;
    RenderLoop loop_;
};

} // namespace grelmond
