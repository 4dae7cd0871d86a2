#pragma once

// The host's own interface objects live as long as the plug-in they are given
// to, so their reference counts need not free anything; they answer only the
// interfaces listed.

#include "pluginterfaces/base/funknown.h"

namespace host {

template <typename Self, typename... Interfaces>
Steinberg::tresult answerQuery(Self* self, const Steinberg::TUID iid, void** obj)
{
    if (obj == nullptr)
        return Steinberg::kInvalidArgument;
    *obj = nullptr;
    const bool any = Steinberg::FUnknownPrivate::iidEqual(iid, Steinberg::FUnknown::iid);
    ((*obj == nullptr && (any || Steinberg::FUnknownPrivate::iidEqual(iid, Interfaces::iid))
          ? void(*obj = static_cast<Interfaces*>(self))
          : void()),
     ...);
    return *obj != nullptr ? Steinberg::kResultOk : Steinberg::kNoInterface;
}

} // namespace host
