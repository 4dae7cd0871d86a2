#include "Instrument.h"
#include "Vst2Instrument.h"
#include "Vst3Plugin.h"

namespace host {

std::unique_ptr<Instrument> openInstrument(const std::string& path, float sampleRate, int blockSize,
                                           std::string& error)
{
    if (isVst3Path(path)) {
        auto plugin = std::make_unique<Vst3Plugin>();
        if (!plugin->load(path, sampleRate, blockSize, error))
            return nullptr;
        return plugin;
    }
    auto plugin = std::make_unique<Vst2Instrument>();
    if (!plugin->load(path, sampleRate, blockSize, error))
        return nullptr;
    return plugin;
}

} // namespace host
