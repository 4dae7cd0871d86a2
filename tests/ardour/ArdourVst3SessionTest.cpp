// Grelmond's VST 3 bundle in a real host: Ardour, headless on its Dummy
// backend, scans the bundle, makes a session with it, saves it, reopens it in
// a new process and exports it before and after.
#include "RunCommand.h"
#include "TempFolder.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using testsupport::runCommand;

namespace {

std::string firstExisting(const std::string& before, const std::string& after)
{
    for (int version = 9; version >= 6; --version) {
        const std::string path = before + std::to_string(version) + after;
        if (fs::exists(path))
            return path;
    }
    return {};
}

std::string shellQuoted(const std::string& text) { return "'" + text + "'"; }

// A dump's lines by label: "live" and "programN" hold 64 numbers, "nameN" a name.
struct Dump {
    std::map<std::string, std::vector<double>> values;
    std::map<std::string, std::string> names;
};

Dump readDump(const std::string& path)
{
    Dump dump;
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
        for (double v; fields >> v;)
            dump.values[label].push_back(v);
    }
    return dump;
}

std::vector<float> readWav(const std::string& path)
{
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr)
        return {};
    std::vector<float> samples(static_cast<std::size_t>(info.frames) * info.channels);
    sf_readf_float(file, samples.data(), info.frames);
    sf_close(file);
    return samples;
}

class ArdourVst3Session : public ::testing::Test {
protected:
    void SetUp() override
    {
        lua_ = firstExisting("/usr/bin/ardour", "-lua");
        export_ = firstExisting("/usr/bin/ardour", "-export");
        scanner_ = firstExisting("/usr/lib/ardour", "/ardour-vst3-scanner");
        if (lua_.empty() || export_.empty() || scanner_.empty())
            GTEST_SKIP() << "Ardour is not installed (./run deps installs it): the VST 3 session test did not run";
        const std::string home = folder_.file("home");
        const std::string vst3 = home + "/.vst3"; // a folder Ardour always searches
        fs::create_directories(home);
        fs::create_directories(vst3);
        fs::copy(GRELMOND_VST3_BUNDLE, fs::path(vst3) / "Grelmond.vst3", fs::copy_options::recursive);
        bundle_ = vst3 + "/Grelmond.vst3";
        // Ardour trusts its scan cache only when it is strictly newer (in whole
        // seconds) than the bundle, and the scan happens within this second.
        const auto past = fs::file_time_type::clock::now() - std::chrono::minutes(1);
        for (const auto& entry : fs::recursive_directory_iterator(bundle_))
            fs::last_write_time(entry.path(), past);
        fs::last_write_time(bundle_, past);
        const std::string name = fs::path(lua_).filename().string(); // "ardour7-lua"
        const std::string config = home + "/.config/" + name.substr(0, name.find('-'));
        fs::create_directories(config);
        std::ofstream(config + "/config") << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Ardour>\n  <Config>\n"
                                          << "    <Option name=\"hide-dummy-backend\" value=\"0\"/>\n"
                                          << "    <Option name=\"plugin-path-vst3\" value=\"" << vst3 << "\"/>\n"
                                          << "  </Config>\n</Ardour>\n";
        // The bundle finds its data in its own Resources folder.
        env_ = "env -u GRELMOND_INSTALL_PATH -u XDG_CONFIG_HOME -u XDG_CACHE_HOME -u XDG_DATA_HOME HOME=" +
               shellQuoted(home) + " ";
    }

    testsupport::CommandRun run(const std::string& command, int seconds = 60)
    {
        return runCommand("timeout " + std::to_string(seconds) + " " + env_ + command + " 2>&1");
    }

    testsupport::CommandRun session(const std::string& mode, const std::string& dump)
    {
        return run(shellQuoted(lua_) + " " + shellQuoted(std::string(GRELMOND_SOURCE_DIR) + "/tests/ardour/session-vst3.lua") +
                   " " + mode + " " + shellQuoted(folder_.file("session")) + " " + shellQuoted(dump));
    }

    // Ardour's export hangs now and then after "Writing": one retry.
    testsupport::CommandRun exportTo(const std::string& wav)
    {
        const std::string command =
            shellQuoted(export_) + " -b float -o " + shellQuoted(wav) + " " + shellQuoted(folder_.file("session")) + " grelmond";
        // About one export in thirty hangs inside Ardour after "Writing"; a
        // finished one takes seconds.
        testsupport::CommandRun result = run(command, 60);
        for (int retry = 0; retry < 2 && result.status != 0; ++retry)
            result = run(command, 60);
        return result;
    }

    TempFolder folder_;
    std::string lua_, export_, scanner_, env_, bundle_;
};

} // namespace

TEST_F(ArdourVst3Session, SavedSessionComesBackWithEveryProgramItsNamesAndTheSameSound)
{
    const auto scan = run("LD_LIBRARY_PATH=" + fs::path(scanner_).parent_path().string() + " " + shellQuoted(scanner_) +
                          " " + shellQuoted(bundle_));
    ASSERT_EQ(scan.status, 0) << scan.output;

    const std::string saved = folder_.file("saved.txt"), reopened = folder_.file("reopened.txt");
    const auto make = session("make", saved);
    ASSERT_NE(make.output.find("OK make"), std::string::npos) << make.output;
    const auto before = exportTo(folder_.file("before.wav"));
    ASSERT_EQ(before.status, 0) << before.output;
    const auto check = session("check", reopened);
    ASSERT_NE(check.output.find("OK check"), std::string::npos) << check.output;
    const auto after = exportTo(folder_.file("after.wav"));
    ASSERT_EQ(after.status, 0) << after.output;

    const Dump first = readDump(saved), second = readDump(reopened);
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

    const std::vector<float> a = readWav(folder_.file("before.wav")), b = readWav(folder_.file("after.wav"));
    ASSERT_GT(a.size(), 96000u);
    float peak = 0.0f;
    for (float s : a)
        peak = std::max(peak, std::isfinite(s) ? std::fabs(s) : 1e9f);
    EXPECT_GT(peak, 0.01f) << "the export is silent";
    EXPECT_LT(peak, 1e9f) << "the export holds NaN or infinity";
    std::size_t differing = 0;
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        differing += a[i] != b[i] ? 1 : 0;
    EXPECT_EQ(a.size(), b.size());
    EXPECT_EQ(differing, 0u) << "the reopened session sounds different";
}
