#include "storage/ProgramFiles.h"

#include "params/InitProgram.h"
#include "storage/BankWriter.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace grelmond;

namespace {

// 64 programs with distinct values and names "Mine n".
void fillPrograms(ProgramBank& programs) {
  for (int k = 0; k < ProgramBank::kNumPrograms; ++k) {
    auto program = std::make_unique<Program>();
    for (ParameterId id = 0; id < kNumParameters; ++id)
      program->setValue(id, float((k + id) % 10) / 10.0f);
    program->setName(("Mine " + std::to_string(k)).c_str());
    programs.replace(k, std::move(program));
  }
}

std::string bankWithPatches(int count, const std::string& number = "1") {
  std::string text = "<bank product=\"grelmond\" version=\"1.0\">\n";
  for (int k = 0; k < count; ++k)
    text += "<patch name=\"File " + std::to_string(k) + "\" number=\"" + number +
            "\">\n\t<p i=\"volume\">0.125</p>\n\t<p i=\"amp velo\">0.875</p>\n</patch>\n";
  return text + "</bank>\n";
}

struct Snapshot {
  explicit Snapshot(const ProgramBank& programs) {
    for (int k = 0; k < ProgramBank::kNumPrograms; ++k)
      copies[k] = *programs.program(k);
  }
  bool matches(const ProgramBank& programs) const {
    for (int k = 0; k < ProgramBank::kNumPrograms; ++k)
      if (!(copies[k] == *programs.program(k)))
        return false;
    return true;
  }
  Program copies[ProgramBank::kNumPrograms];
};

class ProgramFilesTest : public ::testing::Test {
protected:
  void SetUp() override { fillPrograms(programs); }

  TempFolder install;
  ProgramFiles files{install.path()};
  ProgramBank programs;
};

} // namespace

TEST_F(ProgramFilesTest, BankLoadOverwritesTheFilesPatchesInPlace) {
  install.write("ten.grb", bankWithPatches(10));
  const Program* before = programs.program(3);
  const Snapshot old(programs);
  ASSERT_TRUE(files.loadBank(programs, install.file("ten.grb").c_str()));

  EXPECT_EQ(programs.program(3), before) << "records are kept, not reallocated";
  EXPECT_STREQ(programs.program(9)->name(), "File 9");
  EXPECT_EQ(programs.program(9)->value(63), 0.125f);
  EXPECT_EQ(programs.program(9)->value(37), 0.875f) << "\"amp velo\" is parameter 37";
  EXPECT_EQ(programs.program(9)->value(36), old.copies[9].value(36));
  EXPECT_EQ(programs.program(9)->value(1), old.copies[9].value(1)) << "keys a patch lacks keep their values";
  for (int k = 10; k < 64; ++k)
    EXPECT_TRUE(old.copies[k] == *programs.program(k)) << k;
}

TEST_F(ProgramFilesTest, FailedLoadsChangeNothing) {
  const Snapshot old(programs);
  std::string broken = bankWithPatches(3);
  broken.resize(broken.size() - 10);
  install.write("broken.grb", broken);
  install.write("many.grb", bankWithPatches(65));

  EXPECT_FALSE(files.loadBank(programs, install.file("broken.grb").c_str()));
  EXPECT_FALSE(files.loadBank(programs, install.file("many.grb").c_str()));
  EXPECT_FALSE(files.loadBank(programs, install.file("missing.grb").c_str()));
  EXPECT_FALSE(files.loadPatch(programs, install.file("broken.grb").c_str()));
  EXPECT_FALSE(files.loadBank(programs, nullptr));
  EXPECT_TRUE(old.matches(programs));
}

TEST_F(ProgramFilesTest, PatchLoadFillsTheCurrentProgram) {
  install.write("p.grp", bankWithPatches(2, "12"));
  programs.setCurrentIndex(5);
  const Snapshot old(programs);
  ASSERT_TRUE(files.loadPatch(programs, install.file("p.grp").c_str()));
  EXPECT_STREQ(programs.program(5)->name(), "File 0");
  EXPECT_EQ(programs.program(5)->value(63), 0.125f);
  EXPECT_EQ(programs.program(5)->value(1), old.copies[0].value(1)) << "missing keys come from the first program";
  EXPECT_TRUE(old.copies[0] == *programs.program(0));
  EXPECT_TRUE(old.copies[11] == *programs.program(11));
}

TEST_F(ProgramFilesTest, SavesRoundTripThroughTheRememberedFolder) {
  char name[256] = "mine.grb";
  ASSERT_TRUE(files.saveBank(programs, name, sizeof name));
  EXPECT_EQ(std::string(name), install.file("mine.grb")) << "a bare name reports the path used";
  EXPECT_EQ(std::string(install.read("grldefault.cfg").c_str()), install.path());

  ProgramBank loaded;
  fillPrograms(loaded);
  loaded.program(7)->setValue(20, 0.0f);
  loaded.program(7)->setName("Changed");
  ASSERT_TRUE(files.loadBank(loaded, "mine.grb"));
  EXPECT_STREQ(loaded.program(7)->name(), "Mine 7");
  EXPECT_NEAR(loaded.program(7)->value(20), programs.program(7)->value(20), 1e-6);

  TempFolder elsewhere;
  programs.setCurrentIndex(2);
  char patchPath[256];
  std::snprintf(patchPath, sizeof patchPath, "%s", elsewhere.file("one.grp").c_str());
  ASSERT_TRUE(files.savePatch(programs, patchPath, sizeof patchPath));
  EXPECT_EQ(std::string(patchPath), elsewhere.file("one.grp")) << "a full path is left as typed";
  EXPECT_NE(elsewhere.read("one.grp").find("name=\"Mine 2\" number=\"0\""), std::string::npos);

  loaded.setCurrentIndex(40);
  ASSERT_TRUE(files.loadPatch(loaded, "one.grp")) << "the folder of the last full path is remembered";
  EXPECT_STREQ(loaded.program(40)->name(), "Mine 2");

  char unwritable[64] = "/nonexistent-folder/x.grb";
  EXPECT_FALSE(files.saveBank(programs, unwritable, sizeof unwritable));
}

TEST_F(ProgramFilesTest, DefaultBankWithFewerPatchesFillsTheRestWithDefaults) {
  install.write("GrelmondDefault.grb", bankWithPatches(3));
  EXPECT_EQ(files.defaultBankPath(), install.file("GrelmondDefault.grb"));
  ProgramBank fresh;
  const InitProgram init;
  ASSERT_TRUE(ProgramFiles::loadBankFile(fresh, files.defaultBankPath().c_str(), init));
  EXPECT_STREQ(fresh.program(2)->name(), "File 2");
  EXPECT_EQ(fresh.program(2)->value(63), 0.125f);
  EXPECT_EQ(fresh.program(2)->value(35), init.value(35));
  EXPECT_STREQ(fresh.program(3)->name(), "Grelmond 4");
  EXPECT_STREQ(fresh.program(63)->name(), "Grelmond 64");
  for (ParameterId id = 0; id < kNumParameters; ++id)
    EXPECT_EQ(fresh.program(63)->value(id), init.value(id));

  ProgramBank untouched;
  EXPECT_FALSE(ProgramFiles::loadBankFile(untouched, nullptr, init));
  EXPECT_FALSE(ProgramFiles::loadBankFile(untouched, install.file("missing.grb").c_str(), init));
  EXPECT_EQ(untouched.program(0), nullptr);
}
