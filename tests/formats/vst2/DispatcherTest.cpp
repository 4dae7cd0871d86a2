#include "PluginLoader.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

using namespace vst;
using testsupport::PluginInstance;
using testsupport::PluginLoader;
using testsupport::ScriptedHost;

namespace {

class Dispatcher : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(loader.loaded()) << loader.error();
        plugin = loader.create(&host);
        ASSERT_NE(plugin, nullptr);
    }

    PluginLoader loader;
    ScriptedHost host;
    std::unique_ptr<PluginInstance> plugin;
};

TEST_F(Dispatcher, FixedAnswers)
{
    EXPECT_EQ(plugin->dispatch(effKeysRequired), 1);
    EXPECT_EQ(plugin->dispatch(effGetNumProgramCategories), 1);
    EXPECT_EQ(plugin->dispatch(effGetVu), 0);
    EXPECT_EQ(plugin->dispatch(effGetVu), 0);
    EXPECT_EQ(plugin->dispatch(effGetCurrentMidiProgram, 0, 0, plugin.get()), -1);
    EXPECT_EQ(plugin->dispatch(effConnectInput, 0, 1), 1);
    EXPECT_EQ(plugin->dispatch(effConnectOutput, 1, 1), 1);
    EXPECT_EQ(plugin->dispatch(effSetBlockSizeAndSampleRate, 0, 256, nullptr, 48000.0f), 1);
    for (int index : {-1, 0, 63, 64, 100000})
        EXPECT_EQ(plugin->dispatch(effCanBeAutomated, index), 1) << index;
}

TEST_F(Dispatcher, SetProgramIgnoresNumbersOutsideTheBank)
{
    plugin->dispatch(effSetProgram, 0, 5);
    EXPECT_EQ(plugin->dispatch(effGetProgram), 5);
    for (VstIntPtr bad : {VstIntPtr{64}, VstIntPtr{1000}, VstIntPtr{-1}, VstIntPtr{INT_MIN}, VstIntPtr{1} << 40}) {
        plugin->dispatch(effSetProgram, 0, bad);
        EXPECT_EQ(plugin->dispatch(effGetProgram), 5) << bad;
    }
    plugin->dispatch(effSetProgram, 0, 63);
    EXPECT_EQ(plugin->dispatch(effGetProgram), 63);
}

TEST_F(Dispatcher, CanDoAnswersYesOrNoButNeverDontKnow)
{
    EXPECT_EQ(plugin->canDo("receiveVstEvents"), 1);
    EXPECT_EQ(plugin->canDo("receiveVstMidiEvent"), 1);
    EXPECT_EQ(plugin->canDo("receiveVstSysexEvent"), 1); // tuning messages
    EXPECT_EQ(plugin->canDo("sendVstEvents"), -1);
    EXPECT_EQ(plugin->canDo(""), -1);
    EXPECT_EQ(plugin->canDo("receiveVstEventsX"), -1);
}

TEST_F(Dispatcher, OutputPropertiesForTwoPinsOnly)
{
    VstPinProperties pin;
    std::memset(&pin, 0x5a, sizeof pin);
    ASSERT_EQ(plugin->dispatch(effGetOutputProperties, 1, 0, &pin), 1);
    EXPECT_STREQ(pin.label, "Grelmond R");
    EXPECT_STREQ(pin.shortLabel, "GRL R");
    EXPECT_EQ(pin.flags, kVstPinIsActive | kVstPinIsStereo);
    ASSERT_EQ(plugin->dispatch(effGetOutputProperties, 0, 0, &pin), 1);
    EXPECT_STREQ(pin.label, "Grelmond L");
    EXPECT_STREQ(pin.shortLabel, "GRL L");

    for (int index : {2, -1, 1000}) {
        VstPinProperties untouched;
        std::memset(&untouched, 0x5a, sizeof untouched);
        const VstPinProperties before = untouched;
        EXPECT_EQ(plugin->dispatch(effGetOutputProperties, index, 0, &untouched), 0) << index;
        EXPECT_EQ(std::memcmp(&untouched, &before, sizeof before), 0) << index;
    }
    EXPECT_EQ(plugin->dispatch(effGetInputProperties, 0, 0, &pin), 0);
}

TEST_F(Dispatcher, ResumeAsksForMidiEveryTimeAndSuspendDoesNothing)
{
    host.clear();
    plugin->dispatch(effMainsChanged, 0, 1);
    plugin->dispatch(effMainsChanged, 0, 0);
    plugin->dispatch(effMainsChanged, 0, 1);
    ASSERT_EQ(host.calls.size(), 2u);
    for (const auto& call : host.calls) {
        EXPECT_EQ(call.opcode, audioMasterWantMidi);
        EXPECT_EQ(call.value, 1);
        EXPECT_TRUE(call.hadEffect);
    }
}

TEST_F(Dispatcher, ConstructionAsksVersionFirstThenTheSampleRate)
{
    ScriptedHost fresh;
    auto second = loader.create(&fresh);
    ASSERT_NE(second, nullptr);
    ASSERT_FALSE(fresh.calls.empty());
    EXPECT_EQ(fresh.calls[0].opcode, audioMasterVersion);
    EXPECT_FALSE(fresh.calls[0].hadEffect);
    EXPECT_GE(fresh.count(audioMasterGetSampleRate), 1);
}

TEST_F(Dispatcher, EditorRectangleIsAvailableBeforeOpening)
{
    ERect* rect = nullptr;
    ASSERT_EQ(plugin->dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, 484);
    EXPECT_EQ(rect->right, 629);
}

