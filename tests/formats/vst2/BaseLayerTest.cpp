#include "formats/vst2/EditorBase.h"
#include "formats/vst2/PluginBaseExt.h"
#include "formats/vst2/PluginEntry.h"
#include "formats/vst2/SynthPlugin.h"

#include <gtest/gtest.h>

#include <vector>

using namespace vst;
using grelmond::PluginBaseExt;

namespace {

struct Call {
    VstInt32 opcode;
    VstInt32 index;
    VstIntPtr value;
    void* ptr;
    float opt;
};
std::vector<Call> calls;
VstIntPtr answer = 0;

VstIntPtr recordingHost(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    calls.push_back({opcode, index, value, ptr, opt});
    return answer;
}

class KeyEditor : public grelmond::EditorBase {
public:
    using EditorBase::EditorBase;
    VstIntPtr onKeyDown(VstKeyCode& key) override
    {
        last = key;
        return 11;
    }
    VstIntPtr setKnobMode(VstIntPtr mode) override { return mode + 100; }
    VstKeyCode last{};
};

class BaseLayer : public ::testing::Test {
protected:
    void SetUp() override
    {
        calls.clear();
        answer = 0;
    }
};

TEST_F(BaseLayer, RecordDefaults)
{
    PluginBaseExt base(nullptr, 4, 3);
    const AEffect* e = base.getAeffect();
    EXPECT_EQ(e->magic, kEffectMagic);
    EXPECT_EQ(e->numPrograms, 4);
    EXPECT_EQ(e->numParams, 3);
    EXPECT_EQ(e->numInputs, 1);
    EXPECT_EQ(e->numOutputs, 2);
    EXPECT_EQ(e->flags, 0);
    EXPECT_EQ(e->uniqueID, fourCC('N', 'o', 'E', 'f'));
    EXPECT_EQ(e->object, &base);
    EXPECT_EQ(base.getSampleRate(), 44100.0f);
    EXPECT_EQ(base.getBlockSize(), 1024);
    EXPECT_EQ(base.dispatcher(effGetPlugCategory, 0, 0, nullptr, 0.0f), kPlugCategUnknown) << "no synth flag yet";
}

TEST_F(BaseLayer, FlagSettersAndCategory)
{
    PluginBaseExt base(nullptr, 1, 1);
    base.isSynth();
    base.canProcessReplacing();
    base.programsAreChunks();
    base.noTail();
    EXPECT_EQ(base.getAeffect()->flags, effFlagsIsSynth | effFlagsCanReplacing | effFlagsProgramChunks |
                                            effFlagsNoSoundInStop);
    EXPECT_EQ(base.getPlugCategory(), kPlugCategSynth);
    base.programsAreChunks(false);
    base.isSynth(false);
    EXPECT_EQ(base.getAeffect()->flags, effFlagsCanReplacing | effFlagsNoSoundInStop);
    EXPECT_EQ(base.getPlugCategory(), kPlugCategUnknown);
}

TEST_F(BaseLayer, HostWrappersWithoutCallbackAreNeutral)
{
    PluginBaseExt base(nullptr, 1, 1);
    base.setSampleRate(96000.0f);
    base.setBlockSize(64);
    EXPECT_EQ(base.getMasterVersion(), 1);
    EXPECT_EQ(base.updateSampleRate(), 96000.0f);
    EXPECT_EQ(base.updateBlockSize(), 64);
    EXPECT_EQ(base.getTimeInfo(0x2600), nullptr);
    EXPECT_FALSE(base.wantEvents());
    EXPECT_FALSE(base.beginEdit(0));
    EXPECT_FALSE(base.isInputConnected(0));
    EXPECT_EQ(base.getNextPlug(0), nullptr);
    base.masterIdle();
    base.setParameterAutomated(0, 0.5f);
}

TEST_F(BaseLayer, HostWrappersPassTheirArguments)
{
    PluginBaseExt base(&recordingHost, 1, 8);
    answer = 1;
    base.setParameterAutomated(7, 0.25f);
    EXPECT_TRUE(base.wantEvents(1));
    EXPECT_TRUE(base.beginEdit(5));
    EXPECT_TRUE(base.endEdit(5));
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0].opcode, audioMasterAutomate);
    EXPECT_EQ(calls[0].index, 7);
    EXPECT_EQ(calls[0].opt, 0.25f);
    EXPECT_EQ(calls[1].opcode, audioMasterWantMidi);
    EXPECT_EQ(calls[1].value, 1);
    EXPECT_EQ(calls[2].opcode, audioMasterBeginEdit);
    EXPECT_EQ(calls[2].index, 5);
    EXPECT_EQ(calls[3].opcode, audioMasterEndEdit);

    // A pin is connected when the host answers 0; version 0 counts as 1.
    answer = 0;
    EXPECT_TRUE(base.isOutputConnected(1));
    EXPECT_EQ(calls.back().value, 1);
    EXPECT_EQ(base.getMasterVersion(), 1);
    answer = 2400;
    EXPECT_EQ(base.getMasterVersion(), 2400);

    // The host answers a sample-rate query by setting it; the wrapper returns the stored rate.
    base.setSampleRate(48000.0f);
    answer = 22050;
    EXPECT_EQ(base.updateSampleRate(), 48000.0f);
    EXPECT_EQ(calls.back().opcode, audioMasterGetSampleRate);

    // Numbers beyond the declared parameters never reach the host.
    calls.clear();
    base.setParameterAutomated(8, 0.5f);
    base.setParameterAutomated(-1, 0.5f);
    EXPECT_FALSE(base.beginEdit(64));
    EXPECT_FALSE(base.endEdit(-1));
    EXPECT_TRUE(calls.empty());
    EXPECT_FALSE(base.openFileSelector(nullptr));
    EXPECT_FALSE(base.sendVstEventsToHost(nullptr));
    EXPECT_FALSE(base.getHostVendorString(nullptr));
    EXPECT_TRUE(calls.empty());
}

