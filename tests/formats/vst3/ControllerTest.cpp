#include "FormatComparison.h"
#include "Vst3MemoryStream.h"
#include "Vst3Plugin.h"

#include "pluginterfaces/vst/ivstmidicontrollers.h"
#include "pluginterfaces/vst/ivstunits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

// The bundle loaded in this process as a host loads it: what the controller
// describes, the program list, the state's refusals.

using namespace Steinberg;

namespace {

std::string text(const Vst::TChar* t)
{
    std::string s;
    for (int i = 0; i < 128 && t[i] != 0; ++i)
        s += static_cast<char>(t[i]);
    return s;
}

void toUtf16(const std::string& s, Vst::String128 out)
{
    std::size_t i = 0;
    for (; i < s.size() && i < 127; ++i)
        out[i] = static_cast<Vst::TChar>(s[i]);
    out[i] = 0;
}

class Vst3Controller : public ::testing::Test {
protected:
    void SetUp() override
    {
        unsetenv("GRELMOND_INSTALL_PATH"); // the bundle finds its Resources folder itself
        std::string error;
        ASSERT_TRUE(plugin.load(vst3test::vst3Path(), 48000.0f, 256, error)) << error;
        controller = plugin.controller();
    }

    // One empty block, so queued changes reach the processor.
    void processBlock()
    {
        std::vector<float> l(256), r(256);
        plugin.process({}, {}, {}, l.data(), r.data(), 256, false);
    }

    host::Vst3Plugin plugin;
    Vst::IEditController* controller = nullptr;
};

} // namespace

TEST_F(Vst3Controller, BusesLatencyTailAndSampleSizes)
{
    Vst::IComponent* c = plugin.component();
    EXPECT_EQ(c->getBusCount(Vst::kAudio, Vst::kInput), 0);
    EXPECT_EQ(c->getBusCount(Vst::kAudio, Vst::kOutput), 1);
    EXPECT_EQ(c->getBusCount(Vst::kEvent, Vst::kInput), 1);
    EXPECT_EQ(c->getBusCount(Vst::kEvent, Vst::kOutput), 0);
    Vst::BusInfo bus{};
    ASSERT_EQ(c->getBusInfo(Vst::kAudio, Vst::kOutput, 0, bus), kResultOk);
    EXPECT_EQ(bus.channelCount, 2);
    EXPECT_NE(c->getBusInfo(Vst::kAudio, Vst::kOutput, 1, bus), kResultOk);
    EXPECT_NE(c->getBusInfo(Vst::kAudio, Vst::kInput, 0, bus), kResultOk);
    Vst::IAudioProcessor* p = plugin.processor();
    EXPECT_EQ(p->canProcessSampleSize(Vst::kSample32), kResultOk);
    EXPECT_NE(p->canProcessSampleSize(Vst::kSample64), kResultOk);
    EXPECT_EQ(p->getLatencySamples(), 0u);
    EXPECT_GE(p->getTailSamples(), 48000u * 2) << "long enough for the delays to ring out";
    Vst::SpeakerArrangement mono = Vst::SpeakerArr::kMono, stereo = Vst::SpeakerArr::kStereo;
    EXPECT_NE(p->setBusArrangements(nullptr, 0, &mono, 1), kResultOk);
    EXPECT_EQ(p->setBusArrangements(nullptr, 0, &stereo, 1), kResultOk);

    // No preparation while processing runs, and no nonsense rates.
    Vst::ProcessSetup setup{Vst::kRealtime, Vst::kSample32, 512, 96000.0};
    plugin.startProcessing();
    EXPECT_NE(p->setupProcessing(setup), kResultOk);
    plugin.stopProcessing();
    EXPECT_EQ(p->setupProcessing(setup), kResultOk);
    for (double rate : {0.0, -44100.0, std::nan(""), 1e12}) {
        setup.sampleRate = rate;
        EXPECT_NE(p->setupProcessing(setup), kResultOk) << rate;
    }
    setup = {Vst::kRealtime, Vst::kSample64, 512, 48000.0};
    EXPECT_NE(p->setupProcessing(setup), kResultOk);
}

