#include "formats/vst2/PluginEntry.h"

// The only two symbols the library exports. Hosts look up either name.

extern "C" __attribute__((visibility("default"))) vst::AEffect* VSTPluginMain(vst::AudioMasterCallback hostCallback)
{
    return grelmond::createPluginInstance(hostCallback);
}

// A function cannot be called main in C++ code that is not the program's own
// main, so the symbol name comes from an assembler label.
extern "C" __attribute__((visibility("default"))) vst::AEffect* grelmondMainEntry(vst::AudioMasterCallback hostCallback)
    __asm__("main");

extern "C" vst::AEffect* grelmondMainEntry(vst::AudioMasterCallback hostCallback)
{
    return grelmond::createPluginInstance(hostCallback);
}
