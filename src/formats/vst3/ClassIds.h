#pragma once

// The class id hosts store in their sessions: it never changes between versions.

#include "pluginterfaces/base/funknown.h"

namespace grelmond::vst3 {

// Processor and edit controller are one object with this id.
inline constexpr Steinberg::uint32 kComponentId[4] = {0x5A617647, 0x72656C6D, 0x6F6E6456, 0x53543301};

inline Steinberg::FUID componentUid()
{
    return Steinberg::FUID(kComponentId[0], kComponentId[1], kComponentId[2], kComponentId[3]);
}

} // namespace grelmond::vst3
