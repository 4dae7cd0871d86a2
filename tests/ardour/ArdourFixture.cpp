#include "ArdourFixture.h"

#include "HeldPitches.h"
#include "SessionMidiRegion.h"
#include "core/Instrument.h"

#include <sndfile.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <sstream>

namespace fs = std::filesystem;

namespace ardourtest {

namespace {

// The newest installed Ardour: its major version, or "" when none is.
std::string ardourVersion()
{
    for (int version = 9; version >= 6; --version) {
        const std::string v = std::to_string(version);
        if (fs::exists("/usr/bin/ardour" + v + "-lua") && fs::exists("/usr/bin/ardour" + v + "-export"))
            return v;
    }
    return {};
}

// Ardour trusts its scan cache only when it is strictly newer (in whole
// seconds) than the plug-in, and a scan may happen within this second.
void backdate(const fs::path& path)
{
    const auto past = fs::file_time_type::clock::now() - std::chrono::minutes(1);
    if (fs::is_directory(path))
        for (const auto& entry : fs::recursive_directory_iterator(path))
            fs::last_write_time(entry.path(), past);
    fs::last_write_time(path, past);
}

// The notes record_notes in session-common.lua plays, one after another.
constexpr int kRecordedNotes[] = {45, 57, 60, 64, 69};
constexpr double kSessionRate = 48000.0;
// How far a measured note may lie from its target. A steady sine's zero
// crossings give its pitch to about a hundredth of a cent; the oscillator
// itself is within a tenth of a cent of its target.
constexpr double kCentsTolerance = 0.5;

// The sine sounds an octave above the key's pitch (note 57 at 440 Hz).
double equalTemperament(int note) { return 440.0 * std::exp2((note - 57) / 12.0); }
// 19 equal steps to the octave on the standard mapping: degree 0 on note 60,
// which keeps its pitch in equal temperament.
double nineteenSteps(int note) { return equalTemperament(60) * std::exp2((note - 60) / 19.0); }
double cents(double frequency, double reference) { return 1200.0 * std::log2(frequency / reference); }

std::vector<float> leftOf(const Audio& audio)
{
    std::vector<float> left;
    for (std::size_t i = 0; i < audio.samples.size(); i += static_cast<std::size_t>(std::max(1, audio.channels)))
        left.push_back(audio.samples[i]);
    return left;
}

// Each recorded note, measured before the scale and in it, against both
// targets and against each other.
void expectNineteenSteps(const std::vector<double>& equal, const std::vector<double>& pitches)
{
    const std::size_t notes = std::size(kRecordedNotes);
    ASSERT_EQ(equal.size(), notes) << "held notes in equal temperament";
    ASSERT_EQ(pitches.size(), notes) << "held notes in the scale";
    for (std::size_t k = 0; k < notes; ++k) {
        const int note = kRecordedNotes[k];
        const double off = cents(pitches[k], nineteenSteps(note)), before = cents(equal[k], equalTemperament(note));
        const double moved = cents(pitches[k], equal[k]), expected = cents(nineteenSteps(note), equalTemperament(note));
        std::fprintf(stderr, "note %d: %.4f Hz, %+.4f cents from 19 steps; before %.4f Hz, %+.4f cents from equal "
                             "temperament; moved %+.3f cents of %+.3f\n",
                     note, pitches[k], off, equal[k], before, moved, expected);
        EXPECT_LT(std::fabs(before), kCentsTolerance) << "note " << note << " before the scale";
        EXPECT_LT(std::fabs(off), kCentsTolerance) << "note " << note << " in the scale";
        EXPECT_LT(std::fabs(moved - expected), 2 * kCentsTolerance) << "note " << note;
    }
}

// A real-time single-note tuning change for every device; each entry is
// { key, semitone, fraction }: key sounds as semitone plus fraction / 16384.
std::vector<unsigned char> singleNoteTuning(std::initializer_list<std::array<int, 3>> entries)
{
    std::vector<unsigned char> m = {0xF0, 0x7F, 0x7F, 0x08, 0x02, 0x00, static_cast<unsigned char>(entries.size())};
    for (const auto& [key, semitone, fraction] : entries)
        for (int b : {key, semitone, fraction >> 7 & 0x7F, fraction & 0x7F})
            m.push_back(static_cast<unsigned char>(b));
    m.push_back(0xF7);
    return m;
}

// One message in the region, halfway through the fourth note: it lowers that
// note by a quarter of a semitone while it sounds and raises the fifth, still
// to come, by half. One, since Ardour 7.3 hands a plug-in only the last of
// several system-exclusive messages in a region intact.
constexpr std::size_t kHeldNote = 3, kLaterNote = 4;
constexpr double kHeldShift = -25.0, kLaterShift = 50.0;
// The held note, split by the message, holds each pitch for about 0.12 s.
constexpr double kShortestStretch = 0.04;

// Each held stretch of the retuned export against the same note before the
// messages: the held note is heard twice, first unchanged, then moved.
void expectRetuned(const std::vector<double>& equal, const std::vector<double>& pitches)
{
    struct Stretch {
        std::size_t note;
        double shift;
    };
    const Stretch expected[] = {{0, 0.0}, {1, 0.0}, {2, 0.0}, {kHeldNote, 0.0}, {kHeldNote, kHeldShift},
                                {kLaterNote, kLaterShift}};
    ASSERT_EQ(equal.size(), std::size(kRecordedNotes)) << "held notes without the messages";
    ASSERT_EQ(pitches.size(), std::size(expected)) << "held stretches with the messages";
    for (std::size_t k = 0; k < std::size(expected); ++k) {
        const Stretch& s = expected[k];
        const double moved = cents(pitches[k], equal[s.note]);
        std::fprintf(stderr, "note %d: %.4f Hz, moved %+.3f cents of %+.1f\n", kRecordedNotes[s.note], pitches[k],
                     moved, s.shift);
        EXPECT_LT(std::fabs(moved - s.shift), 2 * kCentsTolerance) << "note " << kRecordedNotes[s.note] << ", stretch " << k;
    }
}

// What the plug-in saves after the musician types a scale's name into its
// editor: the plug-in's own state code, in this process, given the saved state.
std::string withScale(const std::string& state, const char* scale)
{
    auto instrument = std::make_unique<grelmond::Instrument>();
    std::string tuned;
    const bool ok = instrument->loadState(grelmond::Instrument::StateScope::Bank, state.data(), state.size()) &&
                    instrument->loadTuning(scale).loaded &&
                    instrument->saveState(grelmond::Instrument::StateScope::Bank, tuned);
    return ok ? tuned : std::string();
}

} // namespace

std::string shellQuoted(const std::string& text) { return "'" + text + "'"; }

std::string textOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Audio readWav(const std::string& path)
{
    Audio audio;
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr)
        return audio;
    audio.channels = info.channels;
    audio.samples.resize(static_cast<std::size_t>(info.frames) * info.channels);
    sf_readf_float(file, audio.samples.data(), info.frames);
    sf_close(file);
    return audio;
}