TEST_F(Vst3Controller, ParametersCarryTheInstrumentsNamesUnitsAndTexts)
{
    Vst::ParameterInfo info{};
    for (int i = 0; i < 64; ++i) {
        ASSERT_EQ(controller->getParameterInfo(i, info), kResultOk);
        EXPECT_EQ(info.id, static_cast<Vst::ParamID>(i));
        EXPECT_TRUE(info.flags & Vst::ParameterInfo::kCanAutomate);
        EXPECT_GE(info.defaultNormalizedValue, 0.0);
        EXPECT_LE(info.defaultNormalizedValue, 1.0);
    }
    controller->getParameterInfo(63, info);
    EXPECT_EQ(text(info.title), "Main Vol");
    EXPECT_EQ(text(info.units), "Min/Max");
    controller->getParameterInfo(57, info);
    EXPECT_EQ(info.stepCount, 25);
    EXPECT_EQ(controller->getParameterInfo(controller->getParameterCount(), info), kInvalidArgument);
    EXPECT_EQ(controller->getParameterInfo(-1, info), kInvalidArgument);

    Vst::String128 display{};
    ASSERT_EQ(controller->getParamStringByValue(63, 0.7, display), kResultOk);
    EXPECT_EQ(text(display), "0.699999") << "the VST 2 build's text for the same value";
    ASSERT_EQ(controller->getParamStringByValue(46, 0.5, display), kResultOk);
    EXPECT_EQ(text(display), "0.015348") << "the cutoff shows its curve";
    EXPECT_EQ(controller->getParamStringByValue(5000, 0.5, display), kInvalidArgument);

    // Text back to a value, whatever the host's locale.
    Vst::String128 typed{};
    Vst::ParamValue value = -1.0;
    toUtf16("0.25", typed);
    ASSERT_EQ(controller->getParamValueByString(63, typed, value), kResultOk);
    EXPECT_DOUBLE_EQ(value, 0.25);
    toUtf16("0.015348", typed);
    ASSERT_EQ(controller->getParamValueByString(46, typed, value), kResultOk);
    controller->getParamStringByValue(46, value, display);
    EXPECT_EQ(text(display), "0.015348");
    for (const char* bad : {"loud", "", "2", "-0.5", "0.5x"}) {
        toUtf16(bad, typed);
        EXPECT_EQ(controller->getParamValueByString(63, typed, value), kResultFalse) << bad;
    }

    EXPECT_DOUBLE_EQ(controller->normalizedParamToPlain(57, 0.2), 5.0);
    EXPECT_DOUBLE_EQ(controller->plainParamToNormalized(57, 5.0), 0.2);
    EXPECT_DOUBLE_EQ(controller->plainParamToNormalized(63, 0.3), 0.3);
}

TEST_F(Vst3Controller, NormalisedValuesRoundTripThroughTheProcessor)
{
    const float values[] = {0.0f, 1.0f, 0.123456789f, 0.39845f, 1e-7f, 0.99999994f};
    for (int index : {0, 14, 28, 46, 57, 63}) {
        for (float v : values) {
            plugin.setParameter(index, v);
            processBlock();
            EXPECT_EQ(static_cast<float>(controller->getParamNormalized(static_cast<Vst::ParamID>(index))), v)
                << "parameter " << index;
        }
    }
    // Out of range from the controller side is refused, not clamped into the sound.
    EXPECT_EQ(controller->setParamNormalized(63, 1.5), kInvalidArgument);
    EXPECT_EQ(controller->setParamNormalized(63, std::nan("")), kInvalidArgument);
    EXPECT_EQ(controller->setParamNormalized(99999, 0.5), kInvalidArgument);
}

TEST_F(Vst3Controller, ProgramListAndProgramChangeParameter)
{
    ASSERT_EQ(plugin.programCount(), 64);
    EXPECT_EQ(plugin.programName(0), "Sub Sine Bass");
    for (int p = 0; p < 64; ++p)
        EXPECT_FALSE(plugin.programName(p).empty()) << p;

    void* object = nullptr;
    ASSERT_EQ(controller->queryInterface(Vst::IUnitInfo::iid, &object), kResultOk);
    auto* units = static_cast<Vst::IUnitInfo*>(object);
    Vst::ProgramListInfo list{};
    ASSERT_EQ(units->getProgramListInfo(0, list), kResultOk);
    Vst::UnitInfo unit{};
    ASSERT_EQ(units->getUnitInfo(0, unit), kResultOk);
    EXPECT_EQ(unit.programListId, list.id);
    Vst::String128 name{};
    EXPECT_EQ(units->getProgramName(list.id, 64, name), kInvalidArgument);
    EXPECT_EQ(units->getProgramName(list.id + 1, 0, name), kInvalidArgument);
    units->release();

    // Selecting through the parameter: the instrument follows, and the
    // parameter's text names the program.
    const std::string nine = plugin.programName(9);
    plugin.selectProgram(9);
    processBlock();
    EXPECT_EQ(plugin.program(), 9);
    Vst::String128 display{};
    controller->getParamStringByValue(1000, controller->getParamNormalized(1000), display);
    EXPECT_EQ(text(display), nine);

    // A MIDI program change arrives the same way.
    std::vector<float> l(256), r(256);
    plugin.process({{10, {0xC0, 21, 0}}}, {}, {}, l.data(), r.data(), 256, false);
    EXPECT_EQ(plugin.program(), 21);
}

