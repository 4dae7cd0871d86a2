#pragma once

// A VST 3 bundle loaded the way a host loads it: the module and its entry
// call, the factory, the first audio class as component, processor and edit
// controller, state through memory streams, MIDI turned into note events and
// mapped controller parameters, and the view in a native window.

#include "Instrument.h"
#include "Vst3EventList.h"
#include "Vst3HostContext.h"
#include "Vst3ParameterChanges.h"
#include "Vst3PlugFrame.h"

#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"
#include "pluginterfaces/vst/ivstunits.h"

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace host {

class Vst3Plugin final : public Instrument {
public:
    Vst3Plugin() = default;
    ~Vst3Plugin() override;
    Vst3Plugin(const Vst3Plugin&) = delete;
    Vst3Plugin& operator=(const Vst3Plugin&) = delete;

    // PATH is a bundle folder or the module file inside it.
    bool load(const std::string& path, float sampleRate, int blockSize, std::string& error);
    void unload();
    // Factory, class, buses, every parameter and the program list, for --info;
    // false when a text broke the interface's rules.
    bool describe(std::FILE* out);
    Vst3HostContext& context() { return context_; }
    Steinberg::Vst::IComponent* component() const { return component_; }
    Steinberg::Vst::IAudioProcessor* processor() const { return processor_; }
    Steinberg::Vst::IEditController* controller() const { return controller_; }
    Vst3PlugFrame& frame() { return frame_; }

    std::string format() const override { return "VST 3"; }
    int programCount() const override { return static_cast<int>(programNames_.size()); }
    int parameterCount() const override { return static_cast<int>(parameterIds_.size()); }
    std::string programName(int program) const override;
    int program() const override;
    void selectProgram(int program) override;
    std::string parameterName(int index) const override;
    std::string parameterDisplay(int index) const override;
    std::string parameterLabel(int index) const override;
    float parameter(int index) const override;
    void setParameter(int index, float value) override;

    bool saveState(std::vector<char>& bytes) override;
    bool loadState(const std::vector<char>& bytes) override;

    void startProcessing() override;
    void stopProcessing() override;
    void process(const std::vector<BlockMidi>& midi, const std::vector<BlockParameter>& params,
                 const BlockTransport& transport, float* left, float* right, int frames, bool accumulate) override;

    // A system-exclusive message (bytes as given) passed with the next block at frame.
    void queueSysEx(int frame, std::vector<unsigned char> bytes);

    bool editorSize(int& width, int& height) override;
    bool openEditor(void* parent) override;
    void idleEditor() override;
    void closeEditor() override;
    void setEditorWindowResizer(std::function<bool(int width, int height)> resize) override
    {
        frame_.setWindowResizer(std::move(resize));
    }

private:
    bool openModule(const std::string& path, std::string& error);
    bool createComponent(std::string& error);
    void readParameters();
    void readPrograms();
    void setNormalized(Steinberg::Vst::ParamID id, double value);
    void addMidi(const BlockMidi& message);
    Steinberg::Vst::ParamID mappedController(int channel, int controller) const;

    void* library_ = nullptr;
    Steinberg::IPluginFactory* factory_ = nullptr;
    Steinberg::Vst::IComponent* component_ = nullptr;
    Steinberg::Vst::IAudioProcessor* processor_ = nullptr;
    Steinberg::Vst::IEditController* controller_ = nullptr;
    bool separateController_ = false;
    Steinberg::IPlugView* view_ = nullptr;
    std::string className_;

    Vst3HostContext context_;
    Vst3PlugFrame frame_;
    Vst3EventList events_;
    Vst3ParameterChanges changes_;
    Steinberg::Vst::ProcessContext processContext_{};
    std::vector<BlockParameter> pendingChanges_; // set outside processing, passed with the next block
    struct PendingSysEx {
        int frame;
        std::vector<unsigned char> bytes;
    };
    std::vector<PendingSysEx> pendingSysEx_; // passed with the next block, kept alive through it

    std::vector<Steinberg::Vst::ParamID> parameterIds_; // the visible parameters, in the plug-in's order
    std::vector<Steinberg::Vst::ParameterInfo> parameterInfos_;
    Steinberg::Vst::ParamID programParameter_ = 0;
    bool hasProgramParameter_ = false;
    std::vector<std::string> programNames_;
    float sampleRate_ = 44100.0f;
    int blockSize_ = 512;
    bool processing_ = false;
};

} // namespace host
