#include "formats/vst2/EditorBase.h"

#include "formats/vst2/PluginBase.h"

namespace grelmond {

EditorBase::EditorBase(PluginBase* plugin) : plugin_(plugin)
{
    if (plugin_ != nullptr)
        plugin_->setEditor(this);
}

vst::VstIntPtr EditorBase::getRect(vst::ERect** rect)
{
    if (rect != nullptr)
        *rect = nullptr;
    return 0;
}

vst::VstIntPtr EditorBase::open(void* parentWindow)
{
    return 0;
}

} // namespace grelmond
