#include "engine/EngineHolder.h"
#include "engine/Keygroup.h"
#include "engine/SampleStore.h"
#include "engine/Waveform.h"
#include "engine/WaveformSet.h"

#include "TestPaths.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <future>
#include <sys/stat.h>
#include <fstream>
#include <unistd.h>
#include <vector>

using grelmond::EngineHolder;
using grelmond::Waveform;
using grelmond::WaveformSet;

namespace {

std::filesystem::path scratchRoot() {
    return std::filesystem::temp_directory_path() / ("grelmond-wave-" + std::to_string(::getpid()));
}

std::filesystem::path scratchFolder(const char* name) {
    auto dir = scratchRoot() / name;
    std::filesystem::create_directories(dir);
    return dir;
}

struct ScratchCleanup : ::testing::Environment {
    void TearDown() override { std::filesystem::remove_all(scratchRoot()); }
};
const auto* cleanup = ::testing::AddGlobalTestEnvironment(new ScratchCleanup);

void writeFile(const std::filesystem::path& p, std::size_t bytes, unsigned char fill) {
    std::ofstream out(p, std::ios::binary);
    std::vector<char> data(bytes, static_cast<char>(fill));
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
}

} // namespace

TEST(WaveformSet, SineAndLoopLengthsWithoutAFile) {
    EngineHolder engine;
    engine.loadWaveforms(scratchFolder("empty").string());
    const Waveform* sine = engine.waveforms().at(0);
    const int16_t expected[] = {0, 332, 662, 990, 1315};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(sine->samples()[i], expected[i]);
    EXPECT_EQ(sine->loopLength(), 99223);
    EXPECT_EQ(sine->sampleRate(), 44100);
    int peak = 0;
    for (int i = 0; i < Waveform::length; ++i) peak = std::max(peak, std::abs(int(sine->samples()[i])));
    EXPECT_LE(peak, 5300);
    EXPECT_GE(peak, 5290);
    for (int k = 1; k < WaveformSet::count; ++k) {
        const Waveform* w = engine.waveforms().at(k);
        EXPECT_LT(w->loopLength(), Waveform::length - 1);
        for (int i = 0; i < Waveform::length; i += 997) EXPECT_EQ(w->samples()[i], 0);
    }
    EXPECT_EQ(engine.waveforms().at(9)->loopLength(), 70678);
}

TEST(WaveformSet, ReadsLittleEndianBlocksAndToleratesShortFiles) {
    auto dir = scratchFolder("short");
    // One and a half blocks of 0x0201 = 513.
    writeFile(dir / WaveformSet::fileName, Waveform::length * 3, 0);
    {
        std::fstream f(dir / WaveformSet::fileName, std::ios::in | std::ios::out | std::ios::binary);
        const char bytes[2] = {1, 2};
        f.write(bytes, 2);
        f.seekp(Waveform::length * 2);
        f.write(bytes, 2);
    }
    EngineHolder engine;
    engine.loadWaveforms(dir.string() + "//");
    EXPECT_EQ(engine.waveforms().at(1)->samples()[0], 513);
    EXPECT_EQ(engine.waveforms().at(2)->samples()[0], 513);
    EXPECT_EQ(engine.waveforms().at(3)->samples()[0], 0);
    EXPECT_EQ(WaveformSet::filePath("/opt//grel/"), "/opt/grel/Grelmond.dlx");
}

TEST(WaveformSet, FullFileFillsEveryWaveform) {
    auto dir = scratchFolder("full");
    writeFile(dir / WaveformSet::fileName, WaveformSet::fileBytes, 0xff);
    EngineHolder engine;
    engine.loadWaveforms(dir.string());
    for (int k = 1; k < WaveformSet::count; ++k) {
        EXPECT_EQ(engine.waveforms().at(k)->samples()[0], -1);
        EXPECT_EQ(engine.waveforms().at(k)->samples()[Waveform::length - 1], -1);
    }
}

