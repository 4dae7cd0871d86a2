// MIDI Tuning Standard messages reach the instrument through VST 3's data
// events as they do through VST 2's system-exclusive events, with or without
// the F0 and F7 framing (hosts differ on it).
#include "FormatComparison.h"
#include "PluginLoader.h"
#include "PluginPlayer.h"
#include "Vst3Plugin.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

constexpr float kRate = 48000.0f;
constexpr int kBlock = 256;
constexpr int kBlocks = 80;
constexpr int kRetuneBlock = 40;
constexpr int kRetuneFrame = 7;

// Note 57 to 57.25 semitones (14-bit fraction 0x1000 of 100 cents).
const Bytes kSingleNoteChange = {0xF0, 0x7F, 0x7F, 0x08, 0x02, 0x00, 0x01, 57, 57, 0x20, 0x00, 0xF7};

Bytes unframed(const Bytes& message) { return Bytes(message.begin() + 1, message.end() - 1); }

class Vst3Tuning : public ::testing::Test {
protected:
    void SetUp() override
    {
        unsetenv("GRELMOND_INSTALL_PATH"); // the bundle finds its Resources folder itself
        ASSERT_TRUE(loader.loaded()) << loader.error();
        reference = std::make_unique<testsupport::PluginPlayer>(loader, kRate, kBlock);
        ASSERT_TRUE(reference->ok());
        reference->sinePatch();
    }

    // Note 57 held on the VST 2 build's sine patch; `message` (if any) in the retune block.
    std::vector<float> playVst3(const Bytes& message)
    {
        host::Vst3Plugin plugin;
        std::string error;
        EXPECT_TRUE(plugin.load(vst3test::vst3Path(), kRate, kBlock, error)) << error;
        if (!error.empty())
            return {};
        for (int p = 0; p < 64; ++p)
            plugin.setParameter(p, reference->plugin().getParameter(p));
        plugin.startProcessing();
        std::vector<float> out, left(kBlock), right(kBlock);
        for (int b = 0; b < kBlocks; ++b) {
            std::vector<host::BlockMidi> midi;
            if (b == 0)
                midi.push_back({0, {0x90, 57, 127}});
            if (b == kRetuneBlock && !message.empty())
                plugin.queueSysEx(kRetuneFrame, message);
            plugin.process(midi, {}, {}, left.data(), right.data(), kBlock, false);
            out.insert(out.end(), left.begin(), left.end());
        }
        plugin.stopProcessing();
        return out;
    }

    std::vector<float> playVst2(const Bytes& message)
    {
        testsupport::PluginPlayer& p = *reference;
        p.events({{0, 0x90, 57, 127}});
        p.render(kRetuneBlock * kBlock, kBlock);
        p.sysex(kRetuneFrame, message);
        p.render((kBlocks - kRetuneBlock) * kBlock, kBlock);
        return p.left;
    }

    testsupport::PluginLoader loader;
    std::unique_ptr<testsupport::PluginPlayer> reference;
};

bool sameFrom(const std::vector<float>& a, const std::vector<float>& b, std::size_t from)
{
    return a.size() == b.size() && a.size() >= from &&
           std::memcmp(a.data() + from, b.data() + from, (a.size() - from) * sizeof(float)) == 0;
}

} // namespace

TEST_F(Vst3Tuning, ASingleNoteChangeRetunesAHeldNoteAsInTheVst2Build)
{
    const std::vector<float> untouched = playVst3({});
    const std::vector<float> framed = playVst3(kSingleNoteChange);
    const std::vector<float> bare = playVst3(unframed(kSingleNoteChange));
    ASSERT_EQ(untouched.size(), static_cast<std::size_t>(kBlocks * kBlock));
    const std::size_t retuneAt = kRetuneBlock * kBlock;
    EXPECT_EQ(std::memcmp(untouched.data(), framed.data(), retuneAt * sizeof(float)), 0)
        << "nothing changes before the message";
    EXPECT_FALSE(sameFrom(untouched, framed, retuneAt)) << "the held note was retuned";
    EXPECT_TRUE(sameFrom(framed, bare, 0)) << "the framing makes no difference";
    // The VST 2 build's pitch after this message is measured in the render tests.
    EXPECT_TRUE(sameFrom(framed, playVst2(kSingleNoteChange), 0)) << "the same sound as the VST 2 build";
}

TEST_F(Vst3Tuning, BrokenForeignOrOtherDataChangesNothing)
{
    const std::vector<float> untouched = playVst3({});
    Bytes truncated(kSingleNoteChange.begin(), kSingleNoteChange.begin() + 6);
    truncated.push_back(0xF7);
    const Bytes foreign = {0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7};
    Bytes highBit = kSingleNoteChange;
    highBit[8] = 0x85;
    for (const Bytes& message : {truncated, foreign, highBit, Bytes{0xF0}, Bytes{0xF0, 0xF7}, Bytes{0xF7}})
        EXPECT_TRUE(sameFrom(untouched, playVst3(message), 0)) << message.size() << " bytes";
}
