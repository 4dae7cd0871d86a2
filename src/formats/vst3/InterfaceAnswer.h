#pragma once

#include "pluginterfaces/base/funknown.h"

namespace grelmond::vst3 {

// One step of queryInterface: when iid names Interface, hands out self as it
// (with a reference taken) and says so.
template <typename Interface, typename Self>
bool answer(Self* self, const Steinberg::TUID iid, void** obj)
{
    if (!Steinberg::FUnknownPrivate::iidEqual(iid, Interface::iid))
        return false;
    self->addRef();
    *obj = static_cast<Interface*>(self);
    return true;
}

} // namespace grelmond::vst3
