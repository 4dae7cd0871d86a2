#include "ArdourFixture.h"

#include <sndfile.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
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
    AudioDifference d;
    for (int attempt = 0; attempt < 2; ++attempt) {
        const auto result = exportTo(wav, snapshot);
        EXPECT_EQ(result.status, 0) << result.output;
        d = compareAudio(reference, readWav(wav));
        if (d.samples == 0)
            break;
        std::fprintf(stderr, "export of %s differs in %zu samples from frame %zu (largest %g)\n", snapshot.c_str(),
                     d.samples, d.firstFrame, static_cast<double>(d.largest));
    }
    return d;
}

Audio ArdourFixture::settledExport(const std::string& wav, const std::string& snapshot)
{
    std::vector<Audio> exports;
    for (int attempt = 0; attempt < 3; ++attempt) {
        const std::string path = attempt == 0 ? wav : wav + "." + std::to_string(attempt) + ".wav";
        const auto result = exportTo(path, snapshot);
        EXPECT_EQ(result.status, 0) << result.output;
        exports.push_back(readWav(path));
        for (std::size_t k = 0; k + 1 < exports.size(); ++k)
            if (compareAudio(exports[k], exports.back()).samples == 0)
                return exports.back();
    }
    ADD_FAILURE() << "three exports of " << snapshot << " all differ";
    return exports.front();
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

} // namespace ardourtest
