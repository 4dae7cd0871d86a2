// The program browser, the keys and wheel over the program name, double-click
// and wheel on the panel's controls, and the status line's hover texts.
#include <gtest/gtest.h>

#include "EditorHarness.h"

#include "editor/EditorLayout.h"
#include "gui/PopupMenu.h"
#include "params/ParameterTable.h"

#include <string>

namespace {

using namespace editortest;
using namespace grelmond::editor;

constexpr int kLeftDelayFeedback = 51;

PopupMenu* openBrowser(EditorHarness& h)
{
    h.click(kProgramNameTag);
    return h.editor->openMenu();
}

// The menu item of a program (ids are program indices).
GuiPoint itemOf(PopupMenu* menu, int program)
{
    const int family = program / 8;
    const GuiRect r = menu->itemRect(family * 9 + 1 + program % 8);
    return {r.left + 3, (r.top + r.bottom) / 2};
}

TEST(ProgramBrowser, AClickOnTheNameListsEveryProgramByFamilyWithTheCurrentMarked)
{
    EditorHarness h;
    h.plugin->setProgram(2);
    h.open();
    PopupMenu* menu = openBrowser(h);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->itemCount(), 8 * 9 + 1) << "eight headings, 64 programs and renaming";
    EXPECT_EQ(menu->highlighted(), 3) << "program 3 is the third of the first family";
    EXPECT_STREQ(PluginEditor::familyName(7), "Effects and Percussion");
    const GuiRect r = menu->size();
    EXPECT_LE(r.right, h.window().width());
    EXPECT_LE(r.bottom, h.window().height());
    h.idle();
    menu->dismiss();
}

TEST(ProgramBrowser, AChoiceInAnotherFamilySelectsItAsTheArrowsDoAndTellsTheHost)
{
    EditorHarness h;
    h.open();
    PopupMenu* menu = openBrowser(h);
    ASSERT_NE(menu, nullptr);
    h.calls.clear();
    h.drag(itemOf(menu, 41)); // the sixth family
    h.idle();
    EXPECT_EQ(h.plugin->getProgram(), 41);
    EXPECT_EQ(h.programNumberText(), "42");
    char name[64] = {};
    h.plugin->programs().storedName(41, name);
    EXPECT_EQ(h.nameFieldText(), name);
    EXPECT_EQ(h.hostCalls(vst::audioMasterUpdateDisplay, 0), 1);
    EXPECT_EQ(h.editor->openMenu(), nullptr);

    // The arrows carry on from there.
    h.click(kNextProgramTag);
    h.idle();
    EXPECT_EQ(h.plugin->getProgram(), 42);
}

TEST(ProgramBrowser, EscapeOrAClickOutsideClosesItWithoutAChange)
{
    EditorHarness h;
    h.plugin->setProgram(5);
    h.open();
    openBrowser(h);
    h.window().sendKey({GuiKey::Escape});
    EXPECT_EQ(h.editor->openMenu(), nullptr);
    PopupMenu* menu = openBrowser(h);
    ASSERT_NE(menu, nullptr);
    h.drag({menu->size().right + 5 < h.window().width() ? menu->size().right + 5 : 2, h.window().height() - 3});
    EXPECT_EQ(h.editor->openMenu(), nullptr);
    h.idle();
    EXPECT_EQ(h.plugin->getProgram(), 5);
    EXPECT_EQ(h.hostCalls(vst::audioMasterUpdateDisplay, 0), 0);
}

TEST(ProgramBrowser, RenamingStartsFromItsLastItem)
{
    EditorHarness h;
    h.open();
    PopupMenu* menu = openBrowser(h);
    const GuiRect r = menu->itemRect(menu->itemCount() - 1);
    h.drag({r.left + 3, r.top + 3});
    h.window().typeText("Fresh");
    h.window().sendKey({GuiKey::Enter});
    h.idle();
    char name[64] = {};
    h.plugin->programs().storedName(0, name);
    EXPECT_STREQ(name, "Fresh");
}

