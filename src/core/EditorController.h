#pragma once

#include <cstddef>
#include <string>

namespace grelmond {

// Everything the editor may ask of the plug-in, in the instrument's own terms:
// no plug-in format shows through. Changes travel back to the editor through
// a ChangeReceiver, drained at its idle. All calls on the user-interface
// thread.
class EditorController {
public:
    // Parameters: the value as set, the value a display shows (some curved).
    virtual float value(int index) = 0;
    virtual float shownValue(int index) = 0;
    // One gesture on a control: begin, any number of edits, end. Each edit
    // reaches the sound and the host's automation.
    virtual void beginEdit(int index) = 0;
    virtual void edit(int index, float value) = 0;
    virtual void endEdit(int index) = 0;

    // Programs: the current one, its position as a fraction of 64 (the
    // editor's arrows step through fractions), names.
    virtual int currentProgram() = 0;
    virtual void selectProgram(int index) = 0;
    virtual float programPosition() = 0;
    virtual void setProgramPosition(float position) = 0;
    virtual std::string programName(int index) = 0;
    virtual void renameCurrentProgram(const char* name) = 0;

    // Files by the name the user typed; a save may write the full path it
    // used back into name (size bytes).
    virtual bool loadBank(const char* name) = 0;
    virtual bool loadPatch(const char* name) = 0;
    virtual bool saveBank(char* name, std::size_t size) = 0;
    virtual bool savePatch(char* name, std::size_t size) = 0;

    virtual double sampleRate() = 0;
    // Asks the host to re-read program names, the current program and the
    // parameter displays.
    virtual void tellHost() = 0;
    // Lets the host's own user interface run while a control is dragged.
    virtual void hostIdle() = 0;

protected:
    ~EditorController() = default;
};

} // namespace grelmond
