#include "PitchProbe.h"
#include "PluginLoader.h"
#include "SoundMeasures.h"
#include "TempFolder.h"
#include "TestPaths.h"

#include "engine/ProcProcessor.h"
#include "params/ParameterTable.h"
#include "storage/BankReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

using namespace vst;
using grelmond::BankImage;
using grelmond::ParameterList;
using testsupport::PluginInstance;
using testsupport::PluginLoader;
using testsupport::ScriptedHost;

namespace {

constexpr float kRate = 44100.0f;
constexpr int kBlock = 512;
constexpr double kHeldSeconds = 3.0;
constexpr double kConcertA = 440.0;

std::string installedBank() { return std::string(testpaths::pluginDir()) + "/GrelmondDefault.grb"; }

std::string fileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

float value(const BankImage& image, int program, grelmond::ParameterId id)
{
    return image.entries[program].values[ParameterList::positionOf(id)];
}

// Envelope time in seconds of a normalised time value, as the parameter setter converts it.
double envelopeSeconds(float v)
{
    const float t0 = 2.0f * v - std::log10(v + 1.0f) / std::log10(2.0f);
    const float t = t0 * t0;
    const int i = std::clamp(static_cast<int>(t * 4095.0f), 0, 4095);
    const double curve = (std::pow(4096.0, i / 4096.0) - 1.0) / 4096.0;
    return std::trunc(3000.0 * curve) / 100.0;
}

double decibels(double x) { return 20.0 * std::log10(std::max(x, 1e-12)); }

// One instance of the installed plug-in played block by block, as a host at
// 120 BPM would.
class Player {
public:
    explicit Player(PluginLoader& loader)
    {
        time_.sampleRate = kRate;
        time_.tempo = 120.0;
        time_.timeSigNumerator = time_.timeSigDenominator = 4;
        time_.flags = kVstTransportPlaying | kVstTempoValid;
        host_.timeInfo = &time_;
        instance_ = loader.create(&host_);
        if (!instance_)
            return;
        instance_->dispatch(effOpen);
        instance_->dispatch(effSetSampleRate, 0, 0, nullptr, kRate);
        instance_->dispatch(effSetBlockSize, 0, kBlock);
        instance_->dispatch(effMainsChanged, 0, 1);
    }
    bool ok() const { return instance_ != nullptr; }
    PluginInstance& plugin() { return *instance_; }

    void notes(const std::vector<int>& keys, bool on)
    {
        std::vector<VstMidiEvent> midi(keys.size());
        std::vector<char> storage(sizeof(VstEvents) + keys.size() * sizeof(VstEvent*));
        auto* list = reinterpret_cast<VstEvents*>(storage.data());
        list->numEvents = static_cast<VstInt32>(keys.size());
        for (size_t i = 0; i < keys.size(); ++i) {
            midi[i] = VstMidiEvent{};
            midi[i].type = kVstMidiType;
            midi[i].byteSize = sizeof(VstMidiEvent);
            midi[i].midiData[0] = static_cast<char>(on ? 0x90 : 0x80);
            midi[i].midiData[1] = static_cast<char>(keys[i]);
            midi[i].midiData[2] = static_cast<char>(on ? 100 : 0);
            list->events[i] = reinterpret_cast<VstEvent*>(&midi[i]);
        }
        instance_->dispatch(effProcessEvents, 0, 0, list);
    }

    // Renders whole blocks until `seconds` of sound exist; both channels interleaved.
    void renderUntil(double seconds)
    {
        float l[kBlock], r[kBlock];
        float* outputs[2] = {l, r};
        AEffect* e = instance_->effect();
        while (static_cast<double>(frames()) < seconds * kRate) {
            time_.samplePos = static_cast<double>(frames());
            e->processReplacing(e, nullptr, outputs, kBlock);
            for (int i = 0; i < kBlock; ++i) {
                sound.push_back(l[i]);
                sound.push_back(r[i]);
            }
        }
    }
    size_t frames() const { return sound.size() / 2; }

