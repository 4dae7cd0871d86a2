#include "platform/AtomicFile.h"
#include "platform/InstallFolder.h"
#include "platform/Paths.h"
#include "platform/RegularFile.h"

#include "ScopedEnv.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <optional>
#include <string>
#include <csignal>
#include <iterator>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
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

TEST(AtomicFile, DanglingLinksAreWrittenThroughAndKept) {
  TempFolder folder;
  std::filesystem::create_directories(folder.file("synced"));
  // Absolute, relative and a chain of two, none of whose ends exists yet.
  ASSERT_EQ(symlink(folder.file("synced/a.grb").c_str(), folder.file("a.grb").c_str()), 0);
  ASSERT_EQ(symlink("synced/b.grb", folder.file("b.grb").c_str()), 0);
  ASSERT_EQ(symlink("b.grb", folder.file("c.grb").c_str()), 0);
  ASSERT_TRUE(writeFileAtomically(folder.file("a.grb"), "a"));
  ASSERT_TRUE(writeFileAtomically(folder.file("c.grb"), "c"));
  EXPECT_EQ(folder.read("synced/a.grb"), "a");
  EXPECT_EQ(folder.read("synced/b.grb"), "c");
  for (const char* link : {"a.grb", "b.grb", "c.grb"})
    EXPECT_TRUE(std::filesystem::is_symlink(folder.file(link))) << link;

  // Into a missing folder, or round in a loop: refused, the links untouched.
  ASSERT_EQ(symlink(folder.file("gone/d.grb").c_str(), folder.file("d.grb").c_str()), 0);
  ASSERT_EQ(symlink("f.grb", folder.file("e.grb").c_str()), 0);
  ASSERT_EQ(symlink("e.grb", folder.file("f.grb").c_str()), 0);
  EXPECT_FALSE(writeFileAtomically(folder.file("d.grb"), "d"));
  EXPECT_FALSE(writeFileAtomically(folder.file("e.grb"), "e"));
  EXPECT_TRUE(std::filesystem::is_symlink(folder.file("d.grb")));
  EXPECT_FALSE(std::filesystem::exists(folder.file("gone")));
  EXPECT_TRUE(std::filesystem::is_symlink(folder.file("e.grb")));
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

namespace {

std::filesystem::file_type typeOf(const std::string& path) { return std::filesystem::symlink_status(path).type(); }

int entryCount(const std::string& folder) {
  return int(std::distance(std::filesystem::directory_iterator(folder), {}));
}

// Runs check as an ordinary user: as this process when it is one, otherwise in
// a child that has given up root for "nobody". Nullopt when neither is possible.
std::optional<int> exitCodeAsOrdinaryUser(uid_t uid, gid_t gid, const std::function<int()>& check) {
  if (geteuid() != 0)
    return check();
  const pid_t child = fork();
  if (child < 0)
    return std::nullopt;
  if (child == 0) {
    if (setgroups(0, nullptr) != 0 || setgid(gid) != 0 || setuid(uid) != 0 || geteuid() == 0)
      _exit(100);
    _exit(check());
  }
  int status = 0;
  if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) == 100)
    return std::nullopt;
  return WEXITSTATUS(status);
}

} // namespace

TEST(AtomicFile, OnlyRegularFilesAreReplaced) {
  TempFolder folder;
  const std::string fifo = folder.file("fifo.grb");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0666), 0);
  EXPECT_FALSE(writeFileAtomically(fifo, "bank"));
  EXPECT_EQ(typeOf(fifo), std::filesystem::file_type::fifo);

  // A link to a device is followed to the device, which stays as it is.
  const std::string device = folder.file("null.grb");
  if (mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) {
    ASSERT_EQ(symlink(device.c_str(), folder.file("link.grb").c_str()), 0);
    EXPECT_FALSE(writeFileAtomically(device, "bank"));
    EXPECT_FALSE(writeFileAtomically(folder.file("link.grb"), "bank"));
    EXPECT_EQ(typeOf(device), std::filesystem::file_type::character);
  } else {
    std::cout << "no device node made (needs CAP_MKNOD); only the FIFO is tried\n";
    ASSERT_EQ(symlink(fifo.c_str(), folder.file("link.grb").c_str()), 0);
  }
  EXPECT_EQ(entryCount(folder.path()), 3) << "no temporary file is left behind";
}

TEST(AtomicFile, ReadOnlyFileOfAnOrdinaryUserIsNotReplaced) {
  const passwd* nobody = getpwnam("nobody");
  const uid_t uid = nobody ? nobody->pw_uid : 65534;
  const gid_t gid = nobody ? nobody->pw_gid : 65534;
  // Under /tmp, which every user can reach whatever TMPDIR says.
  std::string folder = "/tmp/grelmond-readonly-XXXXXX";
  ASSERT_NE(mkdtemp(folder.data()), nullptr);
  const std::string locked = folder + "/locked.grb", open = folder + "/open.grb";
  for (const std::string& path : {locked, open})
    std::ofstream(path) << "old";
  chmod(locked.c_str(), 0444);
  chmod(open.c_str(), 0644);
  if (geteuid() == 0) {
    for (const std::string& path : {folder, locked, open}) {
      ASSERT_EQ(chown(path.c_str(), uid, gid), 0);
    }
  }

  // Bits of the exit code: 1 the locked file was replaced or reported so, 2 the
  // writable one was not, 4 something was left behind.
  const auto failures = exitCodeAsOrdinaryUser(uid, gid, [&] {
    int bits = 0;
    std::string contents;
    if (writeFileAtomically(locked, "new") || !(std::ifstream(locked) >> contents) || contents != "old")
      bits |= 1;
    if (!writeFileAtomically(open, "new") || !(std::ifstream(open) >> contents) || contents != "new")
      bits |= 2;
    if (entryCount(folder) != 2)
      bits |= 4;
    return bits;
  });
  std::filesystem::remove_all(folder);
  if (!failures)
    GTEST_SKIP() << "cannot run as an ordinary user here (no setuid to nobody)";
  EXPECT_EQ(*failures & 1, 0) << "the read-only file was replaced, or the save reported success";
  EXPECT_EQ(*failures & 2, 0) << "a writable file beside it was not replaced";
  EXPECT_EQ(*failures & 4, 0) << "a temporary file was left behind";
}

TEST(RegularFile, OpensOnlyRegularFilesAndNeverBlocks) {
  TempFolder folder;
  folder.write("bank.grb", "text");
  std::FILE* file = openRegularFile(folder.file("bank.grb"));
  ASSERT_NE(file, nullptr);
  char text[8] = {};
  EXPECT_EQ(std::fread(text, 1, sizeof text, file), 4u);
  std::fclose(file);

  // Opening a FIFO for reading would wait for a writer that never comes.
  ASSERT_EQ(mkfifo(folder.file("fifo.grb").c_str(), 0666), 0);
  EXPECT_EQ(openRegularFile(folder.file("fifo.grb")), nullptr);
  EXPECT_EQ(openRegularFile("/dev/zero"), nullptr) << "a device that never ends";
  EXPECT_EQ(openRegularFile(folder.path()), nullptr);
  EXPECT_EQ(openRegularFile(folder.file("missing.grb")), nullptr);
  EXPECT_EQ(openRegularFile(""), nullptr);
}
