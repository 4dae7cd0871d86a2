#include "formats/vst3/Vst3Instrument.h"
#include "formats/vst3/InterfaceAnswer.h"

#include "formats/vst3/ClassIds.h"
#include "formats/vst3/ParameterLayout.h"
#include "formats/vst3/Utf16Text.h"

#include "pluginterfaces/base/ibstream.h"

#include <cstring>
#include <new>
#include <string>

namespace grelmond::vst3 {

using namespace Steinberg;

namespace {

constexpr int32 kStateReadPiece = 1 << 16;

} // namespace

Vst3Instrument* Vst3Instrument::create()
{
    return new (std::nothrow) Vst3Instrument;
}

Vst3Instrument::Vst3Instrument()
{
    instrument_.setChangeReceiver(&editor_);
}

Vst3Instrument::~Vst3Instrument()
{
    editor_.close();
    instrument_.setChangeReceiver(nullptr);
    if (handler_ != nullptr)
        handler_->release();
}

tresult PLUGIN_API Vst3Instrument::queryInterface(const TUID iid, void** obj)
{
    if (obj == nullptr)
        return kInvalidArgument;
    if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) || FUnknownPrivate::iidEqual(iid, IPluginBase::iid)) {
        addRef();
        *obj = static_cast<IPluginBase*>(static_cast<Vst::IComponent*>(this));
        return kResultOk;
    }
    if (answer<Vst::IComponent>(this, iid, obj) || answer<Vst::IAudioProcessor>(this, iid, obj) ||
        answer<Vst::IProcessContextRequirements>(this, iid, obj) || answer<Vst::IEditController>(this, iid, obj) ||
        answer<Vst::IMidiMapping>(this, iid, obj) || answer<Vst::IUnitInfo>(this, iid, obj))
        return kResultOk;
    *obj = nullptr;
    return kNoInterface;
}

uint32 PLUGIN_API Vst3Instrument::release()
{
    const uint32 left = refs_.drop();
    if (left == 0)
        delete this;
    return left;
}

tresult PLUGIN_API Vst3Instrument::initialize(FUnknown*)
{
    return kResultOk;
}

tresult PLUGIN_API Vst3Instrument::terminate()
{
    editor_.close();
    setComponentHandler(nullptr);
    return kResultOk;
}

tresult PLUGIN_API Vst3Instrument::getControllerClassId(TUID)
{
    return kNotImplemented; // this object is its own controller
}

int32 PLUGIN_API Vst3Instrument::getBusCount(Vst::MediaType type, Vst::BusDirection dir)
{
    if (type == Vst::kAudio && dir == Vst::kOutput)
        return 1;
    if (type == Vst::kEvent && dir == Vst::kInput)
        return 1;
    return 0;
}

tresult PLUGIN_API Vst3Instrument::getBusInfo(Vst::MediaType type, Vst::BusDirection dir, int32 index,
                                              Vst::BusInfo& bus)
{
    if (index != 0 || getBusCount(type, dir) == 0)
        return kInvalidArgument;
    std::memset(&bus, 0, sizeof bus);
    bus.mediaType = type;
    bus.direction = dir;
    bus.busType = Vst::kMain;
    bus.flags = Vst::BusInfo::kDefaultActive;
    bus.channelCount = type == Vst::kAudio ? 2 : 16;
    copyToString128(type == Vst::kAudio ? "Output" : "MIDI In", bus.name);
    return kResultOk;
}

tresult PLUGIN_API Vst3Instrument::activateBus(Vst::MediaType type, Vst::BusDirection dir, int32 index, TBool)
{
    return index == 0 && getBusCount(type, dir) == 1 ? kResultOk : kInvalidArgument;
}

tresult PLUGIN_API Vst3Instrument::setActive(TBool)
{
    return kResultOk;
}

tresult PLUGIN_API Vst3Instrument::getState(IBStream* state)
{
    if (state == nullptr)
        return kInvalidArgument;
    std::string text;
    if (!instrument_.saveState(Instrument::StateScope::Bank, text))
        return kResultFalse;
    int32 written = 0;
    if (state->write(text.data(), static_cast<int32>(text.size()), &written) != kResultOk ||
        written != static_cast<int32>(text.size()))
        return kResultFalse;
    return kResultOk;
}

