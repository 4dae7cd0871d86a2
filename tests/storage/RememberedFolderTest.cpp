#include "storage/RememberedFolder.h"

#include "ScopedEnv.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#ifndef _WIN32
#include <sys/stat.h>
#endif

using namespace grelmond;
using Use = RememberedFolder::Use;

TEST(RememberedFolder, FullPathIsRememberedForLaterBareNames) {
  TempFolder install;
  RememberedFolder remembered(install.path());
  EXPECT_EQ(remembered.resolve("/sounds/mine.grb", Use::Load), "/sounds/mine.grb");
  EXPECT_EQ(remembered.resolve("other.grb", Use::Load), "/sounds/other.grb");

  const std::string file = install.read("grldefault.cfg");
  ASSERT_EQ(file.size(), RememberedFolder::kFileSize);
  EXPECT_EQ(std::string(file.c_str()), "/sounds");
  EXPECT_EQ(file.find_first_not_of('\0', 7), std::string::npos) << "the rest is zero bytes";

  // A path whose folder cannot be derived is used as it is and changes nothing.
  EXPECT_EQ(remembered.resolve("/bank.grb", Use::Save), "/bank.grb");
  EXPECT_EQ(remembered.read(), "/sounds");
}

TEST(RememberedFolder, BareNameWithoutAFileRemembersTheInstallationFolder) {
  TempFolder install;
  RememberedFolder remembered(install.path());
  EXPECT_EQ(remembered.resolve("a.grb", Use::Load), std::nullopt) << "the first load by bare name fails";
  EXPECT_EQ(remembered.read(), install.path());
  EXPECT_EQ(remembered.resolve("a.grb", Use::Load), install.file("a.grb"));

  TempFolder other;
  RememberedFolder fresh(other.path());
  EXPECT_EQ(fresh.resolve("b.grb", Use::Save), other.file("b.grb")) << "a save goes on at once";
  EXPECT_EQ(fresh.read(), other.path());
  EXPECT_EQ(fresh.resolve("", Use::Save), std::nullopt);
}

TEST(RememberedFolder, UnwritableInstallationFolderUsesTheUserConfigFolder) {
  TempFolder config;
  ScopedEnv env("XDG_CONFIG_HOME", config.path().c_str());
  RememberedFolder remembered("/nonexistent/grelmond");
  EXPECT_EQ(remembered.filePath(), config.path() + "/Grelmond/grldefault.cfg");
  EXPECT_EQ(remembered.resolve("~/x/y.grb", Use::Save), std::string(std::getenv("HOME")) + "/x/y.grb");
  EXPECT_EQ(remembered.resolve("z.grb", Use::Load), std::string(std::getenv("HOME")) + "/x/z.grb");
  EXPECT_TRUE(std::filesystem::exists(remembered.filePath()));
}

TEST(RememberedFolder, FileContentsAreBounded) {
  TempFolder install;
  RememberedFolder remembered(install.path());
  EXPECT_FALSE(remembered.write(std::string(RememberedFolder::kFileSize, 'x')));
  install.write("grldefault.cfg", std::string(5000, 'y'));
  EXPECT_EQ(remembered.read()->size(), RememberedFolder::kFileSize - 1);
  install.write("grldefault.cfg", std::string("/a\0/b", 5));
  EXPECT_EQ(remembered.read(), "/a");
}

TEST(RememberedFolder, EmptyZeroedOrOddFileRemembersNothing) {
  TempFolder install;
  RememberedFolder remembered(install.path());
  for (const std::string& contents : {std::string(), std::string(RememberedFolder::kFileSize, '\0')}) {
    install.write("grldefault.cfg", contents);
    EXPECT_EQ(remembered.read(), std::nullopt);
    EXPECT_EQ(remembered.resolve("bank.grb", Use::Save), install.file("bank.grb"))
        << "a bare name goes to the installation folder, not to the root";
    install.write("grldefault.cfg", contents);
    EXPECT_EQ(remembered.resolve("bank.grb", Use::Load), std::nullopt);
    EXPECT_EQ(remembered.read(), install.path());
  }

#ifndef _WIN32
  // A FIFO in the file's place would block the reader until someone writes to it.
  std::filesystem::remove(remembered.filePath());
  ASSERT_EQ(mkfifo(remembered.filePath().c_str(), 0666), 0);
  EXPECT_EQ(remembered.read(), std::nullopt);
#endif
}

TEST(RememberedFolder, ZoomIsKeptBesideTheFolderAndNeitherLosesTheOther) {
  TempFolder install;
  RememberedFolder remembered(install.path());
  EXPECT_EQ(remembered.readZoom(), std::nullopt);
  ASSERT_TRUE(remembered.writeZoom(150));
  EXPECT_EQ(remembered.readZoom(), 150);
  EXPECT_EQ(remembered.read(), std::nullopt) << "a zoom alone remembers no folder";

  EXPECT_EQ(remembered.resolve("/sounds/mine.grb", Use::Load), "/sounds/mine.grb");
  EXPECT_EQ(remembered.readZoom(), 150);
  ASSERT_TRUE(remembered.writeZoom(200));
  EXPECT_EQ(remembered.read(), "/sounds");
  EXPECT_EQ(remembered.readZoom(), 200);
  EXPECT_EQ(install.read("grldefault.cfg").size(), RememberedFolder::kFileSize);

  EXPECT_FALSE(remembered.writeZoom(250));
  EXPECT_FALSE(remembered.writeZoom(99));
  EXPECT_EQ(remembered.readZoom(), 200);
}

TEST(RememberedFolder, OddZoomTextsAreIgnored) {
  TempFolder install;
  RememberedFolder remembered(install.path());
  for (const char* text : {"zoom=", "zoom=abc", "zoom=300", "zoom=150x", "size=150"}) {
    std::string contents(RememberedFolder::kFileSize, '\0');
    contents.replace(RememberedFolder::kZoomOffset, std::strlen(text), text);
    install.write("grldefault.cfg", contents);
    EXPECT_EQ(remembered.readZoom(), std::nullopt) << text;
  }
  install.write("grldefault.cfg", std::string(RememberedFolder::kFileSize, 'x')); // no terminator at all
  EXPECT_EQ(remembered.readZoom(), std::nullopt);
}
