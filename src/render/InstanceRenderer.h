#pragma once

#include "engine/TuningExchange.h"
#include "params/TuningTable.h"
#include "render/EventQueue.h"
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

    // The block's events, audio thread only, after any newly published
    // tuning. Those after the block's start are held until the next render
    // reaches their frames, so that every event acts at its own frame however
    // the host cuts its blocks.
    void handleEvents(const MidiEvent* events, int count);
    // Replaces or adds to the two outputs, each held event played when the
    // render reaches its frame. Null outputs or no frames render nothing and
    // play the held events at once, each at its frame of what comes next.
    void render(float** outputs, int frames, double sampleRate, RenderLoop::Mode mode);

    KeyDepth& keyDepth() { return loop_.keyDepth(); }
    int delayCapacity() const { return loop_.delayCapacity(); }
    // Sizes the delay buffers for the rate; never on the audio thread.
    void setSampleRate(double sampleRate) { loop_.setSampleRate(sampleRate); }
    MidiInput& midi() { return midi_; }
    // Any thread but the audio thread, one writer at a time: publishes the
    // tuning the voices play from the next event or block on, replacing any
    // tuning messages' changes.
    TuningExchange& tuningExchange() { return tuningExchange_; }
    // The audio thread's table (after takeTuning()).
    const TuningTable& tuning() const { return tuning_; }
    RenderLoop& loop() { return loop_; }

private:
    void readSettings(RenderSettings& settings) override;
    bool hostTempo(double& tempo) override { return host_.hostTempo(tempo); }
    void renderVoices(float* left, float* right, const VoiceChunk& chunk) override;
    void clearVoiceFilters() override;
    void takeTuning() { tuningExchange_.take(tuning_); }
    // Held events due by frame `position` of the render, played there.
    void playDue(int position);
    // Every held event now, its frame counted from `position` on.
    void playAll(int position);


    const ParameterMirror& mirror_;
    const RenderValues& values_;
    Host& host_;
    EngineHolder* engine_ = nullptr;
    MidiInput midi_;
    EventQueue events_;
    RenderLoop loop_;
    TuningExchange tuningExchange_;
    TuningTable tuning_; // audio thread only
};

} // namespace grelmond
