#include "shell/VstAbi.h"

// Placeholder entry until the plug-in object exists.
extern "C" __attribute__((visibility("default"))) vst::AEffect* VSTPluginMain(vst::AudioMasterCallback)
{
    return nullptr;
}
