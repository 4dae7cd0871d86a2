#include <gtest/gtest.h>

#include "EditorHarness.h"
#include "TempFolder.h"

#include "gui/GuiFrame.h"
#include "gui/KnobMode.h"
#include "gui/TextField.h"

#include <cairo.h>

namespace editortest {
namespace {

using namespace editor;

constexpr float kTolerance = 1e-5f;

std::string programName(SynthPlugin& plugin)
{
    char name[64] = {};
    plugin.getProgramName(name);
    return name;
}

TEST(PluginEditor, HostChangesReachTheControlsAtIdleAndWhileClosedAtOpen)
{
    EditorHarness h;
    h.effect()->setParameter(h.effect(), 63, 0.25f); // closed: nothing to show yet
    h.open();
    EXPECT_FLOAT_EQ(h.control(63)->getValue(), 0.25f);

    h.effect()->setParameter(h.effect(), 63, 0.75f);
    h.effect()->setParameter(h.effect(), 0, 1.0f);
    EXPECT_FLOAT_EQ(h.control(63)->getValue(), 0.25f) << "applied only on the user-interface thread's idle";
    h.idle();
    EXPECT_FLOAT_EQ(h.control(63)->getValue(), 0.75f);
    EXPECT_FLOAT_EQ(h.control(0)->getValue(), 1.0f);

    // Indices the host was not told of run no command.
    h.typeInto(kFileNameTag, "/nonexistent/x.grb");
    h.effect()->setParameter(h.effect(), kLoadBankTag, 1.0f);
    h.effect()->setParameter(h.effect(), kNextProgramTag, 1.0f);
    h.idle();
    EXPECT_EQ(h.statusText(), "");
    EXPECT_EQ(h.plugin->getProgram(), 0);
}

TEST(PluginEditor, ProgramArrowsStopAtTheEndsAndStayOffTheHostsParameters)
{
    EditorHarness h;
    h.open();
    h.plugin->dispatcher(vst::effSetProgram, 0, 63, nullptr, 0.0f);
    h.idle();
    EXPECT_EQ(h.programNumberText(), "64");

    h.editor->controls().programNameField()->setText("stale");
    h.click(kNextProgramTag);
    EXPECT_EQ(h.plugin->getProgram(), 63);
    EXPECT_EQ(h.programNumberText(), "64");
    EXPECT_EQ(h.programNameText(), programName(*h.plugin)) << "refreshed although the program stayed";

    h.click(kPreviousProgramTag);
    EXPECT_EQ(h.plugin->getProgram(), 62);
    EXPECT_EQ(h.programNumberText(), "63");
    EXPECT_EQ(h.programNameText(), programName(*h.plugin));

    h.plugin->dispatcher(vst::effSetProgram, 0, 0, nullptr, 0.0f);
    h.idle();
    h.click(kPreviousProgramTag);
    EXPECT_EQ(h.plugin->getProgram(), 0);

    // A position between programs sends both arrows to the first.
    h.plugin->programs().setCurrentFraction(0.3f);
    h.click(kNextProgramTag);
    EXPECT_EQ(h.plugin->getProgram(), 0);

    for (int tag = kStatusTag; tag <= kLastTag; ++tag) {
        EXPECT_EQ(h.host.count(vst::audioMasterAutomate, tag), 0) << tag;
        EXPECT_EQ(h.host.count(vst::audioMasterBeginEdit, tag), 0) << tag;
        EXPECT_EQ(h.host.count(vst::audioMasterEndEdit, tag), 0) << tag;
    }
}

TEST(PluginEditor, KnobDragIsReportedAsOneEditGesture)
{
    EditorHarness h;
    h.open();
    h.effect()->dispatcher(h.effect(), vst::effSetEditKnobMode, 0, kKnobLinear, nullptr, 0.0f);
    h.effect()->setParameter(h.effect(), 63, 0.5f);
    h.idle();
    h.host.calls.clear();

    const GuiPoint c = EditorHarness::centreOf(63);
    h.drag(c, {{c.x, c.y - 10}, {c.x, c.y - 20}, {c.x, c.y - 40}});
    setKnobMode(kKnobCircular);

    EXPECT_NEAR(h.plugin->getParameter(63), 0.7f, kTolerance);
    ASSERT_GE(h.host.calls.size(), 3u);
    EXPECT_EQ(h.host.indices(vst::audioMasterBeginEdit), std::vector<int>{63});
    EXPECT_EQ(h.host.indices(vst::audioMasterEndEdit), std::vector<int>{63});
    const std::vector<int> automated = h.host.indices(vst::audioMasterAutomate);
    EXPECT_EQ(automated, std::vector<int>(automated.size(), 63));
    EXPECT_FALSE(automated.empty());
    h.idle();
    EXPECT_NEAR(h.control(63)->getValue(), 0.7f, kTolerance);
}

TEST(PluginEditor, CurvedFilterSlidersKeepTheValueTheUserSet)
{
    EditorHarness h;
    h.open();
    h.effect()->setParameter(h.effect(), param::kFilterCutoff, 0.2f);
    h.idle();
    EXPECT_FLOAT_EQ(h.control(param::kFilterCutoff)->getValue(), 0.2f);
    // Click-to-jump centres the handle on the pointer: halfway down the travel is 0.5.
    const GuiRect r = EditorHarness::rectOf(param::kFilterCutoff);
    h.drag({r.left + 5, r.top + 5 + 30}, {});
    h.idle();
    ASSERT_NE(h.plugin->getParameter(param::kFilterCutoff), 0.5f) << "the plug-in reads it back curved";
    EXPECT_FLOAT_EQ(h.control(param::kFilterCutoff)->getValue(), 0.5f);
    h.close();
    h.open();
    EXPECT_FLOAT_EQ(h.control(param::kFilterCutoff)->getValue(), 0.5f);
}

TEST(PluginEditor, ValueDisplaysFollowTheirParameters)
{
    EditorHarness h;
    h.plugin->dispatcher(vst::effSetSampleRate, 0, 0, nullptr, 48000.0f);
    h.open();
    auto set = [&](int index, float v) { h.effect()->setParameter(h.effect(), index, v); };

    set(param::kLeftDelayTime, 0.5f);
    set(kLeftDelaySync, 0.0f);
    h.idle();
    EXPECT_EQ(h.displayText(param::kLeftDelayTime), "0.50");
    h.click(kLeftDelaySync);
    h.idle();
    EXPECT_EQ(h.displayText(param::kLeftDelayTime), "/8");
    EXPECT_EQ(h.displayText(param::kRightDelayTime).find('/'), std::string::npos);
    h.close();
    h.open();
    EXPECT_EQ(h.displayText(param::kLeftDelayTime), "/8");
    h.click(kLeftDelaySync);
    h.idle();
    EXPECT_EQ(h.displayText(param::kLeftDelayTime), "0.50");

    set(param::kTotalOscillators, 0.5f);
    for (int volume : {3, 7, 11})
        set(volume, 0.5f);
    h.idle();
    EXPECT_EQ(h.displayText(param::kTotalOscillators), "18");
    set(7, 0.0f);
    set(11, 0.0f);
    h.idle();
    EXPECT_EQ(h.displayText(param::kTotalOscillators), "6");

    set(kProcFunction, 1.0f);
    h.idle();
    EXPECT_EQ(h.displayText(kProcFunction), "26 Phaser 2");
    set(kProcFunction, 0.96f);
    h.idle();
    EXPECT_EQ(h.displayText(kProcFunction), "25 Phaser 1");
}

TEST(PluginEditor, FunctionNameIsRedrawnEvenWhenTheNameStaysTheSame)
{
    EditorHarness h;
    h.open();
    h.effect()->setParameter(h.effect(), kProcFunction, 0.5f);
    h.idle();
    const GuiRect r = h.editor->controls().display(kProcFunction)->size();
    const GuiPoint inside{r.left + 2, r.top + 2};
    const GuiColor shown = h.window().pixel(inside.x, inside.y);

    cairo_t* cr = cairo_create(h.window().surface());
    cairo_set_source_rgb(cr, 0, 0, 1);
    cairo_rectangle(cr, r.left, r.top, r.width(), r.height());
    cairo_fill(cr);
    cairo_destroy(cr);
    ASSERT_NE(h.window().pixel(inside.x, inside.y), shown);

    h.effect()->setParameter(h.effect(), kProcFunction, 0.51f); // the same function
    h.idle();
    EXPECT_EQ(h.window().pixel(inside.x, inside.y), shown);
}

TEST(PluginEditor, ProgramNameFieldStoresAtMostTheNameLength)
{
    EditorHarness h;
    h.open();
    const std::string typed = "abcdefghijklmnopqrstuvwxyz0123"; // 30 characters
    h.typeInto(kProgramNameTag, typed);
    EXPECT_EQ(programName(*h.plugin), typed.substr(0, 23));
    EXPECT_EQ(h.host.count(vst::audioMasterAutomate, kProgramNameTag), 0);

    // Another program's name shows after an arrow, and ours again after the way back.
    h.click(kNextProgramTag);
    EXPECT_NE(h.programNameText(), typed.substr(0, 23));
    h.click(kPreviousProgramTag);
    EXPECT_EQ(h.programNameText(), typed.substr(0, 23));
}

TEST(PluginEditor, FileButtonsLoadAndSaveTheNamedFileAndSayHowItWent)
{
    TempFolder folder;
    EditorHarness h(folder.path());
    h.open();

    h.click(kLoadPatchTag); // empty file name field
    EXPECT_EQ(h.statusText(), "The patch could not be loaded.");
    h.click(kLoadBankTag);
    EXPECT_EQ(h.statusText(), "The bank could not be loaded.");
    h.typeInto(kFileNameTag, folder.file("missing/sub/none.grb"));
    h.click(kSaveBankTag);
    EXPECT_EQ(h.statusText(), "The bank could not be saved.");
    h.click(kSavePatchTag);
    EXPECT_EQ(h.statusText(), "The patch could not be saved.");

    auto set = [&](int index, float v) { h.effect()->setParameter(h.effect(), index, v); };
    set(1, 0.25f);
    h.typeInto(kProgramNameTag, "Round Trip");
    h.typeInto(kFileNameTag, folder.file("one.grp"));
    h.click(kSavePatchTag);
    EXPECT_EQ(h.statusText(), "Saved the patch.");
    set(1, 0.75f);
    h.idle();
    h.click(kLoadPatchTag);
    EXPECT_EQ(h.statusText(), "Loaded the patch.");
    h.idle();
    EXPECT_FLOAT_EQ(h.plugin->getParameter(1), 0.25f);
    EXPECT_FLOAT_EQ(h.control(1)->getValue(), 0.25f);
    EXPECT_EQ(h.programNameText(), "Round Trip");

    h.typeInto(kFileNameTag, folder.file("all.grb"));
    h.click(kSaveBankTag);
    EXPECT_EQ(h.statusText(), "Saved the bank.");
    h.typeInto(kProgramNameTag, "Changed");
    set(1, 0.5f);
    h.click(kLoadBankTag);
    EXPECT_EQ(h.statusText(), "Loaded the bank.");
    h.idle();
    EXPECT_FLOAT_EQ(h.control(1)->getValue(), 0.25f);
    EXPECT_EQ(h.programNameText(), "Round Trip");
    EXPECT_EQ(h.host.count(vst::audioMasterAutomate, kFileNameTag), 0);
}

} // namespace
} // namespace editortest
