#include "FormatComparison.h"

#include "RunCommand.h"
#include "TestPaths.h"

#include <gtest/gtest.h>
#include <sndfile.h>
#include <smf.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <unistd.h>

namespace vst3test {

const char* vst2Path() { return testpaths::pluginPath(); }
const char* vst3Path() { return GRELMOND_VST3_BUNDLE; }

std::string tempPath(const std::string& name)
{
    return (std::filesystem::temp_directory_path() / ("grelmond-vst3-" + std::to_string(getpid()) + "-" + name)).string();
}

int runHost(const std::string& args, const std::string& plugin, std::string* output)
{
    // The bundle must find its data in its own Resources folder.
    const std::string command = "env -u GRELMOND_INSTALL_PATH " + std::string(testpaths::binDir()) +
                                "/grelmond-host " + args + " " + plugin + " 2>&1";
    testsupport::CommandRun run = testsupport::runCommand(command);
    if (output != nullptr)
        *output = run.output;
    return run.status;
}

Render render(const std::string& args, const std::string& plugin)
{
    static int counter = 0;
    const std::string out = tempPath("render" + std::to_string(++counter) + ".wav");
    Render result;
    result.status = runHost(args + " --render " + out, plugin, &result.output);
    SF_INFO info{};
    if (SNDFILE* file = sf_open(out.c_str(), SFM_READ, &info)) {
        result.rate = info.samplerate;
        result.samples.resize(static_cast<size_t>(info.frames * info.channels));
        sf_readf_float(file, result.samples.data(), info.frames);
        sf_close(file);
    }
    std::filesystem::remove(out);
    return result;
}

std::vector<char> readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeBytes(const std::string& path, const std::vector<char>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void writeMidiFile(const std::string& path, const std::vector<Message>& messages)
{
    smf_t* smf = smf_new();
    EXPECT_EQ(smf_set_ppqn(smf, 960), 0);
    smf_track_t* track = smf_track_new();
    smf_add_track(smf, track);
    for (const Message& m : messages) {
        smf_event_t* event = smf_event_new_from_bytes(m.status, m.data1, m.data2);
        smf_track_add_event_seconds(track, event, m.seconds);
    }
    EXPECT_EQ(smf_save(smf, path.c_str()), 0);
    smf_delete(smf);
}

std::string firstDifference(const Render& a, const Render& b)
{
    if (a.samples.size() != b.samples.size())
        return "lengths differ: " + std::to_string(a.samples.size()) + " and " + std::to_string(b.samples.size());
    std::size_t count = 0, first = a.samples.size();
    for (std::size_t i = 0; i < a.samples.size(); ++i)
        if (std::memcmp(&a.samples[i], &b.samples[i], sizeof(float)) != 0) {
            ++count;
            first = std::min(first, i);
        }
    if (count == 0)
        return "";
    return std::to_string(count) + " samples differ, the first at frame " + std::to_string(first / 2) + " (" +
           std::to_string(a.samples[first]) + " and " + std::to_string(b.samples[first]) + ")";
}

} // namespace vst3test
