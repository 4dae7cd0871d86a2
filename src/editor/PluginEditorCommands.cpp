// The editor's commands: program arrows, program name, patch and bank files.
#include "editor/PluginEditor.h"

#include "editor/EditorLayout.h"
#include "editor/ProgramSteps.h"
#include "gui/TextField.h"
#include "shell/SynthPluginWithEditor.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace grelmond {

using namespace editor;

namespace {
constexpr size_t kProgramNameLimit = 24;
constexpr size_t kPathBuffer = 4096;

std::string storedProgramName(SynthPlugin& plugin, int index)
{
    char text[64] = {};
    plugin.programs().storedName(index, text);
    return text;
}
} // namespace

void PluginEditor::runCommand(int tag, float value)
{
    const float position = plugin_->programs().currentFraction();
    if (tag != kProgramNameTag)
        if (TextField* name = controls_.programNameField())
            name->setText(storedProgramName(*plugin_, programIndexOf(position)));
    if (ValueDisplay* number = controls_.programNumber())
        number->setValue(position);

    // Buttons act on their press (1) only, not on release or leaving.
    const bool pressed = value == 1.0f;
    switch (tag) {
    case kPreviousProgramTag:
        if (pressed)
            stepProgram(previousProgramPosition(position));
        break;
    case kNextProgramTag:
        if (pressed)
            stepProgram(nextProgramPosition(position));
        break;
    case kLoadPatchTag:
    case kLoadBankTag:
        if (pressed)
            loadFile(tag == kLoadBankTag);
        break;
    case kSavePatchTag:
    case kSaveBankTag:
        if (pressed)
            saveFile(tag == kSaveBankTag);
        break;
    case kProgramNameTag:
        renameProgram();
        break;
    default:
        break;
    }
}

void PluginEditor::stepProgram(float position)
{
    const int index = programIndexOf(position);
    plugin_->setProgram(index);
    if (TextField* name = controls_.programNameField())
        name->setText(storedProgramName(*plugin_, index));
    if (ValueDisplay* number = controls_.programNumber())
        number->setValue(position);
    plugin_->programs().setCurrentFraction(position);
    plugin_->updateDisplay(); // the host's program label follows
}

void PluginEditor::loadFile(bool bank)
{
    TextField* field = controls_.fileNameField();
    if (field == nullptr)
        return;
    const std::string name = field->getText();
    const bool loaded = bank ? plugin_->loadBank(name.c_str()) : plugin_->loadPatch(name.c_str());
    if (!loaded) {
        showStatus(bank ? "The bank could not be loaded." : "The patch could not be loaded.");
        return;
    }
    showStatus(bank ? "Loaded the bank." : "Loaded the patch.");
    if (TextField* programName = controls_.programNameField()) {
        const int current = plugin_->getProgram();
        programName->setText(storedProgramName(*plugin_, current));
        plugin_->setProgram(current); // the loaded values reach the engine and the controls
    }
    plugin_->updateDisplay();
}

void PluginEditor::saveFile(bool bank)
{
    TextField* field = controls_.fileNameField();
    if (field == nullptr)
        return;
    // The save may write the full path it used back into the buffer.
    std::vector<char> name(kPathBuffer, '\0');
    const std::string& typed = field->getText();
    std::memcpy(name.data(), typed.c_str(), std::min(typed.size(), kPathBuffer - 1));
    const bool saved = bank ? plugin_->saveBank(name.data(), name.size()) : plugin_->savePatch(name.data(), name.size());
    if (bank)
        showStatus(saved ? "Saved the bank." : "The bank could not be saved.");
    else
        showStatus(saved ? "Saved the patch." : "The patch could not be saved.");
}

void PluginEditor::renameProgram()
{
    TextField* field = controls_.programNameField();
    if (field == nullptr)
        return;
    char name[kProgramNameLimit + 1] = {};
    const std::string& text = field->getText();
    std::memcpy(name, text.c_str(), std::min(text.size(), kProgramNameLimit));
    plugin_->setProgramName(name);
    plugin_->updateDisplay();
}

void PluginEditor::showStatus(const char* message)
{
    fileMessage_ = message;
    if (TextField* status = controls_.statusLine())
        status->setText(message);
}

} // namespace grelmond
