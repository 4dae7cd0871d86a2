#pragma once

// Drives a loaded instrument block by block, as a host's audio thread does:
// the block's MIDI and automation at their frame offsets, the transport, then
// the block's processing.

#include "ChannelStats.h"
#include "Instrument.h"
#include "Score.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace host {

struct RenderOptions {
    double sampleRate = 44100.0;
    int blockSize = 512;
    double seconds = 0.0;  // 0: until the score ends, plus a tail
    double tempo = 120.0;  // reported through audioMasterGetTime; 0 reports nothing
    bool accumulate = false;
    bool progress = false; // a progress line on stderr
};

// A parameter value from a point in time on, as a host's automation lane sets it.
struct AutomationPoint {
    double seconds = 0.0;
    int index = 0;
    float value = 0.0f;
};

struct RenderResult {
    std::int64_t frames = 0;
    double cpuSeconds = 0.0; // inside the plug-in's event and process calls only
    ChannelStats left;
    ChannelStats right;
};

class BlockRenderer {
public:
    using Sink = std::function<bool(const float* left, const float* right, int frames)>;
    static constexpr double kTailSeconds = 2.0;

    BlockRenderer(Instrument& instrument, const RenderOptions& options);

    std::int64_t totalFrames(const Score& score) const;

    // Renders the whole score with the automation (sorted by time); the sink
    // receives every block (may be empty).
    bool run(Score& score, const std::vector<AutomationPoint>& automation, const Sink& sink, RenderResult& result,
             std::string& error);

private:
    void collectMidi(const std::vector<TimedMessage>& messages, size_t& next, std::int64_t position, int frames);
    void collectAutomation(const std::vector<AutomationPoint>& automation, size_t& next, std::int64_t position,
                           int frames);
    void showProgress(std::int64_t done, std::int64_t total, bool final);

    Instrument& instrument_;
    RenderOptions options_;
    std::vector<BlockMidi> midi_;
    std::vector<BlockParameter> params_;
    double lastProgress_ = -1.0;
};

} // namespace host
