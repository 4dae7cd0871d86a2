#include "Lv2Renderer.h"

#include <algorithm>
#include <cmath>

namespace host {

Lv2Renderer::Lv2Renderer(Lv2Plugin& plugin, const RenderOptions& options) : plugin_(plugin), options_(options)
{
    options_.blockSize = std::max(1, options_.blockSize);
}

bool Lv2Renderer::renderBlock(const std::vector<TimedMessage>& messages, std::size_t& next, std::int64_t position,
                              int frames)
{
    Lv2EventBuffer& events = plugin_.events();
    bool fits = options_.tempo <= 0.0 || events.addPosition(0, position, options_.sampleRate, options_.tempo);
    for (; next < messages.size(); ++next) {
        const std::int64_t frame = std::llround(messages[next].seconds * options_.sampleRate);
        if (frame >= position + frames)
            break;
        const auto offset = static_cast<std::uint32_t>(std::max<std::int64_t>(0, frame - position));
        const unsigned char status = messages[next].bytes[0];
        // Program change and channel pressure carry one data byte.
        const std::uint32_t size = (status & 0xE0) == 0xC0 ? 2 : 3;
        fits = events.addMidi(offset, messages[next].bytes, size) && fits;
    }
    plugin_.run(frames);
    return fits;
}

bool Lv2Renderer::run(Score& score, const BlockRenderer::Sink& sink, RenderResult& result, std::string& error)
{
    const double seconds = options_.seconds > 0.0 ? options_.seconds : score.endSeconds() + BlockRenderer::kTailSeconds;
    const auto total = static_cast<std::int64_t>(std::llround(seconds * options_.sampleRate));
    const auto& messages = score.messages();
    std::size_t next = 0;
    for (std::int64_t position = 0; position < total; position += options_.blockSize) {
        const int frames = static_cast<int>(std::min<std::int64_t>(options_.blockSize, total - position));
        if (!renderBlock(messages, next, position, frames)) {
            error = "too many events for one block";
            return false;
        }
        result.left.add(plugin_.left(), frames);
        result.right.add(plugin_.right(), frames);
        result.frames += frames;
        if (sink && !sink(plugin_.left(), plugin_.right(), frames)) {
            error = "cannot write the output file";
            return false;
        }
    }
    return true;
}

} // namespace host
