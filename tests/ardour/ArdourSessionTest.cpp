// Grelmond in a real host: Ardour, headless on its Dummy backend, makes a
// session with the plug-in, saves it, reopens it in a new process and exports
// it before and after.
#include "RunCommand.h"
#include "TempFolder.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using testsupport::runCommand;

namespace {

// The first of Ardour's versioned tools that is installed, or "".
std::string ardourTool(const std::string& suffix)
{
    for (int version = 9; version >= 6; --version) {
        const std::string path = "/usr/bin/ardour" + std::to_string(version) + suffix;
        if (fs::exists(path))
            return path;
    }
    return {};
}

std::string scannerPath()
{
    for (int version = 9; version >= 6; --version) {
        const std::string path = "/usr/lib/ardour" + std::to_string(version) + "/ardour-vst-scanner";
        if (fs::exists(path))
            return path;
    }
    return {};
}

std::string shellQuoted(const std::string& text) { return "'" + text + "'"; }

// Rows of a values dump by label ("live", "program0" ...), each 64 numbers.
std::map<std::string, std::vector<double>> readDump(const std::string& path)
{
    std::map<std::string, std::vector<double>> rows;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string label;
        fields >> label;
        std::vector<double> values;
        for (double v; fields >> v;)
            values.push_back(v);
        rows[label] = values;
    }
    return rows;
}

struct Audio {
    std::vector<float> samples;
    int channels = 0;
};

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

class ArdourSession : public ::testing::Test {
protected:
    void SetUp() override
    {
        lua_ = ardourTool("-lua");
        export_ = ardourTool("-export");
        scanner_ = scannerPath();
        if (lua_.empty() || export_.empty() || scanner_.empty())
            GTEST_SKIP() << "Ardour is not installed (./run deps installs it): the real-host session test did not run";

        // A home of its own: Ardour's settings, plug-in cache and session stay in here.
        const std::string home = folder_.file("home");
        const std::string vst = folder_.file("vst");
        fs::create_directories(home + "/.config/ardour" + version() + "");
        fs::create_directories(vst);
        for (const char* name : {"Grelmond.so", "Grelmond.dlx", "GrelmondDefault.grb"})
            fs::copy_file(fs::path(GRELMOND_PLUGIN_DIR) / name, fs::path(vst) / name);
        // Ardour trusts its scan cache only when it is strictly newer (in whole
        // seconds) than the plug-in, and the scan happens within this second.
        fs::last_write_time(fs::path(vst) / "Grelmond.so", fs::file_time_type::clock::now() - std::chrono::minutes(1));
        std::ofstream(home + "/.config/ardour" + version() + "/config")
            << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Ardour>\n  <Config>\n"
            << "    <Option name=\"hide-dummy-backend\" value=\"0\"/>\n"
            << "    <Option name=\"plugin-path-lxvst\" value=\"" << vst << "\"/>\n"
            << "  </Config>\n</Ardour>\n";
        env_ = "env HOME=" + shellQuoted(home) + " XDG_CONFIG_HOME=" + shellQuoted(home + "/.config") +
               " XDG_CACHE_HOME=" + shellQuoted(home + "/.cache") + " GRELMOND_INSTALL_PATH=" + shellQuoted(vst) + " ";
        plugin_ = vst + "/Grelmond.so";
    }

    // "7" of ardour7-lua.
    std::string version() const
    {
        const std::string name = fs::path(lua_).filename().string();
        return name.substr(6, name.find('-') - 6);
    }

    testsupport::CommandRun run(const std::string& command, int seconds = 60)
    {
        return runCommand("timeout " + std::to_string(seconds) + " " + env_ + command + " 2>&1");
    }

    // The session script in one of its modes, writing a values dump.
    testsupport::CommandRun session(const std::string& mode, const std::string& dump)
    {
        return run(shellQuoted(lua_) + " " + shellQuoted(std::string(GRELMOND_SOURCE_DIR) + "/tests/ardour/session.lua") + " " +
                   mode + " " + shellQuoted(folder_.file("session")) + " " + shellQuoted(dump));
    }

    testsupport::CommandRun exportTo(const std::string& wav)
    {
        // About one export in thirty hangs inside Ardour after "Writing"; a
        // finished one takes seconds.
        const std::string command =
            shellQuoted(export_) + " -b float -o " + shellQuoted(wav) + " " + shellQuoted(folder_.file("session")) + " grelmond";
        testsupport::CommandRun result = run(command, 60);
        for (int retry = 0; retry < 2 && result.status != 0; ++retry)
            result = run(command, 60);
        return result;
    }

