#include "Vst3ParameterChanges.h"

#include "Vst3Unknown.h"

namespace host {

using namespace Steinberg;

void Vst3ParameterChanges::add(Vst::ParamID id, int32 frame, double value)
{
    int32 index = 0;
    if (Vst::IParamValueQueue* queue = addParameterData(id, index))
        queue->addPoint(frame, value, index);
}

Vst::IParamValueQueue* PLUGIN_API Vst3ParameterChanges::getParameterData(int32 index)
{
    if (index < 0 || index >= getParameterCount())
        return nullptr;
    return queues_[static_cast<std::size_t>(index)].get();
}

Vst::IParamValueQueue* PLUGIN_API Vst3ParameterChanges::addParameterData(const Vst::ParamID& id, int32& index)
{
    for (std::size_t i = 0; i < queues_.size(); ++i)
        if (queues_[i]->getParameterId() == id) {
            index = static_cast<int32>(i);
            return queues_[i].get();
        }
    queues_.push_back(std::make_unique<Vst3ParamQueue>(id));
    index = getParameterCount() - 1;
    return queues_.back().get();
}

tresult PLUGIN_API Vst3ParameterChanges::queryInterface(const TUID iid, void** obj)
{
    return answerQuery<Vst3ParameterChanges, Vst::IParameterChanges>(this, iid, obj);
}

} // namespace host
