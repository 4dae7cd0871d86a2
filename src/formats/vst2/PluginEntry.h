#pragma once

#include "formats/vst2/VstAbi.h"

namespace grelmond {

// What both exported entry points do: checks the host's interface version,
// builds one plug-in instance and hands back its AEffect record, or null.
// Never lets an exception reach the host.
vst::AEffect* createPluginInstance(vst::AudioMasterCallback hostCallback);

} // namespace grelmond
