#pragma once

// What the host gives a VST 3 plug-in to call back: its name (the host
// application) and the component handler that hears edits and restarts.

#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivsthostapplication.h"

#include <vector>

namespace host {

class Vst3HostContext final : public Steinberg::Vst::IHostApplication, public Steinberg::Vst::IComponentHandler {
public:
    struct Edit {
        Steinberg::Vst::ParamID id;
        Steinberg::Vst::ParamValue value;
    };

    // Edits the plug-in reported since the last call.
    std::vector<Edit> takeEdits();
    int restarts() const { return restarts_; }

    Steinberg::tresult PLUGIN_API getName(Steinberg::Vst::String128 name) override;
    Steinberg::tresult PLUGIN_API createInstance(Steinberg::TUID cid, Steinberg::TUID iid, void** obj) override;

    Steinberg::tresult PLUGIN_API beginEdit(Steinberg::Vst::ParamID) override { return Steinberg::kResultOk; }
    Steinberg::tresult PLUGIN_API performEdit(Steinberg::Vst::ParamID id, Steinberg::Vst::ParamValue value) override;
    Steinberg::tresult PLUGIN_API endEdit(Steinberg::Vst::ParamID) override { return Steinberg::kResultOk; }
    Steinberg::tresult PLUGIN_API restartComponent(Steinberg::int32 flags) override;

    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
    Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
    Steinberg::uint32 PLUGIN_API release() override { return 1; }

private:
    std::vector<Edit> edits_;
    int restarts_ = 0;
};

} // namespace host
