#include "Lv2Plugin.h"

#include <lv2/atom/atom.h>
#include <lv2/presets/presets.h>
#include <lv2/state/state.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace host {

namespace {

constexpr std::uint32_t kNotifyCapacity = 1 << 16;
constexpr std::size_t kRequestCapacity = 1 << 16;

void collectPortValue(const char* symbol, void* data, const void* value, uint32_t size, uint32_t type)
{
    auto* plugin = static_cast<Lv2Plugin*>(data);
    const int index = plugin->portIndex(symbol);
    if (index >= 0 && size == sizeof(float))
        plugin->setPort(index, *static_cast<const float*>(value));
}

const void* hostPortValue(const char* symbol, void* data, uint32_t* size, uint32_t* type)
{
    auto* plugin = static_cast<Lv2Plugin*>(data);
    const int index = plugin->portIndex(symbol);
    if (index < 0 || !plugin->isControlInput(index))
        return nullptr;
    static thread_local float value;
    value = plugin->port(index);
    *size = sizeof(float);
    *type = plugin->urids().map(LV2_ATOM__Float);
    return &value;
}

struct StateAccess {
    Lv2Plugin* plugin;
    Lv2StateRecord* record;
};

LV2_State_Status storeValue(LV2_State_Handle handle, uint32_t key, const void* value, size_t size, uint32_t type,
                            uint32_t flags)
{
    auto* access = static_cast<StateAccess*>(handle);
    UridMap& urids = access->plugin->urids();
    const char* keyUri = urids.unmap(key);
    const char* typeUri = urids.unmap(type);
    if (keyUri == nullptr || typeUri == nullptr)
        return LV2_STATE_ERR_BAD_TYPE;
    (*access->record)[keyUri] = {typeUri, std::string(static_cast<const char*>(value), size)};
    return LV2_STATE_SUCCESS;
}

const void* retrieveValue(LV2_State_Handle handle, uint32_t key, size_t* size, uint32_t* type, uint32_t* flags)
{
    auto* access = static_cast<StateAccess*>(handle);
    UridMap& urids = access->plugin->urids();
    const char* keyUri = urids.unmap(key);
    const auto found = keyUri != nullptr ? access->record->find(keyUri) : access->record->end();
    if (found == access->record->end())
        return nullptr;
    *size = found->second.bytes.size();
    *type = urids.map(found->second.type.c_str());
    *flags = LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE;
    return found->second.bytes.data();
}

} // namespace

Lv2Plugin::Lv2Plugin()
{
    mapFeature_ = {LV2_URID__map, urids_.mapFeature()};
    unmapFeature_ = {LV2_URID__unmap, urids_.unmapFeature()};
    schedule_ = {this, &Lv2Plugin::schedule};
    scheduleFeature_ = {LV2_WORKER__schedule, &schedule_};
    features_ = {&mapFeature_, &unmapFeature_, nullptr};
    requests_.reserve(kRequestCapacity);
}

Lv2Plugin::~Lv2Plugin() { unload(); }

void Lv2Plugin::unload()
{
    if (instance_ != nullptr) {
        lilv_instance_deactivate(instance_);
        lilv_instance_free(instance_);
        instance_ = nullptr;
    }
    if (world_ != nullptr) {
        lilv_world_free(world_);
        world_ = nullptr;
    }
    plugin_ = nullptr;
}

bool Lv2Plugin::findPlugin(const std::string& bundle)
{
    world_ = lilv_world_new();
    std::string folder = bundle;
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    LilvNode* node = lilv_new_file_uri(world_, nullptr, folder.c_str());
    lilv_world_load_bundle(world_, node);
    lilv_node_free(node);
    const LilvPlugins* plugins = lilv_world_get_all_plugins(world_);
    LILV_FOREACH (plugins, i, plugins) {
        plugin_ = lilv_plugins_get(plugins, i);
        break;
    }
    if (plugin_ == nullptr)
        error_ = "no LV2 plug-in in " + bundle;
    return plugin_ != nullptr;
}

bool Lv2Plugin::load(const std::string& bundle, double sampleRate, int maxBlock)
{
    unload();
    sampleRate_ = sampleRate;
    maxBlock_ = std::max(1, maxBlock);
    if (!findPlugin(bundle))
        return false;
    const uint32_t ports = lilv_plugin_get_num_ports(plugin_);
    controls_.assign(ports, 0.0f);
    std::vector<float> defaults(ports, 0.0f);
    lilv_plugin_get_port_ranges_float(plugin_, nullptr, nullptr, defaults.data());
    for (uint32_t p = 0; p < ports; ++p)
        controls_[p] = std::isnan(defaults[p]) ? 0.0f : defaults[p];
    left_.assign(static_cast<std::size_t>(maxBlock_), 0.0f);
    right_.assign(left_.size(), 0.0f);
    notify_.assign(kNotifyCapacity / sizeof(std::uint64_t), 0);
    features_ = {&mapFeature_, &unmapFeature_};
    if (offerWorker_)
        features_.push_back(&scheduleFeature_);
    features_.push_back(nullptr);
    requests_.clear();

    instance_ = lilv_plugin_instantiate(plugin_, sampleRate, features_.data());
    if (instance_ == nullptr) {
        error_ = "the plug-in refused to instantiate";
        return false;
    }
    connectPorts();
    lilv_instance_activate(instance_);
    return true;
}

