#pragma once

// The block's parameter changes, one queue per parameter, as process() reads them.

#include "Vst3ParamQueue.h"

#include <memory>
#include <vector>

namespace host {

class Vst3ParameterChanges final : public Steinberg::Vst::IParameterChanges {
public:
    void clear() { queues_.clear(); }
    // Appends a point; points of one parameter must come in frame order.
    void add(Steinberg::Vst::ParamID id, Steinberg::int32 frame, double value);

    Steinberg::int32 PLUGIN_API getParameterCount() override { return static_cast<Steinberg::int32>(queues_.size()); }
    Steinberg::Vst::IParamValueQueue* PLUGIN_API getParameterData(Steinberg::int32 index) override;
    Steinberg::Vst::IParamValueQueue* PLUGIN_API addParameterData(const Steinberg::Vst::ParamID& id,
                                                                   Steinberg::int32& index) override;

    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
    Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
    Steinberg::uint32 PLUGIN_API release() override { return 1; }

private:
    std::vector<std::unique_ptr<Vst3ParamQueue>> queues_;
};

} // namespace host
