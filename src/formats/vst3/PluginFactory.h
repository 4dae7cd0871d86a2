#pragma once

// The module's class factory: one class, the instrument, under its fixed id.

#include "formats/vst3/RefCount.h"

#include "pluginterfaces/base/ipluginbase.h"

namespace grelmond::vst3 {

class PluginFactory final : public Steinberg::IPluginFactory2 {
public:
    // A new factory holding one reference for the caller.
    static PluginFactory* create() { return new PluginFactory; }

    Steinberg::tresult PLUGIN_API getFactoryInfo(Steinberg::PFactoryInfo* info) override;
    Steinberg::int32 PLUGIN_API countClasses() override { return 1; }
    Steinberg::tresult PLUGIN_API getClassInfo(Steinberg::int32 index, Steinberg::PClassInfo* info) override;
    Steinberg::tresult PLUGIN_API getClassInfo2(Steinberg::int32 index, Steinberg::PClassInfo2* info) override;
    Steinberg::tresult PLUGIN_API createInstance(Steinberg::FIDString cid, Steinberg::FIDString iid,
                                                 void** obj) override;

    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
    Steinberg::uint32 PLUGIN_API addRef() override { return refs_.add(); }
    Steinberg::uint32 PLUGIN_API release() override;

private:
    PluginFactory() = default;
    RefCount refs_;
};

} // namespace grelmond::vst3
