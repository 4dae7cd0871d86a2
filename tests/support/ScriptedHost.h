#pragma once

// The host side of a plug-in under test: a callback that records every call
// and answers the usual queries.

#include "formats/vst2/VstAbi.h"

#include <functional>
#include <vector>

namespace testsupport {

struct HostCall {
    vst::VstInt32 opcode;
    vst::VstInt32 index;
    vst::VstIntPtr value;
    float opt;
    bool hadEffect; // false when the plug-in called before it had an AEffect
};

// Answers the usual queries. `handler`, when set, is asked first: returning
// true makes its `answer` the host's.
class ScriptedHost {
public:
    vst::VstIntPtr versionAnswer = 2400;
    vst::VstTimeInfo* timeInfo = nullptr; // answer to audioMasterGetTime
    std::function<bool(const HostCall&, void* ptr, vst::VstIntPtr& answer)> handler;

    std::vector<HostCall> calls;
    int count(vst::VstInt32 opcode) const;
    void clear() { calls.clear(); }

    vst::VstIntPtr answer(vst::AEffect* effect, const HostCall& call, void* ptr);
};

// The callback to hand to an entry point. Calls reach the host registered for
// the calling AEffect, or, while an entry point runs, the constructing host.
vst::VstIntPtr scriptedHostCallback(vst::AEffect* effect, vst::VstInt32 opcode, vst::VstInt32 index,
                                    vst::VstIntPtr value, void* ptr, float opt);
void setConstructingHost(ScriptedHost* host);
void registerHost(vst::AEffect* effect, ScriptedHost* host);
void unregisterHost(vst::AEffect* effect);

} // namespace testsupport
