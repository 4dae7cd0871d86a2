// MIDI Tuning Standard messages reach the instrument through the LV2 event
// port as they do through VST 2's system-exclusive events.
#include "Lv2TestPaths.h"
#include "Lv2Plugin.h"
#include "PluginLoader.h"
#include "PluginPlayer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

constexpr int kBlock = 256;
constexpr int kBlocks = 80;
constexpr int kRetuneBlock = 40;

// Note 57 to 57.25 semitones (14-bit fraction 0x1000 of 100 cents).
const Bytes kSingleNoteChange = {0xF0, 0x7F, 0x7F, 0x08, 0x02, 0x00, 0x01, 57, 57, 0x20, 0x00, 0xF7};

// The player's sine patch, as port values.
void sinePatch(host::Lv2Plugin& plugin, testsupport::PluginPlayer& reference) {
  reference.sinePatch();
  for (int p = 0; p < 64; ++p)
    plugin.setPort(p, reference.plugin().getParameter(p));
}

// Note 57 held; `message` (if any) at frame 7 of the retune block.
std::vector<float> playLv2(host::Lv2Plugin& plugin, const Bytes& message) {
  std::vector<float> out;
  const unsigned char note[] = {0x90, 57, 127};
  for (int b = 0; b < kBlocks; ++b) {
    if (b == 0)
      plugin.events().addMidi(0, note, sizeof note);
    if (b == kRetuneBlock && !message.empty())
      plugin.events().addMidi(7, message.data(), static_cast<uint32_t>(message.size()));
    plugin.run(kBlock);
    out.insert(out.end(), plugin.left(), plugin.left() + kBlock);
  }
  return out;
}

std::vector<float> playVst2(testsupport::PluginPlayer& p) {
  p.events({{0, 0x90, 57, 127}});
  p.render(kRetuneBlock * kBlock, kBlock);
  p.sysex(7, kSingleNoteChange);
  p.render((kBlocks - kRetuneBlock) * kBlock, kBlock);
  return p.left;
}

bool same(const std::vector<float>& a, const std::vector<float>& b, std::size_t from) {
  return a.size() == b.size() && std::memcmp(a.data() + from, b.data() + from, (a.size() - from) * sizeof(float)) == 0;
}

} // namespace

TEST(Lv2Tuning, ASingleNoteChangeRetunesAHeldNoteAsInTheVst2Build) {
  testsupport::PluginLoader loader;
  ASSERT_TRUE(loader.loaded()) << loader.error();
  testsupport::PluginPlayer vst2(loader, 48000.0f, kBlock);
  ASSERT_TRUE(vst2.ok());
  host::Lv2Plugin plain, retuned;
  ASSERT_TRUE(plain.load(lv2Bundle(), 48000.0, kBlock)) << plain.error();
  ASSERT_TRUE(retuned.load(lv2Bundle(), 48000.0, kBlock)) << retuned.error();
  sinePatch(plain, vst2);
  sinePatch(retuned, vst2);

  const std::vector<float> untouched = playLv2(plain, {});
  const std::vector<float> changed = playLv2(retuned, kSingleNoteChange);
  const std::size_t retuneAt = kRetuneBlock * kBlock;
  EXPECT_EQ(std::memcmp(untouched.data(), changed.data(), retuneAt * sizeof(float)), 0)
      << "nothing changes before the message";
  EXPECT_FALSE(same(untouched, changed, retuneAt)) << "the held note was retuned";
  // The VST 2 build's pitch after this message is measured in the render tests.
  EXPECT_TRUE(same(changed, playVst2(vst2), 0)) << "the same sound as the VST 2 build";
}

TEST(Lv2Tuning, BrokenOrForeignSystemExclusiveChangesNothing) {
  testsupport::PluginLoader loader;
  ASSERT_TRUE(loader.loaded()) << loader.error();
  testsupport::PluginPlayer reference(loader, 48000.0f, kBlock);
  ASSERT_TRUE(reference.ok());
  host::Lv2Plugin plain;
  ASSERT_TRUE(plain.load(lv2Bundle(), 48000.0, kBlock)) << plain.error();
  sinePatch(plain, reference);
  const std::vector<float> untouched = playLv2(plain, {});

  const Bytes unterminated(kSingleNoteChange.begin(), kSingleNoteChange.end() - 1);
  Bytes truncated(kSingleNoteChange.begin(), kSingleNoteChange.begin() + 6);
  truncated.push_back(0xF7);
  const Bytes foreign = {0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7};
  for (const Bytes& message : {unterminated, truncated, foreign, Bytes{0xF0}, Bytes{0xF0, 0xF7}}) {
    SCOPED_TRACE(message.size());
    host::Lv2Plugin fed;
    ASSERT_TRUE(fed.load(lv2Bundle(), 48000.0, kBlock)) << fed.error();
    sinePatch(fed, reference);
    EXPECT_TRUE(same(untouched, playLv2(fed, message), 0));
  }
}