std::string Lv2Plugin::uri() const { return plugin_ != nullptr ? lilv_node_as_uri(lilv_plugin_get_uri(plugin_)) : ""; }

void Lv2Plugin::connectPorts()
{
    LilvNode* audio = lilv_new_uri(world_, LILV_URI_AUDIO_PORT);
    LilvNode* atom = lilv_new_uri(world_, LV2_ATOM__AtomPort);
    LilvNode* input = lilv_new_uri(world_, LILV_URI_INPUT_PORT);
    int audioOutputs = 0;
    for (uint32_t p = 0; p < controls_.size(); ++p) {
        const LilvPort* port = lilv_plugin_get_port_by_index(plugin_, p);
        void* buffer = &controls_[p];
        if (lilv_port_is_a(plugin_, port, audio))
            buffer = audioOutputs++ == 0 ? left_.data() : right_.data();
        else if (lilv_port_is_a(plugin_, port, atom))
            buffer = lilv_port_is_a(plugin_, port, input) ? events_.data() : static_cast<void*>(notify_.data());
        lilv_instance_connect_port(instance_, p, buffer);
    }
    lilv_node_free(input);
    lilv_node_free(atom);
    lilv_node_free(audio);
}

int Lv2Plugin::portIndex(const std::string& symbol) const
{
    if (plugin_ == nullptr)
        return -1;
    LilvNode* node = lilv_new_string(world_, symbol.c_str());
    const LilvPort* port = lilv_plugin_get_port_by_symbol(plugin_, node);
    lilv_node_free(node);
    return port != nullptr ? static_cast<int>(lilv_port_get_index(plugin_, port)) : -1;
}

std::string Lv2Plugin::portSymbol(int index) const
{
    const LilvPort* port = plugin_ != nullptr && index >= 0 && index < numPorts()
                               ? lilv_plugin_get_port_by_index(plugin_, static_cast<uint32_t>(index))
                               : nullptr;
    return port != nullptr ? lilv_node_as_string(lilv_port_get_symbol(plugin_, port)) : "";
}

bool Lv2Plugin::isControlInput(int index) const
{
    if (plugin_ == nullptr || index < 0 || index >= numPorts())
        return false;
    const LilvPort* port = lilv_plugin_get_port_by_index(plugin_, static_cast<uint32_t>(index));
    LilvNode* control = lilv_new_uri(world_, LILV_URI_CONTROL_PORT);
    LilvNode* input = lilv_new_uri(world_, LILV_URI_INPUT_PORT);
    const bool result = lilv_port_is_a(plugin_, port, control) && lilv_port_is_a(plugin_, port, input);
    lilv_node_free(input);
    lilv_node_free(control);
    return result;
}

void Lv2Plugin::setPort(int index, float value)
{
    if (index >= 0 && index < numPorts())
        controls_[static_cast<std::size_t>(index)] = value;
}

float Lv2Plugin::port(int index) const
{
    return index >= 0 && index < numPorts() ? controls_[static_cast<std::size_t>(index)] : 0.0f;
}

void Lv2Plugin::run(int frames)
{
    frames = std::clamp(frames, 0, maxBlock_);
    auto* notify = reinterpret_cast<LV2_Atom_Sequence*>(notify_.data());
    notify->atom.type = urids_.map(LV2_ATOM__Chunk);
    notify->atom.size = kNotifyCapacity - sizeof(LV2_Atom);
    lilv_instance_run(instance_, static_cast<uint32_t>(frames));
    events_.clear();
}

const LV2_Atom_Sequence* Lv2Plugin::notify() const
{
    return reinterpret_cast<const LV2_Atom_Sequence*>(notify_.data());
}

std::vector<std::string> Lv2Plugin::presetUris() const
{
    std::vector<std::string> uris;
    if (plugin_ == nullptr)
        return uris;
    LilvNode* presetClass = lilv_new_uri(world_, LV2_PRESETS__Preset);
    LilvNodes* presets = lilv_plugin_get_related(plugin_, presetClass);
    LILV_FOREACH (nodes, i, presets)
        uris.emplace_back(lilv_node_as_uri(lilv_nodes_get(presets, i)));
    lilv_nodes_free(presets);
    lilv_node_free(presetClass);
    std::sort(uris.begin(), uris.end());
    return uris;
}

