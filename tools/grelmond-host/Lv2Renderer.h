#pragma once

// Drives an LV2 instance block by block, as a host's audio thread does: the
// block's MIDI and the transport position in the event sequence at their
// frame offsets, then run().

#include "BlockRenderer.h"
#include "Lv2Plugin.h"

namespace host {

class Lv2Renderer {
public:
    Lv2Renderer(Lv2Plugin& plugin, const RenderOptions& options);

    // Renders the whole score; the sink receives every block (may be empty).
    bool run(Score& score, const BlockRenderer::Sink& sink, RenderResult& result, std::string& error);

    // One block from position: the messages due in it, the position when a
    // tempo is set, then run(). Returns false when the events do not fit.
    bool renderBlock(const std::vector<TimedMessage>& messages, std::size_t& next, std::int64_t position, int frames);

private:
    Lv2Plugin& plugin_;
    RenderOptions options_;
};

} // namespace host