tresult PLUGIN_API Vst3Instrument::setState(IBStream* state)
{
    if (state == nullptr)
        return kInvalidArgument;
    // Read no further than one byte past the longest state the instrument
    // accepts: enough to refuse an oversized one without holding it all.
    std::string text;
    for (;;) {
        const std::size_t had = text.size();
        if (had > Instrument::kMaxStateBytes)
            return kResultFalse;
        text.resize(had + kStateReadPiece);
        int32 read = 0;
        if (state->read(text.data() + had, kStateReadPiece, &read) != kResultOk || read < 0)
            read = 0;
        text.resize(had + static_cast<std::size_t>(read));
        if (read < kStateReadPiece)
            break;
    }
    if (!instrument_.loadState(Instrument::StateScope::Bank, text.data(), text.size()))
        return kResultFalse;
    valuesChanged();
    return kResultOk;
}

tresult PLUGIN_API Vst3Instrument::setBusArrangements(Vst::SpeakerArrangement*, int32 numIns,
                                                      Vst::SpeakerArrangement* outputs, int32 numOuts)
{
    if (numIns == 0 && numOuts == 1 && outputs != nullptr && outputs[0] == Vst::SpeakerArr::kStereo)
        return kResultOk;
    return kResultFalse;
}

tresult PLUGIN_API Vst3Instrument::getBusArrangement(Vst::BusDirection dir, int32 index,
                                                     Vst::SpeakerArrangement& arr)
{
    if (dir != Vst::kOutput || index != 0)
        return kInvalidArgument;
    arr = Vst::SpeakerArr::kStereo;
    return kResultOk;
}

tresult PLUGIN_API Vst3Instrument::canProcessSampleSize(int32 symbolicSampleSize)
{
    return symbolicSampleSize == Vst::kSample32 ? kResultOk : kResultFalse;
}

tresult PLUGIN_API Vst3Instrument::setupProcessing(Vst::ProcessSetup& setup)
{
    // Preparing resizes what the audio thread reads: never while it may run.
    if (processing_.load(std::memory_order_acquire))
        return kResultFalse;
    if (setup.symbolicSampleSize != Vst::kSample32 || !(setup.sampleRate >= 1000.0 && setup.sampleRate <= 1536000.0) ||
        setup.maxSamplesPerBlock < 0)
        return kResultFalse;
    sampleRate_ = setup.sampleRate;
    maxFrames_ = setup.maxSamplesPerBlock;
    // Processing is off here: the rate-dependent preparation happens now,
    // never on the audio thread.
    instrument_.prepare(sampleRate_, maxFrames_);
    return kResultOk;
}

tresult PLUGIN_API Vst3Instrument::setProcessing(TBool state)
{
    processing_.store(state != 0, std::memory_order_release);
    return kResultOk;
}

uint32 PLUGIN_API Vst3Instrument::getTailSamples()
{
    // The delays hold at most one second and feed back: let them ring out for ten.
    return static_cast<uint32>(sampleRate_ * 10.0);
}

uint32 PLUGIN_API Vst3Instrument::getProcessContextRequirements()
{
    return IProcessContextRequirements::kNeedTempo;
}

void Vst3Instrument::beginHostEdit(Vst::ParamID id)
{
    if (handler_ != nullptr)
        handler_->beginEdit(id);
}

void Vst3Instrument::performHostEdit(Vst::ParamID id, double value)
{
    if (handler_ != nullptr)
        handler_->performEdit(id, value);
}

void Vst3Instrument::endHostEdit(Vst::ParamID id)
{
    if (handler_ != nullptr)
        handler_->endEdit(id);
}

void Vst3Instrument::programSelected()
{
    const Vst::ParamID id = ParameterLayout::kProgramId;
    beginHostEdit(id);
    performHostEdit(id, ParameterLayout::programValue(instrument_.currentProgram()));
    endHostEdit(id);
    valuesChanged();
}

void Vst3Instrument::valuesChanged()
{
    if (handler_ != nullptr)
        handler_->restartComponent(Vst::kParamValuesChanged);
}

void Vst3Instrument::programNamesChanged()
{
    if (handler_ == nullptr)
        return;
    void* object = nullptr;
    if (handler_->queryInterface(Vst::IUnitHandler::iid, &object) == kResultOk && object != nullptr) {
        auto* units = static_cast<Vst::IUnitHandler*>(object);
        units->notifyProgramListChange(ParameterLayout::kProgramListId, -1);
        units->release();
    }
}

tresult PLUGIN_API Vst3Instrument::setComponentHandler(Vst::IComponentHandler* handler)
{
    if (handler == handler_)
        return kResultOk;
    if (handler != nullptr)
        handler->addRef();
    if (handler_ != nullptr)
        handler_->release();
    handler_ = handler;
    return kResultOk;
}

} // namespace grelmond::vst3
