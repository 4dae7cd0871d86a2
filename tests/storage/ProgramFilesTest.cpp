#include "storage/ProgramFiles.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <future>
#include <string>
#ifndef _WIN32
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#endif

using namespace grelmond;

namespace {

std::string bankWithPatches(int count, const std::string& number = "1") {
  std::string text = "<bank product=\"grelmond\" version=\"1.0\">\n";
  for (int k = 0; k < count; ++k)
    text += "<patch name=\"File " + std::to_string(k) + "\" number=\"" + number +
            "\"><p i=\"volume\">0.125</p><p i=\"amp velo\">0.875</p></patch>\n";
  return text + "</bank>\n";
}

class ProgramFilesTest : public ::testing::Test {
protected:
  // 64 programs with distinct values and names "Mine n"; copies kept in old.
  void SetUp() override {
    for (int k = 0; k < ProgramBank::kNumPrograms; ++k) {
      auto program = std::make_unique<Program>();
      for (ParameterId id = 0; id < kNumParameters; ++id)
        program->setValue(id, float((k + id) % 10) / 10.0f);
      program->setName(("Mine " + std::to_string(k)).c_str());
      old[k] = *program;
      programs.replace(k, std::move(program));
    }
  }
  bool unchanged(int k) const { return old[k] == *programs.program(k); }

  TempFolder install;
  ProgramFiles files{install.path()};
  ProgramBank programs;
  Program old[ProgramBank::kNumPrograms];
};

} // namespace

TEST_F(ProgramFilesTest, BankLoadOverwritesTheFilesPatchesInPlace) {
  install.write("ten.grb", bankWithPatches(10));
  const Program* record = programs.program(3);
  ASSERT_TRUE(files.loadBank(programs, install.file("ten.grb").c_str()));

  EXPECT_EQ(programs.program(3), record) << "the audio thread may be writing into a record";
  EXPECT_STREQ(programs.program(9)->name(), "File 9");
  EXPECT_EQ(programs.program(9)->value(63), 0.125f);
  EXPECT_EQ(programs.program(9)->value(37), 0.875f) << "\"amp velo\" is parameter 37";
  EXPECT_EQ(programs.program(9)->value(36), old[9].value(36));
  EXPECT_EQ(programs.program(9)->value(1), old[9].value(1)) << "keys a patch lacks keep their values";
  for (int k = 10; k < 64; ++k)
    EXPECT_TRUE(unchanged(k)) << k;
}

TEST_F(ProgramFilesTest, FailedLoadsChangeNothing) {
  std::string broken = bankWithPatches(3);
  install.write("broken.grb", broken.substr(0, broken.size() - 10));
  install.write("many.grb", bankWithPatches(65));

  EXPECT_FALSE(files.loadBank(programs, install.file("broken.grb").c_str()));
  EXPECT_FALSE(files.loadBank(programs, install.file("many.grb").c_str()));
  EXPECT_FALSE(files.loadPatch(programs, install.file("broken.grb").c_str()));
  EXPECT_FALSE(files.loadBank(programs, nullptr));
  for (int k = 0; k < 64; ++k)
    EXPECT_TRUE(unchanged(k)) << k;
}

TEST_F(ProgramFilesTest, PatchLoadFillsTheCurrentProgram) {
  install.write("p.grp", bankWithPatches(2, "12"));
  programs.setCurrentIndex(5);
  ASSERT_TRUE(files.loadPatch(programs, install.file("p.grp").c_str()));
  EXPECT_STREQ(programs.program(5)->name(), "File 0");
  EXPECT_EQ(programs.program(5)->value(63), 0.125f);
  EXPECT_EQ(programs.program(5)->value(1), old[0].value(1)) << "missing keys come from the first program";
  EXPECT_TRUE(unchanged(0));
  EXPECT_TRUE(unchanged(11));
}

TEST_F(ProgramFilesTest, SavedBanksAndPatchesLoadBack) {
  char name[256] = "mine.grb";
  ASSERT_TRUE(files.saveBank(programs, name, sizeof name));
  ProgramBank loaded;
  ASSERT_TRUE(files.loadBank(loaded, "mine.grb"));
  EXPECT_STREQ(loaded.program(7)->name(), "Mine 7");
  EXPECT_NEAR(loaded.program(7)->value(20), old[7].value(20), 1e-6);

  programs.setCurrentIndex(2);
  char patch[256] = "one.grp";
  ASSERT_TRUE(files.savePatch(programs, patch, sizeof patch));
  EXPECT_NE(install.read("one.grp").find("name=\"Mine 2\" number=\"0\""), std::string::npos);
  loaded.setCurrentIndex(40);
  ASSERT_TRUE(files.loadPatch(loaded, "one.grp"));
  EXPECT_STREQ(loaded.program(40)->name(), "Mine 2");

  char unwritable[64] = "/nonexistent-folder/x.grb";
  EXPECT_FALSE(files.saveBank(programs, unwritable, sizeof unwritable));
}

#ifndef _WIN32
// FIFOs and device nodes are POSIX's; Windows has neither in a folder.
TEST_F(ProgramFilesTest, NamesThatAreNotRegularFilesAreRefused) {
  const std::string fifo = install.file("fifo.grb");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0666), 0);
  auto load = std::async(std::launch::async, [&] { return files.loadBank(programs, fifo.c_str()); });
  const bool finished = load.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
  if (!finished) {
    // Let a load stuck in the FIFO see its end, so the test can report.
    const int writer = open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
    if (writer >= 0)
      close(writer);
  }
  EXPECT_TRUE(finished) << "loading a FIFO blocked";
  EXPECT_FALSE(load.get());

  char name[256] = "fifo.grb";
  EXPECT_FALSE(files.saveBank(programs, name, sizeof name));
  EXPECT_FALSE(files.savePatch(programs, name, sizeof name));
  EXPECT_EQ(std::filesystem::status(fifo).type(), std::filesystem::file_type::fifo);

  const std::string device = install.file("null.grb");
  if (mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) {
    char deviceName[256];
    std::snprintf(deviceName, sizeof deviceName, "%s", device.c_str());
    EXPECT_FALSE(files.saveBank(programs, deviceName, sizeof deviceName));
    EXPECT_FALSE(files.loadBank(programs, device.c_str()));
    EXPECT_EQ(std::filesystem::status(device).type(), std::filesystem::file_type::character);
  }
  for (int k = 0; k < 64; ++k)
    EXPECT_TRUE(unchanged(k)) << k;
}
#endif