// Text and record opcodes that hosts may call with no buffer.
const VstInt32 kBufferOpcodes[] = {
    effSetProgramName, effGetProgramName, effGetParamLabel, effGetParamDisplay, effGetParamName,
    effEditGetRect, effGetChunk, effSetChunk, effProcessEvents, effString2Parameter,
    effGetProgramNameIndexed, effGetInputProperties, effGetOutputProperties, effOfflineNotify,
    effOfflinePrepare, effOfflineRun, effProcessVarIo, effGetEffectName, effGetErrorText,
    effGetVendorString, effGetProductString, effCanDo, effGetParameterProperties,
    effGetMidiProgramName, effGetCurrentMidiProgram, effGetMidiProgramCategory, effGetMidiKeyName,
};

TEST_F(Dispatcher, NullBuffersAnswerZero)
{
    for (VstInt32 opcode : kBufferOpcodes)
        for (int index : {0, 1, 63})
            EXPECT_EQ(plugin->dispatch(opcode, index, 0, nullptr), 0) << "opcode " << opcode;
}

TEST_F(Dispatcher, UnknownAndNewerOpcodesAnswerZeroWithoutSideEffects)
{
    plugin->dispatch(effSetProgram, 0, 7);
    host.clear();
    char buffer[256] = {};
    for (VstInt32 opcode : {-1, 16, 17, 18, 20, 21, 69, 70, 71, 72, 73, 74, 75, 76, 77, 78, 79, 80, 1000, INT_MAX,
                            INT_MIN}) {
        EXPECT_EQ(plugin->dispatch(opcode, 3, 3, buffer, 1.0f), 0) << opcode;
        EXPECT_EQ(plugin->dispatch(opcode, 0, 0, nullptr), 0) << opcode;
    }
    EXPECT_EQ(buffer[0], 0);
    EXPECT_TRUE(host.calls.empty());
    EXPECT_EQ(plugin->dispatch(effGetProgram), 7);
    EXPECT_EQ(plugin->effect()->flags, 309);
}

// Every text a host reads stays within the interface's limits, whatever the index.
TEST_F(Dispatcher, TextsStayWithinTheirLimits)
{
    auto writtenLength = [&](VstInt32 opcode, VstInt32 index, VstIntPtr value) {
        char buffer[300];
        std::memset(buffer, 0x7f, sizeof buffer);
        plugin->dispatch(opcode, index, value, buffer);
        std::size_t n = 0;
        while (n < sizeof buffer && buffer[n] != 0x7f)
            ++n;
        return n; // bytes written, terminator included
    };
    for (int index : {-1, 0, 1, 31, 36, 37, 63, 64, 1000}) {
        EXPECT_LE(writtenLength(effGetParamName, index, 0), 9u) << index;
        EXPECT_LE(writtenLength(effGetParamLabel, index, 0), 9u) << index;
        EXPECT_LE(writtenLength(effGetParamDisplay, index, 0), 9u) << index;
        EXPECT_LE(writtenLength(effGetProgramNameIndexed, index, -1), 24u) << index;
    }
    for (int program = 0; program < 64; ++program) {
        plugin->dispatch(effSetProgram, 0, program);
        EXPECT_LE(writtenLength(effGetProgramName, 0, 0), 24u) << program;
    }
    std::string longName(200, 'n');
    plugin->dispatch(effSetProgramName, 0, 0, longName.data());
    EXPECT_LE(writtenLength(effGetProgramName, 0, 0), 24u);
    EXPECT_LE(writtenLength(effGetProgramNameIndexed, 63, -1), 24u);
    EXPECT_LE(writtenLength(effGetEffectName, 0, 0), 32u);
    EXPECT_LE(writtenLength(effGetVendorString, 0, 0), 64u);
    EXPECT_LE(writtenLength(effGetProductString, 0, 0), 64u);
}

TEST_F(Dispatcher, ProcessReplacingOverwritesWithSilence)
{
    std::vector<float> left(512, 7.0f), right(512, -7.0f);
    float* outputs[2] = {left.data(), right.data()};
    plugin->dispatch(effMainsChanged, 0, 1);
    plugin->effect()->processReplacing(plugin->effect(), nullptr, outputs, 512);
    plugin->effect()->processReplacing(plugin->effect(), nullptr, outputs, 0);
    for (int i = 0; i < 512; ++i) {
        ASSERT_LT(std::fabs(left[i]), 1e-6f) << i;
        ASSERT_LT(std::fabs(right[i]), 1e-6f) << i;
    }
}

TEST(NullHostCallback, InstanceWorksWithEveryHostQueryNeutral)
{
    PluginLoader loader;
    ASSERT_TRUE(loader.loaded()) << loader.error();
    for (auto entry : {PluginLoader::Entry::VstPluginMain, PluginLoader::Entry::Main}) {
        auto plugin = loader.create(nullptr, entry);
        ASSERT_NE(plugin, nullptr);
        EXPECT_EQ(plugin->effect()->flags, 309);
        EXPECT_EQ(plugin->text(effGetEffectName), "Grelmond");
        plugin->dispatch(effOpen);
        plugin->dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
        plugin->dispatch(effMainsChanged, 0, 1);
        plugin->dispatch(effSetProgram, 0, 3);
        plugin->setParameter(0, 0.5f);
        std::vector<float> left(64), right(64);
        float* outputs[2] = {left.data(), right.data()};
        plugin->effect()->processReplacing(plugin->effect(), nullptr, outputs, 64);
        plugin->dispatch(effMainsChanged, 0, 0);
        EXPECT_EQ(plugin->close(), 1);
    }
}

} // namespace
