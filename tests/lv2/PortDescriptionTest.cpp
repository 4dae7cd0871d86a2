// The ports and presets the generator describes, read back as a host reads them.
#include "Lv2TestPaths.h"
#include "PortSymbols.h"
#include "TurtleText.h"

#include "params/InitProgram.h"
#include "storage/ProgramFiles.h"

#include <gtest/gtest.h>
#include <lilv/lilv.h>
#include <lv2/midi/midi.h>
#include <lv2/presets/presets.h>
#include <lv2/time/time.h>

#include <bit>
#include <cstdlib>
#include <map>
#include <random>
#include <regex>
#include <set>
#include <vector>

namespace {

using grelmond::kNumParameters;
using grelmond::lv2::portSymbol;

TEST(Lv2Ports, SymbolsAreValidUniqueAndStable) {
  const std::regex valid("[a-z_][a-z0-9_]*");
  std::set<std::string> seen;
  for (int p = 0; p < kNumParameters; ++p) {
    EXPECT_TRUE(std::regex_match(portSymbol(p), valid)) << portSymbol(p);
    EXPECT_TRUE(seen.insert(portSymbol(p)).second) << portSymbol(p);
  }
  // Sessions refer to these.
  EXPECT_EQ(portSymbol(0), "wave1");
  EXPECT_EQ(portSymbol(39), "not_used_39");
  EXPECT_EQ(portSymbol(52), "sync_52");
  EXPECT_EQ(portSymbol(57), "procfunct");
  EXPECT_EQ(portSymbol(63), "main_vol");
  EXPECT_EQ(grelmond::lv2::portName(63), "Main Vol");
}

TEST(Lv2Ports, NumbersReadBackToTheSameFloat) {
  std::mt19937 random(7);
  std::uniform_real_distribution<float> unit(0.0f, 1.0f);
  std::vector<float> values = {0.0f, -0.0f, 1.0f, 1e-30f, 0.1f, 1.0f / 3.0f};
  for (int k = 0; k < 1000; ++k)
    values.push_back(unit(random));
  for (const float v : values) {
    const std::string text = grelmond::lv2::turtleNumber(v);
    EXPECT_EQ(text.find_first_not_of("-0123456789."), std::string::npos) << text;
    EXPECT_EQ(std::bit_cast<uint32_t>(std::strtof(text.c_str(), nullptr)), std::bit_cast<uint32_t>(v)) << text;
  }
  EXPECT_EQ(grelmond::lv2::turtleString("a \"b\" \\ \n"), "\"a \\\"b\\\" \\\\ \\u000A\"");
}

// URIDs for lilv's state reader: the preset is read as a host reads it.
class UridTable {
public:
  static LV2_URID map(LV2_URID_Map_Handle handle, const char* uri) {
    auto& uris = static_cast<UridTable*>(handle)->uris_;
    for (std::size_t k = 0; k < uris.size(); ++k)
      if (uris[k] == uri)
        return static_cast<LV2_URID>(k + 1);
    uris.emplace_back(uri);
    return static_cast<LV2_URID>(uris.size());
  }
  LV2_URID_Map feature{this, &UridTable::map};

private:
  std::vector<std::string> uris_;
};

struct PresetValues {
  std::string label;
  std::map<std::string, float> bySymbol;
};

void collectValue(const char* symbol, void* data, const void* value, uint32_t size, uint32_t type) {
  if (size == sizeof(float))
    static_cast<PresetValues*>(data)->bySymbol[symbol] = *static_cast<const float*>(value);
}

TEST(Lv2Presets, EveryProgramIsAPresetWithItsNameAndExactValues) {
  grelmond::ProgramBank programs;
  ASSERT_TRUE(grelmond::ProgramFiles::loadBankFile(
      programs, (lv2Bundle() + "/GrelmondDefault.grb").c_str(), grelmond::InitProgram()));

  LilvWorld* world = lilv_world_new();
  LilvNode* bundle = lilv_new_file_uri(world, nullptr, (lv2Bundle() + "/").c_str());
  lilv_world_load_bundle(world, bundle);
  LilvNode* pluginUri = lilv_new_uri(world, "urn:zavr:grelmond");
  const LilvPlugin* plugin = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(world), pluginUri);
  ASSERT_NE(plugin, nullptr);
  EXPECT_EQ(lilv_plugin_get_num_ports(plugin), 68u);
  const LilvPort* events = lilv_plugin_get_port_by_index(plugin, 64);
  for (const char* type : {LV2_MIDI__MidiEvent, LV2_TIME__Position}) {
    LilvNode* node = lilv_new_uri(world, type);
    EXPECT_TRUE(lilv_port_supports_event(plugin, events, node)) << type;
    lilv_node_free(node);
  }

  LilvNode* presetClass = lilv_new_uri(world, LV2_PRESETS__Preset);
  LilvNodes* presets = lilv_plugin_get_related(plugin, presetClass);
  EXPECT_EQ(lilv_nodes_size(presets), 64u);
  UridTable urids;
  int checked = 0;
  LILV_FOREACH (nodes, i, presets) {
    const LilvNode* preset = lilv_nodes_get(presets, i);
    const std::string uri = lilv_node_as_uri(preset);
    const int index = std::atoi(uri.substr(uri.rfind(':') + 1).c_str()) - 1;
    ASSERT_TRUE(programs.isProgramIndex(index)) << uri;
    lilv_world_load_resource(world, preset);
    LilvState* state = lilv_state_new_from_world(world, &urids.feature, preset);
    ASSERT_NE(state, nullptr) << uri;
    PresetValues values;
    values.label = lilv_state_get_label(state);
    lilv_state_emit_port_values(state, collectValue, &values);
    lilv_state_free(state);

    const grelmond::Program& program = *programs.program(index);
    EXPECT_EQ(values.label, program.name().c_str());
    ASSERT_EQ(values.bySymbol.size(), 64u) << uri;
    for (int p = 0; p < kNumParameters; ++p)
      EXPECT_EQ(std::bit_cast<uint32_t>(values.bySymbol[portSymbol(p)]), std::bit_cast<uint32_t>(program.value(p)))
          << uri << " " << portSymbol(p);
    ++checked;
  }
  EXPECT_EQ(checked, 64);
  lilv_nodes_free(presets);
  lilv_node_free(presetClass);
  lilv_node_free(pluginUri);
  lilv_node_free(bundle);
  lilv_world_free(world);
}

} // namespace
