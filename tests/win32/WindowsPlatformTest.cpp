#include "platform/AtomicFile.h"
#include "platform/InstallFolder.h"
#include "platform/Paths.h"
#include "platform/UserFolders.h"
#include "platform/win32/LinkTarget.h"
#include "storage/RememberedFolder.h"

#include "PluginLoader.h"
#include "ScopedEnv.h"
#include "TempFolder.h"
#include "TestPaths.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <windows.h>

using namespace grelmond;
using namespace grelmond::platform;

namespace {

constexpr const char* kKey = "Software\\Zavr\\Grelmond";

// Sets or (with null) deletes "InstallPath" in the machine key of this Wine
// prefix for one scope; the key is removed again afterwards.
class ScopedInstallPath {
public:
    explicit ScopedInstallPath(const char* folder)
    {
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
            ERROR_SUCCESS)
            return;
        ok_ = folder ? RegSetValueExA(key, "InstallPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder),
                                      DWORD(strlen(folder) + 1)) == ERROR_SUCCESS
                     : true;
        if (!folder)
            RegDeleteValueA(key, "InstallPath");
        RegCloseKey(key);
    }
    ~ScopedInstallPath() { RegDeleteKeyA(HKEY_LOCAL_MACHINE, kKey); }
    bool ok() const { return ok_; }

private:
    bool ok_ = false;
};

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The factory bank with its first program renamed, so a load from `folder` shows.
void writeMarkedBank(const TempFolder& folder, const std::string& firstName)
{
    std::string bank = readFile(std::string(testpaths::pluginDir()) + "/GrelmondDefault.grb");
    const std::string from = "<patch name=\"";
    const size_t start = bank.find(from);
    ASSERT_NE(start, std::string::npos);
    const size_t end = bank.find('"', start + from.size());
    bank.replace(start + from.size(), end - start - from.size(), firstName);
    folder.write("GrelmondDefault.grb", bank);
}

std::string firstProgramOfLoadedPlugin()
{
    testsupport::PluginLoader loader;
    EXPECT_TRUE(loader.loaded()) << loader.error();
    auto instance = loader.create(nullptr);
    if (!instance)
        return {};
    const std::string name = instance->programName();
    instance->close();
    return name;
}

} // namespace

TEST(WindowsPaths, BackslashesAndDriveLetters)
{
    EXPECT_EQ(joinPath("C:\\Sounds", "mine.grb"), "C:\\Sounds\\mine.grb");
    EXPECT_TRUE(isFullPath("C:\\Sounds\\mine.grb"));
    EXPECT_TRUE(isFullPath("\\\\server\\share\\mine.grb"));
    EXPECT_FALSE(isFullPath("mine.grb"));
    EXPECT_FALSE(isFullPath("m")) << "one character is a bare name";
    EXPECT_FALSE(isFullPath("/home/me/mine.grb"));
    EXPECT_EQ(expandHome("~/x"), "~/x");
    std::string out = "unchanged";
    EXPECT_TRUE(directoryOf("C:\\Sounds\\mine.grb", out));
    EXPECT_EQ(out, "C:\\Sounds");
    EXPECT_TRUE(directoryOf("Z:/work/build/mine.grb", out));
    EXPECT_EQ(out, "Z:/work/build");
    out = "unchanged";
    EXPECT_FALSE(directoryOf("\\mine.grb", out));
    EXPECT_EQ(out, "unchanged");
}

TEST(WindowsInstallFolder, EnvironmentThenRegistryThenTheLibrarysFolder)
{
    TempFolder data;
    ScopedEnv noOverride("GRELMOND_INSTALL_PATH", nullptr);
    {
        ScopedInstallPath registry((data.path() + "\\").c_str());
        ASSERT_TRUE(registry.ok());
        EXPECT_EQ(installFolder(), data.path()) << "the registry value, without its trailing backslash";
        ScopedEnv override("GRELMOND_INSTALL_PATH", "C:\\elsewhere");
        EXPECT_EQ(installFolder(), "C:\\elsewhere");
    }
    ScopedInstallPath removed(nullptr);
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string selfFolder;
    ASSERT_TRUE(directoryOf(self, selfFolder));
    EXPECT_EQ(installFolder(), selfFolder) << "the module holding the code: this program, which links it directly";
}

TEST(WindowsInstallFolder, LoadedLibraryReadsItsDataFromTheRegistryFolderElseItsOwn)
{
    ScopedEnv noOverride("GRELMOND_INSTALL_PATH", nullptr);
    const std::string factoryFirst = [] {
        ScopedEnv env("GRELMOND_INSTALL_PATH", testpaths::pluginDir());
        return firstProgramOfLoadedPlugin();
    }();
    ASSERT_FALSE(factoryFirst.empty());

    TempFolder data;
    writeMarkedBank(data, "From Registry");
    {
        ScopedInstallPath registry(data.path().c_str());
        ASSERT_TRUE(registry.ok());
        EXPECT_EQ(firstProgramOfLoadedPlugin(), "From Registry");
    }
    ScopedInstallPath removed(nullptr);
    EXPECT_EQ(firstProgramOfLoadedPlugin(), factoryFirst) << "the bank beside Grelmond.dll";
}

TEST(WindowsFiles, AtomicWriteReplacesAnExistingFile)
{
    TempFolder folder;
    const std::string path = folder.file("bank.grb");
    ASSERT_TRUE(writeFileAtomically(path, "first"));
    ASSERT_TRUE(writeFileAtomically(path, "second, longer"));
    EXPECT_EQ(folder.read("bank.grb"), "second, longer");
    EXPECT_FALSE(writeFileAtomically(folder.file("missing\\bank.grb"), "x"));
}

// A save through a symbolic link writes the file it names; Wine has no such
// links, so the name a link stores is checked on its own.
TEST(WindowsFiles, LinkTargetsAreNtPathsOrBesideTheLink)
{
    EXPECT_EQ(linkTargetPath("C:\\Music\\bank.grb", "\\??\\D:\\Synced\\bank.grb", false), "D:\\Synced\\bank.grb");
    EXPECT_EQ(linkTargetPath("C:\\Music\\bank.grb", "D:\\Synced\\bank.grb", false), "D:\\Synced\\bank.grb");
    EXPECT_EQ(linkTargetPath("C:\\Music\\bank.grb", "..\\Synced\\bank.grb", true), "C:\\Music\\..\\Synced\\bank.grb");
    EXPECT_EQ(linkTargetPath("bank.grb", "other.grb", true), "other.grb");
}

TEST(WindowsFiles, RememberedFolderFileBesideTheDataOrInAppData)
{
    TempFolder install;
    TempFolder appData;
    ScopedEnv env("APPDATA", appData.path().c_str());
    EXPECT_EQ(userConfigFolder(), appData.path() + "\\Grelmond");
    EXPECT_TRUE(isWritableFolder(install.path()));
    EXPECT_FALSE(isWritableFolder(install.path() + "\\missing"));

    RememberedFolder writable(install.path());
    EXPECT_EQ(writable.filePath(), install.path() + "\\grldefault.cfg");
    RememberedFolder missing(install.path() + "\\missing");
    EXPECT_EQ(missing.filePath(), appData.path() + "\\Grelmond\\grldefault.cfg");
    ASSERT_TRUE(missing.write("C:\\Sounds"));
    EXPECT_EQ(missing.read().value_or(""), "C:\\Sounds");
    EXPECT_EQ(missing.resolve("other.grb", RememberedFolder::Use::Load).value_or(""), "C:\\Sounds\\other.grb");
}
