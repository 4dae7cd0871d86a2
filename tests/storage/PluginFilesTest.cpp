#include "formats/vst2/SynthPlugin.h"

#include "ScopedEnv.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

using namespace grelmond;

namespace {

std::string bank(int patches, float volume) {
  std::string text = "<bank product=\"grelmond\" version=\"1.0\">\n";
  for (int k = 0; k < patches; ++k)
    text += "<patch name=\"File " + std::to_string(k) + "\" number=\"1\"><p i=\"volume\">" +
            std::to_string(volume) + "</p></patch>\n";
  return text + "</bank>\n";
}

std::string nameOf(SynthPlugin& plugin, int index) {
  char text[64] = {};
  plugin.getProgramNameIndexed(0, index, text);
  return text;
}

} // namespace

TEST(PluginFiles, DefaultBankFromTheInstallationFolder) {
  TempFolder install;
  ScopedEnv env("GRELMOND_INSTALL_PATH", install.path().c_str());
  install.write("GrelmondDefault.grb", bank(3, 0.25f));
  SynthPlugin plugin(nullptr);
  EXPECT_EQ(nameOf(plugin, 2), "File 2");
  EXPECT_EQ(nameOf(plugin, 3), "Grelmond 4") << "programs the bank lacks are defaults";
  EXPECT_FLOAT_EQ(plugin.getParameter(63), 0.25f) << "program 0 is applied";
  plugin.setProgram(3);
  EXPECT_FLOAT_EQ(plugin.getParameter(35), 0.3f) << "with the default values";

  install.write("GrelmondDefault.grb", "<bank broken");
  SynthPlugin fallback(nullptr);
  EXPECT_EQ(nameOf(fallback, 0), "Grelmond 1");
}

TEST(PluginFiles, LoadsReselectTheCurrentProgramAndFailuresChangeNothing) {
  TempFolder install;
  ScopedEnv env("GRELMOND_INSTALL_PATH", install.path().c_str());
  SynthPlugin plugin(nullptr);
  plugin.setProgram(2);
  install.write("loud.grb", bank(5, 0.875f));
  ASSERT_TRUE(plugin.loadBank(install.file("loud.grb").c_str()));
  EXPECT_EQ(plugin.getProgram(), 2);
  EXPECT_FLOAT_EQ(plugin.getParameter(63), 0.875f);

  install.write("quiet.grp", bank(1, 0.125f));
  ASSERT_TRUE(plugin.loadPatch("quiet.grp")) << "the folder of the last full path is remembered";
  EXPECT_EQ(nameOf(plugin, 2), "File 0");
  EXPECT_FLOAT_EQ(plugin.getParameter(63), 0.125f);

  EXPECT_FALSE(plugin.loadBank("missing.grb"));
  EXPECT_FALSE(plugin.loadPatch(nullptr));
  EXPECT_EQ(nameOf(plugin, 2), "File 0");

  char name[256] = "saved.grb";
  ASSERT_TRUE(plugin.saveBank(name, sizeof name));
  EXPECT_EQ(std::string(name), install.file("saved.grb"));
  EXPECT_TRUE(plugin.savePatch(name, sizeof name));
}
