// The editor-side interface ids, which the interface package's own id files
// leave out; plug-in and host both compare against them.
#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"

namespace Steinberg {
DEF_CLASS_IID(IPlugView)
DEF_CLASS_IID(IPlugViewContentScaleSupport)
DEF_CLASS_IID(IPlugFrame)
#if SMTG_OS_LINUX
namespace Linux {
DEF_CLASS_IID(IEventHandler)
DEF_CLASS_IID(ITimerHandler)
DEF_CLASS_IID(IRunLoop)
} // namespace Linux
#endif
} // namespace Steinberg