    std::vector<float> sound;

private:
    VstTimeInfo time_{};
    ScriptedHost host_;
    std::unique_ptr<PluginInstance> instance_;
};

struct Measure {
    double peak = 0.0, sumSquares = 0.0;
    size_t count = 0, nonFinite = 0;
    void add(const std::vector<float>& x, size_t from, size_t to)
    {
        for (size_t i = from; i < std::min(to, x.size()); ++i) {
            if (!std::isfinite(x[i])) {
                ++nonFinite;
                continue;
            }
            peak = std::max(peak, static_cast<double>(std::abs(x[i])));
            sumSquares += static_cast<double>(x[i]) * x[i];
            ++count;
        }
    }
    double rms() const { return count ? std::sqrt(sumSquares / count) : 0.0; }
};

} // namespace

TEST(FactoryBank, HoldsSixtyFourNamedPatchesThatShowTheWholeInstrument)
{
    const std::string text = fileText(installedBank());
    size_t patches = 0;
    for (size_t at = text.find("<patch "); at != std::string::npos; at = text.find("<patch ", at + 1))
        ++patches;
    EXPECT_EQ(patches, 64u);

    BankImage image;
    ASSERT_TRUE(grelmond::readBank(installedBank(), image));
    std::set<int> functions, shapes, copies;
    std::set<std::string> names;
    for (int p = 0; p < grelmond::kBankPatches; ++p) {
        const std::string name = image.entries[p].name;
        EXPECT_FALSE(name.empty()) << "program " << p + 1;
        EXPECT_LE(name.size(), 23u) << name;
        names.insert(name);
        functions.insert(grelmond::ProcProcessor::functionIndex(value(image, p, 57)));
        for (grelmond::ParameterId osc : {0, 4, 8}) {
            if (value(image, p, osc + 3) > 0.0f)
                shapes.insert(std::min(3, static_cast<int>(value(image, p, osc) * 3.1f)));
        }
        copies.insert(static_cast<int>(10.0f * value(image, p, 28) + 0.1f));
    }
    EXPECT_EQ(names.size(), 64u) << "program names repeat";
    EXPECT_EQ(functions.size(), 26u) << "every proc function appears";
    EXPECT_EQ(shapes.size(), 4u) << "every wave shape sounds somewhere";
    EXPECT_EQ(copies.size(), 11u) << "the ensemble appears with 0 to 10 copies";
}

TEST(FactoryBank, FileAndPresetListAreWhatTheDesignsWrite)
{
    TempFolder folder;
    const std::string out = folder.file("bank.grb");
    const std::string command = std::string(testpaths::binDir()) + "/bankgen " + out;
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(fileText(out), fileText(std::string(testpaths::sourceDir()) + "/resources/GrelmondDefault.grb"))
        << "resources/GrelmondDefault.grb is out of date: regenerate it with bankgen";
    EXPECT_EQ(fileText(out), fileText(installedBank()));

    const std::string list = folder.file("presets.md");
    ASSERT_EQ(std::system((std::string(testpaths::binDir()) + "/bankgen --presets > " + list).c_str()), 0);
    EXPECT_EQ(fileText(list), fileText(std::string(testpaths::sourceDir()) + "/docs/presets.md"))
        << "docs/presets.md is out of date: regenerate it with bankgen --presets";
}

