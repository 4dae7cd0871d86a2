#include "formats/vst2/PluginEntry.h"

#include "engine/RoundToNearest.h"
#include "formats/vst2/SynthPluginWithEditor.h"

#include <new>

namespace grelmond {

vst::AEffect* createPluginInstance(vst::AudioMasterCallback hostCallback)
{
    // A host that answers version 0 predates the interface we speak. Without a
    // callback at all the instance still works, with every host query neutral.
    if (hostCallback != nullptr && hostCallback(nullptr, vst::audioMasterVersion, 0, 0, nullptr, 0.0f) == 0)
        return nullptr;
    const RoundToNearest rounding;
    try {
        auto* plugin = new (std::nothrow) SynthPluginWithEditor(hostCallback);
        if (plugin == nullptr)
            return nullptr;
        if (!plugin->constructed()) {
            delete plugin;
            return nullptr;
        }
        return plugin->getAeffect();
    } catch (...) {
        return nullptr;
    }
}

} // namespace grelmond
