// Grelmond's VST 3 bundle in a real host: Ardour, headless on its Dummy
// backend, scans the bundle, makes a session with it, saves it, reopens it in
// a new process and exports it before and after; the same session with the
// VST 2 build in the bundle's place sounds the same; and with a scale in the
// plug-in's saved state the session plays in tune, also after Ardour saved it;
// tuning messages in its MIDI region retune the notes they name.
#include "ArdourFixture.h"

#include <gtest/gtest.h>

namespace ardourtest {
namespace {

class ArdourVst3Session : public ArdourFixture {
protected:
    void SetUp() override
    {
        ArdourFixture::SetUp();
        if (IsSkipped())
            return;
        installVst3(); // it finds its data in its own Resources folder
        installVst2();
    }
};

TEST_F(ArdourVst3Session, SavedSessionComesBackWithEveryProgramItsNamesTheSameSoundAndItsTuning)
{
    const auto scan = scanVst3();
    ASSERT_EQ(scan.status, 0) << scan.output;

    const std::string saved = file("saved.txt"), reopened = file("reopened.txt");
    const auto make = session("session-vst3.lua", "make", saved);
    ASSERT_NE(make.output.find("OK make"), std::string::npos) << make.output;
    const Audio a = settledExport(file("before.wav"));
    const auto check = session("session-vst3.lua", "check", reopened);
    ASSERT_NE(check.output.find("OK check"), std::string::npos) << check.output;

    const ValueDump first = readDump(saved), second = readDump(reopened);
    ASSERT_EQ(first.values.size(), 65u);
    ASSERT_EQ(first.names.size(), 64u);
    for (const auto& [label, values] : first.values) {
        ASSERT_EQ(values.size(), 64u) << label;
        EXPECT_EQ(second.values.at(label), values) << label;
    }
    EXPECT_EQ(second.names, first.names);
    EXPECT_EQ(first.names.at("name0"), "Sub_Sine_Bass");
    EXPECT_EQ(second.values.at("live"), first.values.at("program9")) << "program 9 is current after the reopen";
    EXPECT_FLOAT_EQ(second.values.at("program9")[46], 0.85f);
    EXPECT_FLOAT_EQ(second.values.at("program9")[29], 0.3f);
    EXPECT_FLOAT_EQ(second.values.at("program5")[46], 0.25f);
    EXPECT_FLOAT_EQ(second.values.at("program5")[63], 0.7f);

    ASSERT_NO_FATAL_FAILURE(expectAudible(a));
    const AudioDifference reopenedSound = exportAndCompare(a, file("after.wav"), "grelmond");
    EXPECT_EQ(reopenedSound.samples, 0u) << "the reopened session sounds different from frame "
                                         << reopenedSound.firstFrame;

    // The VST 2 build in the same session, with the same program and edits,
    // sounds the same: Ardour holds the bundle's pitch-bend parameter at the
    // wheel's centre, which must bend nothing.
    const auto vst2Scan = scanVst2();
    ASSERT_EQ(vst2Scan.status, 0) << vst2Scan.output;
    const auto vst2 = session("session-vst3.lua", "vst2", file("vst2.txt"));
    ASSERT_NE(vst2.output.find("OK vst2"), std::string::npos) << vst2.output;
    const AudioDifference d = exportAndCompare(a, file("vst2.wav"), "vst2");
    EXPECT_EQ(d.samples, 0u) << "the VST 2 build sounds different: " << d.samples << " samples from frame "
                             << d.firstFrame << ", largest difference " << d.largest;

    ASSERT_NO_FATAL_FAILURE(expectSessionComesBackInTune(PluginFormat::Vst3));
  expectTuningMessagesRetune();
}

} // namespace
} // namespace ardourtest