AudioDifference compareAudio(const Audio& a, const Audio& b)
{
    AudioDifference d;
    const std::size_t common = std::min(a.samples.size(), b.samples.size());
    std::size_t first = common;
    for (std::size_t i = 0; i < common; ++i) {
        if (a.samples[i] == b.samples[i])
            continue;
        ++d.samples;
        first = std::min(first, i);
        d.largest = std::max(d.largest, std::fabs(a.samples[i] - b.samples[i]));
    }
    if (a.samples.size() != b.samples.size() || a.channels != b.channels)
        ++d.samples;
    d.firstFrame = first / static_cast<std::size_t>(std::max(1, a.channels));
    return d;
}

ValueDump readDump(const std::string& path)
{
    ValueDump dump;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string label;
        fields >> label;
        if (label.rfind("name", 0) == 0) {
            fields >> dump.names[label];
            continue;
        }
        std::vector<double>& row = dump.values[label];
        for (double v; fields >> v;)
            row.push_back(v);
    }
    return dump;
}

void ArdourFixture::SetUp()
{
    version_ = ardourVersion();
    const std::string lib = "/usr/lib/ardour" + version_;
    vstScanner_ = lib + "/ardour-vst-scanner";
    vst3Scanner_ = lib + "/ardour-vst3-scanner";
    if (version_.empty() || !fs::exists(vstScanner_) || !fs::exists(vst3Scanner_))
        GTEST_SKIP() << "Ardour is not installed (./run deps installs it): the real-host session test did not run";
    lua_ = "/usr/bin/ardour" + version_ + "-lua";
    export_ = "/usr/bin/ardour" + version_ + "-export";
    // A home of its own: Ardour's settings, plug-in caches and session stay in here.
    const std::string home = file("home");
    fs::create_directories(home + "/.config/ardour" + version_);
    fs::create_directories(home + "/.vst3");
    fs::create_directories(file("vst"));
    fs::create_directories(file("lv2"));
    writeConfig(home);
}

