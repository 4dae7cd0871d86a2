// Grelmond in a real host: Ardour, headless on its Dummy backend, makes a
// session with the plug-in, saves it, reopens it in a new process and exports
// it before and after; then gives the plug-in's saved state a scale and hears
// the session play in tune, and again after Ardour saved it.
#include "ArdourFixture.h"

#include <gtest/gtest.h>

namespace ardourtest {
namespace {

class ArdourSession : public ArdourFixture {
protected:
    void SetUp() override
    {
        ArdourFixture::SetUp();
        if (IsSkipped())
            return;
        installVst2();
        useInstallPath();
    }
};

TEST_F(ArdourSession, SavedSessionComesBackWithEveryProgramTheSameSoundAndItsTuning)
{
    // Ardour reads plug-ins from its scan cache; its scanner fills that.
    const auto scan = scanVst2();
    ASSERT_EQ(scan.status, 0) << scan.output;
    ASSERT_NE(scan.output.find("can_process_replace=\"1\""), std::string::npos) << scan.output;

    const std::string saved = file("saved.txt");
    const std::string reopened = file("reopened.txt");
    const auto make = session("session.lua", "make", saved);
    ASSERT_EQ(make.status, 0) << make.output;
    ASSERT_NE(make.output.find("OK make"), std::string::npos) << make.output;
    const Audio a = settledExport(file("before.wav"));
    const auto check = session("session.lua", "check", reopened);
    ASSERT_EQ(check.status, 0) << check.output;
    ASSERT_NE(check.output.find("OK check"), std::string::npos) << check.output;

    // Every parameter of every program, and the current program live.
    const ValueDump first = readDump(saved);
    ValueDump second = readDump(reopened);
    ASSERT_EQ(first.values.size(), 65u);
    for (const auto& [label, values] : first.values) {
        ASSERT_EQ(values.size(), 64u) << label;
        EXPECT_EQ(second.values[label], values) << label;
    }
    EXPECT_EQ(second.values["live"], first.values.at("program9")) << "program 9 is current after the reopen";
    EXPECT_NE(first.values.at("program9"), first.values.at("program0"));
    EXPECT_FLOAT_EQ(second.values["program9"][46], 0.85f);
    EXPECT_FLOAT_EQ(second.values["program9"][29], 0.3f);
    EXPECT_FLOAT_EQ(second.values["program5"][46], 0.25f);
    EXPECT_FLOAT_EQ(second.values["program5"][63], 0.7f);

    // The same sound before and after, not silent, all finite.
    ASSERT_NO_FATAL_FAILURE(expectAudible(a));
    const AudioDifference d = exportAndCompare(a, file("after.wav"), "grelmond");
    EXPECT_EQ(d.samples, 0u) << "the reopened session sounds different: " << d.samples << " samples from frame "
                             << d.firstFrame << ", largest difference " << d.largest;

    expectSessionComesBackInTune(PluginFormat::Vst2);
}

} // namespace
} // namespace ardourtest
