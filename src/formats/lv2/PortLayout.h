#pragma once

// How hosts see the LV2 plug-in: its URIs and port indices. Sessions and
// presets refer to these, so they never change between versions.
namespace grelmond::lv2 {

inline constexpr const char* kPluginUri = "urn:zavr:grelmond";
inline constexpr const char* kUiUri = "urn:zavr:grelmond#ui";
inline constexpr const char* kPresetUriPrefix = "urn:zavr:grelmond:preset:";
inline constexpr const char* kBinaryName = "Grelmond.so";
inline constexpr const char* kUiBinaryName = "GrelmondUI.so";

// Ports 0 to 63 are the parameters, in parameter order.
inline constexpr int kFirstControlPort = 0;
inline constexpr int kEventsPort = 64;   // atom sequence in: MIDI and time position
inline constexpr int kLeftOutPort = 65;
inline constexpr int kRightOutPort = 66;
inline constexpr int kNotifyPort = 67;   // atom sequence out: replies to the editor
inline constexpr int kNumPorts = 68;

} // namespace grelmond::lv2