void ArdourFixture::writeConfig(const std::string& home) const
{
    std::ofstream(home + "/.config/ardour" + version_ + "/config")
        << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Ardour>\n  <Config>\n"
        << "    <Option name=\"hide-dummy-backend\" value=\"0\"/>\n"
        << "    <Option name=\"plugin-path-lxvst\" value=\"" << file("vst") << "\"/>\n"
        << "    <Option name=\"plugin-path-vst3\" value=\"" << home << "/.vst3\"/>\n"
        << "  </Config>\n</Ardour>\n";
}

void ArdourFixture::installVst2()
{
    for (const char* name : {"Grelmond.so", "Grelmond.dlx", "GrelmondDefault.grb"})
        fs::copy_file(fs::path(GRELMOND_PLUGIN_DIR) / name, fs::path(file("vst")) / name);
    vst2Plugin_ = file("vst") + "/Grelmond.so";
    backdate(vst2Plugin_);
}

void ArdourFixture::installVst3()
{
    vst3Bundle_ = file("home") + "/.vst3/Grelmond.vst3"; // a folder Ardour always searches
    fs::copy(GRELMOND_VST3_BUNDLE, vst3Bundle_, fs::copy_options::recursive);
    backdate(vst3Bundle_);
}

void ArdourFixture::installLv2()
{
    fs::copy(GRELMOND_LV2_BUNDLE, file("lv2") + "/Grelmond.lv2", fs::copy_options::recursive);
}

// Bundles find their data files themselves unless an install path is chosen.
std::string ArdourFixture::environment() const
{
    return "env -u XDG_CONFIG_HOME -u XDG_CACHE_HOME -u XDG_DATA_HOME " +
           (installPath_.empty() ? std::string("-u GRELMOND_INSTALL_PATH ")
                                 : "GRELMOND_INSTALL_PATH=" + shellQuoted(installPath_) + " ") +
           "HOME=" + shellQuoted(file("home")) + " LV2_PATH=" + shellQuoted(file("lv2")) + " ";
}

testsupport::CommandRun ArdourFixture::run(const std::string& command, int seconds)
{
    return testsupport::runCommand("timeout " + std::to_string(seconds) + " " + environment() + command + " 2>&1");
}

testsupport::CommandRun ArdourFixture::scanVst2()
{
    const std::string lib = fs::path(vstScanner_).parent_path().string();
    return run("LD_LIBRARY_PATH=" + lib + " " + shellQuoted(vstScanner_) + " -f -v " + shellQuoted(vst2Plugin_), 60);
}

testsupport::CommandRun ArdourFixture::scanVst3()
{
    // Without the library path the scanner cannot find Ardour's own libraries.
    const std::string lib = fs::path(vst3Scanner_).parent_path().string();
    return run("LD_LIBRARY_PATH=" + lib + " " + shellQuoted(vst3Scanner_) + " " + shellQuoted(vst3Bundle_), 60);
}

