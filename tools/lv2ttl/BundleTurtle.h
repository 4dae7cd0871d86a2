#pragma once

#include "params/ProgramBank.h"

#include <string>

namespace grelmond::lv2 {

// The description files of the LV2 bundle, made from the parameter table and
// the programs: the plug-in starts on program 0, so its values are the ports'
// defaults, and every program becomes a preset of the same name.
class BundleTurtle {
public:
  static constexpr const char* kManifestFile = "manifest.ttl";
  static constexpr const char* kPluginFile = "Grelmond.ttl";
  static constexpr const char* kPresetsFile = "presets.ttl";

  explicit BundleTurtle(const ProgramBank& programs) : programs_(programs) {}

  std::string manifest() const;
  std::string plugin() const;
  std::string presets() const;

  // The URI of the preset made from program index.
  static std::string presetUri(int index);

private:
  std::string controlPort(ParameterId index) const;
  std::string editor() const;
  std::string preset(int index) const;

  const ProgramBank& programs_;
};

} // namespace grelmond::lv2
