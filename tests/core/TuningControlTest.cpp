#include "core/TuningControl.h"
#include "engine/TuningExchange.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace grelmond;

namespace {
const char* kScale = "! a scale\nSeven, with <tuning scale=\"1\" in its name\n7\n9/8\n5/4\n4/3\n3/2\n5/3\n15/8\n2/1\n";
} // namespace

// Typed names load, refuse with a reason, or return to equal temperament, and
// every change reaches the audio side's exchange.
TEST(TuningControl, LoadsByNameReportsAndHandsTheTableOver)
{
    TempFolder install;
    std::filesystem::create_directory(install.file("tunings"));
    install.write("tunings/seven.scl", kScale);
    install.write("tunings/bad.kbm", "12\n0\n999\n");
    TuningExchange exchange;
    TuningControl control(install.path(), exchange);
    TuningTable audio;

    EXPECT_TRUE(TuningControl::isTuningName("x.SCL"));
    EXPECT_TRUE(TuningControl::isTuningName("equal"));
    EXPECT_FALSE(TuningControl::isTuningName("bank.grb"));

    auto r = control.load("seven.scl");
    EXPECT_TRUE(r.loaded);
    EXPECT_EQ(r.message, "Loaded the tuning. Seven, with <tuning scale=\"1\" in its name");
    ASSERT_TRUE(exchange.take(audio));
    EXPECT_FALSE(audio.isEqualTemperament());

    r = control.load("bad.kbm");
    EXPECT_FALSE(r.loaded);
    EXPECT_EQ(r.message, "The tuning could not be loaded. Line 3: the number is out of range.");
    EXPECT_FALSE(control.load("nowhere.scl").loaded);
    EXPECT_FALSE(exchange.take(audio)) << "a refused load hands nothing over";

    const std::string state = "programs\n" + control.stateSection();
    EXPECT_TRUE(control.load("equal").loaded);
    ASSERT_TRUE(exchange.take(audio));
    EXPECT_TRUE(audio.isEqualTemperament());
    EXPECT_TRUE(control.stateSection().empty());

    EXPECT_EQ(control.readState(state), std::string("programs\n").size());
    ASSERT_TRUE(exchange.take(audio));
    EXPECT_FALSE(audio.isEqualTemperament());
    EXPECT_EQ(control.description(), "Seven, with <tuning scale=\"1\" in its name");
}
