#include <gtest/gtest.h>

#include "EditorHarness.h"
#include "TempFolder.h"

#include "editor/EditorLayout.h"

#include <filesystem>

namespace editortest {
namespace {

using namespace editor;

// Scale and mapping names go through the file buttons like banks and patches;
// the status line tells what happened and shows the scale's description.
TEST(TuningCommand, FileButtonsLoadScalesAndMappingsAndReturnToEqualTemperament)
{
    TempFolder folder;
    std::filesystem::create_directory(folder.file("tunings"));
    folder.write("tunings/shipped.scl", "Shipped three\n3\n5/4\n3/2\n2/1\n");
    folder.write("mine.scl", "My five\n5\n240.0\n480.0\n720.0\n960.0\n1200.0\n");
    folder.write("broken.kbm", "12\n0\n127\n60\n69\n-440\n");
    EditorHarness h(folder.path());
    h.open();

    h.typeInto(kFileNameTag, "shipped.scl");
    h.click(kLoadPatchTag);
    EXPECT_EQ(h.statusText(), "Loaded the tuning. Shipped three");
    h.typeInto(kFileNameTag, folder.file("mine.scl"));
    h.click(kLoadBankTag);
    EXPECT_EQ(h.statusText(), "Loaded the tuning. My five");
    EXPECT_EQ(h.plugin->instrument().tuning().description(), "My five");

    h.typeInto(kFileNameTag, "broken.kbm"); // in the remembered folder
    h.click(kLoadPatchTag);
    EXPECT_EQ(h.statusText(), "The tuning could not be loaded. Line 6: the number is out of range.");
    h.typeInto(kFileNameTag, "absent.kbm");
    h.click(kLoadPatchTag);
    EXPECT_EQ(h.statusText(), "The tuning could not be loaded.");
    EXPECT_EQ(h.plugin->instrument().tuning().description(), "My five");
    EXPECT_FALSE(h.plugin->instrument().tuning().stateSection().empty());

    h.typeInto(kFileNameTag, "equal");
    h.click(kLoadPatchTag);
    EXPECT_EQ(h.statusText(), "Equal temperament.");
    EXPECT_TRUE(h.plugin->instrument().tuning().stateSection().empty());
}

} // namespace
} // namespace editortest
