// The bundle as Debian's LV2 tools see it.
#include "Lv2TestPaths.h"
#include "RunCommand.h"
#include "TestPaths.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>

namespace {

using testsupport::runCommand;

bool haveTool(const char* name) { return runCommand(std::string("command -v ") + name + " >/dev/null").status == 0; }

int countMatches(const std::string& text, const std::string& pattern) {
  const std::regex re(pattern);
  return static_cast<int>(std::distance(std::sregex_iterator(text.begin(), text.end(), re), std::sregex_iterator()));
}

// Ports whose lv2info entry names both types, in whatever order it lists them.
int portsOfKind(const std::string& info, const std::string& direction, const std::string& type) {
  int count = 0;
  std::size_t start = info.find("\tPort ");
  while (start != std::string::npos) {
    const std::size_t next = info.find("\tPort ", start + 1);
    const std::string entry = info.substr(start, next == std::string::npos ? std::string::npos : next - start);
    count += entry.find(direction) != std::string::npos && entry.find(type) != std::string::npos;
    start = next;
  }
  return count;
}

std::string fileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(Lv2Bundle, ValidatesWithoutErrorsOrWarnings) {
  if (!haveTool("lv2_validate") || !haveTool("sord_validate"))
    GTEST_SKIP() << "lv2_validate or sord_validate is not installed";
  const auto run = runCommand("cd '" + lv2Bundle() + "' && lv2_validate *.ttl 2>&1");
  EXPECT_NE(run.output.find("Found 0 errors"), std::string::npos) << run.output;
  EXPECT_EQ(countMatches(run.output, "(^|\\n)(warning|error)"), 0) << run.output;
}

TEST(Lv2Bundle, HostsListItsPortsAndPresets) {
  if (!haveTool("lv2info") || !haveTool("lv2ls"))
    GTEST_SKIP() << "lilv-utils is not installed";
  const Lv2PathFolder lv2Path;
  EXPECT_EQ(runCommand(lv2Path.command("lv2ls")).output, "urn:zavr:grelmond\n");

  const auto info = runCommand(lv2Path.command("lv2info urn:zavr:grelmond"));
  ASSERT_EQ(info.status, 0) << info.output;
  EXPECT_EQ(portsOfKind(info.output, "#InputPort", "#ControlPort"), 64);
  EXPECT_EQ(portsOfKind(info.output, "#InputPort", "atom#AtomPort"), 1);
  EXPECT_EQ(portsOfKind(info.output, "#OutputPort", "#AudioPort"), 2);
  EXPECT_NE(info.output.find("Sub Sine Bass"), std::string::npos);
  EXPECT_TRUE(std::regex_search(info.output, std::regex("Author: +Zavr\\n"))) << "hosts show the maintainer as author";
  EXPECT_EQ(info.output.find("error"), std::string::npos) << info.output;
}

// The build installs what the generator writes: nothing edited by hand, nothing stale.
TEST(Lv2Bundle, InstalledDescriptionsAreTheGeneratorsOutput) {
  const TempFolder out;
  const auto run = runCommand(std::string(testpaths::binDir()) + "/lv2ttl '" + testpaths::sourceDir() +
                              "/resources/GrelmondDefault.grb' '" + out.path() + "'");
  ASSERT_EQ(run.status, 0);
  for (const char* name : {"manifest.ttl", "Grelmond.ttl", "presets.ttl"}) {
    const std::string generated = out.read(name);
    EXPECT_FALSE(generated.empty()) << name;
    EXPECT_EQ(generated, fileText(lv2Bundle() + "/" + name)) << name;
  }
}

TEST(Lv2Bundle, GeneratorRefusesWhatIsNoBank) {
  const TempFolder out;
  out.write("bad.grb", "<bank product=\"other\">");
  const std::string tool = std::string(testpaths::binDir()) + "/lv2ttl";
  EXPECT_EQ(runCommand(tool + " '" + out.file("bad.grb") + "' '" + out.path() + "' 2>/dev/null").status, 1);
  EXPECT_EQ(runCommand(tool + " '" + out.file("missing.grb") + "' '" + out.path() + "' 2>/dev/null").status, 1);
  EXPECT_EQ(runCommand(tool + " 2>/dev/null").status, 2);
  EXPECT_TRUE(out.read("manifest.ttl").empty());
}

TEST(Lv2Bundle, CarriesTheDataFilesBesideTheDescriptions) {
  EXPECT_EQ(fileText(lv2Bundle() + "/GrelmondDefault.grb"),
            fileText(std::string(testpaths::sourceDir()) + "/resources/GrelmondDefault.grb"));
  EXPECT_EQ(fileText(lv2Bundle() + "/Grelmond.dlx").size(), 15u * 99225u * 2u);
}

} // namespace
