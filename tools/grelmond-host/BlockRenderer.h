#pragma once

// Drives a loaded instrument block by block, as a host's audio thread does:
// the block's MIDI through effProcessEvents with frame offsets, then process or
// processReplacing; keeps the host's time information up to date.

#include "ChannelStats.h"
#include "Score.h"
#include "formats/vst2/VstAbi.h"

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

    BlockRenderer(vst::AEffect* effect, const RenderOptions& options);

    // What the host answers to audioMasterGetTime (null when no tempo is set).
    vst::VstTimeInfo* timeInfo() { return options_.tempo > 0.0 ? &timeInfo_ : nullptr; }
    std::int64_t totalFrames(const Score& score) const;

    // Renders the whole score; the sink receives every block (may be empty).
    bool run(Score& score, const Sink& sink, RenderResult& result, std::string& error);

private:
    void updateTimeInfo(std::int64_t position);
    void sendEvents(const std::vector<TimedMessage>& messages, size_t& next, std::int64_t position, int frames);
    void showProgress(std::int64_t done, std::int64_t total, bool final);

    vst::AEffect* effect_;
    RenderOptions options_;
    vst::VstTimeInfo timeInfo_{};
    std::vector<vst::VstMidiEvent> midi_;
    std::vector<unsigned char> eventsStorage_;
    double lastProgress_ = -1.0;
};

} // namespace host