bool Lv2Plugin::applyPreset(const std::string& uri)
{
    if (instance_ == nullptr)
        return false;
    LilvNode* node = lilv_new_uri(world_, uri.c_str());
    lilv_world_load_resource(world_, node);
    LilvState* state = lilv_state_new_from_world(world_, urids_.mapFeature(), node);
    lilv_node_free(node);
    if (state == nullptr)
        return false;
    lilv_state_restore(state, instance_, collectPortValue, this, 0, features_.data());
    lilv_state_free(state);
    return true;
}

std::string Lv2Plugin::saveSessionState()
{
    if (instance_ == nullptr)
        return {};
    LilvState* state = lilv_state_new_from_instance(plugin_, instance_, urids_.mapFeature(), nullptr, nullptr,
                                                    nullptr, nullptr, hostPortValue, this,
                                                    LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE, features_.data());
    if (state == nullptr)
        return {};
    char* text = lilv_state_to_string(world_, urids_.mapFeature(), urids_.unmapFeature(), state,
                                      "urn:grelmond-host:state", nullptr);
    std::string result = text != nullptr ? text : "";
    lilv_free(text);
    lilv_state_free(state);
    return result;
}

bool Lv2Plugin::restoreSessionState(const std::string& text)
{
    if (instance_ == nullptr)
        return false;
    LilvState* state = lilv_state_new_from_string(world_, urids_.mapFeature(), text.c_str());
    if (state == nullptr)
        return false;
    lilv_state_restore(state, instance_, collectPortValue, this, 0, features_.data());
    lilv_state_free(state);
    return true;
}

bool Lv2Plugin::saveState(Lv2StateRecord& record)
{
    const auto* state = static_cast<const LV2_State_Interface*>(extensionData(LV2_STATE__interface));
    if (state == nullptr)
        return false;
    StateAccess access{this, &record};
    return state->save(handle(), storeValue, &access, LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE, features_.data()) ==
           LV2_STATE_SUCCESS;
}

int Lv2Plugin::restoreState(const Lv2StateRecord& record)
{
    const auto* state = static_cast<const LV2_State_Interface*>(extensionData(LV2_STATE__interface));
    if (state == nullptr)
        return -1;
    Lv2StateRecord copy = record;
    StateAccess access{this, &copy};
    return state->restore(handle(), retrieveValue, &access, 0, features_.data());
}

LV2_Worker_Status Lv2Plugin::schedule(LV2_Worker_Schedule_Handle handle, uint32_t size, const void* data)
{
    auto& requests = static_cast<Lv2Plugin*>(handle)->requests_;
    if (requests.size() + sizeof size + size > requests.capacity())
        return LV2_WORKER_ERR_NO_SPACE;
    const auto* sizeBytes = reinterpret_cast<const std::uint8_t*>(&size);
    requests.insert(requests.end(), sizeBytes, sizeBytes + sizeof size);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    requests.insert(requests.end(), bytes, bytes + size);
    return LV2_WORKER_SUCCESS;
}

LV2_Worker_Status Lv2Plugin::respond(LV2_Worker_Respond_Handle handle, uint32_t size, const void* data)
{
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    static_cast<Lv2Plugin*>(handle)->responses_.emplace_back(bytes, bytes + size);
    return LV2_WORKER_SUCCESS;
}

int Lv2Plugin::runWorker()
{
    const auto* worker = static_cast<const LV2_Worker_Interface*>(extensionData(LV2_WORKER__interface));
    if (worker == nullptr)
        return 0;
    int worked = 0;
    for (std::size_t at = 0; at + sizeof(uint32_t) <= requests_.size(); ++worked) {
        uint32_t size = 0;
        std::memcpy(&size, requests_.data() + at, sizeof size);
        at += sizeof size;
        worker->work(handle(), &Lv2Plugin::respond, this, size, requests_.data() + at);
        at += size;
    }
    requests_.clear();
    for (const auto& response : responses_)
        worker->work_response(handle(), static_cast<uint32_t>(response.size()), response.data());
    responses_.clear();
    if (worker->end_run != nullptr)
        worker->end_run(handle());
    return worked;
}

LV2_Handle Lv2Plugin::handle() const { return instance_ != nullptr ? lilv_instance_get_handle(instance_) : nullptr; }

const void* Lv2Plugin::extensionData(const char* uri) const
{
    return instance_ != nullptr ? lilv_instance_get_extension_data(instance_, uri) : nullptr;
}

} // namespace host
