// SynthPlugin's chunks: the instrument's state, in memory the host may read
// until the next getChunk from the same thread or effClose.
#include "formats/vst2/SynthPlugin.h"

#include <new>

namespace grelmond {

using namespace vst;

namespace {
Instrument::StateScope scopeOf(bool isPreset)
{
    return isPreset ? Instrument::StateScope::Program : Instrument::StateScope::Bank;
}
} // namespace

VstInt32 SynthPlugin::getChunk(void** data, bool isPreset)
{
    if (data == nullptr)
        return 0;
    std::lock_guard<std::mutex> turn(chunkTurn_);
    try {
        std::string& chunk = chunks_[std::this_thread::get_id()];
        if (!instrument_.saveState(scopeOf(isPreset), chunk)) {
            chunk.clear();
            return 0;
        }
        *data = chunk.data();
        return static_cast<VstInt32>(chunk.size());
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

VstInt32 SynthPlugin::setChunk(void* data, VstInt32 byteSize, bool isPreset)
{
    if (data == nullptr || byteSize <= 0 || byteSize > kMaxChunkBytes)
        return 0;
    return instrument_.loadState(scopeOf(isPreset), static_cast<const char*>(data), static_cast<std::size_t>(byteSize))
               ? 1
               : 0;
}

} // namespace grelmond
