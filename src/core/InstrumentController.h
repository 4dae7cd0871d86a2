#pragma once

#include "core/EditorController.h"

namespace grelmond {

class Instrument;

// The editor's side of an instrument: every EditorController call that the
// instrument answers by itself. A format's adapter derives from it and adds
// the calls that reach its host: edit gestures (beginEdit, edit, endEdit),
// tellHost and hostIdle.
class InstrumentController : public EditorController {
public:
    explicit InstrumentController(Instrument& instrument) : instrument_(instrument) {}

    float value(int index) override;
    float shownValue(int index) override;
    std::string parameterText(int index) override;
    float defaultValue(int index) override;
    int currentProgram() override;
    void selectProgram(int index) override;
    float programPosition() override;
    void setProgramPosition(float position) override;
    std::string programName(int index) override;
    void renameCurrentProgram(const char* name) override;
    bool loadBank(const char* name) override;
    bool loadPatch(const char* name) override;
    bool saveBank(char* name, std::size_t size) override;
    bool savePatch(char* name, std::size_t size) override;
    bool isTuningName(const char* name) override;
    std::string loadTuning(const char* name) override;
    bool filesAnswerLater() override { return false; }
    double sampleRate() override;
    // No host to ask by default; a format that can resize its window says so.
    bool resizeEditor(int width, int height) override { return false; }
    int rememberedZoom() override;
    void rememberZoom(int percent) override;

protected:
    ~InstrumentController() = default;
    Instrument& instrument() { return instrument_; }

private:
    Instrument& instrument_;
};

} // namespace grelmond
