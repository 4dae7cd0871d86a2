// Grelmond's LV2 build in Ardour, its native format: headless on the Dummy
// backend, a session with the plug-in found through LV2_PATH, programs chosen
// by MIDI program change and edited through the ports, saved, reopened in a
// new process and exported before and after.
#include "RunCommand.h"
#include "TempFolder.h"

#include "storage/BankImage.h"
#include "storage/BankReader.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

namespace fs = std::filesystem;
using testsupport::runCommand;

namespace {

std::string quoted(const std::string& text) { return "'" + text + "'"; }

std::string textOf(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<float> samplesOf(const std::string& path, int& channels) {
  SF_INFO info{};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (file == nullptr)
    return {};
  channels = info.channels;
  std::vector<float> samples(static_cast<std::size_t>(info.frames) * info.channels);
  sf_readf_float(file, samples.data(), info.frames);
  sf_close(file);
  return samples;
}

// The plug-in's state text in the newest state Ardour saved for it.
std::string newestState(const fs::path& session) {
  fs::path newest;
  int newestNumber = -1;
  std::error_code ignored;
  for (const auto& entry : fs::recursive_directory_iterator(session / "plugins", ignored)) {
    const std::string folder = entry.path().parent_path().filename().string();
    if (entry.path().filename() != "state.ttl" || folder.rfind("state", 0) != 0)
      continue;
    const int number = std::atoi(folder.c_str() + 5);
    if (number > newestNumber) {
      newestNumber = number;
      newest = entry.path();
    }
  }
  const std::string ttl = textOf(newest);
  const std::string open = "<urn:zavr:grelmond#bank> \"\"\"";
  const auto start = ttl.find(open);
  const auto end = start == std::string::npos ? start : ttl.find("\"\"\"", start + open.size());
  return end == std::string::npos ? std::string() : ttl.substr(start + open.size(), end - start - open.size());
}

class ArdourLv2Session : public ::testing::Test {
protected:
  void SetUp() override {
    if (!fs::exists("/usr/bin/ardour7-lua") || !fs::exists("/usr/bin/ardour7-export"))
      GTEST_SKIP() << "Ardour 7 is not installed (./run deps installs it): the LV2 session test did not run";
    const std::string home = folder_.file("home");
    fs::create_directories(home + "/.config/ardour7");
    fs::create_directories(folder_.file("lv2"));
    fs::copy(GRELMOND_LV2_BUNDLE, folder_.file("lv2") + "/Grelmond.lv2", fs::copy_options::recursive);
    // The VST 2 build, for the same session played by the other format.
    fs::create_directories(folder_.file("vst"));
    for (const char* name : {"Grelmond.so", "Grelmond.dlx", "GrelmondDefault.grb"})
      fs::copy_file(fs::path(GRELMOND_PLUGIN_DIR) / name, fs::path(folder_.file("vst")) / name);
    // Ardour trusts its scan cache only when it is strictly newer than the plug-in.
    fs::last_write_time(folder_.file("vst") + "/Grelmond.so",
                        fs::file_time_type::clock::now() - std::chrono::minutes(1));
    std::ofstream(home + "/.config/ardour7/config")
        << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Ardour>\n  <Config>\n"
        << "    <Option name=\"hide-dummy-backend\" value=\"0\"/>\n"
        << "    <Option name=\"plugin-path-lxvst\" value=\"" << folder_.file("vst") << "\"/>\n"
        << "  </Config>\n</Ardour>\n";
    // The bundle must find its data files itself.
    env_ = "env -u GRELMOND_INSTALL_PATH -u XDG_DATA_HOME HOME=" + quoted(home) +
           " XDG_CONFIG_HOME=" + quoted(home + "/.config") + " XDG_CACHE_HOME=" + quoted(home + "/.cache") +
           " LV2_PATH=" + quoted(folder_.file("lv2")) + " ";
  }

  testsupport::CommandRun run(const std::string& command, int seconds) {
    return runCommand("timeout " + std::to_string(seconds) + " " + env_ + command + " 2>&1");
  }

  testsupport::CommandRun session(const std::string& mode, const std::string& dump) {
    return run("ardour7-lua " + quoted(std::string(GRELMOND_SOURCE_DIR) + "/tests/ardour/session-lv2.lua") + " " +
                   mode + " " + quoted(folder_.file("session")) + " " + quoted(dump),
               90);
  }

  // An export hangs now and then inside Ardour (a finished one takes seconds): retries.
  bool exportTo(const std::string& wav, const std::string& snapshot = "grelmond") {
    for (int attempt = 0; attempt < 3; ++attempt)
      if (run("ardour7-export -b float -o " + quoted(wav) + " " + quoted(folder_.file("session")) + " " + snapshot,
              45)
              .status == 0)
        return true;
    return false;
  }

  bool scanVst2() {
    const std::string scanner = "/usr/lib/ardour7/ardour-vst-scanner";
    return fs::exists(scanner) &&
           run("LD_LIBRARY_PATH=/usr/lib/ardour7 " + scanner + " -f -v " + quoted(folder_.file("vst") + "/Grelmond.so"),
               60)
                   .status == 0;
  }

  TempFolder folder_;
  std::string env_;
};

TEST_F(ArdourLv2Session, SavedSessionComesBackWithItsProgramsNamesAndSound) {
  const auto make = session("make", folder_.file("saved.txt"));
  ASSERT_NE(make.output.find("OK make"), std::string::npos) << make.output;
  const std::string saved = newestState(folder_.file("session"));
  ASSERT_TRUE(exportTo(folder_.file("before.wav")));
  const auto check = session("check", folder_.file("reopened.txt"));
  ASSERT_NE(check.output.find("OK check"), std::string::npos) << check.output;
  ASSERT_TRUE(exportTo(folder_.file("after.wav")));

  // Every program, every name and the current one come back.
  EXPECT_EQ(newestState(folder_.file("session")), saved);
  EXPECT_NE(saved.find("<current program=\"9\"/>"), std::string::npos) << saved.substr(saved.size() - 60);
  auto image = std::make_unique<grelmond::BankImage>();
  const std::string bank = saved.substr(0, saved.rfind("<current"));
  ASSERT_TRUE(grelmond::readBankText(bank.data(), bank.size(), *image));
  EXPECT_EQ(image->entries[5].values[46], 0.2512f);
  EXPECT_FLOAT_EQ(image->entries[5].values[63], 0.7f);
  EXPECT_FLOAT_EQ(image->entries[5].values[57], 0.4f);
  EXPECT_FLOAT_EQ(image->entries[9].values[29], 0.3f);
  EXPECT_EQ(image->entries[9].values[46], 0.8537f);
  EXPECT_STREQ(image->entries[9].name, "Square Swoop Lead");
  // The ports Ardour holds come back too.
  EXPECT_EQ(textOf(folder_.file("reopened.txt")), textOf(folder_.file("saved.txt")));

  int channels = 0;
  const std::vector<float> before = samplesOf(folder_.file("before.wav"), channels);
  ASSERT_EQ(channels, 2);
  ASSERT_GT(before.size(), 48000u);
  float peak = 0.0f;
  int nonFinite = 0;
  for (const float s : before) {
    nonFinite += std::isfinite(s) ? 0 : 1;
    peak = std::max(peak, std::fabs(s));
  }
  EXPECT_EQ(nonFinite, 0);
  EXPECT_GT(peak, 0.01f) << "the export is silent";
  const std::vector<float> after = samplesOf(folder_.file("after.wav"), channels);
  ASSERT_EQ(after.size(), before.size());
  std::size_t differing = 0, first = before.size();
  for (std::size_t k = 0; k < before.size(); ++k)
    if (after[k] != before[k]) {
      first = std::min(first, k);
      ++differing;
    }
  EXPECT_EQ(differing, 0u) << "the reopened session sounds different from frame " << first / 2;

  // The VST 2 build in the same session, with the same program and edits, sounds the same.
  ASSERT_TRUE(scanVst2());
  const auto vst2 = session("vst2", folder_.file("vst2.txt"));
  ASSERT_NE(vst2.output.find("OK vst2"), std::string::npos) << vst2.output;
  ASSERT_TRUE(exportTo(folder_.file("vst2.wav"), "vst2"));
  EXPECT_EQ(samplesOf(folder_.file("vst2.wav"), channels), before) << "the VST 2 build sounds different";
}

} // namespace
