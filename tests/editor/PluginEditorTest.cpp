#include <gtest/gtest.h>

#include "EditorHarness.h"
#include "TempFolder.h"

#include "editor/EditorLayout.h"
#include "gui/KnobMode.h"

#include <atomic>
#include <cairo.h>
#include <random>
#include <thread>

namespace editortest {
namespace {

using namespace editor;

std::string programName(SynthPlugin& plugin)
{
    char name[64] = {};
    plugin.getProgramName(name);
    return name;
}

TEST(PluginEditor, HostChangesShowAtIdleOrAtOpenAndUnknownIndicesRunNoCommand)
{
    EditorHarness h;
    h.hostSets(63, 0.25f); // while closed
    h.open();
    EXPECT_FLOAT_EQ(h.control(63)->getValue(), 0.25f);

    h.hostSets(63, 0.75f);
    EXPECT_FLOAT_EQ(h.control(63)->getValue(), 0.25f) << "applied only by the user-interface thread's idle";
    h.idle();
    EXPECT_FLOAT_EQ(h.control(63)->getValue(), 0.75f);

    h.typeInto(kFileNameTag, "/nonexistent/x.grb");
    h.hostSets(kLoadBankTag, 1.0f);
    h.hostSets(kNextProgramTag, 1.0f);
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
    h.editor->controls().programNameField()->setText("stale");
    h.click(kNextProgramTag);
    EXPECT_EQ(h.plugin->getProgram(), 63);
    EXPECT_EQ(h.programNumberText(), "64");
    EXPECT_EQ(h.nameFieldText(), programName(*h.plugin)) << "refreshed although the program stayed";

    h.click(kPreviousProgramTag);
    EXPECT_EQ(h.plugin->getProgram(), 62);
    EXPECT_EQ(h.programNumberText(), "63");
    EXPECT_EQ(h.nameFieldText(), programName(*h.plugin));

    h.plugin->dispatcher(vst::effSetProgram, 0, 0, nullptr, 0.0f);
    h.click(kPreviousProgramTag);
    EXPECT_EQ(h.plugin->getProgram(), 0);
    h.plugin->programs().setCurrentFraction(0.3f); // between programs: both arrows go to the first
    h.click(kNextProgramTag);
    EXPECT_EQ(h.plugin->getProgram(), 0);

    for (int tag = kStatusTag; tag <= kLastTag; ++tag)
        for (int opcode : {vst::audioMasterAutomate, vst::audioMasterBeginEdit, vst::audioMasterEndEdit})
            EXPECT_EQ(h.hostCalls(opcode, tag), 0) << tag;
}

TEST(PluginEditor, DragsAreEditGesturesAndCurvedSlidersKeepTheirValue)
{
    EditorHarness h;
    h.open();
    h.plugin->dispatcher(vst::effSetEditKnobMode, 0, kKnobLinear, nullptr, 0.0f);
    h.hostSets(63, 0.5f);
    h.hostSets(param::kFilterCutoff, 0.2f);
    h.idle();
    const GuiPoint c = EditorHarness::centreOf(63);
    h.drag(c, {{c.x, c.y - 10}, {c.x, c.y - 40}});
    setKnobMode(kKnobCircular);
    h.idle();
    EXPECT_NEAR(h.plugin->getParameter(63), 0.7f, 1e-5f);
    EXPECT_NEAR(h.control(63)->getValue(), 0.7f, 1e-5f);
    EXPECT_EQ(h.hostCalls(vst::audioMasterBeginEdit, 63), 1);
    EXPECT_EQ(h.hostCalls(vst::audioMasterEndEdit, 63), 1);
    EXPECT_GE(h.hostCalls(vst::audioMasterAutomate, 63), 1);

    // The plug-in reads the filter cutoff back curved; its slider stays where it was put.
    const GuiRect r = EditorHarness::rectOf(param::kFilterCutoff);
    h.drag({r.left + 5, r.top + 35}); // click-to-jump: the middle of the travel
    h.idle();
    ASSERT_NE(h.plugin->getParameter(param::kFilterCutoff), 0.5f);
    EXPECT_FLOAT_EQ(h.control(param::kFilterCutoff)->getValue(), 0.5f);
    h.editor->close();
    h.open();
    EXPECT_FLOAT_EQ(h.control(param::kFilterCutoff)->getValue(), 0.5f);
}

TEST(PluginEditor, ValueDisplaysFollowTheirParameters)
{
    EditorHarness h;
    h.plugin->dispatcher(vst::effSetSampleRate, 0, 0, nullptr, 48000.0f);
    h.open();
    h.hostSets(param::kLeftDelayTime, 0.5f);
    h.idle();
    EXPECT_EQ(h.displayText(param::kLeftDelayTime), "0.54");
    h.click(kLeftDelaySync);
    h.idle();
    EXPECT_EQ(h.displayText(param::kLeftDelayTime), "/8");
    EXPECT_EQ(h.displayText(param::kRightDelayTime), "0.54");
    h.editor->close();
    h.open();
    EXPECT_EQ(h.displayText(param::kLeftDelayTime), "/8");
    h.click(kLeftDelaySync);
    h.idle();
    EXPECT_EQ(h.displayText(param::kLeftDelayTime), "0.54");

    h.hostSets(param::kTotalOscillators, 0.5f);
    for (int volume : {3, 7, 11})
        h.hostSets(volume, 0.5f);
    h.idle();
    EXPECT_EQ(h.displayText(param::kTotalOscillators), "18");
    h.hostSets(7, 0.0f);
    h.hostSets(11, 0.0f);
    h.idle();
    EXPECT_EQ(h.displayText(param::kTotalOscillators), "6");

    h.hostSets(kProcFunction, 1.0f);
    h.idle();
    EXPECT_EQ(h.displayText(kProcFunction), "26 Phaser 2");
    h.hostSets(kProcFunction, 0.96f);
    h.idle();
    EXPECT_EQ(h.displayText(kProcFunction), "25 Phaser 1");

    // Painted over, then set to a value of the same function: drawn again.
    const GuiRect r = h.editor->controls().display(kProcFunction)->size();
    const GuiColor shown = h.window().pixel(r.left + 2, r.top + 2);
    cairo_t* cr = cairo_create(h.window().surface());
    cairo_set_source_rgb(cr, 0, 0, 1);
    cairo_rectangle(cr, r.left, r.top, r.width(), r.height());
    cairo_fill(cr);
    cairo_destroy(cr);
    ASSERT_NE(h.window().pixel(r.left + 2, r.top + 2), shown);
    h.hostSets(kProcFunction, 0.97f);
    h.idle();
    EXPECT_EQ(h.window().pixel(r.left + 2, r.top + 2), shown);
}

TEST(PluginEditor, FileButtonsAndNameFieldsWorkThroughTheStatusLine)
{
    TempFolder folder;
    EditorHarness h(folder.path());
    h.open();
    h.click(kLoadPatchTag); // empty file name
    EXPECT_EQ(h.statusText(), "The patch could not be loaded.");
    h.click(kLoadBankTag);
    EXPECT_EQ(h.statusText(), "The bank could not be loaded.");
    h.typeInto(kFileNameTag, folder.file("missing/none.grb"));
    h.click(kSaveBankTag);
    EXPECT_EQ(h.statusText(), "The bank could not be saved.");
    h.click(kSavePatchTag);
    EXPECT_EQ(h.statusText(), "The patch could not be saved.");

    const std::string typed = "abcdefghijklmnopqrstuvwxyz0123"; // 30 characters
    h.typeInto(kProgramNameTag, typed);
    EXPECT_EQ(programName(*h.plugin), typed.substr(0, 23));

    h.hostSets(1, 0.25f);
    h.typeInto(kProgramNameTag, "Round Trip");
    h.typeInto(kFileNameTag, folder.file("one.grp"));
    h.click(kSavePatchTag);
    EXPECT_EQ(h.statusText(), "Saved the patch.");
    h.hostSets(1, 0.75f);
    h.click(kLoadPatchTag);
    EXPECT_EQ(h.statusText(), "Loaded the patch.");
    h.idle();
    EXPECT_FLOAT_EQ(h.control(1)->getValue(), 0.25f);

    h.typeInto(kFileNameTag, folder.file("all.grb"));
    h.click(kSaveBankTag);
    EXPECT_EQ(h.statusText(), "Saved the bank.");
    h.typeInto(kProgramNameTag, "Changed");
    h.hostSets(1, 0.5f);
    h.click(kLoadBankTag);
    EXPECT_EQ(h.statusText(), "Loaded the bank.");
    h.idle();
    EXPECT_FLOAT_EQ(h.control(1)->getValue(), 0.25f);
    EXPECT_EQ(h.nameFieldText(), "Round Trip");
    EXPECT_EQ(h.hostCalls(vst::audioMasterAutomate, kProgramNameTag), 0);
}

// A host automating on its audio thread while the user opens and closes the
// editor: notifications must never touch controls being built or torn down.
TEST(PluginEditor, OpensAndClosesWhileAnotherThreadSetsParametersAndPrograms)
{
    EditorHarness h;
    vst::AEffect* effect = h.plugin->getAeffect();
    std::atomic<bool> stop{false};
    std::thread automation([&] {
        std::mt19937 random(7);
        while (!stop.load()) {
            const int index = int(random() % 81); // some beyond the parameters too
            if (index == 80)
                effect->dispatcher(effect, vst::effSetProgram, 0, random() % 64, nullptr, 0.0f);
            else
                effect->setParameter(effect, index, float(random() % 1200) / 1000.0f - 0.1f);
        }
    });
    for (int round = 0; round < 200; ++round) {
        ASSERT_EQ(h.editor->open(nullptr), 1);
        h.idle();
        h.idle();
        h.editor->close();
    }
    stop.store(true);
    automation.join();
    h.open();
    for (int index : {0, 1, 30, 57, 63})
        EXPECT_FLOAT_EQ(h.control(index)->getValue(), h.plugin->getParameter(index)) << index;
}

} // namespace
} // namespace editortest
