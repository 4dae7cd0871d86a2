// The LV2 build played through lilv as a host plays it, against the VST 2
// build: the same samples, the same state, presets that are the programs.
#include "Lv2Performance.h"
#include "Lv2TestPaths.h"

#include "storage/BankImage.h"
#include "storage/BankReader.h"

#include <gtest/gtest.h>
#include <lv2/atom/atom.h>

#include <cstring>
#include <memory>

namespace {

using host::Lv2Plugin;
using host::Lv2StateRecord;
using testsupport::PluginLoader;
using testsupport::PluginPlayer;

constexpr const char* kBankKey = "urn:zavr:grelmond#bank";

std::unique_ptr<Lv2Plugin> loadLv2(double rate, int block = Lv2Performance::kBlock) {
  auto plugin = std::make_unique<Lv2Plugin>();
  EXPECT_TRUE(plugin->load(lv2Bundle(), rate, block)) << plugin->error();
  return plugin;
}

std::vector<float> bothChannels(const PluginPlayer& player) {
  std::vector<float> out = player.left;
  out.insert(out.end(), player.right.begin(), player.right.end());
  return out;
}

// Counts differing samples so a failure says how far apart the builds are.
int differences(const std::vector<float>& a, const std::vector<float>& b) {
  if (a.size() != b.size())
    return -1;
  int count = 0;
  for (std::size_t k = 0; k < a.size(); ++k)
    count += std::memcmp(&a[k], &b[k], sizeof(float)) != 0;
  return count;
}

std::string vst2Chunk(testsupport::PluginInstance& plugin) {
  void* data = nullptr;
  const auto size = plugin.dispatch(vst::effGetChunk, 0, 0, &data);
  return size > 0 ? std::string(static_cast<const char*>(data), static_cast<std::size_t>(size)) : std::string();
}

// The state text the LV2 build stored, without the string's terminator.
std::string lv2StateText(Lv2Plugin& plugin) {
  Lv2StateRecord record;
  EXPECT_TRUE(plugin.saveState(record));
  const auto found = record.find(kBankKey);
  if (found == record.end() || found->second.type != LV2_ATOM__String || found->second.bytes.empty())
    return {};
  std::string text = found->second.bytes;
  EXPECT_EQ(text.back(), '\0');
  text.pop_back();
  return text;
}

Lv2StateRecord stateRecord(const std::string& text, const char* type = LV2_ATOM__String) {
  return {{kBankKey, {type, text + std::string(1, '\0')}}};
}

class Lv2RenderTest : public ::testing::TestWithParam<double> {};

TEST_P(Lv2RenderTest, PerformanceRendersSampleForSampleAsTheVst2Build) {
  const double rate = GetParam();
  const Lv2Performance performance = Lv2Performance::standard();
  PluginLoader loader;
  PluginPlayer vst2(loader, static_cast<float>(rate), Lv2Performance::kBlock);
  ASSERT_TRUE(vst2.ok());
  performance.playVst2(vst2, 1.5);
  const auto lv2 = loadLv2(rate);
  const std::vector<float> rendered = performance.playLv2(*lv2, rate, 1.5);
  const std::vector<float> expected = bothChannels(vst2);
  EXPECT_EQ(differences(rendered, expected), 0);
  float peak = 0.0f;
  for (const float v : rendered)
    peak = std::max(peak, std::abs(v));
  EXPECT_GT(peak, 0.01f); // it did play
}

INSTANTIATE_TEST_SUITE_P(Rates, Lv2RenderTest, ::testing::Values(44100.0, 48000.0, 96000.0));

TEST(Lv2State, SessionRoundTripRestoresEveryProgramAndTheSound) {
  // Edited without rendering, so that both instances start from silence.
  const auto first = loadLv2(48000.0);
  const unsigned char program[2] = {0xC0, 9};
  first->events().addMidi(0, program, 2);
  first->run(0);
  first->setPort(46, 0.3141f);
  first->setPort(28, 0.7f);
  first->setPort(57, 0.4f);
  first->run(0);
  const std::string session = first->saveSessionState();
  ASSERT_FALSE(session.empty());

  const auto second = loadLv2(48000.0);
  ASSERT_TRUE(second->restoreSessionState(session));
  EXPECT_EQ(lv2StateText(*second), lv2StateText(*first));
  for (int p = 0; p < 64; ++p)
    EXPECT_EQ(second->port(p), first->port(p)) << p;

  Lv2Performance after;
  after.add(0.0, 0x90, 57, 100).add(0.3, 0x80, 57);
  EXPECT_EQ(differences(after.playLv2(*second, 48000.0, 0.5), after.playLv2(*first, 48000.0, 0.5)), 0);
}

TEST(Lv2State, Vst2ChunkAndLv2StateAreTheSameBytesBothWays) {
  PluginLoader loader;
  PluginPlayer vst2(loader, 44100.0f);
  ASSERT_TRUE(vst2.ok());
  vst2.program(5);
  vst2.set(46, 0.1234567f);
  char name[] = "Edited Five";
  vst2.plugin().dispatch(vst::effSetProgramName, 0, 0, name);
  const std::string chunk = vst2Chunk(vst2.plugin());
  ASSERT_FALSE(chunk.empty());

  const auto lv2 = loadLv2(44100.0);
  EXPECT_EQ(lv2->restoreState(stateRecord(chunk)), 0);
  EXPECT_EQ(lv2StateText(*lv2), chunk);

  // And back: an LV2 state restores into the VST 2 build.
  lv2->setPort(60, 0.25f);
  lv2->run(0);
  const std::string state = lv2StateText(*lv2);
  PluginPlayer other(loader, 44100.0f);
  EXPECT_EQ(other.plugin().dispatch(vst::effSetChunk, 0, static_cast<vst::VstIntPtr>(state.size()),
                                    const_cast<char*>(state.data())),
            1);
  EXPECT_EQ(vst2Chunk(other.plugin()), state);
  EXPECT_EQ(other.plugin().programName(), "Edited Five");
}

TEST(Lv2State, BadStateIsRefusedAndChangesNothing) {
  const auto lv2 = loadLv2(44100.0);
  lv2->setPort(46, 0.3f);
  lv2->run(0);
  const std::string before = lv2StateText(*lv2);
  const std::string cut = before.substr(0, before.size() / 2);
  EXPECT_NE(lv2->restoreState(stateRecord("not a bank")), 0);
  EXPECT_NE(lv2->restoreState(stateRecord(cut)), 0);
  EXPECT_NE(lv2->restoreState(stateRecord(before, LV2_ATOM__Chunk)), 0);
  EXPECT_NE(lv2->restoreState(stateRecord(std::string(2 << 20, 'x'))), 0);
  EXPECT_NE(lv2->restoreState({}), 0);
  EXPECT_EQ(lv2StateText(*lv2), before);
}

// A preset applies to the current program exactly the values of its program.
TEST(Lv2Presets, EveryPresetAppliesItsProgramsValues) {
  const auto lv2 = loadLv2(44100.0);
  const std::vector<std::string> presets = lv2->presetUris();
  ASSERT_EQ(presets.size(), 64u);
  auto image = std::make_unique<grelmond::BankImage>();
  for (int k = 0; k < 64; ++k) {
    ASSERT_TRUE(lv2->applyPreset(presets[k]));
    lv2->run(0);
    std::string text = lv2StateText(*lv2);
    text.erase(text.rfind("<current"));
    ASSERT_TRUE(grelmond::readBankText(text.data(), text.size(), *image));
    for (int p = 0; p < 64; ++p)
      EXPECT_EQ(image->entries[0].values[p], image->entries[k].values[p]) << presets[k] << " " << p;
  }
}

} // namespace
