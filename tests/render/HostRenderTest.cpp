#include "RunCommand.h"
#include "TestPaths.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

using HostRun = testsupport::CommandRun;

HostRun host(const std::string& args)
{
    const std::string command = std::string(testpaths::binDir()) + "/grelmond-host " + args + " " +
                                testpaths::pluginPath() + " 2>&1";
    return testsupport::runCommand(command);
}

struct Wav {
    SF_INFO info{};
    std::vector<float> samples;
};

Wav readWav(const std::string& path)
{
    Wav wav;
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &wav.info);
    if (file == nullptr)
        return wav;
    wav.samples.resize(static_cast<size_t>(wav.info.frames * wav.info.channels));
    sf_readf_float(file, wav.samples.data(), wav.info.frames);
    sf_close(file);
    return wav;
}

std::string tempPath(const char* name)
{
    return (std::filesystem::temp_directory_path() / (std::to_string(getpid()) + name)).string();
}

} // namespace

TEST(HostRender, WritesStereoWavOfRequestedLengthAndFormat)
{
    const std::string out = tempPath("-host.wav");
    HostRun run = host("--notes 0:60:100:0.2 --seconds 0.5 --rate 48000 --block 100 --render " + out);
    ASSERT_EQ(run.status, 0) << run.output;
    Wav wav = readWav(out);
    EXPECT_EQ(wav.info.channels, 2);
    EXPECT_EQ(wav.info.samplerate, 48000);
    EXPECT_EQ(wav.info.frames, 24000);
    EXPECT_EQ(wav.info.format & SF_FORMAT_SUBMASK, SF_FORMAT_FLOAT);
    EXPECT_NE(run.output.find("nan 0  inf 0"), std::string::npos) << run.output;

    run = host("--notes 0:60:100:0.2 --seconds 0.25 --format 24 --process accumulate --render " + out);
    ASSERT_EQ(run.status, 0) << run.output;
    wav = readWav(out);
    EXPECT_EQ(wav.info.format & SF_FORMAT_SUBMASK, SF_FORMAT_PCM_24);
    EXPECT_EQ(wav.info.frames, 11025);
    std::remove(out.c_str());
}

TEST(HostRender, MidiFileRoundTripPlaysTheSameScore)
{
    const std::string mid = tempPath("-score.mid");
    const std::string a = tempPath("-a.wav"), b = tempPath("-b.wav");
    const std::string notes = "--notes 0:64:100:0.3,0.1:67:90:0.3,0.35:72:127:0.1 --seconds 1";
    ASSERT_EQ(host(notes + " --save-midi " + mid + " --render " + a).status, 0);
    ASSERT_EQ(host("--midi " + mid + " --seconds 1 --render " + b).status, 0);
    const Wav wa = readWav(a), wb = readWav(b);
    ASSERT_EQ(wa.samples.size(), wb.samples.size());
    float worst = 0.0f;
    for (size_t i = 0; i < wa.samples.size(); ++i)
        worst = std::max(worst, std::abs(wa.samples[i] - wb.samples[i]));
    EXPECT_LT(worst, 1e-6f);
    for (const auto& p : {mid, a, b})
        std::remove(p.c_str());
}

TEST(HostRender, BenchReportsRealTimeFactorAndBadInputIsRefused)
{
    HostRun run = host("--bench --notes 0:60:100:0.1 --seconds 0.2");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("Frames         8820"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("Real-time"), std::string::npos);

    for (const char* bad : {"--notes 0:60:100 --bench", "--notes 0:200:100:1 --bench", "--notes x:60:100:1 --bench",
                            "--midi /nonexistent.mid --bench", "--process sideways --bench", "--param 3 --bench"})
        EXPECT_NE(host(bad).status, 0) << bad;
}
