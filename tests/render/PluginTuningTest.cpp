#include "PluginLoader.h"
#include "PluginPlayer.h"
#include "SoundMeasures.h"
#include "TestPaths.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using namespace vst;
using testsupport::PluginLoader;
using Player = testsupport::PluginPlayer;

namespace {

std::string shipped(const std::string& name)
{
    std::ifstream in(std::string(testpaths::sourceDir()) + "/resources/tunings/" + name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string tuningSection(const std::string& scale, const std::string& mapping)
{
    return "<tuning scale=\"" + std::to_string(scale.size()) + "\" mapping=\"" + std::to_string(mapping.size()) +
           "\">\n" + scale + mapping + "</tuning>\n";
}

std::string getChunk(Player& p)
{
    void* data = nullptr;
    const VstIntPtr size = p.plugin().dispatch(effGetChunk, 0, 0, &data);
    return size > 0 && data ? std::string(static_cast<const char*>(data), static_cast<std::size_t>(size)) : "";
}

bool setChunk(Player& p, std::string text)
{
    return p.plugin().dispatch(effSetChunk, 0, static_cast<VstIntPtr>(text.size()), text.data()) == 1;
}

// The sine patch plays note 57 at 440 Hz in equal temperament; pitch in
// semitones on that scale.
double centsFrom(const Player& p, std::size_t from, double pitch)
{
    const double target = 440.0 * std::exp2((pitch - 57.0) / 12.0);
    return 1200.0 * std::log2(soundtest::frequency(p.left, p.sampleRate(), from, p.left.size()) / target);
}

class PluginTuning : public ::testing::Test {
protected:
    PluginLoader loader;
    void SetUp() override { ASSERT_TRUE(loader.loaded()) << loader.error(); }
};

} // namespace

TEST_F(PluginTuning, SingleNoteTuningChangeRetunesAHeldNote)
{
    for (float rate : {44100.0f, 96000.0f}) {
        Player p(loader, rate);
        ASSERT_TRUE(p.ok());
        p.sinePatch();
        p.events({{0, 0x90, 57, 127}});
        p.render(static_cast<int>(rate / 2));
        EXPECT_LT(std::abs(centsFrom(p, static_cast<std::size_t>(rate / 10), 57.0)), 0.1);
        const std::size_t held = p.left.size();
        // Note 57 to 57.25 semitones (14-bit fraction 0x1000 of 100 cents).
        p.sysex(0, {0xF0, 0x7F, 0x7F, 0x08, 0x02, 0x00, 0x01, 57, 57, 0x20, 0x00, 0xF7});
        p.render(static_cast<int>(rate / 2));
        EXPECT_LT(std::abs(centsFrom(p, held + static_cast<std::size_t>(rate / 50), 57.25)), 0.1) << rate;
    }
}

TEST_F(PluginTuning, TuningSurvivesTheStateRoundTripAndOldStatesPlayEqualTemperament)
{
    Player a(loader);
    ASSERT_TRUE(a.ok());
    const std::string plain = getChunk(a);
    ASSERT_FALSE(plain.empty());
    EXPECT_EQ(plain.find("<tuning"), std::string::npos);
    const std::string mapping = "12\n0\n127\n60\n60\n261.6255653\n19\n0\n1\n2\n3\n4\nx\n6\n7\n8\n9\n10\n11\n";
    ASSERT_TRUE(setChunk(a, plain + tuningSection(shipped("equal-19.scl"), mapping)));
    const std::string saved = getChunk(a);
    EXPECT_NE(saved.find("19 equal steps"), std::string::npos);

    Player b(loader);
    ASSERT_TRUE(setChunk(b, saved));
    EXPECT_EQ(getChunk(b), saved);
    b.sinePatch();
    b.events({{0, 0x90, 62, 127}, {0, 0x90, 65, 127}});
    b.render(22050);
    EXPECT_LT(std::abs(centsFrom(b, 4410, 60.0 + 2 * 12.0 / 19.0)), 0.1) << "key 65 is unmapped and silent";

    // A state without a tuning section, as saved before tunings existed.
    Player c(loader);
    ASSERT_TRUE(setChunk(c, saved));
    ASSERT_TRUE(setChunk(c, plain));
    EXPECT_EQ(getChunk(c), plain);
    c.sinePatch();
    c.events({{0, 0x90, 62, 127}});
    c.render(22050);
    EXPECT_LT(std::abs(centsFrom(c, 4410, 62.0)), 0.1);
}
