#include "Vst3HostContext.h"

#include "Vst3Unknown.h"

namespace host {

using namespace Steinberg;

std::vector<Vst3HostContext::Edit> Vst3HostContext::takeEdits()
{
    std::vector<Edit> edits;
    edits.swap(edits_);
    return edits;
}

tresult PLUGIN_API Vst3HostContext::getName(Vst::String128 name)
{
    if (name == nullptr)
        return kInvalidArgument;
    const char* text = "grelmond-host";
    int i = 0;
    for (; text[i] != '\0'; ++i)
        name[i] = static_cast<Vst::TChar>(text[i]);
    name[i] = 0;
    return kResultOk;
}

tresult PLUGIN_API Vst3HostContext::createInstance(TUID, TUID, void** obj)
{
    if (obj != nullptr)
        *obj = nullptr;
    return kNotImplemented; // no host-made messages or attribute lists
}

tresult PLUGIN_API Vst3HostContext::performEdit(Vst::ParamID id, Vst::ParamValue value)
{
    edits_.push_back({id, value});
    return kResultOk;
}

tresult PLUGIN_API Vst3HostContext::restartComponent(int32)
{
    ++restarts_;
    return kResultOk;
}

tresult PLUGIN_API Vst3HostContext::queryInterface(const TUID iid, void** obj)
{
    if (obj != nullptr && FUnknownPrivate::iidEqual(iid, FUnknown::iid)) {
        *obj = static_cast<Vst::IHostApplication*>(this);
        return kResultOk;
    }
    return answerQuery<Vst3HostContext, Vst::IHostApplication, Vst::IComponentHandler>(this, iid, obj);
}

} // namespace host
