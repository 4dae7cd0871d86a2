#pragma once

// What the Ardour session tests share: Ardour's tools found, a private home
// with its configuration, the plug-in builds installed where Ardour looks,
// the session scripts and exports run with retries, and the files they leave
// (value dumps, exported audio) read back.

#include "RunCommand.h"
#include "SessionPluginState.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <map>
#include <string>
#include <vector>

namespace ardourtest {

std::string shellQuoted(const std::string& text);
std::string textOf(const std::string& path);

struct Audio {
    std::vector<float> samples; // interleaved
    int channels = 0;
};
Audio readWav(const std::string& path);

// How one export differs from another: differing samples (a length mismatch
// counts as one more), the first differing frame and the largest difference.
struct AudioDifference {
    std::size_t samples = 0;
    std::size_t firstFrame = 0;
    float largest = 0.0f;
};
AudioDifference compareAudio(const Audio& a, const Audio& b);

// A session script's dump: rows of numbers by label ("live", "programN",
// "ports") and program names by label ("nameN").
struct ValueDump {
    std::map<std::string, std::vector<double>> values;
    std::map<std::string, std::string> names;
};
ValueDump readDump(const std::string& path);

class ArdourFixture : public ::testing::Test {
protected:
    // Skips the test when Ardour is not installed; otherwise makes the home.
    void SetUp() override;

    // The builds, copied where the configuration points Ardour; the copies are
    // older than any scan, which Ardour's scan cache needs.
    void installVst2();
    void installVst3();
    void installLv2();
    // The VST 2 build finds its data through GRELMOND_INSTALL_PATH (otherwise unset).
    void useInstallPath() { installPath_ = folder_.file("vst"); }

    testsupport::CommandRun run(const std::string& command, int seconds);
    testsupport::CommandRun scanVst2();
    testsupport::CommandRun scanVst3();
    // ardour-lua SCRIPT MODE SESSION_DIR DUMP, the script from tests/ardour.
    testsupport::CommandRun session(const std::string& script, const std::string& mode, const std::string& dump);
    // The session's snapshot exported to wav; a hung export is tried again.
    testsupport::CommandRun exportTo(const std::string& wav, const std::string& snapshot = "grelmond");
    // Ardour now and then hands an export its MIDI a few frames early against
    // the audio (a 752/272 start instead of 768/256), which moves every note.
    // The reference export is therefore made until two agree (at most three).
    Audio settledExport(const std::string& wav, const std::string& snapshot = "grelmond");
    // Exports snapshot to wav and compares it with reference; for the same
    // reason a mismatch is reported and the export made once more.
    AudioDifference exportAndCompare(const Audio& reference, const std::string& wav, const std::string& snapshot);
    // The same against several references: the closest one counts.
    AudioDifference exportAndCompare(const std::vector<Audio>& references, const std::string& wav,
                                     const std::string& snapshot);
    // Exports of snapshot until two agree (at most three), every one kept.
    std::vector<Audio> exportsUntilTwoAgree(const std::string& wav, const std::string& snapshot, bool& agreed);
    // Two channels, longer than a second, finite and not silent.
    static void expectAudible(const Audio& audio);
    // The saved session with a tuning loaded: its current program made a sine
    // through Ardour's controls, the plug-in's saved state given a scale as the
    // editor loads one, the session exported and checked note by note against
    // the scale and against the same notes before, then saved by Ardour again
    // and exported the same.
    void expectSessionComesBackInTune(PluginFormat format);
    // Then the plain-sine snapshot with a tuning message in its region while
    // a note is held, which retunes that note and a later one: exported, the
    // held note moves from the message on, the later note throughout, and the
    // others not at all.
    void expectTuningMessagesRetune();

    std::string file(const std::string& name) const { return folder_.file(name); }
    const std::string& vst2Plugin() const { return vst2Plugin_; }
    const std::string& vst3Bundle() const { return vst3Bundle_; }

private:
    std::string environment() const;
    void writeConfig(const std::string& home) const;

    TempFolder folder_;
    std::string version_, lua_, export_, vstScanner_, vst3Scanner_;
    std::string installPath_, vst2Plugin_, vst3Bundle_;
};

} // namespace ardourtest
