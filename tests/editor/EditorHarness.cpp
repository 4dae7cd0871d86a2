#include "EditorHarness.h"

#include "gui/GuiFrame.h"
#include "gui/TextField.h"

#include <cstdlib>

namespace editortest {

namespace {

vst::VstIntPtr recordingCallback(vst::AEffect* effect, vst::VstInt32 opcode, vst::VstInt32 index, vst::VstIntPtr,
                                 void*, float opt)
{
    if (opcode == vst::audioMasterVersion)
        return 2400;
    if (effect != nullptr && effect->user != nullptr)
        static_cast<RecordingHost*>(effect->user)->calls.push_back({opcode, index, opt});
    return 0;
}

std::unique_ptr<SynthPluginWithEditor> makePlugin(const std::string& installFolder)
{
    if (installFolder.empty())
        return std::make_unique<SynthPluginWithEditor>(&recordingCallback);
    const char* old = std::getenv("GRELMOND_INSTALL_PATH");
    const std::string saved = old != nullptr ? old : "";
    setenv("GRELMOND_INSTALL_PATH", installFolder.c_str(), 1);
    auto plugin = std::make_unique<SynthPluginWithEditor>(&recordingCallback);
    if (old != nullptr)
        setenv("GRELMOND_INSTALL_PATH", saved.c_str(), 1);
    else
        unsetenv("GRELMOND_INSTALL_PATH");
    return plugin;
}

} // namespace

int RecordingHost::count(int opcode, int index) const
{
    int n = 0;
    for (const HostCall& call : calls)
        n += call.opcode == opcode && call.index == index ? 1 : 0;
    return n;
}

std::vector<int> RecordingHost::indices(int opcode) const
{
    std::vector<int> found;
    for (const HostCall& call : calls)
        if (call.opcode == opcode)
            found.push_back(call.index);
    return found;
}

EditorHarness::EditorHarness(const std::string& installFolder) : plugin(makePlugin(installFolder))
{
    plugin->getAeffect()->user = &host;
    editor = static_cast<PluginEditor*>(plugin->getEditor());
}

EditorHarness::~EditorHarness()
{
    if (plugin)
        plugin->getAeffect()->user = nullptr;
}

void EditorHarness::open()
{
    editor->open(nullptr);
    editor->idle();
}

ImageWindow& EditorHarness::window() const { return dynamic_cast<ImageWindow&>(*editor->frame()->window()); }

GuiRect EditorHarness::rectOf(int tag)
{
    for (const editor::ControlSpec& spec : editor::controlLayout())
        if (spec.tag == tag && spec.kind != editor::ControlKind::ValueDisplay)
            return spec.rect;
    return {};
}

GuiPoint EditorHarness::centreOf(int tag)
{
    const GuiRect r = rectOf(tag);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void EditorHarness::click(int tag) { window().press({{centreOf(tag), kMouseLeft}}); }

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

std::string EditorHarness::displayText(int parameter) const
{
    const ValueDisplay* display = editor->controls().display(parameter);
    return display != nullptr ? display->text() : "(none)";
}

std::string EditorHarness::statusText() const { return editor->controls().statusLine()->getText(); }

std::string EditorHarness::programNameText() const { return editor->controls().programNameField()->getText(); }

std::string EditorHarness::programNumberText() const { return editor->controls().programNumber()->text(); }

} // namespace editortest
