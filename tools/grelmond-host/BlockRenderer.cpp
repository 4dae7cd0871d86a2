#include "BlockRenderer.h"

#include <ctime>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace host {

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

BlockRenderer::BlockRenderer(Instrument& instrument, const RenderOptions& options)
    : instrument_(instrument), options_(options)
{
    options_.blockSize = std::max(1, options_.blockSize);
}

std::int64_t BlockRenderer::totalFrames(const Score& score) const
{
    const double seconds = options_.seconds > 0.0 ? options_.seconds : score.endSeconds() + kTailSeconds;
    return static_cast<std::int64_t>(std::llround(seconds * options_.sampleRate));
}

void BlockRenderer::collectMidi(const std::vector<TimedMessage>& messages, size_t& next, std::int64_t position,
                                int frames)
{
    midi_.clear();
    for (; next < messages.size(); ++next) {
        const std::int64_t frame = std::llround(messages[next].seconds * options_.sampleRate);
        if (frame >= position + frames)
            break;
        BlockMidi message;
        message.frame = static_cast<int>(std::max<std::int64_t>(0, frame - position));
        for (int b = 0; b < 3; ++b)
            message.bytes[b] = messages[next].bytes[b];
        midi_.push_back(message);
    }
}

void BlockRenderer::collectAutomation(const std::vector<AutomationPoint>& automation, size_t& next,
                                      std::int64_t position, int frames)
{
    params_.clear();
    for (; next < automation.size(); ++next) {
        const std::int64_t frame = std::llround(automation[next].seconds * options_.sampleRate);
        if (frame >= position + frames)
            break;
        const int offset = static_cast<int>(std::max<std::int64_t>(0, frame - position));
        params_.push_back({offset, automation[next].index, automation[next].value});
    }
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

bool BlockRenderer::run(Score& score, const std::vector<AutomationPoint>& automation, const Sink& sink,
                        RenderResult& result, std::string& error)
{
    const std::int64_t total = totalFrames(score);
    const auto& messages = score.messages();
    const bool progress = options_.progress && total > static_cast<std::int64_t>(3.0 * options_.sampleRate);
    std::vector<float> left(static_cast<size_t>(options_.blockSize));
    std::vector<float> right(left.size());
    size_t next = 0;
    size_t nextPoint = 0;

    for (std::int64_t position = 0; position < total; position += options_.blockSize) {
        const int frames = static_cast<int>(std::min<std::int64_t>(options_.blockSize, total - position));
        std::fill(left.begin(), left.end(), 0.0f);
        std::fill(right.begin(), right.end(), 0.0f);

        const double start = cpuNow();
        collectMidi(messages, next, position, frames);
        collectAutomation(automation, nextPoint, position, frames);
        instrument_.process(midi_, params_, BlockTransport{options_.tempo, position}, left.data(), right.data(),
                            frames, options_.accumulate);
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
