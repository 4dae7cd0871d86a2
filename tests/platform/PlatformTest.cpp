#include "platform/AtomicFile.h"
#include "platform/InstallFolder.h"
#include "platform/Paths.h"

#include "ScopedEnv.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <csignal>
#include <iterator>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace grelmond::platform;

TEST(Paths, DirectoryOfSearchesBackToTheSecondCharacter) {
  std::string out = "unchanged";
  EXPECT_TRUE(directoryOf("/home/me/sounds/a.grb", out));
  EXPECT_EQ(out, "/home/me/sounds");
  out = "unchanged";
  EXPECT_FALSE(directoryOf("/bank.grb", out));
  EXPECT_FALSE(directoryOf("bank.grb", out));
  EXPECT_EQ(out, "unchanged");
}

TEST(Paths, FullPathsAndHome) {
  EXPECT_TRUE(isFullPath("~/x"));
  EXPECT_FALSE(isFullPath("~x"));
  EXPECT_FALSE(isFullPath("C:\\x"));
  EXPECT_EQ(joinPath("", "b.grb"), "/b.grb") << "no installation folder means the root";
  ScopedEnv home("HOME", "/home/me/");
  EXPECT_EQ(expandHome("~/s/a.grb"), "/home/me/s/a.grb");
}

TEST(InstallFolder, EnvironmentFirstThenTheLoadedLibrary) {
  {
    ScopedEnv env("GRELMOND_INSTALL_PATH", "/opt/grelmond/");
    EXPECT_EQ(installFolder(), "/opt/grelmond");
    char buffer[256];
    EXPECT_TRUE(readInstallPath(buffer, sizeof buffer));
    EXPECT_STREQ(buffer, "/opt/grelmond");
    char small[8] = "junk";
    EXPECT_FALSE(readInstallPath(small, sizeof small));
    EXPECT_STREQ(small, "");
    EXPECT_FALSE(readInstallPath(nullptr, 4));
  }
  ScopedEnv env("GRELMOND_INSTALL_PATH", nullptr);
  // The tests link the code statically, so the "library" is this program.
  const std::string self = std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
  EXPECT_EQ(std::filesystem::canonical(installFolder()), std::filesystem::canonical(self));
}

TEST(AtomicFile, ReplacesWholeFilesOnly) {
  TempFolder folder;
  const std::string path = folder.file("bank.grb");
  ASSERT_TRUE(writeFileAtomically(path, "first"));
  chmod(path.c_str(), 0640);
  ASSERT_TRUE(writeFileAtomically(path, "second"));
  EXPECT_EQ(folder.read("bank.grb"), "second");
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u) << "a replaced file keeps its permissions";

  // Writing through a link replaces the file it points to.
  ASSERT_EQ(symlink(path.c_str(), folder.file("link.grb").c_str()), 0);
  ASSERT_TRUE(writeFileAtomically(folder.file("link.grb"), "third"));
  EXPECT_EQ(folder.read("bank.grb"), "third");
  EXPECT_TRUE(std::filesystem::is_symlink(folder.file("link.grb")));

  EXPECT_FALSE(writeFileAtomically(folder.file("missing/bank.grb"), "x"));
  EXPECT_FALSE(writeFileAtomically(folder.path(), "x")) << "a folder is not replaced";
  EXPECT_FALSE(writeFileAtomically("", "x"));
  int files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path()))
    ++files;
  EXPECT_EQ(files, 2) << "no temporary file is left behind";
}

TEST(AtomicFile, FailedWriteKeepsTheOldFile) {
  TempFolder folder;
  folder.write("bank.grb", "old");
  // A file size limit makes the write fail part way, even for root.
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 100;
  setrlimit(RLIMIT_FSIZE, &small);
  const bool written = writeFileAtomically(folder.file("bank.grb"), std::string(1000, 'x'));
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, oldHandler);

  EXPECT_FALSE(written);
  EXPECT_EQ(folder.read("bank.grb"), "old");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1) << "no temporary file is left";
}
