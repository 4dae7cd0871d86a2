#include "Vst3Plugin.h"

#include "Vst3MemoryStream.h"

#include "pluginterfaces/vst/ivstmidicontrollers.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>

namespace host {

using namespace Steinberg;

namespace {

#ifdef _WIN32
constexpr const char* kArchFolder = "x86_64-win";
constexpr const char* kModuleSuffix = ".vst3";
const FIDString kWindowType = kPlatformTypeHWND;
void* openLibrary(const std::string& path) { return reinterpret_cast<void*>(LoadLibraryA(path.c_str())); }
void* findSymbol(void* library, const char* name)
{
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}
void closeLibrary(void* library) { FreeLibrary(static_cast<HMODULE>(library)); }
std::string libraryError() { return "error " + std::to_string(GetLastError()); }
#else
constexpr const char* kArchFolder = "x86_64-linux";
constexpr const char* kModuleSuffix = ".so";
const FIDString kWindowType = kPlatformTypeX11EmbedWindowID;
void* openLibrary(const std::string& path) { return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL); }
void* findSymbol(void* library, const char* name) { return dlsym(library, name); }
void closeLibrary(void* library) { dlclose(library); }
std::string libraryError()
{
    const char* why = dlerror();
    return why != nullptr ? why : "unknown error";
}
#endif

std::string narrow(const Vst::TChar* text, std::size_t limit = 128)
{
    std::string out;
    for (std::size_t i = 0; i < limit && text[i] != 0; ++i)
        out += text[i] < 128 ? static_cast<char>(text[i]) : '?';
    return out;
}

template <typename T>
void releaseAndClear(T*& object)
{
    if (object != nullptr)
        object->release();
    object = nullptr;
}

// A bundle folder names its module Contents/<arch>/<bundle name><suffix>.
std::string modulePath(const std::string& path)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path given(path);
    if (!fs::is_directory(given, ec))
        return path;
    fs::path bundle = given;
    if (bundle.filename().empty())
        bundle = bundle.parent_path();
    const std::string name = bundle.stem().string();
    return (bundle / "Contents" / kArchFolder / (name + kModuleSuffix)).string();
}

} // namespace

bool isVst3Path(const std::string& path)
{
    std::string p = path;
    while (p.size() > 1 && (p.back() == '/' || p.back() == '\\'))
        p.pop_back();
    return p.size() > 5 && p.compare(p.size() - 5, 5, ".vst3") == 0;
}

Vst3Plugin::~Vst3Plugin()
{
    unload();
}

bool Vst3Plugin::load(const std::string& path, float sampleRate, int blockSize, std::string& error)
{
    unload();
    sampleRate_ = sampleRate;
    blockSize_ = blockSize;
    if (!openModule(path, error) || !createComponent(error)) {
        unload();
        return false;
    }
    readParameters();
    readPrograms();

    Vst::ProcessSetup setup{Vst::kRealtime, Vst::kSample32, blockSize_, sampleRate_};
    if (processor_->canProcessSampleSize(Vst::kSample32) != kResultOk ||
        processor_->setupProcessing(setup) != kResultOk) {
        error = "the plug-in refused 32-bit processing at " + std::to_string(sampleRate_) + " Hz";
        unload();
        return false;
    }
    Vst::SpeakerArrangement stereo = Vst::SpeakerArr::kStereo;
    processor_->setBusArrangements(nullptr, 0, &stereo, 1);
    for (Vst::MediaType type : {Vst::kAudio, Vst::kEvent})
        for (Vst::BusDirection direction : {Vst::kInput, Vst::kOutput})
            for (int32 bus = 0; bus < component_->getBusCount(type, direction); ++bus)
                component_->activateBus(type, direction, bus, true);
    component_->setActive(true);
    return true;
}

