// The editor's commands: program arrows, program name, patch and bank files.
#include "editor/PluginEditor.h"

#include "editor/EditorLayout.h"
#include "editor/ProgramSteps.h"
#include "gui/TextField.h"
#include "core/EditorController.h"
#include "core/FileCommand.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace grelmond {

using namespace editor;

namespace {
constexpr size_t kProgramNameLimit = 24;
constexpr size_t kPathBuffer = 4096;
} // namespace

void PluginEditor::runCommand(int tag, float value)
{
    const float position = controller_.programPosition();
    if (tag != kProgramNameTag)
        if (TextField* name = controls_.programNameField())
            name->setText(controller_.programName(programIndexOf(position)));
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
    controller_.selectProgram(index);
    if (TextField* name = controls_.programNameField())
        name->setText(controller_.programName(index));
    if (ValueDisplay* number = controls_.programNumber())
        number->setValue(position);
    controller_.setProgramPosition(position);
    controller_.tellHost(); // the host's program label follows
}

void PluginEditor::loadFile(bool bank)
{
    TextField* field = controls_.fileNameField();
    if (field == nullptr)
        return;
    const std::string name = field->getText();
    if (controller_.isTuningName(name.c_str())) {
        const std::string message = controller_.loadTuning(name.c_str());
        if (!controller_.filesAnswerLater())
            showStatus(message.c_str());
        return;
    }
    const FileCommand command = bank ? FileCommand::LoadBank : FileCommand::LoadPatch;
    const bool loaded = bank ? controller_.loadBank(name.c_str()) : controller_.loadPatch(name.c_str());
    if (!controller_.filesAnswerLater())
        fileAnswered(command, loaded, fileStatus(command, loaded));
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
    const FileCommand command = bank ? FileCommand::SaveBank : FileCommand::SavePatch;
    const bool saved = bank ? controller_.saveBank(name.data(), name.size()) : controller_.savePatch(name.data(), name.size());
    if (!controller_.filesAnswerLater())
        fileAnswered(command, saved, fileStatus(command, saved));
}

void PluginEditor::fileAnswered(FileCommand command, bool done, const char* message)
{
    showStatus(message);
    if (!done || !isLoad(command))
        return;
    if (TextField* programName = controls_.programNameField()) {
        const int current = controller_.currentProgram();
        programName->setText(controller_.programName(current));
        controller_.selectProgram(current); // the loaded values reach the engine and the controls
    }
    controller_.tellHost();
}

void PluginEditor::renameProgram()
{
    TextField* field = controls_.programNameField();
    if (field == nullptr)
        return;
    char name[kProgramNameLimit + 1] = {};
    const std::string& text = field->getText();
    std::memcpy(name, text.c_str(), std::min(text.size(), kProgramNameLimit));
    controller_.renameCurrentProgram(name);
    controller_.tellHost();
}

void PluginEditor::showStatus(const char* message)
{
    fileMessage_ = message;
    if (TextField* status = controls_.statusLine())
        status->setText(message);
}

} // namespace grelmond
