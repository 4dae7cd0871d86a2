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
    // What the host shows for a parameter: its name, value text and unit,
    // blanks trimmed ("FiltCut 0.500000 freq").
    virtual std::string parameterText(int index) = 0;
    // A parameter's value in the init program: where a double-click returns.
    virtual float defaultValue(int index) = 0;
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
    // Whether a typed name is a tuning's (a scale, a mapping, or "equal");
    // loadTuning gives the status line's text.
    virtual bool isTuningName(const char* name) = 0;
    virtual std::string loadTuning(const char* name) = 0;
    // True when the file calls only pass the command on to an instrument that
    // is elsewhere (another process, a worker thread): their results mean
    // nothing, and the outcome comes back later through the editor's
    // fileAnswered().
    virtual bool filesAnswerLater() = 0;

    virtual double sampleRate() = 0;
    // Asks the host to re-read program names, the current program and the
    // parameter displays.
    virtual void tellHost() = 0;
    // Lets the host's own user interface run while a control is dragged.
    virtual void hostIdle() = 0;
    // Asks the host to make the editor's window width x height device pixels
    // (after a change of zoom); false when the format or host cannot.
    virtual bool resizeEditor(int width, int height) = 0;
    // The zoom the user last chose in any editor, in percent (100 to 200), kept
    // beside the remembered folder; 0 when none was chosen.
    virtual int rememberedZoom() = 0;
    virtual void rememberZoom(int percent) = 0;

protected:
    ~EditorController() = default;
};

} // namespace grelmond
