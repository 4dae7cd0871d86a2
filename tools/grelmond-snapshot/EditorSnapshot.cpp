#include "EditorSnapshot.h"

#include "editor/PluginEditor.h"
#include "gui/GuiFrame.h"
#include "gui/image/ImageWindow.h"
#include "formats/vst2/SynthPluginWithEditor.h"

#include <filesystem>
#include <memory>

namespace snapshot {

using namespace grelmond;

namespace {
vst::VstIntPtr quietHost(vst::AEffect*, vst::VstInt32 opcode, vst::VstInt32, vst::VstIntPtr, void*, float)
{
    return opcode == vst::audioMasterVersion ? 2400 : 0;
}
} // namespace

bool writeEditorSnapshot(const SnapshotRequest& request, std::string& error)
{
    auto plugin = std::make_unique<SynthPluginWithEditor>(&quietHost);
    auto* editor = plugin->editor();
    if (editor == nullptr) {
        error = "the plug-in has no editor";
        return false;
    }
    if (!request.bankPath.empty()) {
        const std::string path = std::filesystem::absolute(request.bankPath).string();
        if (!plugin->loadBankFile(path.c_str())) {
            error = "cannot load the bank " + request.bankPath;
            return false;
        }
    }
    plugin->setProgram(request.program - 1);

    if (editor->open(nullptr) != 1) {
        error = "the editor did not open";
        return false;
    }
    editor->idle(); // the first idle paints the whole window
    editor->draw();
    auto* image = dynamic_cast<ImageWindow*>(editor->frame()->window());
    const bool written = image != nullptr && image->writePng(request.outPath);
    editor->close();
    if (!written)
        error = "cannot write " + request.outPath;
    return written;
}

} // namespace snapshot