TEST_F(BaseLayer, EditorOpcodesReachTheRegisteredEditor)
{
    PluginBaseExt base(nullptr, 1, 1);
    EXPECT_EQ(base.dispatcher(effEditKeyDown, 'a', 3, nullptr, 2.0f), 0) << "no editor";
    EXPECT_EQ(base.dispatcher(effSetEditKnobMode, 0, 2, nullptr, 0.0f), 0);
    ERect* rect = nullptr;
    EXPECT_EQ(base.dispatcher(effEditGetRect, 0, 0, &rect, 0.0f), 0);

    auto* editor = new KeyEditor(&base); // owned by the plug-in from here on
    EXPECT_EQ(base.getEditor(), editor);
    EXPECT_EQ(base.getAeffect()->flags & effFlagsHasEditor, effFlagsHasEditor);
    EXPECT_EQ(base.dispatcher(effEditKeyDown, 'a', 3, nullptr, 2.0f), 11);
    EXPECT_EQ(editor->last.character, 'a');
    EXPECT_EQ(editor->last.virt, 3);
    EXPECT_EQ(editor->last.modifier, 2);
    EXPECT_EQ(base.dispatcher(effEditKeyUp, 'a', 3, nullptr, 2.0f), -1);
    EXPECT_EQ(base.dispatcher(effSetEditKnobMode, 0, 2, nullptr, 0.0f), 102);
}

TEST_F(BaseLayer, CloseDeletesTheInstance)
{
    AEffect* effect = grelmond::createPluginInstance(&recordingHost);
    ASSERT_EQ(effect, nullptr) << "version answer 0 refuses";
    answer = 2400;
    effect = grelmond::createPluginInstance(&recordingHost);
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(grelmond::SynthPlugin::lastConstructed(), effect->object);
    EXPECT_EQ(effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f), 1);
    EXPECT_EQ(grelmond::SynthPlugin::lastConstructed(), nullptr);
}

} // namespace
