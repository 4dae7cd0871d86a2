#include "PluginLoader.h"
#include "PluginPlayer.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "params/ParameterTable.h"
#include "params/VolumeCurve.h"
#include "formats/vst2/SynthPlugin.h"

using namespace vst;
using testsupport::PluginInstance;
using testsupport::PluginLoader;
using testsupport::ScriptedHost;

namespace {

// An install folder without a default bank, so the plug-in makes its own
// programs.
class PluginParameters : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* old = std::getenv("GRELMOND_INSTALL_PATH");
        if (old != nullptr)
            savedPath_ = old;
        hadPath_ = old != nullptr;
        setenv("GRELMOND_INSTALL_PATH", folder_.path().c_str(), 1);
        ASSERT_TRUE(loader.loaded()) << loader.error();
        plugin = loader.create(&host);
        ASSERT_NE(plugin, nullptr);
    }
    void TearDown() override
    {
        plugin.reset();
        if (hadPath_)
            setenv("GRELMOND_INSTALL_PATH", savedPath_.c_str(), 1);
        else
            unsetenv("GRELMOND_INSTALL_PATH");
    }

    std::string indexedName(int index, VstIntPtr* result = nullptr)
    {
        char buffer[256] = "unchanged";
        VstIntPtr r = plugin->dispatch(effGetProgramNameIndexed, index, 0, buffer);
        if (result != nullptr)
            *result = r;
        return buffer;
    }
    void selectProgram(int index) { plugin->dispatch(effSetProgram, 0, index); }
    int currentProgram() { return static_cast<int>(plugin->dispatch(effGetProgram)); }

    TempFolder folder_;
    std::string savedPath_;
    bool hadPath_ = false;
    PluginLoader loader;
    ScriptedHost host;
    std::unique_ptr<PluginInstance> plugin;
};

TEST_F(PluginParameters, HostSeesTheTableNamesAndLabels)
{
    EXPECT_EQ(plugin->parameterName(0), "Wave1   ");
    EXPECT_EQ(plugin->parameterName(46), "FiltCut ");
    EXPECT_EQ(plugin->parameterName(59), "Attack");
    EXPECT_EQ(plugin->parameterName(63), "Main Vol");
    EXPECT_EQ(plugin->parameterLabel(28), " num  ");
    EXPECT_EQ(plugin->parameterLabel(29), "amount");
    EXPECT_EQ(plugin->parameterLabel(51), "feedback");
    EXPECT_EQ(plugin->parameterLabel(57), "Func");
    // The two names longer than the interface allows are cut to 8.
    EXPECT_EQ(plugin->parameterName(57), "ProcFunc");
    EXPECT_EQ(plugin->parameterName(58), "ProcAmou");
    for (int i = 0; i < grelmond::kNumParameters; ++i) {
        EXPECT_EQ(plugin->parameterName(i), std::string(grelmond::parameterInfo(i).name).substr(0, 8)) << i;
        EXPECT_EQ(plugin->parameterLabel(i), grelmond::parameterInfo(i).label) << i;
        EXPECT_EQ(plugin->parameterDisplay(i).size(), 8u) << i;
    }

    char buffer[16] = "unchanged";
    for (int opcode : {effGetParamName, effGetParamLabel, effGetParamDisplay}) {
        plugin->dispatch(opcode, 64, 0, buffer);
        plugin->dispatch(opcode, -1, 0, buffer);
        EXPECT_STREQ(buffer, "unchanged");
    }
    EXPECT_EQ(plugin->getParameter(64), 0.0f);
    EXPECT_EQ(plugin->getParameter(-1), 0.0f);
}

TEST_F(PluginParameters, ValuesAndDisplaysReadBack)
{
    // Right after construction the cutoff shows its plain start value.
    EXPECT_EQ(plugin->getParameter(46), 0.5f);
    EXPECT_EQ(plugin->parameterDisplay(46), "0.500000");

    // The cutoff reads back as set; only its display shows the curve.
    plugin->setParameter(46, 0.5f);
    EXPECT_EQ(plugin->getParameter(46), 0.5f);
    EXPECT_EQ(plugin->parameterDisplay(46), "0.015348");
    plugin->setParameter(2, 0.7f);
    EXPECT_EQ(plugin->getParameter(2), 0.7f);
    EXPECT_EQ(plugin->parameterDisplay(2), "0.699999");
    plugin->setParameter(28, 1.0f);
    EXPECT_EQ(plugin->getParameter(28), 1.0f);
    EXPECT_EQ(plugin->parameterDisplay(28), "1.000000");
}

TEST_F(PluginParameters, OutOfRangeAndNanValuesAreClampedAndStored)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    plugin->setParameter(3, nan);
    plugin->setParameter(7, 3.5f);
    plugin->setParameter(11, -0.25f);
    plugin->setParameter(46, std::numeric_limits<float>::infinity());
    plugin->setParameter(64, 1.0f);
    plugin->setParameter(-5, 1.0f);
    EXPECT_EQ(plugin->getParameter(3), 0.0f);
    EXPECT_EQ(plugin->getParameter(7), 1.0f);
    EXPECT_EQ(plugin->getParameter(11), 0.0f);
    EXPECT_EQ(plugin->getParameter(46), 1.0f);
    EXPECT_EQ(plugin->parameterDisplay(46), "0.997726");
    EXPECT_EQ(plugin->parameterDisplay(3), "0.000000");

    // The program keeps the clamped values.
    selectProgram(1);
    selectProgram(0);
    EXPECT_EQ(plugin->getParameter(7), 1.0f);
    EXPECT_EQ(plugin->getParameter(11), 0.0f);
}