testsupport::CommandRun ArdourFixture::session(const std::string& script, const std::string& mode,
                                               const std::string& dump)
{
    const std::string path = std::string(GRELMOND_SOURCE_DIR) + "/tests/ardour/" + script;
    return run(shellQuoted(lua_) + " " + shellQuoted(path) + " " + mode + " " + shellQuoted(file("session")) + " " + shellQuoted(dump), 90);
}

testsupport::CommandRun ArdourFixture::exportTo(const std::string& wav, const std::string& snapshot)
{
    // About one export in thirty hangs inside Ardour after "Writing"; a
    // finished one takes seconds.
    const std::string command =
        shellQuoted(export_) + " -b float -o " + shellQuoted(wav) + " " + shellQuoted(file("session")) + " " + snapshot;
    testsupport::CommandRun result = run(command, 60);
    for (int retry = 0; retry < 2 && result.status != 0; ++retry)
        result = run(command, 60);
    return result;
}

AudioDifference ArdourFixture::exportAndCompare(const Audio& reference, const std::string& wav,
                                                const std::string& snapshot)
{
    return exportAndCompare(std::vector<Audio>{reference}, wav, snapshot);
}

AudioDifference ArdourFixture::exportAndCompare(const std::vector<Audio>& references, const std::string& wav,
                                                const std::string& snapshot)
{
    AudioDifference d;
    for (int attempt = 0; attempt < 2; ++attempt) {
        const auto result = exportTo(wav, snapshot);
        EXPECT_EQ(result.status, 0) << result.output;
        const Audio made = readWav(wav);
        for (std::size_t k = 0; k < references.size(); ++k) {
            const AudioDifference e = compareAudio(references[k], made);
            if (k == 0 || e.samples < d.samples)
                d = e;
        }
        if (d.samples == 0)
            break;
        std::fprintf(stderr, "export of %s differs in %zu samples from frame %zu (largest %g)\n", snapshot.c_str(),
                     d.samples, d.firstFrame, static_cast<double>(d.largest));
    }
    return d;
}

std::vector<Audio> ArdourFixture::exportsUntilTwoAgree(const std::string& wav, const std::string& snapshot,
                                                       bool& agreed)
{
    std::vector<Audio> exports;
    agreed = false;
    for (int attempt = 0; attempt < 3 && !agreed; ++attempt) {
        const std::string path = attempt == 0 ? wav : wav + "." + std::to_string(attempt) + ".wav";
        const auto result = exportTo(path, snapshot);
        EXPECT_EQ(result.status, 0) << result.output;
        exports.push_back(readWav(path));
        for (std::size_t k = 0; k + 1 < exports.size() && !agreed; ++k)
            agreed = compareAudio(exports[k], exports.back()).samples == 0;
    }
    return exports;
}

Audio ArdourFixture::settledExport(const std::string& wav, const std::string& snapshot)
{
    bool agreed = false;
    std::vector<Audio> exports = exportsUntilTwoAgree(wav, snapshot, agreed);
    if (!agreed)
        ADD_FAILURE() << "three exports of " << snapshot << " all differ";
    return agreed ? exports.back() : exports.front();
}

void ArdourFixture::expectAudible(const Audio& audio)
{
    ASSERT_EQ(audio.channels, 2);
    ASSERT_GT(audio.samples.size(), 96000u);
    float peak = 0.0f;
    int nonFinite = 0;
    for (float s : audio.samples) {
        nonFinite += std::isfinite(s) ? 0 : 1;
        peak = std::max(peak, std::isfinite(s) ? std::fabs(s) : 0.0f);
    }
    EXPECT_EQ(nonFinite, 0) << "the export holds NaN or infinity";
    EXPECT_GT(peak, 0.01f) << "the export is silent";
}

