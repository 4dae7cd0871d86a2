#include "Vst3EventList.h"

#include "Vst3Unknown.h"

namespace host {

using namespace Steinberg;

tresult PLUGIN_API Vst3EventList::getEvent(int32 index, Vst::Event& e)
{
    if (index < 0 || index >= getEventCount())
        return kInvalidArgument;
    e = events_[static_cast<std::size_t>(index)];
    return kResultOk;
}

tresult PLUGIN_API Vst3EventList::addEvent(Vst::Event& e)
{
    events_.push_back(e);
    return kResultOk;
}

tresult PLUGIN_API Vst3EventList::queryInterface(const TUID iid, void** obj)
{
    return answerQuery<Vst3EventList, Vst::IEventList>(this, iid, obj);
}

} // namespace host