bool Vst3Plugin::openModule(const std::string& path, std::string& error)
{
    const std::string module = modulePath(path);
    library_ = openLibrary(module);
    if (library_ == nullptr) {
        error = "cannot load " + module + " (" + libraryError() + ")";
        return false;
    }
#ifdef _WIN32
    using Enter = bool (*)();
    auto enter = reinterpret_cast<Enter>(findSymbol(library_, "InitDll"));
    if (enter != nullptr && !enter()) {
#else
    using Enter = bool (*)(void*);
    auto enter = reinterpret_cast<Enter>(findSymbol(library_, "ModuleEntry"));
    if (enter != nullptr && !enter(library_)) {
#endif
        error = module + " refused its module entry call";
        return false;
    }
    using GetFactory = IPluginFactory* (PLUGIN_API*)();
    auto getFactory = reinterpret_cast<GetFactory>(findSymbol(library_, "GetPluginFactory"));
    factory_ = getFactory != nullptr ? getFactory() : nullptr;
    if (factory_ == nullptr) {
        error = module + " gives no plug-in factory";
        return false;
    }
    return true;
}

bool Vst3Plugin::createComponent(std::string& error)
{
    for (int32 i = 0; i < factory_->countClasses() && component_ == nullptr; ++i) {
        PClassInfo info{};
        if (factory_->getClassInfo(i, &info) != kResultOk || std::strcmp(info.category, kVstAudioEffectClass) != 0)
            continue;
        void* object = nullptr;
        if (factory_->createInstance(info.cid, Vst::IComponent::iid, &object) == kResultOk && object != nullptr) {
            component_ = static_cast<Vst::IComponent*>(object);
            className_ = info.name;
        }
    }
    if (component_ == nullptr) {
        error = "the factory gives no audio component";
        return false;
    }
    if (component_->initialize(static_cast<Vst::IHostApplication*>(&context_)) != kResultOk) {
        error = "the component did not initialise";
        releaseAndClear(component_);
        return false;
    }
    void* object = nullptr;
    if (component_->queryInterface(Vst::IAudioProcessor::iid, &object) != kResultOk || object == nullptr) {
        error = "the component is no audio processor";
        return false;
    }
    processor_ = static_cast<Vst::IAudioProcessor*>(object);

    object = nullptr;
    if (component_->queryInterface(Vst::IEditController::iid, &object) == kResultOk && object != nullptr) {
        controller_ = static_cast<Vst::IEditController*>(object);
    } else {
        TUID cid;
        if (component_->getControllerClassId(cid) == kResultOk &&
            factory_->createInstance(cid, Vst::IEditController::iid, &object) == kResultOk && object != nullptr) {
            controller_ = static_cast<Vst::IEditController*>(object);
            separateController_ = true;
            controller_->initialize(static_cast<Vst::IHostApplication*>(&context_));
        }
    }
    if (controller_ == nullptr) {
        error = "the plug-in has no edit controller";
        return false;
    }
    controller_->setComponentHandler(&context_);
    if (separateController_) {
        Vst3MemoryStream state;
        if (component_->getState(&state) == kResultOk) {
            state.rewind();
            controller_->setComponentState(&state);
        }
    }
    return true;
}

void Vst3Plugin::unload()
{
    closeEditor();
    if (processing_)
        stopProcessing();
    if (component_ != nullptr)
        component_->setActive(false);
    if (controller_ != nullptr) {
        controller_->setComponentHandler(nullptr);
        if (separateController_)
            controller_->terminate();
    }
    releaseAndClear(controller_);
    releaseAndClear(processor_);
    if (component_ != nullptr)
        component_->terminate();
    releaseAndClear(component_);
    releaseAndClear(factory_);
    if (library_ != nullptr) {
#ifdef _WIN32
        if (auto leave = reinterpret_cast<bool (*)()>(findSymbol(library_, "ExitDll")))
            leave();
#else
        if (auto leave = reinterpret_cast<bool (*)()>(findSymbol(library_, "ModuleExit")))
            leave();
#endif
        closeLibrary(library_);
        library_ = nullptr;
    }
    parameterIds_.clear();
    parameterInfos_.clear();
    programNames_.clear();
    hasProgramParameter_ = false;
    separateController_ = false;
}

void Vst3Plugin::readParameters()
{
    for (int32 i = 0; i < controller_->getParameterCount(); ++i) {
        Vst::ParameterInfo info{};
        if (controller_->getParameterInfo(i, info) != kResultOk)
            continue;
        if ((info.flags & Vst::ParameterInfo::kIsProgramChange) != 0 && !hasProgramParameter_) {
            programParameter_ = info.id;
            hasProgramParameter_ = true;
        } else if ((info.flags & Vst::ParameterInfo::kIsHidden) == 0) {
            parameterIds_.push_back(info.id);
            parameterInfos_.push_back(info);
        }
    }
}

void Vst3Plugin::readPrograms()
{
    void* object = nullptr;
    if (controller_->queryInterface(Vst::IUnitInfo::iid, &object) != kResultOk || object == nullptr)
        return;
    auto* units = static_cast<Vst::IUnitInfo*>(object);
    Vst::ProgramListInfo list{};
    if (units->getProgramListCount() > 0 && units->getProgramListInfo(0, list) == kResultOk) {
        for (int32 p = 0; p < list.programCount; ++p) {
            Vst::String128 name{};
            units->getProgramName(list.id, p, name);
            programNames_.push_back(narrow(name));
        }
    }
    units->release();
}

std::string Vst3Plugin::programName(int program) const
{
    if (program < 0 || program >= programCount())
        return {};
    return programNames_[static_cast<std::size_t>(program)];
}

int Vst3Plugin::program() const
{
    if (!hasProgramParameter_ || programCount() < 2)
        return 0;
    const double value = controller_->getParamNormalized(programParameter_);
    return static_cast<int>(std::lround(value * (programCount() - 1)));
}

void Vst3Plugin::selectProgram(int program)
{
    if (!hasProgramParameter_ || programCount() < 2)
        return;
    setNormalized(programParameter_, static_cast<double>(std::clamp(program, 0, programCount() - 1)) /
                                         (programCount() - 1));
}

void Vst3Plugin::setNormalized(Vst::ParamID id, double value)
{
    // As a host does: the controller shows it, the processor gets it with the next block.
    controller_->setParamNormalized(id, value);
    pendingChanges_.push_back({0, static_cast<int>(id), static_cast<float>(value)});
}

std::string Vst3Plugin::parameterName(int index) const
{
    if (index < 0 || index >= parameterCount())
        return {};
    return narrow(parameterInfos_[static_cast<std::size_t>(index)].title);
}

std::string Vst3Plugin::parameterLabel(int index) const
{
    if (index < 0 || index >= parameterCount())
        return {};
    return narrow(parameterInfos_[static_cast<std::size_t>(index)].units);
}

std::string Vst3Plugin::parameterDisplay(int index) const
{
    if (index < 0 || index >= parameterCount())
        return {};
    const Vst::ParamID id = parameterIds_[static_cast<std::size_t>(index)];
    Vst::String128 text{};
    if (controller_->getParamStringByValue(id, controller_->getParamNormalized(id), text) != kResultOk)
        return {};
    return narrow(text);
}

float Vst3Plugin::parameter(int index) const
{
    if (index < 0 || index >= parameterCount())
        return 0.0f;
    return static_cast<float>(controller_->getParamNormalized(parameterIds_[static_cast<std::size_t>(index)]));
}

void Vst3Plugin::setParameter(int index, float value)
{
    if (index < 0 || index >= parameterCount())
        return;
    setNormalized(parameterIds_[static_cast<std::size_t>(index)], value);
}

bool Vst3Plugin::saveState(std::vector<char>& bytes)
{
    Vst3MemoryStream stream;
    if (component_->getState(&stream) != kResultOk)
        return false;
    bytes = stream.bytes();
    return true;
}

bool Vst3Plugin::loadState(const std::vector<char>& bytes)
{
    Vst3MemoryStream stream(bytes);
    if (component_->setState(&stream) != kResultOk)
        return false;
    stream.rewind();
    controller_->setComponentState(&stream);
    return true;
}

void Vst3Plugin::startProcessing()
{
    processing_ = true;
    processor_->setProcessing(true);
}

void Vst3Plugin::stopProcessing()
{
    processor_->setProcessing(false);
    processing_ = false;
}

Vst::ParamID Vst3Plugin::mappedController(int channel, int controller) const
{
    void* object = nullptr;
    if (controller_->queryInterface(Vst::IMidiMapping::iid, &object) != kResultOk || object == nullptr)
        return Vst::kNoParamId;
    auto* mapping = static_cast<Vst::IMidiMapping*>(object);
    Vst::ParamID id = Vst::kNoParamId;
    if (mapping->getMidiControllerAssignment(0, static_cast<int16>(channel), static_cast<Vst::CtrlNumber>(controller),
                                             id) != kResultOk)
        id = Vst::kNoParamId;
    mapping->release();
    return id;
}

void Vst3Plugin::addMidi(const BlockMidi& message)
{
    const int kind = message.bytes[0] & 0xF0;
    const int channel = message.bytes[0] & 0x0F;
    const int data1 = message.bytes[1] & 0x7F;
    const int data2 = message.bytes[2] & 0x7F;
    Vst::Event event{};
    event.sampleOffset = message.frame;
    if (kind == 0x90 && data2 > 0) {
        event.type = Vst::Event::kNoteOnEvent;
        event.noteOn = {static_cast<int16>(channel), static_cast<int16>(data1), 0.0f, data2 / 127.0f, 0, -1};
        events_.addEvent(event);
    } else if (kind == 0x80 || kind == 0x90) {
        event.type = Vst::Event::kNoteOffEvent;
        event.noteOff = {static_cast<int16>(channel), static_cast<int16>(data1), data2 / 127.0f, -1, 0.0f};
        events_.addEvent(event);
    } else if (kind == 0xB0 || kind == 0xE0 || kind == 0xD0) {
        const int controller = kind == 0xB0 ? data1 : kind == 0xE0 ? Vst::kPitchBend : Vst::kAfterTouch;
        const double value = kind == 0xB0 ? data2 / 127.0 : kind == 0xE0 ? (data1 + data2 * 128) / 16383.0 : data1 / 127.0;
        const Vst::ParamID id = mappedController(channel, controller);
        if (id != Vst::kNoParamId)
            changes_.add(id, message.frame, value);
    } else if (kind == 0xC0 && hasProgramParameter_ && programCount() > 1) {
        changes_.add(programParameter_, message.frame,
                     static_cast<double>(std::min(data1, programCount() - 1)) / (programCount() - 1));
    }
}

void Vst3Plugin::queueSysEx(int frame, std::vector<unsigned char> bytes)
{
    pendingSysEx_.push_back({frame, std::move(bytes)});
}

void Vst3Plugin::process(const std::vector<BlockMidi>& midi, const std::vector<BlockParameter>& params,
                         const BlockTransport& transport, float* left, float* right, int frames, bool accumulate)
{
    events_.clear();
    changes_.clear();
    for (const BlockParameter& change : pendingChanges_)
        changes_.add(static_cast<Vst::ParamID>(change.index), 0, change.value);
    pendingChanges_.clear();
    for (const BlockParameter& change : params)
        if (change.index >= 0 && change.index < parameterCount())
            changes_.add(parameterIds_[static_cast<std::size_t>(change.index)], change.frame, change.value);
    for (const BlockMidi& message : midi)
        addMidi(message);
    for (PendingSysEx& message : pendingSysEx_) {
        Vst::Event event{};
        event.sampleOffset = message.frame;
        event.type = Vst::Event::kDataEvent;
        event.data = {static_cast<uint32>(message.bytes.size()), Vst::DataEvent::kMidiSysEx, message.bytes.data()};
        events_.addEvent(event);
    }

    processContext_ = {};
    processContext_.sampleRate = sampleRate_;
    processContext_.projectTimeSamples = transport.position;
    processContext_.state = Vst::ProcessContext::kPlaying;
    if (transport.tempo > 0.0) {
        const double quarters = static_cast<double>(transport.position) / sampleRate_ * transport.tempo / 60.0;
        processContext_.tempo = transport.tempo;
        processContext_.projectTimeMusic = quarters;
        processContext_.barPositionMusic = std::floor(quarters / 4.0) * 4.0;
        processContext_.timeSigNumerator = 4;
        processContext_.timeSigDenominator = 4;
        processContext_.state |= Vst::ProcessContext::kTempoValid | Vst::ProcessContext::kProjectTimeMusicValid |
                                 Vst::ProcessContext::kBarPositionValid | Vst::ProcessContext::kTimeSigValid;
    }

    std::vector<float> scratchLeft, scratchRight;
    float* outLeft = left;
    float* outRight = right;
    if (accumulate) { // VST 3 always replaces: render aside and add
        scratchLeft.assign(static_cast<std::size_t>(frames), 0.0f);
        scratchRight.assign(static_cast<std::size_t>(frames), 0.0f);
        outLeft = scratchLeft.data();
        outRight = scratchRight.data();
    }
    float* channels[2] = {outLeft, outRight};
    Vst::AudioBusBuffers output;
    output.numChannels = 2;
    output.channelBuffers32 = channels;
    Vst::ProcessData data;
    data.processMode = Vst::kRealtime;
    data.symbolicSampleSize = Vst::kSample32;
    data.numSamples = frames;
    data.numOutputs = 1;
    data.outputs = &output;
    data.inputParameterChanges = &changes_;
    data.inputEvents = &events_;
    data.processContext = &processContext_;
    processor_->process(data);
    pendingSysEx_.clear();

    if (accumulate)
        for (int i = 0; i < frames; ++i) {
            left[i] += outLeft[i];
            right[i] += outRight[i];
        }
    // Hosts show what the automation did: the controller follows each parameter's last point.
    for (const BlockParameter& change : params)
        if (change.index >= 0 && change.index < parameterCount())
            controller_->setParamNormalized(parameterIds_[static_cast<std::size_t>(change.index)], change.value);
}

bool Vst3Plugin::editorSize(int& width, int& height)
{
    IPlugView* view = view_ != nullptr ? view_ : controller_->createView(Vst::ViewType::kEditor);
    if (view == nullptr)
        return false;
    ViewRect rect{};
    const bool ok = view->getSize(&rect) == kResultOk;
    if (view != view_)
        view->release();
    width = rect.getWidth();
    height = rect.getHeight();
    return ok && width > 0 && height > 0;
}

bool Vst3Plugin::openEditor(void* parent)
{
    closeEditor();
    view_ = controller_->createView(Vst::ViewType::kEditor);
    if (view_ == nullptr)
        return false;
    if (view_->isPlatformTypeSupported(kWindowType) != kResultTrue) {
        releaseAndClear(view_);
        return false;
    }
    view_->setFrame(&frame_);
    if (view_->attached(parent, kWindowType) != kResultOk) {
        view_->setFrame(nullptr);
        releaseAndClear(view_);
        return false;
    }
    return true;
}

void Vst3Plugin::idleEditor()
{
    frame_.dispatch(std::chrono::milliseconds(0));
}

void Vst3Plugin::closeEditor()
{
    if (view_ == nullptr)
        return;
    view_->removed();
    view_->setFrame(nullptr);
    releaseAndClear(view_);
}

} // namespace host
