#include "ScriptedHost.h"

#include <map>

namespace testsupport {

using namespace vst;

namespace {

// The host callback carries no user pointer: hosts are found by the AEffect.
std::map<AEffect*, ScriptedHost*>& hostsByEffect()
{
    static std::map<AEffect*, ScriptedHost*> hosts;
    return hosts;
}

ScriptedHost* constructingHost = nullptr;

} // namespace

void setConstructingHost(ScriptedHost* host) { constructingHost = host; }
void registerHost(AEffect* effect, ScriptedHost* host) { hostsByEffect()[effect] = host; }
void unregisterHost(AEffect* effect) { hostsByEffect().erase(effect); }

VstIntPtr scriptedHostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                               float opt)
{
    ScriptedHost* host = constructingHost;
    if (auto it = hostsByEffect().find(effect); it != hostsByEffect().end())
        host = it->second;
    if (host == nullptr)
        return 0;
    const HostCall call{opcode, index, value, opt, effect != nullptr};
    host->calls.push_back(call);
    return host->answer(effect, call, ptr);
}

int ScriptedHost::count(VstInt32 opcode) const
{
    int n = 0;
    for (const HostCall& call : calls)
        n += call.opcode == opcode ? 1 : 0;
    return n;
}

VstIntPtr ScriptedHost::answer(AEffect* effect, const HostCall& call, void* ptr)
{
    VstIntPtr result = 0;
    if (handler && handler(call, ptr, result))
        return result;
    switch (call.opcode) {
    case audioMasterVersion:
        return versionAnswer;
    case audioMasterWantMidi:
        return 1;
    case audioMasterGetTime:
        return reinterpret_cast<VstIntPtr>(timeInfo);
    case audioMasterGetSampleRate:
        return 44100;
    case audioMasterGetBlockSize:
        return 512;
    default:
        return 0;
    }
}

} // namespace testsupport