TEST(ProgramName, KeysAndTheWheelOverItStepProgramsAndOnlyThereIsTheKeyboardTaken)
{
    EditorHarness h;
    h.open();
    const GuiPoint name = EditorHarness::centreOf(kProgramNameTag);
    h.window().moveTo(name);
    EXPECT_TRUE(h.window().hasKeyboardFocus());
    h.window().sendKey({GuiKey::Down});
    h.window().sendKey({GuiKey::Down});
    h.window().sendKey({GuiKey::Up});
    EXPECT_EQ(h.plugin->getProgram(), 1);
    h.window().wheel(name, -1.0f);
    EXPECT_EQ(h.plugin->getProgram(), 2);
    h.window().wheel(name, 1.0f);
    EXPECT_EQ(h.plugin->getProgram(), 1);

    h.window().moveTo(EditorHarness::centreOf(63));
    EXPECT_FALSE(h.window().hasKeyboardFocus()) << "the host keeps its keys elsewhere";
    h.window().sendKey({GuiKey::Down});
    EXPECT_EQ(h.plugin->getProgram(), 1);

    h.window().moveTo(name);
    h.window().moveTo({-1, -1}); // off the window, as leaving it is reported
    EXPECT_FALSE(h.window().hasKeyboardFocus());
}

TEST(PanelControls, DoubleClickRestoresTheInitProgramsValueOnEveryKindThatHasOne)
{
    EditorHarness h;
    h.open();
    for (int tag : {63, param::kFilterCutoff, param::kChorusMix, 0, kProcFunction}) {
        SCOPED_TRACE(tag);
        const float initial = parameterInfo(tag).defaultValue;
        h.hostSets(tag, initial > 0.5f ? 0.1f : 0.9f);
        h.idle();
        h.calls.clear();
        const GuiRect r = EditorHarness::rectOf(tag);
        const GuiPoint p{r.left + 2, r.top + 2}; // the slider's handle sits elsewhere: the track
        h.drag(p);
        h.drag(p);
        h.idle();
        EXPECT_FLOAT_EQ(h.plugin->getParameter(tag), initial);
        EXPECT_FLOAT_EQ(h.control(tag)->getValue(), initial);
        EXPECT_GE(h.hostCalls(vst::audioMasterAutomate, tag), 1);
    }
}

TEST(PanelControls, TheWheelMovesTheControlUnderThePointerAndItsDisplayFollows)
{
    EditorHarness h;
    h.open();
    h.hostSets(kLeftDelayFeedback, 0.5f);
    h.hostSets(kProcFunction, 0.0f);
    h.idle();
    const GuiRect fb = EditorHarness::rectOf(kLeftDelayFeedback);
    h.window().wheel({fb.left + 3, fb.top + 3}, 1.0f);
    h.idle();
    EXPECT_FLOAT_EQ(h.plugin->getParameter(kLeftDelayFeedback), 0.6f);
    EXPECT_EQ(h.displayText(kLeftDelayFeedback), "60");
    h.window().wheel(EditorHarness::centreOf(0), 1.0f);
    EXPECT_FLOAT_EQ(h.plugin->getParameter(0), 1.0f / 3.0f);
    h.window().wheel(EditorHarness::centreOf(44), 1.0f);
    EXPECT_EQ(h.plugin->getParameter(44), 1.0f);
}

TEST(StatusLine, HoverShowsEveryParametersHostTextsAndFileResultsComeBack)
{
    EditorHarness h;
    h.open();
    h.typeInto(kFileNameTag, "/nonexistent/none.grb");
    h.click(kLoadBankTag);
    const std::string failure = h.statusText();
    EXPECT_EQ(failure, "The bank could not be loaded.");
    for (const ControlSpec& entry : controlLayout()) {
        if (!isParameterId(entry.tag) || entry.kind == ControlKind::ValueDisplay)
            continue;
        SCOPED_TRACE(entry.tag);
        h.window().moveTo({entry.rect.left + 1, entry.rect.top + 1});
        char name[64] = {}, value[64] = {}, label[64] = {};
        auto* effect = h.plugin->getAeffect();
        effect->dispatcher(effect, vst::effGetParamName, entry.tag, 0, name, 0);
        effect->dispatcher(effect, vst::effGetParamDisplay, entry.tag, 0, value, 0);
        effect->dispatcher(effect, vst::effGetParamLabel, entry.tag, 0, label, 0);
        const std::string status = h.statusText();
        EXPECT_EQ(h.editor->hoverText(entry.tag), status);
        for (const char* part : {name, value, label}) {
            std::string text(part);
            text.erase(0, text.find_first_not_of(' '));
            text.erase(text.find_last_not_of(' ') + 1);
            EXPECT_NE(status.find(text), std::string::npos) << "'" << text << "' in '" << status << "'";
        }
    }
    h.window().moveTo({3, 3}); // the wood: no control
    EXPECT_EQ(h.statusText(), failure);
}

} // namespace