    TempFolder folder_;
    std::string lua_, export_, scanner_, env_, plugin_;
};

TEST_F(ArdourSession, SavedSessionComesBackWithEveryProgramAndTheSameSound)
{
    // Ardour reads plug-ins from its scan cache; its scanner fills that.
    const auto scan = run("LD_LIBRARY_PATH=" + fs::path(scanner_).parent_path().string() + " " + shellQuoted(scanner_) +
                          " -f -v " + shellQuoted(plugin_));
    ASSERT_EQ(scan.status, 0) << scan.output;
    ASSERT_NE(scan.output.find("can_process_replace=\"1\""), std::string::npos) << scan.output;

    const std::string saved = folder_.file("saved.txt");
    const std::string reopened = folder_.file("reopened.txt");
    const auto make = session("make", saved);
    ASSERT_EQ(make.status, 0) << make.output;
    ASSERT_NE(make.output.find("OK make"), std::string::npos) << make.output;
    const auto before = exportTo(folder_.file("before.wav"));
    ASSERT_EQ(before.status, 0) << before.output;
    const auto check = session("check", reopened);
    ASSERT_EQ(check.status, 0) << check.output;
    ASSERT_NE(check.output.find("OK check"), std::string::npos) << check.output;
    const auto after = exportTo(folder_.file("after.wav"));
    ASSERT_EQ(after.status, 0) << after.output;

    // Every parameter of every program, and the current program live.
    auto first = readDump(saved);
    auto second = readDump(reopened);
    ASSERT_EQ(first.size(), 65u);
    for (const auto& [label, values] : first) {
        ASSERT_EQ(values.size(), 64u) << label;
        EXPECT_EQ(second[label], values) << label;
    }
    EXPECT_EQ(second["live"], first["program9"]) << "program 9 is current after the reopen";
    EXPECT_NE(first["program9"], first["program0"]);
    EXPECT_FLOAT_EQ(second["program9"][46], 0.85f);
    EXPECT_FLOAT_EQ(second["program9"][29], 0.3f);
    EXPECT_FLOAT_EQ(second["program5"][46], 0.25f);
    EXPECT_FLOAT_EQ(second["program5"][63], 0.7f);

    // The same sound before and after, not silent, all finite.
    const Audio a = readWav(folder_.file("before.wav"));
    const Audio b = readWav(folder_.file("after.wav"));
    ASSERT_EQ(a.channels, 2);
    ASSERT_GT(a.samples.size(), 48000u);
    float peak = 0.0f;
    int nonFinite = 0;
    for (float s : a.samples) {
        nonFinite += std::isfinite(s) ? 0 : 1;
        peak = std::max(peak, std::fabs(s));
    }
    EXPECT_EQ(nonFinite, 0);
    EXPECT_GT(peak, 0.01f) << "the export is silent";
    // Ardour may split its process calls differently from one export to the
    // next, which still moves a few samples where a controller falls inside a
    // block: a mismatch is reported, then the reopened session exported again.
    auto differences = [&a](const Audio& other, std::size_t& firstDiff, float& largest) {
        std::size_t differing = 0;
        firstDiff = a.samples.size();
        largest = 0.0f;
        for (std::size_t i = 0; i < a.samples.size() && i < other.samples.size(); ++i) {
            if (a.samples[i] == other.samples[i])
                continue;
            ++differing;
            firstDiff = std::min(firstDiff, i);
            largest = std::max(largest, std::fabs(a.samples[i] - other.samples[i]));
        }
        return differing + (a.samples.size() != other.samples.size() ? 1 : 0);
    };
    std::size_t firstDiff = 0;
    float largest = 0.0f;
    std::size_t differing = differences(b, firstDiff, largest);
    if (differing != 0) {
        std::fprintf(stderr, "export after the reopen differs in %zu samples from frame %zu (largest %g); exporting again\n",
                     differing, firstDiff / 2, largest);
        ASSERT_EQ(exportTo(folder_.file("again.wav")).status, 0);
        differing = differences(readWav(folder_.file("again.wav")), firstDiff, largest);
    }
    EXPECT_EQ(differing, 0u) << "the reopened session sounds different: " << differing << " samples from frame "
                             << firstDiff / 2 << ", largest difference " << largest;
}

} // namespace