#ifndef _WIN32 // FIFOs are a POSIX matter
TEST(WaveformSet, NonRegularFilesAreRefusedAtOnceAndLeaveTheSine) {
    auto fifoDir = scratchFolder("fifo");
    const auto fifo = fifoDir / WaveformSet::fileName;
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    auto dirDir = scratchFolder("folder");
    std::filesystem::create_directories(dirDir / WaveformSet::fileName);
    EngineHolder reference;
    reference.loadWaveforms(scratchFolder("none").string());
    for (const auto& dir : {fifoDir, dirDir}) {
        SCOPED_TRACE(dir.string());
        EngineHolder engine;
        auto loading = std::async(std::launch::async, [&] { engine.loadWaveforms(dir.string()); });
        const bool prompt = loading.wait_for(std::chrono::seconds(1)) == std::future_status::ready;
        if (!prompt) {
            // A reader blocked on the FIFO is released by a writer coming and going.
            const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) ::close(fd);
        }
        loading.wait();
        EXPECT_TRUE(prompt);
        for (int k = 0; k < WaveformSet::count; ++k)
            for (int i = 0; i < Waveform::length; i += 997)
                ASSERT_EQ(engine.waveforms().at(k)->samples()[i], reference.waveforms().at(k)->samples()[i]);
    }
}
#endif

TEST(SampleStore, VoicesHoldWaveformReferencesAndSlotsRunOut) {
    EngineHolder engine;
    grelmond::SampleStore& store = *engine.store();
    EXPECT_EQ(engine.waveforms().at(5)->users(), 1);
    grelmond::Voice* a = store.createVoice(100, 60, 0);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(engine.waveforms().at(5)->users(), 2);
    store.destroyVoice(a);
    store.destroyVoice(a); // twice is harmless
    EXPECT_EQ(engine.waveforms().at(5)->users(), 1);
    std::vector<grelmond::Voice*> voices;
    for (int i = 0; i < grelmond::SampleStore::voiceSlots; ++i) voices.push_back(store.createVoice(1, 60, 0));
    for (auto* v : voices) EXPECT_NE(v, nullptr);
    EXPECT_EQ(store.createVoice(1, 60, 0), nullptr);
    EXPECT_EQ(engine.waveforms().at(0)->users(), 1 + grelmond::SampleStore::voiceSlots);
}

// The file the build writes beside the plug-in.
class GeneratedWaveforms : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::path p = std::filesystem::path(testpaths::pluginDir()) / WaveformSet::fileName;
        ASSERT_TRUE(std::filesystem::exists(p));
        fileSize = std::filesystem::file_size(p);
        engine.loadWaveforms(testpaths::pluginDir());
    }

    // Frequency at 44.1 kHz from positive-going zero crossings over one loop.
    static double frequency(const Waveform& w) {
        const int16_t* s = w.samples();
        double first = -1.0, last = -1.0;
        int crossings = 0;
        for (int i = 1; i < w.loopLength(); ++i) {
            if (s[i - 1] < 0 && s[i] >= 0) {
                double t = i - 1 + double(-s[i - 1]) / (s[i] - s[i - 1]);
                if (first < 0) first = t;
                last = t;
                ++crossings;
            }
        }
        return (crossings - 1) * 44100.0 / (last - first);
    }

    std::uintmax_t fileSize = 0;
    EngineHolder engine;
};

TEST_F(GeneratedWaveforms, SizeLevelAndTuning) {
    EXPECT_EQ(fileSize, std::uintmax_t(WaveformSet::fileBytes));
    const int references[] = {45, 57, 69, 81, 93};
    const double sineRms = 5300.0 / std::sqrt(2.0);
    for (int k = 1; k < WaveformSet::count; ++k) {
        const Waveform& w = *engine.waveforms().at(k);
        double target = 440.0 * std::pow(2.0, (references[(k - 1) % 5] - 57) / 12.0);
        double cents = 1200.0 * std::log2(frequency(w) / target);
        EXPECT_LT(std::fabs(cents), 2.0) << "waveform " << k;
        double sum = 0;
        for (int i = 0; i < w.loopLength(); ++i) sum += double(w.samples()[i]) * w.samples()[i];
        EXPECT_NEAR(std::sqrt(sum / w.loopLength()), sineRms, sineRms * 0.01) << "waveform " << k;
    }
}

TEST_F(GeneratedWaveforms, LoopsAreSeamless) {
    for (int k = 1; k < WaveformSet::count; ++k) {
        const Waveform& w = *engine.waveforms().at(k);
        const int16_t* s = w.samples();
        int L = w.loopLength();
        // What the oscillator reads across the wrap continues what it read before it.
        for (int i = 0; i < 2; ++i) EXPECT_NEAR(s[L + i], s[i], 2) << "waveform " << k;
        int jump = std::abs(s[L] - s[L - 1]);
        int typical = 0;
        for (int i = 1; i < L; ++i) typical = std::max(typical, std::abs(s[i] - s[i - 1]));
        EXPECT_LE(jump, typical) << "waveform " << k;
    }
}
