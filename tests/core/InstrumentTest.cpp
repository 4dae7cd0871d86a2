// The instrument core's calls as an adapter makes them.
#include "core/ChangeReceiver.h"
#include "core/Instrument.h"
#include "core/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

using namespace grelmond;

namespace {

// The delays' tempo-sync switches.
constexpr int kLeftDelaySync = 52;
constexpr int kRightDelaySync = 56;

struct CountingTempo : Instrument::TempoSource {
    int asked = 0;
    bool tempo(double& bpm) override
    {
        ++asked;
        bpm = 90.0;
        return true;
    }
};

struct Recorder : ChangeReceiver {
    std::vector<int> indices;
    std::vector<int> programs;
    void parameterChanged(int index, float) override { indices.push_back(index); }
    void programSelected(int index) override { programs.push_back(index); }
};

} // namespace

TEST(Instrument, OutsideInputsGiveClearAnswers)
{
    auto instrument = std::make_unique<Instrument>();
    for (int bad : {-1, 64, 1 << 30}) {
        EXPECT_STREQ(Instrument::parameterName(bad), "");
        EXPECT_STREQ(Instrument::parameterLabel(bad), "");
        EXPECT_EQ(Instrument::defaultValue(bad), 0.0f);
        EXPECT_EQ(instrument->parameter(bad), 0.0f);
        EXPECT_EQ(instrument->shownValue(bad), 0.0f);
        char text[kNumberTextSize] = "keep";
        instrument->parameterDisplay(bad, text);
        EXPECT_STREQ(text, "keep");
        instrument->setParameter(bad, 0.5f);
        instrument->selectProgram(bad);
        EXPECT_FALSE(instrument->programName(bad, text));
    }
    EXPECT_EQ(instrument->currentProgram(), 0);
    instrument->programChange(64 + 5); // 64-127 select 0-63 again
    EXPECT_EQ(instrument->currentProgram(), 5);
    instrument->programChange(200);
    EXPECT_EQ(instrument->currentProgram(), 5);

    std::vector<float> left(64, 1.0f), right(64, 1.0f);
    instrument->render(nullptr, right.data(), 64);
    instrument->render(left.data(), right.data(), 0);
    EXPECT_EQ(left[0], 1.0f);
    instrument->handleEvents(nullptr, 4);
    instrument->render(left.data(), right.data(), 64);
    for (float v : left)
        ASSERT_TRUE(std::isfinite(v));
}

TEST(Instrument, NamesTextsAndDefaultsComeFromTheParameterTable)
{
    Instrument instrument;
    EXPECT_STREQ(Instrument::parameterName(63), "Main Vol");
    EXPECT_EQ(std::strlen(Instrument::parameterName(57)), 9u); // adapters cut to their own limits
    instrument.setParameter(63, 0.5f);
    char text[kNumberTextSize] = {};
    instrument.parameterDisplay(63, text);
    EXPECT_STREQ(text, "0.500000");
    for (int i = 0; i < 64; ++i) {
        EXPECT_GE(Instrument::defaultValue(i), 0.0f);
        EXPECT_LE(Instrument::defaultValue(i), 1.0f);
    }
}

TEST(Instrument, ReceiverHearsEveryAppliedValueAndProgramsApplyWhole)
{
    Instrument instrument;
    Recorder recorder;
    instrument.setChangeReceiver(&recorder);
    instrument.setParameter(7, 0.25f);
    ASSERT_EQ(recorder.indices.size(), 1u);
    EXPECT_EQ(recorder.indices[0], 7);
    instrument.selectProgram(3);
    EXPECT_EQ(recorder.indices.size(), 65u);
    instrument.programChange(64 + 4);
    EXPECT_EQ(recorder.programs, (std::vector<int>{3, 4}));
    EXPECT_EQ(instrument.currentProgram(), 4);
    EXPECT_EQ(instrument.parameter(7), instrument.programs().program(4)->value(7));
    instrument.setChangeReceiver(nullptr);
}

// The tempo is asked only while a delay is synced, from the source when one
// is set, otherwise from setTempo.
TEST(Instrument, TempoComesFromTheSourceOnlyWhenADelayIsSynced)
{
    Instrument instrument;
    CountingTempo source;
    instrument.setTempoSource(&source);
    std::vector<float> left(441), right(441);
    instrument.setParameter(kLeftDelaySync, 0.0f);
    instrument.setParameter(kRightDelaySync, 0.0f);
    instrument.render(left.data(), right.data(), 441);
    EXPECT_EQ(source.asked, 0);
    instrument.setParameter(kLeftDelaySync, 1.0f);
    instrument.render(left.data(), right.data(), 441);
    EXPECT_GT(source.asked, 0);

    instrument.setTempoSource(nullptr);
    instrument.setTempo(120.0);
    instrument.render(left.data(), right.data(), 441);
    instrument.setTempo(0.0);
    instrument.render(left.data(), right.data(), 441);
    for (float v : left)
        ASSERT_TRUE(std::isfinite(v));
}

TEST(Instrument, PrepareSetsTheRateTheEditorAndStepsSee)
{
    Instrument instrument;
    EXPECT_EQ(instrument.sampleRate(), 44100.0);
    EXPECT_EQ(instrument.samplesPerStep(), 441);
    instrument.prepare(96000.0, 512);
    EXPECT_EQ(instrument.sampleRate(), 96000.0);
    EXPECT_EQ(instrument.samplesPerStep(), 960);
    EXPECT_EQ(instrument.maxFrames(), 512);
}