TEST_F(Vst3Controller, ControllersTheInstrumentReadsAreMapped)
{
    void* object = nullptr;
    ASSERT_EQ(controller->queryInterface(Vst::IMidiMapping::iid, &object), kResultOk);
    auto* mapping = static_cast<Vst::IMidiMapping*>(object);
    for (int cc : {int(Vst::kCtrlModWheel), int(Vst::kCtrlSustainOnOff), 123, int(Vst::kPitchBend)}) {
        Vst::ParamID id = Vst::kNoParamId;
        for (int16 channel : {0, 9, 15}) {
            ASSERT_EQ(mapping->getMidiControllerAssignment(0, channel, static_cast<Vst::CtrlNumber>(cc), id), kResultTrue)
                << cc;
            Vst::ParameterInfo info{};
            bool hidden = false;
            for (int i = 0; controller->getParameterInfo(i, info) == kResultOk; ++i)
                if (info.id == id)
                    hidden = (info.flags & Vst::ParameterInfo::kIsHidden) != 0;
            EXPECT_TRUE(hidden) << cc;
        }
    }
    Vst::ParamID id = 0;
    EXPECT_EQ(mapping->getMidiControllerAssignment(0, 0, 7, id), kResultFalse) << "volume is not read";
    EXPECT_EQ(mapping->getMidiControllerAssignment(1, 0, 1, id), kResultFalse) << "there is one event bus";
    mapping->release();
}

TEST_F(Vst3Controller, BadStatesAreRefusedAndChangeNothing)
{
    std::vector<char> before;
    ASSERT_TRUE(plugin.saveState(before));
    const std::vector<char> half(before.begin(), before.begin() + static_cast<long>(before.size() / 2));
    std::vector<char> oversized = before;
    oversized.resize(2u << 20, ' ');
    std::vector<char> garbage(5000);
    for (std::size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = static_cast<char>(i * 7919 % 256);
    const std::vector<char> empty;
    for (const std::vector<char>* bad : std::initializer_list<const std::vector<char>*>{&half, &oversized, &garbage, &empty}) {
        EXPECT_FALSE(plugin.loadState(*bad));
        std::vector<char> after;
        ASSERT_TRUE(plugin.saveState(after));
        EXPECT_EQ(after, before);
    }
    EXPECT_EQ(plugin.component()->setState(nullptr), kInvalidArgument);
    EXPECT_EQ(plugin.component()->getState(nullptr), kInvalidArgument);
    EXPECT_TRUE(plugin.loadState(before));
}

TEST_F(Vst3Controller, HostileProcessCallsAreHarmless)
{
    Vst::ProcessData data;
    data.numSamples = 128; // no outputs at all
    EXPECT_EQ(plugin.processor()->process(data), kResultOk);
    data.symbolicSampleSize = Vst::kSample64;
    EXPECT_NE(plugin.processor()->process(data), kResultOk);

    // Offsets outside the block, silly velocities and values, and zero frames.
    std::vector<float> l(64, 5.0f), r(64, 5.0f);
    plugin.process({{-5, {0x90, 60, 100}}, {500, {0x90, 64, 0}}}, {{9999, 63, 2.0f}, {-3, 46, -1.0f}}, {}, l.data(),
                   r.data(), 64, false);
    plugin.process({{0, {0x80, 60, 0}}}, {}, {}, l.data(), r.data(), 0, false);
    for (int i = 0; i < 64; ++i) {
        EXPECT_TRUE(std::isfinite(l[i]) && std::isfinite(r[i]));
        EXPECT_LE(std::abs(l[i]), 4.0f);
    }
}
