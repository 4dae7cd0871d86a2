// Grelmond's LV2 build in Ardour, its native format: headless on the Dummy
// backend, a session with the plug-in found through LV2_PATH, programs chosen
// by MIDI program change and edited through the ports, saved, reopened in a
// new process and exported before and after; with a scale in the plug-in's
// saved state it plays in tune, also after Ardour saved it; tuning messages in
// its MIDI region retune the notes they name.
#include "ArdourFixture.h"

#include "storage/BankImage.h"
#include "storage/BankReader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace fs = std::filesystem;

namespace ardourtest {
namespace {

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
  const std::string ttl = textOf(newest.string());
  const std::string open = "<urn:zavr:grelmond#bank> \"\"\"";
  const auto start = ttl.find(open);
  const auto end = start == std::string::npos ? start : ttl.find("\"\"\"", start + open.size());
  return end == std::string::npos ? std::string() : ttl.substr(start + open.size(), end - start - open.size());
}

class ArdourLv2Session : public ArdourFixture {
protected:
  void SetUp() override {
    ArdourFixture::SetUp();
    if (IsSkipped())
      return;
    installLv2(); // the bundle must find its data files itself
    installVst2(); // for the same session played by the other format
  }
};

TEST_F(ArdourLv2Session, SavedSessionComesBackWithItsProgramsNamesSoundAndTuning) {
  const auto make = session("session-lv2.lua", "make", file("saved.txt"));
  ASSERT_NE(make.output.find("OK make"), std::string::npos) << make.output;
  const std::string saved = newestState(file("session"));
  const Audio before = settledExport(file("before.wav"));
  const auto check = session("session-lv2.lua", "check", file("reopened.txt"));
  ASSERT_NE(check.output.find("OK check"), std::string::npos) << check.output;

  // Every program, every name and the current one come back.
  EXPECT_EQ(newestState(file("session")), saved);
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
  EXPECT_EQ(textOf(file("reopened.txt")), textOf(file("saved.txt")));

  ASSERT_NO_FATAL_FAILURE(expectAudible(before));
  const AudioDifference reopenedSound = exportAndCompare(before, file("after.wav"), "grelmond");
  EXPECT_EQ(reopenedSound.samples, 0u) << "the reopened session sounds different from frame "
                                       << reopenedSound.firstFrame;

  // The VST 2 build in the same session, with the same program and edits, sounds the same.
  const auto scan = scanVst2();
  ASSERT_EQ(scan.status, 0) << scan.output;
  const auto vst2 = session("session-lv2.lua", "vst2", file("vst2.txt"));
  ASSERT_NE(vst2.output.find("OK vst2"), std::string::npos) << vst2.output;
  const AudioDifference d = exportAndCompare(before, file("vst2.wav"), "vst2");
  EXPECT_EQ(d.samples, 0u) << "the VST 2 build sounds different: " << d.samples << " samples from frame "
                           << d.firstFrame << ", largest difference " << d.largest;

  ASSERT_NO_FATAL_FAILURE(expectSessionComesBackInTune(PluginFormat::Lv2));
  expectTuningMessagesRetune();
}

} // namespace
} // namespace ardourtest
