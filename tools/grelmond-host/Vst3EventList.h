#pragma once

// The block's note events as the host passes them to process().

#include "pluginterfaces/vst/ivstevents.h"

#include <vector>

namespace host {

class Vst3EventList final : public Steinberg::Vst::IEventList {
public:
    void clear() { events_.clear(); }

    Steinberg::int32 PLUGIN_API getEventCount() override { return static_cast<Steinberg::int32>(events_.size()); }
    Steinberg::tresult PLUGIN_API getEvent(Steinberg::int32 index, Steinberg::Vst::Event& e) override;
    Steinberg::tresult PLUGIN_API addEvent(Steinberg::Vst::Event& e) override;

    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
    Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
    Steinberg::uint32 PLUGIN_API release() override { return 1; }

private:
    std::vector<Steinberg::Vst::Event> events_;
};

} // namespace host