// Every program plays a four-note chord at velocity 100 for three seconds. It
// must sound, stay finite and within the level rules (peak -18 to -1 dBFS),
// reach -20 +/- 3 LUFS of momentary loudness while held, with DC 40 dB below
// its RMS, and the bank's loudness must sit in a 12 dB window. Then the global
// effects are switched off so only voices remain: they must all have ended one
// second after the program's release time.
TEST(FactoryBank, EveryProgramPlaysAtItsLevelAndLeavesNoVoiceBehind)
{
    PluginLoader loader;
    ASSERT_TRUE(loader.loaded()) << loader.error();
    BankImage image;
    ASSERT_TRUE(grelmond::readBank(installedBank(), image));

    const std::vector<int> chord = {60, 64, 67, 71};
    double quietest = 1.0, loudest = 0.0;
    for (int p = 0; p < grelmond::kBankPatches; ++p) {
        const std::string name = image.entries[p].name;
        SCOPED_TRACE("program " + std::to_string(p + 1) + " " + name);
        Player player(loader);
        ASSERT_TRUE(player.ok());
        player.plugin().dispatch(effSetProgram, 0, p);
        EXPECT_EQ(player.plugin().text(effGetProgramNameIndexed, p), name) << "the installed bank was loaded";

        player.notes(chord, true);
        player.renderUntil(kHeldSeconds);
        const double lufs = bankmeter::momentaryMaxLufs(player.sound, kRate);
        EXPECT_GE(lufs, -23.0) << "momentary loudness of the held chord, LUFS";
        EXPECT_LE(lufs, -17.0) << "momentary loudness of the held chord, LUFS";
        EXPECT_LT(bankmeter::dcRelativeDb(player.sound), -40.0) << "DC relative to RMS, dB";
        player.notes(chord, false);
        player.renderUntil(kHeldSeconds + 1.5);
        Measure played;
        played.add(player.sound, 0, player.sound.size());
        Measure level; // the first 3.5 s, so that short sounds are not judged by the silence after them
        level.add(player.sound, 0, static_cast<size_t>(3.5 * kRate) * 2);
        EXPECT_EQ(played.nonFinite, 0u);
        EXPECT_GE(decibels(played.peak), -18.0);
        EXPECT_LE(decibels(played.peak), -1.0);
        quietest = std::min(quietest, level.rms());
        loudest = std::max(loudest, level.rms());

        for (int fx : {22, 28, 31, 50, 54})
            player.plugin().setParameter(fx, 0.0f);
        const double ended = kHeldSeconds + envelopeSeconds(value(image, p, 62)) + 1.0;
        const size_t from = std::max(player.frames(), static_cast<size_t>(ended * kRate)) * 2;
        player.renderUntil(from / 2.0 / kRate + 0.25);
        Measure after;
        after.add(player.sound, from, player.sound.size());
        EXPECT_EQ(after.nonFinite, 0u);
        EXPECT_LT(after.peak, 1e-7) << "a voice still sounds " << ended - kHeldSeconds << " s after the note-off";
    }
    EXPECT_LE(decibels(loudest) - decibels(quietest), 12.0)
        << "bank loudness from " << decibels(quietest) << " to " << decibels(loudest) << " dBFS";
}

// A4, note 69, sounds at 440 Hz in every program, as in every other instrument
// of a session: the program's lowest oscillator, heard alone and dry, is
// within 3 cents of it (and not an octave off either way).
TEST(FactoryBank, EveryProgramPlaysA4AtConcertPitch)
{
    PluginLoader loader;
    ASSERT_TRUE(loader.loaded()) << loader.error();
    for (int p = 0; p < grelmond::kBankPatches; ++p) {
        Player player(loader);
        ASSERT_TRUE(player.ok());
        player.plugin().dispatch(effSetProgram, 0, p);
        SCOPED_TRACE("program " + std::to_string(p + 1) + " " + player.plugin().programName());
        const auto probe = bankmeter::pitchProbe([&](int i) { return player.plugin().getParameter(i); });
        for (const auto& [index, v] : probe)
            player.plugin().setParameter(index, v);
        player.notes({69}, true);
        player.renderUntil(2.0);
        std::vector<float> mono(player.frames());
        for (size_t i = 0; i < mono.size(); ++i)
            mono[i] = 0.5f * (player.sound[2 * i] + player.sound[2 * i + 1]);
        const double hz = bankmeter::fundamentalNear(mono, kRate, kConcertA, static_cast<size_t>(kRate), mono.size());
        EXPECT_NEAR(bankmeter::cents(hz, kConcertA), 0.0, 3.0) << "A4 plays " << hz << " Hz (0: not near 440 Hz)";
    }
}
