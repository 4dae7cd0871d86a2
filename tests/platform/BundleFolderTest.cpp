#include "platform/BundleFolder.h"

#include <gtest/gtest.h>

using grelmond::platform::dataFolderForLibrary;

TEST(BundleFolder, LibraryInsideABundleKeepsItsDataInResources)
{
    EXPECT_EQ(dataFolderForLibrary("/home/a/.vst3/Grelmond.vst3/Contents/x86_64-linux"),
              "/home/a/.vst3/Grelmond.vst3/Contents/Resources");
    EXPECT_EQ(dataFolderForLibrary("C:\\Program Files\\Common Files\\VST3\\Grelmond.vst3\\Contents\\x86_64-win"),
              "C:\\Program Files\\Common Files\\VST3\\Grelmond.vst3\\Contents\\Resources");
}

TEST(BundleFolder, AnyOtherLibraryKeepsItsDataBesideItself)
{
    for (const char* folder : {"/home/a/.vst/Grelmond", "/", "", "Contents", "/x/Contents/", "/x/NotContents/arch",
                               "C:\\VstPlugins\\Grelmond"})
        EXPECT_EQ(dataFolderForLibrary(folder), folder);
}