TEST_F(PluginParameters, SixtyFourDefaultProgramsAndNameRules)
{
    VstIntPtr result = 0;
    for (int i = 0; i < 64; ++i) {
        EXPECT_EQ(indexedName(i, &result), "Grelmond " + std::to_string(i + 1));
        EXPECT_EQ(result, 1);
    }
    EXPECT_EQ(indexedName(64, &result), "unchanged");
    EXPECT_EQ(result, 0);
    EXPECT_EQ(indexedName(-1, &result), "unchanged");
    EXPECT_EQ(result, 0);
    EXPECT_EQ(plugin->programName(), "Grelmond 1");
    selectProgram(9);
    EXPECT_EQ(plugin->programName(), "Grelmond 10");

    char init[] = "Init";
    selectProgram(4);
    plugin->dispatch(effSetProgramName, 0, 0, init);
    EXPECT_EQ(plugin->programName(), "Init 5");
    EXPECT_EQ(indexedName(4), "Init");

    char longName[] = "abcdefghijklmnopqrstuvwxyz1234";
    plugin->dispatch(effSetProgramName, 0, 0, longName);
    EXPECT_EQ(plugin->programName(), "abcdefghijklmnopqrstuvw");
    EXPECT_EQ(plugin->dispatch(effCopyProgram, 3), 0);
}

TEST_F(PluginParameters, SelectingAProgramAppliesItsValues)
{
    selectProgram(5);
    EXPECT_EQ(currentProgram(), 5);
    for (int i = 0; i < 64; ++i)
        plugin->setParameter(i, i / 64.0f);
    selectProgram(6);
    EXPECT_EQ(plugin->getParameter(30), 0.0f); // program 6 still has its defaults
    EXPECT_EQ(plugin->getParameter(33), 1.0f);

    selectProgram(5);
    for (int i = 0; i < 64; ++i)
        EXPECT_EQ(plugin->getParameter(i), i / 64.0f) << i;

    selectProgram(64);
    EXPECT_EQ(currentProgram(), 5);
}

} // namespace

TEST(SynthPluginStartValues, DifferFromSetParameterUntilNextSet)
{
    TempFolder folder;
    setenv("GRELMOND_INSTALL_PATH", folder.path().c_str(), 1);
    // Heap, as a host gets it: the object holds its effect buffers.
    auto plugin = std::make_unique<grelmond::SynthPlugin>(nullptr);
    unsetenv("GRELMOND_INSTALL_PATH");
    const grelmond::RenderValues& r = plugin->parameters().renderValues();

    EXPECT_EQ(r.oscillatorCount(), 21);                    // three more than setParameter gives
    EXPECT_FLOAT_EQ(r.detuneAmount(), 0.02f);
    // Envelopes keep what setProgram(0) gave them.
    EXPECT_EQ(plugin->parameters().envelope(grelmond::ParameterState::kAmpEnvelope).decay(),
              grelmond::EnvelopeTemplate::ticksOf(0.5f));

    plugin->setParameter(28, 0.5f);
    plugin->setParameter(29, 0.0f);
    EXPECT_EQ(r.oscillatorCount(), 18);
    EXPECT_FLOAT_EQ(r.detuneAmount(), 0.004f);
}

TEST(SynthPluginStartValues, ProgramChangeSelectsThroughTheFraction)
{
    auto plugin = std::make_unique<grelmond::SynthPlugin>(nullptr);
    plugin->programChange(70);
    EXPECT_EQ(plugin->getProgram(), 6);
    EXPECT_EQ(plugin->programs().currentFraction(), 6 / 64.0f);
    plugin->programChange(128);
    EXPECT_EQ(plugin->getProgram(), 6);
}

// A held sine through the left delay, wet only: after the delay time changes,
// the delay plays silence for its whole new length, however much of the note
// the old length held, and then the note again; the dry right side plays on.
TEST(SynthPluginStartValues, DelayTimeChangeRestartsTheEchoFromSilence)
{
    PluginLoader loader;
    ASSERT_TRUE(loader.loaded()) << loader.error();
    auto peak = [](const std::vector<float>& x, std::size_t from, std::size_t to) {
        float p = 0.0f;
        for (std::size_t i = from; i < std::min(to, x.size()); ++i)
            p = std::max(p, std::fabs(x[i]));
        return p;
    };
    for (auto [rate, block] : {std::pair{44100.0f, 512}, std::pair{384000.0f, 64}}) {
        testsupport::PluginPlayer p(loader, rate, block);
        ASSERT_TRUE(p.ok());
        p.sinePatch();
        p.set(50, 1.0f); // left delay mix: the delayed signal only
        p.set(51, 0.0f);
        p.set(49, 0.1f);
        p.events({{0, 0x90, 57, 127}});
        const std::size_t before = static_cast<std::size_t>(rate / 4);
        p.render(static_cast<int>(before));
        EXPECT_GT(peak(p.left, before / 2, before), 1e-3f) << rate;

        p.set(49, 1.0f);
        const auto length = static_cast<std::size_t>(std::lround(48000.0 * rate / 44100.0));
        p.render(static_cast<int>(length + rate / 10));
        EXPECT_LT(peak(p.left, before, before + length - 1), 1e-6f) << rate;
        EXPECT_GT(peak(p.left, before + length + 10, p.left.size()), 1e-3f) << rate;
        EXPECT_GT(peak(p.right, before, before + length), 1e-3f) << rate;
    }
}
