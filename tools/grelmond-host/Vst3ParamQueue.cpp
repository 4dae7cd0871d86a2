#include "Vst3ParamQueue.h"

#include "Vst3Unknown.h"

namespace host {

using namespace Steinberg;

tresult PLUGIN_API Vst3ParamQueue::getPoint(int32 index, int32& sampleOffset, Vst::ParamValue& value)
{
    if (index < 0 || index >= getPointCount())
        return kInvalidArgument;
    sampleOffset = points_[static_cast<std::size_t>(index)].first;
    value = points_[static_cast<std::size_t>(index)].second;
    return kResultOk;
}

tresult PLUGIN_API Vst3ParamQueue::addPoint(int32 sampleOffset, Vst::ParamValue value, int32& index)
{
    // A later point at the same frame replaces the earlier one.
    if (!points_.empty() && points_.back().first == sampleOffset) {
        points_.back().second = value;
    } else {
        if (!points_.empty() && points_.back().first > sampleOffset)
            return kInvalidArgument;
        points_.emplace_back(sampleOffset, value);
    }
    index = getPointCount() - 1;
    return kResultOk;
}

tresult PLUGIN_API Vst3ParamQueue::queryInterface(const TUID iid, void** obj)
{
    return answerQuery<Vst3ParamQueue, Vst::IParamValueQueue>(this, iid, obj);
}

} // namespace host
