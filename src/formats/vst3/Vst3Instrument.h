#pragma once

// The instrument as one VST 3 object that is component, audio processor and
// edit controller at once (with its MIDI mapping and program list): a thin
// translation between the host's calls and the instrument core.
//
// Threads: the controller calls, state and view on the host's user-interface
// thread; process() on the audio thread, where nothing allocates, locks or
// touches a file; setupProcessing() while processing is off.

#include "core/Instrument.h"
#include "editor/PluginEditor.h"
#include "formats/vst3/BlockEvents.h"
#include "formats/vst3/RefCount.h"
#include "formats/vst3/Vst3EditorController.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstunits.h"

#include <array>
#include <atomic>

namespace grelmond::vst3 {

class PlugView;

class Vst3Instrument final : public Steinberg::Vst::IComponent,
                             public Steinberg::Vst::IAudioProcessor,
                             public Steinberg::Vst::IProcessContextRequirements,
                             public Steinberg::Vst::IEditController,
                             public Steinberg::Vst::IMidiMapping,
                             public Steinberg::Vst::IUnitInfo {
public:
    // A new instance holding one reference for the caller; null without memory.
    static Vst3Instrument* create();

    Instrument& instrument() { return instrument_; }
    PluginEditor& editor() { return editor_; }
    // The view showing the editor, whose frame hears the editor's size requests.
    void viewAttached(PlugView* view) { view_ = view; }
    void viewRemoved(PlugView* view);
    bool resizeView(int width, int height);
    // Calls to the host's component handler, from the user-interface thread
    // only; nothing happens before the host has given its handler.
    void beginHostEdit(Steinberg::Vst::ParamID id);
    void performHostEdit(Steinberg::Vst::ParamID id, double value);
    void endHostEdit(Steinberg::Vst::ParamID id);
    // The program parameter moves to the current program, as one edit.
    void programSelected();
    void valuesChanged();
    void programNamesChanged();

    // FUnknown
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
    Steinberg::uint32 PLUGIN_API addRef() override { return refs_.add(); }
    Steinberg::uint32 PLUGIN_API release() override;

    // IPluginBase (shared by component and controller)
    Steinberg::tresult PLUGIN_API initialize(Steinberg::FUnknown* context) override;
    Steinberg::tresult PLUGIN_API terminate() override;

    // IComponent
    Steinberg::tresult PLUGIN_API getControllerClassId(Steinberg::TUID classId) override;
    Steinberg::tresult PLUGIN_API setIoMode(Steinberg::Vst::IoMode) override { return Steinberg::kResultOk; }
    Steinberg::int32 PLUGIN_API getBusCount(Steinberg::Vst::MediaType type, Steinberg::Vst::BusDirection dir) override;
    Steinberg::tresult PLUGIN_API getBusInfo(Steinberg::Vst::MediaType type, Steinberg::Vst::BusDirection dir,
                                             Steinberg::int32 index, Steinberg::Vst::BusInfo& bus) override;
    Steinberg::tresult PLUGIN_API getRoutingInfo(Steinberg::Vst::RoutingInfo&, Steinberg::Vst::RoutingInfo&) override
    {
        return Steinberg::kNotImplemented;
    }
    Steinberg::tresult PLUGIN_API activateBus(Steinberg::Vst::MediaType type, Steinberg::Vst::BusDirection dir,
                                              Steinberg::int32 index, Steinberg::TBool state) override;
    Steinberg::tresult PLUGIN_API setActive(Steinberg::TBool state) override;
    Steinberg::tresult PLUGIN_API setState(Steinberg::IBStream* state) override;
    Steinberg::tresult PLUGIN_API getState(Steinberg::IBStream* state) override;

    // IAudioProcessor
    Steinberg::tresult PLUGIN_API setBusArrangements(Steinberg::Vst::SpeakerArrangement* inputs,
                                                     Steinberg::int32 numIns,
                                                     Steinberg::Vst::SpeakerArrangement* outputs,
                                                     Steinberg::int32 numOuts) override;
    Steinberg::tresult PLUGIN_API getBusArrangement(Steinberg::Vst::BusDirection dir, Steinberg::int32 index,
                                                    Steinberg::Vst::SpeakerArrangement& arr) override;
    Steinberg::tresult PLUGIN_API canProcessSampleSize(Steinberg::int32 symbolicSampleSize) override;
    Steinberg::uint32 PLUGIN_API getLatencySamples() override { return 0; }
    Steinberg::tresult PLUGIN_API setupProcessing(Steinberg::Vst::ProcessSetup& setup) override;
    Steinberg::tresult PLUGIN_API setProcessing(Steinberg::TBool state) override;
    Steinberg::tresult PLUGIN_API process(Steinberg::Vst::ProcessData& data) override;
    Steinberg::uint32 PLUGIN_API getTailSamples() override;

    // IProcessContextRequirements
    Steinberg::uint32 PLUGIN_API getProcessContextRequirements() override;

    // IEditController
    Steinberg::tresult PLUGIN_API setComponentState(Steinberg::IBStream*) override { return Steinberg::kResultOk; }
    Steinberg::int32 PLUGIN_API getParameterCount() override;
    Steinberg::tresult PLUGIN_API getParameterInfo(Steinberg::int32 paramIndex,
                                                   Steinberg::Vst::ParameterInfo& info) override;
    Steinberg::tresult PLUGIN_API getParamStringByValue(Steinberg::Vst::ParamID id,
                                                        Steinberg::Vst::ParamValue valueNormalized,
                                                        Steinberg::Vst::String128 string) override;
    Steinberg::tresult PLUGIN_API getParamValueByString(Steinberg::Vst::ParamID id, Steinberg::Vst::TChar* string,
                                                        Steinberg::Vst::ParamValue& valueNormalized) override;
    Steinberg::Vst::ParamValue PLUGIN_API normalizedParamToPlain(Steinberg::Vst::ParamID id,
                                                                 Steinberg::Vst::ParamValue valueNormalized) override;
    Steinberg::Vst::ParamValue PLUGIN_API plainParamToNormalized(Steinberg::Vst::ParamID id,
                                                                 Steinberg::Vst::ParamValue plainValue) override;
    Steinberg::Vst::ParamValue PLUGIN_API getParamNormalized(Steinberg::Vst::ParamID id) override;
    Steinberg::tresult PLUGIN_API setParamNormalized(Steinberg::Vst::ParamID id,
                                                     Steinberg::Vst::ParamValue value) override;
    Steinberg::tresult PLUGIN_API setComponentHandler(Steinberg::Vst::IComponentHandler* handler) override;
    Steinberg::IPlugView* PLUGIN_API createView(Steinberg::FIDString name) override;

    // IMidiMapping
    Steinberg::tresult PLUGIN_API getMidiControllerAssignment(Steinberg::int32 busIndex, Steinberg::int16 channel,
                                                              Steinberg::Vst::CtrlNumber midiControllerNumber,
                                                              Steinberg::Vst::ParamID& id) override;

    // IUnitInfo
    Steinberg::int32 PLUGIN_API getUnitCount() override { return 1; }
    Steinberg::tresult PLUGIN_API getUnitInfo(Steinberg::int32 unitIndex, Steinberg::Vst::UnitInfo& info) override;
    Steinberg::int32 PLUGIN_API getProgramListCount() override { return 1; }
    Steinberg::tresult PLUGIN_API getProgramListInfo(Steinberg::int32 listIndex,
                                                     Steinberg::Vst::ProgramListInfo& info) override;
    Steinberg::tresult PLUGIN_API getProgramName(Steinberg::Vst::ProgramListID listId, Steinberg::int32 programIndex,
                                                 Steinberg::Vst::String128 name) override;
    Steinberg::tresult PLUGIN_API getProgramInfo(Steinberg::Vst::ProgramListID, Steinberg::int32,
                                                 Steinberg::Vst::CString, Steinberg::Vst::String128) override
    {
        return Steinberg::kResultFalse;
    }
    Steinberg::tresult PLUGIN_API hasProgramPitchNames(Steinberg::Vst::ProgramListID, Steinberg::int32) override
    {
        return Steinberg::kResultFalse;
    }
    Steinberg::tresult PLUGIN_API getProgramPitchName(Steinberg::Vst::ProgramListID, Steinberg::int32,
                                                      Steinberg::int16, Steinberg::Vst::String128) override
    {
        return Steinberg::kResultFalse;
    }
    Steinberg::Vst::UnitID PLUGIN_API getSelectedUnit() override { return Steinberg::Vst::kRootUnitId; }
    Steinberg::tresult PLUGIN_API selectUnit(Steinberg::Vst::UnitID) override { return Steinberg::kResultOk; }
    Steinberg::tresult PLUGIN_API getUnitByBus(Steinberg::Vst::MediaType, Steinberg::Vst::BusDirection,
                                               Steinberg::int32, Steinberg::int32,
                                               Steinberg::Vst::UnitID& unitId) override
    {
        unitId = Steinberg::Vst::kRootUnitId;
        return Steinberg::kResultOk;
    }
    Steinberg::tresult PLUGIN_API setUnitProgramData(Steinberg::int32, Steinberg::int32, Steinberg::IBStream*) override
    {
        return Steinberg::kNotImplemented;
    }

private:
    Vst3Instrument();
    ~Vst3Instrument();

    // One change from the host's parameter queues, applied at its frame.
    struct Change {
        int frame;
        Steinberg::Vst::ParamID id;
        double value;
    };
    void readEvents(Steinberg::Vst::IEventList* list, int frames);
    void readChanges(Steinberg::Vst::IParameterChanges* changes, int frames);
    void applyChange(const Change& change, Steinberg::Vst::IParameterChanges* output);
    void renderStretches(float* left, float* right, int frames, Steinberg::Vst::IParameterChanges* output);

    RefCount refs_;
    Instrument instrument_;
    Vst3EditorController controller_{instrument_, *this};
    PluginEditor editor_{controller_};
    Steinberg::Vst::IComponentHandler* handler_ = nullptr;
    PlugView* view_ = nullptr;

    double sampleRate_ = 44100.0;
    int maxFrames_ = 0;
    std::atomic<bool> processing_{false};
    BlockEvents events_;
    static constexpr int kMaxChanges = 1024;
    std::array<Change, kMaxChanges> changes_{};
    int changeCount_ = 0;
};

} // namespace grelmond::vst3
