#include "formats/vst3/PluginFactory.h"

#include "formats/vst3/ClassIds.h"
#include "formats/vst3/Vst3Instrument.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"

#include <cstring>

namespace grelmond::vst3 {

using namespace Steinberg;

namespace {

constexpr const char* kVendor = "Zavr";
constexpr const char* kName = "Grelmond";
constexpr const char* kVersion = "1.0.0";

template <std::size_t N>
void copyText(char8 (&to)[N], const char* from)
{
    std::strncpy(to, from, N - 1);
    to[N - 1] = '\0';
}

} // namespace

tresult PLUGIN_API PluginFactory::getFactoryInfo(PFactoryInfo* info)
{
    if (info == nullptr)
        return kInvalidArgument;
    *info = {};
    copyText(info->vendor, kVendor);
    copyText(info->url, "");
    copyText(info->email, "");
    info->flags = PFactoryInfo::kUnicode;
    return kResultOk;
}

tresult PLUGIN_API PluginFactory::getClassInfo(int32 index, PClassInfo* info)
{
    if (info == nullptr || index != 0)
        return kInvalidArgument;
    *info = {};
    componentUid().toTUID(info->cid);
    info->cardinality = PClassInfo::kManyInstances;
    copyText(info->category, kVstAudioEffectClass);
    copyText(info->name, kName);
    return kResultOk;
}

tresult PLUGIN_API PluginFactory::getClassInfo2(int32 index, PClassInfo2* info)
{
    if (info == nullptr || index != 0)
        return kInvalidArgument;
    *info = {};
    componentUid().toTUID(info->cid);
    info->cardinality = PClassInfo::kManyInstances;
    copyText(info->category, kVstAudioEffectClass);
    copyText(info->name, kName);
    info->classFlags = 0; // processor and controller cannot be separated
    copyText(info->subCategories, "Instrument|Synth");
    copyText(info->vendor, kVendor);
    copyText(info->version, kVersion);
    copyText(info->sdkVersion, kVstVersionString);
    return kResultOk;
}

tresult PLUGIN_API PluginFactory::createInstance(FIDString cid, FIDString iid, void** obj)
{
    if (obj == nullptr)
        return kInvalidArgument;
    *obj = nullptr;
    if (cid == nullptr || iid == nullptr || !FUnknownPrivate::iidEqual(cid, componentUid().toTUID()))
        return kNoInterface;
    Vst3Instrument* instrument = Vst3Instrument::create();
    if (instrument == nullptr)
        return kOutOfMemory;
    const tresult result = instrument->queryInterface(iid, obj);
    instrument->release(); // the query's reference is the caller's
    return result;
}

tresult PLUGIN_API PluginFactory::queryInterface(const TUID iid, void** obj)
{
    if (obj == nullptr)
        return kInvalidArgument;
    if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) || FUnknownPrivate::iidEqual(iid, IPluginFactory::iid) ||
        FUnknownPrivate::iidEqual(iid, IPluginFactory2::iid)) {
        addRef();
        *obj = static_cast<IPluginFactory2*>(this);
        return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
}

uint32 PLUGIN_API PluginFactory::release()
{
    const uint32 left = refs_.drop();
    if (left == 0)
        delete this;
    return left;
}

} // namespace grelmond::vst3
