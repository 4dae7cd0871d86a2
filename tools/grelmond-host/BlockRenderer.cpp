#include "BlockRenderer.h"

#include <ctime>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace host {

using namespace vst;

namespace {

double cpuNow()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

double wallNow()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

} // namespace

BlockRenderer::BlockRenderer(AEffect* effect, const RenderOptions& options)
    : effect_(effect), options_(options)
{
    options_.blockSize = std::max(1, options_.blockSize);
    timeInfo_.sampleRate = options_.sampleRate;
    timeInfo_.tempo = options_.tempo;
    timeInfo_.timeSigNumerator = 4;
    timeInfo_.timeSigDenominator = 4;
    updateTimeInfo(0);
}

std::int64_t BlockRenderer::totalFrames(const Score& score) const
{
    const double seconds = options_.seconds > 0.0 ? options_.seconds : score.endSeconds() + kTailSeconds;
    return static_cast<std::int64_t>(std::llround(seconds * options_.sampleRate));
}

void BlockRenderer::updateTimeInfo(std::int64_t position)
{
    const double quarters = static_cast<double>(position) / options_.sampleRate * options_.tempo / 60.0;
    timeInfo_.samplePos = static_cast<double>(position);
    timeInfo_.ppqPos = quarters;
    timeInfo_.barStartPos = std::floor(quarters / 4.0) * 4.0;
    timeInfo_.nanoSeconds = static_cast<double>(position) / options_.sampleRate * 1e9;
    timeInfo_.flags = kVstTransportPlaying | kVstNanosValid | kVstPpqPosValid | kVstTempoValid | kVstBarsValid |
                      kVstTimeSigValid;
}

void BlockRenderer::sendEvents(const std::vector<TimedMessage>& messages, size_t& next, std::int64_t position,
                               int frames)
{
    midi_.clear();
    for (; next < messages.size(); ++next) {
        const std::int64_t frame = std::llround(messages[next].seconds * options_.sampleRate);
        if (frame >= position + frames)
            break;
        VstMidiEvent event{};
        event.type = kVstMidiType;
        event.byteSize = sizeof(VstMidiEvent);
        event.deltaFrames = static_cast<VstInt32>(std::max<std::int64_t>(0, frame - position));
        for (int b = 0; b < 3; ++b)
            event.midiData[b] = static_cast<char>(messages[next].bytes[b]);
        midi_.push_back(event);
    }
    if (midi_.empty())
        return;
    eventsStorage_.assign(offsetof(VstEvents, events) + midi_.size() * sizeof(VstEvent*), 0);
    auto* events = reinterpret_cast<VstEvents*>(eventsStorage_.data());
    events->numEvents = static_cast<VstInt32>(midi_.size());
    for (size_t i = 0; i < midi_.size(); ++i)
        events->events[i] = reinterpret_cast<VstEvent*>(&midi_[i]);
    effect_->dispatcher(effect_, effProcessEvents, 0, 0, events, 0.0f);
}

void BlockRenderer::showProgress(std::int64_t done, std::int64_t total, bool final)
{
    const double now = wallNow();
    if (!final && now - lastProgress_ < 0.25)
        return;
    lastProgress_ = now;
    std::fprintf(stderr, "\rrendering %.1f / %.1f s%s", done / options_.sampleRate, total / options_.sampleRate,
                 final ? "\n" : "");
    std::fflush(stderr);
}

bool BlockRenderer::run(Score& score, const Sink& sink, RenderResult& result, std::string& error)
{
    const std::int64_t total = totalFrames(score);
    const auto& messages = score.messages();
    const bool progress = options_.progress && total > static_cast<std::int64_t>(3.0 * options_.sampleRate);
    std::vector<float> left(static_cast<size_t>(options_.blockSize));
    std::vector<float> right(left.size());
    float* outputs[2] = {left.data(), right.data()};
    float* inputs[2] = {nullptr, nullptr};
    size_t next = 0;

    for (std::int64_t position = 0; position < total; position += options_.blockSize) {
        const int frames = static_cast<int>(std::min<std::int64_t>(options_.blockSize, total - position));
        updateTimeInfo(position);
        std::fill(left.begin(), left.end(), 0.0f);
        std::fill(right.begin(), right.end(), 0.0f);

        const double start = cpuNow();
        sendEvents(messages, next, position, frames);
        if (options_.accumulate)
            effect_->process(effect_, inputs, outputs, frames);
        else
            effect_->processReplacing(effect_, inputs, outputs, frames);
        result.cpuSeconds += cpuNow() - start;

        result.left.add(left.data(), frames);
        result.right.add(right.data(), frames);
        result.frames += frames;
        if (sink && !sink(left.data(), right.data(), frames)) {
            error = "cannot write the output file";
            return false;
        }
        if (progress)
            showProgress(position + frames, total, false);
    }
    if (progress)
        showProgress(total, total, true);
    return true;
}

} // namespace host
