#include "EditorHarness.h"

#include "ScopedEnv.h"
#include "editor/EditorLayout.h"

namespace editortest {

namespace {
vst::VstIntPtr recordingCallback(vst::AEffect* effect, vst::VstInt32 opcode, vst::VstInt32 index, vst::VstIntPtr,
                                 void*, float)
{
    if (opcode == vst::audioMasterVersion)
        return 2400;
    if (effect != nullptr && effect->user != nullptr)
        static_cast<std::vector<HostCall>*>(effect->user)->push_back({opcode, index});
    return 0;
}

std::unique_ptr<SynthPluginWithEditor> makePlugin(const std::string& installFolder)
{
    if (installFolder.empty())
        return std::make_unique<SynthPluginWithEditor>(&recordingCallback);
    ScopedEnv env("GRELMOND_INSTALL_PATH", installFolder.c_str());
    return std::make_unique<SynthPluginWithEditor>(&recordingCallback);
}
} // namespace

EditorHarness::EditorHarness(const std::string& installFolder) : plugin(makePlugin(installFolder))
{
    plugin->getAeffect()->user = &calls;
    editor = plugin->editor();
}

int EditorHarness::hostCalls(int opcode, int index) const
{
    int n = 0;
    for (const HostCall& call : calls)
        n += call.opcode == opcode && call.index == index ? 1 : 0;
    return n;
}

GuiRect EditorHarness::rectOf(int tag)
{
    for (const editor::ControlSpec& entry : editor::controlLayout())
        if (entry.tag == tag && entry.kind != editor::ControlKind::ValueDisplay)
            return entry.rect;
    return {};
}

GuiPoint EditorHarness::centreOf(int tag)
{
    const GuiRect r = rectOf(tag);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void EditorHarness::drag(GuiPoint from, const std::vector<GuiPoint>& path)
{
    std::vector<MouseStep> steps{{from, kMouseLeft}};
    for (GuiPoint p : path)
        steps.push_back({p, kMouseLeft});
    window().press(std::move(steps));
}

void EditorHarness::typeInto(int tag, const std::string& text)
{
    click(tag);
    window().typeText(text);
    window().sendKey({GuiKey::Enter});
}

} // namespace editortest