void ArdourFixture::expectSessionComesBackInTune(PluginFormat format)
{
    const auto sine = session("session-tuning.lua", "sine", file("sine.txt"));
    ASSERT_NE(sine.output.find("OK sine"), std::string::npos) << sine.output;
    const auto equalExport = exportTo(file("sine.wav"), "sine");
    ASSERT_EQ(equalExport.status, 0) << equalExport.output;
    const std::vector<double> equal = heldPitches(leftOf(readWav(file("sine.wav"))), kSessionRate);

    // The scale reaches Ardour only as the plug-in's saved state in a snapshot.
    const SessionPluginState states(file("session"), format);
    const std::string plain = states.read("sine");
    ASSERT_NE(plain.find("<current program="), std::string::npos) << "no plug-in state in the session";
    ASSERT_EQ(plain.find("<tuning"), std::string::npos);
    const std::string tuned = withScale(plain, "equal-19.scl");
    ASSERT_NE(tuned.find("19 equal steps"), std::string::npos) << "the scale did not load";
    EXPECT_EQ(tuned.substr(0, tuned.find("<tuning")), plain) << "the state changed beyond its tuning";
    ASSERT_TRUE(states.write("sine", "tuned", tuned));
    // Under load Ardour may move a note's timing in one export; any export
    // of this snapshot is then a fair reference for Ardour's own save below.
    bool agreed = false;
    const std::vector<Audio> tunedExports = exportsUntilTwoAgree(file("tuned.wav"), "tuned", agreed);
    if (!agreed)
        std::fprintf(stderr, "no two of %zu exports of tuned agreed\n", tunedExports.size());
    const Audio& inTune = tunedExports.back();
    ASSERT_NO_FATAL_FAILURE(expectAudible(inTune));
    const std::vector<double> pitches = heldPitches(leftOf(inTune), kSessionRate);

    ASSERT_NO_FATAL_FAILURE(expectNineteenSteps(equal, pitches));

    // Ardour saves the session itself; its save holds the same state and plays the same.
    const auto resave = session("session-tuning.lua", "resave", file("resaved.txt"));
    ASSERT_NE(resave.output.find("OK resave"), std::string::npos) << resave.output;
    EXPECT_EQ(states.read("tuned"), tuned) << "Ardour saved another state";
    const AudioDifference d = exportAndCompare(tunedExports, file("resaved.wav"), "tuned");
    EXPECT_EQ(d.samples, 0u) << "the session Ardour saved sounds different: " << d.samples << " samples from frame "
                             << d.firstFrame << ", largest difference " << d.largest;
}

void ArdourFixture::expectTuningMessagesRetune()
{
    const SessionMidiRegion region(file("session"), "sine");
    ASSERT_TRUE(region.loaded()) << "no MIDI file read for the region of the snapshot sine";
    const std::vector<MidiNote> notes = region.notes();
    ASSERT_EQ(notes.size(), std::size(kRecordedNotes));
    for (std::size_t k = 0; k < notes.size(); ++k)
        ASSERT_EQ(notes[k].key, kRecordedNotes[k]);
    const MidiNote &held = notes[kHeldNote], &later = notes[kLaterNote];
    const std::vector<MidiFileEvent> messages = {
        {(held.on + held.off) / 2, singleNoteTuning({{held.key, held.key - 1, 12288}, {later.key, later.key, 8192}})},
    };
    ASSERT_TRUE(region.writeWith("mts", messages)) << "cannot write the snapshot with the messages";

    const std::vector<double> equal = heldPitches(leftOf(readWav(file("sine.wav"))), kSessionRate);
    // Pitches alone are compared: where Ardour splits its blocks does not matter, and one export does.
    const auto result = exportTo(file("mts.wav"), "mts");
    ASSERT_EQ(result.status, 0) << result.output;
    const Audio retuned = readWav(file("mts.wav"));
    ASSERT_NO_FATAL_FAILURE(expectAudible(retuned));
    expectRetuned(equal, heldPitches(leftOf(retuned), kSessionRate, kShortestStretch));
}

} // namespace ardourtest
