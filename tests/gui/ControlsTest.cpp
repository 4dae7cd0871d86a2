#include "GuiTestSupport.h"

#include "gui/FilmstripKnob.h"
#include "gui/KnobMode.h"
#include "gui/LineEditor.h"
#include "gui/MomentaryButton.h"
#include "gui/Slider.h"
#include "gui/StepSwitch.h"
#include "gui/TextField.h"
#include "gui/ToggleButton.h"
#include "gui/ValueDisplay.h"

#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>

using namespace guitest;

namespace {

constexpr int L = kMouseLeft;

// A 21 x 27 knob at (20, 30); its centre is (30.5, 40.5).
struct KnobTest : ::testing::Test {
    Harness h;
    GuiBitmap* strip = makeStrip(21, 27, 92);
    FilmstripKnob* knob = h.add(new FilmstripKnob({20, 30, 41, 57}, &h.recorder, 7, 92, 27, strip));
    ~KnobTest() override
    {
        strip->release();
        setKnobMode(kKnobCircular);
    }
    // A point at the given angle (degrees, counter-clockwise from three o'clock) around the centre.
    static GuiPoint at(double degrees, double distance = 8)
    {
        const double a = degrees * M_PI / 180.0;
        return {int(std::lround(20 + 10.5 + distance * std::cos(a))), int(std::lround(30 + 10.5 - distance * std::sin(a)))};
    }
};

TEST_F(KnobTest, ShowsTheFrameOfItsValue)
{
    knob->setValue(0.999f);
    EXPECT_EQ(knob->frameIndex(), 90);
    knob->setValue(1.0f);
    EXPECT_EQ(knob->frameIndex(), 91);
    knob->setValue(0.0f);
    EXPECT_EQ(knob->frameIndex(), 0);
    knob->setValue(-0.5f);
    EXPECT_EQ(knob->frameIndex(), 0);
}

TEST_F(KnobTest, ControlClickResetsButControlShiftClickDoesNot)
{
    knob->setDefaultValue(0.3f);
    knob->setValue(0.8f);
    h.press({{at(90), L | kMouseControl}});
    EXPECT_FLOAT_EQ(knob->getValue(), 0.3f);
    EXPECT_EQ(h.recorder.values, std::vector<float>{0.3f});
    EXPECT_TRUE(h.owner.begun.empty()); // a reset click is not a tracked edit

    h.press({{at(90), L | kMouseControl | kMouseShift}});
    EXPECT_NEAR(knob->getValue(), 0.5f, 0.02f); // tracked to the pointer straight above the centre
    EXPECT_EQ(h.owner.begun, std::vector<int>{7});
    EXPECT_EQ(h.owner.ended, std::vector<int>{7});
}

TEST_F(KnobTest, CircularDragThroughTheGapStaysAtMax)
{
    h.press({{at(-40), L}, {at(-60), L}, {at(-80), L}, {at(-100), L}, {at(-120), L}, {at(-160), L}, {at(-160), 0}});
    ASSERT_FALSE(h.recorder.values.empty());
    EXPECT_NEAR(h.recorder.values.front(), 265.0f / 270.0f, 0.02f);
    for (float v : h.recorder.values)
        EXPECT_GE(v, 0.95f);
    EXPECT_FLOAT_EQ(knob->getValue(), 1.0f);
}

TEST_F(KnobTest, CircularFollowsTheAngleInsideTheArc)
{
    h.press({{at(180), L}, {at(90), L}, {at(0), 0}});
    ASSERT_EQ(h.recorder.values.size(), 3u);
    EXPECT_NEAR(h.recorder.values[0], 45.0f / 270.0f, 0.02f);
    EXPECT_NEAR(h.recorder.values[1], 0.5f, 0.02f);
    EXPECT_NEAR(h.recorder.values[2], 225.0f / 270.0f, 0.02f);
}

TEST_F(KnobTest, LinearModeCovers200PixelsOr300WithShift)
{
    setKnobMode(kKnobLinear);
    h.press({{{30, 40}, L}, {{30, -60}, L}, {{30, -160}, L}, {{30, -160}, 0}});
    EXPECT_NEAR(h.recorder.values.at(0), 0.5f, 1e-5f);
    EXPECT_NEAR(knob->getValue(), 1.0f, 1e-5f);

    knob->setValue(0.0f);
    h.press({{{30, 40}, L | kMouseShift}, {{30, -110}, L | kMouseShift}, {{130, -160}, L | kMouseShift}, {{130, -160}, 0}});
    EXPECT_NEAR(h.recorder.values.back(), 1.0f, 1e-5f);
    EXPECT_NEAR(h.recorder.values.at(h.recorder.values.size() - 2), 0.5f, 1e-5f);
}

TEST_F(KnobTest, ShiftDuringALinearDragDoesNotJump)
{
    setKnobMode(kKnobLinear);
    h.press({{{30, 40}, L}, {{30, -60}, L}, {{30, -61}, L | kMouseShift}, {{30, -91}, L | kMouseShift}, {{30, -91}, 0}});
    ASSERT_EQ(h.recorder.values.size(), 3u);
    EXPECT_NEAR(h.recorder.values[0], 0.5f, 1e-5f);
    // The pixel that brought the Shift change still moves at the coarse step.
    EXPECT_NEAR(h.recorder.values[1], 0.505f, 1e-5f);
    EXPECT_NEAR(h.recorder.values[2], 0.505f + 30.0f / 300.0f, 1e-5f);
}

TEST_F(KnobTest, AltSwapsCircularAndLinear)
{
    setKnobMode(kKnobLinear);
    h.press({{at(90), L | kMouseAlt}, {at(90), 0}}); // circular: jumps to the pointer's angle
    EXPECT_NEAR(knob->getValue(), 0.5f, 0.02f);
    setKnobMode(kKnobRelativeCircular);
    knob->setValue(0.0f);
    h.press({{at(90), L | kMouseAlt}, {{at(90).x, at(90).y - 50}, L}, {{at(90).x, at(90).y - 50}, 0}}); // linear
    EXPECT_NEAR(h.recorder.values.back(), 0.25f, 1e-5f);
}

TEST_F(KnobTest, WheelStepsFinerWithShiftAndClamps)
{
    knob->setValue(0.5f);
    DrawContext context(h.window->surface(), h.window, h.frame);
    EXPECT_TRUE(knob->onWheel(context, {}, 1.0f));
    EXPECT_NEAR(knob->getValue(), 0.6f, 1e-6f);
    h.window->setMouse({}, kMouseShift);
    knob->onWheel(context, {}, -1.0f);
    EXPECT_NEAR(knob->getValue(), 0.59f, 1e-6f);
    h.window->setMouse({}, 0);
    knob->onWheel(context, {}, 10.0f);
    EXPECT_FLOAT_EQ(knob->getValue(), 1.0f);
    knob->setMouseEnabled(false);
    EXPECT_FALSE(knob->onWheel(context, {}, -1.0f));
    EXPECT_FLOAT_EQ(knob->getValue(), 1.0f);
}

TEST(StepSwitchTest, PositionsFollowThePointerAcrossTheBitmap)
{
    Harness h;
    GuiBitmap* strip = makeStrip(21, 26, 4);
    auto* sw = h.add(new StepSwitch({83, 32, 104, 58}, &h.recorder, 0, 4, 26, 4, strip));
    strip->release();
    EXPECT_FLOAT_EQ(sw->getDefaultValue(), 0.0f);
    const float expected[] = {0, 0, 1.f / 3, 1.f / 3, 2.f / 3, 2.f / 3, 1, 1};
    const int d[] = {0, 5, 6, 10, 11, 15, 16, 21};
    for (int i = 0; i < 8; ++i)
        EXPECT_FLOAT_EQ(sw->valueAt(d[i]), expected[i]) << "d = " << d[i];
    sw->setValue(1.0f);
    EXPECT_EQ(sw->frameIndex(), 3);
    sw->setValue(0.5f);
    EXPECT_EQ(sw->frameIndex(), 1);

    // Tracks while the state stays as pressed; a changed modifier ends it.
    h.press({{{95, 40}, L}, {{100, 40}, L}, {{100, 40}, L | kMouseShift}, {{83, 40}, L | kMouseShift}});
    EXPECT_EQ(h.recorder.values, (std::vector<float>{2.f / 3, 1.0f}));
    EXPECT_EQ(h.owner.begun.size(), 1u);
    EXPECT_EQ(h.owner.ended.size(), 1u);

    h.press({{{95, 40}, L | kMouseControl}});
    EXPECT_FLOAT_EQ(sw->getValue(), 0.0f);
}

TEST(ToggleButtonTest, FlipsOnEveryPressAndAlwaysReports)
{
    Harness h;
    GuiBitmap* bmp = makeStrip(16, 16, 2);
    auto* toggle = h.add(new ToggleButton({10, 10, 26, 26}, &h.recorder, 44, bmp));
    bmp->release();
    toggle->setValue(0.5f);
    h.press({{{12, 12}, L}});
    EXPECT_FLOAT_EQ(toggle->getValue(), 1.0f);
    h.press({{{12, 12}, L | kMouseControl}}); // no reset click on toggles
    EXPECT_FLOAT_EQ(toggle->getValue(), 0.0f);
    EXPECT_EQ(h.recorder.values, (std::vector<float>{1.0f, 0.0f}));
    EXPECT_TRUE(h.owner.begun.empty());
    // The picture shows the new state at once, without waiting for idle.
    EXPECT_EQ(h.window->pixel(15, 15), stripColour(0));

    // A press handled after the button was already released still toggles.
    h.window->setMouse({12, 12}, 0);
    DrawContext context(h.window->surface(), h.window, h.frame);
    context.setPressButtons(L);
    h.frame->mouse(context, {12, 12});
    EXPECT_FLOAT_EQ(toggle->getValue(), 1.0f);
}

TEST(MomentaryButtonTest, ReportsOnOffOnOffWhenLeftAndReentered)
{
    Harness h;
    GuiBitmap* bmp = makeStrip(19, 19, 2);
    auto* button = h.add(new MomentaryButton({50, 50, 69, 69}, &h.recorder, 66, 19, bmp));
    bmp->release();
    h.press({{{60, 60}, L}, {{100, 100}, L}, {{69, 69}, L}, {{69, 69}, 0}});
    EXPECT_EQ(h.recorder.values, (std::vector<float>{1, 0, 1, 0}));
    EXPECT_EQ(h.owner.begun, std::vector<int>{66});
    EXPECT_EQ(h.owner.ended, std::vector<int>{66});
    EXPECT_FLOAT_EQ(button->getValue(), 0.0f);

    // Already released when handled: one on and one off.
    h.recorder.values.clear();
    h.window->setMouse({60, 60}, 0);
    DrawContext context(h.window->surface(), h.window, h.frame);
    context.setPressButtons(L);
    h.frame->mouse(context, {60, 60});
    EXPECT_EQ(h.recorder.values, (std::vector<float>{1, 0}));
}

// A 121 x 11 slider at x 10 whose 11-pixel handle travels x 10..120.
struct SliderTest : ::testing::Test {
    Harness h{300, 200};
    GuiBitmap* handle = makeBitmap(11, 11, [](int, int) { return GuiColor{200, 0, 0, 0}; });
    GuiBitmap* track = makeBitmap(121, 11, [](int, int) { return GuiColor{0, 0, 90, 0}; });
    HorizontalSlider* slider = h.add(new HorizontalSlider({10, 100, 131, 111}, &h.recorder, 57, 10, 120, handle, track));
    ~SliderTest() override
    {
        handle->release();
        track->release();
    }
};

TEST_F(SliderTest, ClickToJumpCentresTheHandleOnThePointer)
{
    h.press({{{70, 105}, L}});
    EXPECT_NEAR(slider->getValue(), (70 - 14) / 110.0f, 1e-6f);
    EXPECT_EQ(slider->handleRect(), (GuiRect{66, 100, 77, 111}));
}

TEST_F(SliderTest, WithoutClickToJumpOnlyTheHandleCanBeGrabbed)
{
    slider->setClickToJump(false);
    h.press({{{80, 105}, L}, {{90, 105}, L}, {{90, 105}, 0}});
    EXPECT_TRUE(h.recorder.values.empty());
    EXPECT_TRUE(h.owner.begun.empty());
    EXPECT_FLOAT_EQ(slider->getValue(), 0.0f);

    // Grabbed at its right edge, the handle keeps that grip while dragged.
    h.press({{{21, 111}, L}, {{76, 105}, L}, {{76, 105}, 0}});
    EXPECT_NEAR(slider->getValue(), 0.5f, 1e-6f);
    EXPECT_EQ(slider->handleRect().left, 65);
}

TEST_F(SliderTest, ShiftMovesTenTimesSlower)
{
    h.press({{{69, 105}, L}, {{69, 105}, L | kMouseShift}, {{124, 105}, L | kMouseShift}, {{124, 105}, 0}});
    EXPECT_NEAR(h.recorder.values.front(), 0.5f, 1e-6f);
    EXPECT_NEAR(slider->getValue(), 0.55f, 1e-5f);
}

TEST_F(SliderTest, ResetClickAndClamping)
{
    slider->setDefaultValue(0.25f);
    h.press({{{100, 105}, L}, {{300, 105}, L}, {{300, 105}, 0}});
    EXPECT_FLOAT_EQ(slider->getValue(), 1.0f);
    h.press({{{20, 105}, L | kMouseControl}});
    EXPECT_FLOAT_EQ(slider->getValue(), 0.25f);
}

TEST(VerticalSliderTest, OriginAtTheBottom)
{
    Harness h;
    GuiBitmap* handle = makeBitmap(11, 11, [](int, int) { return kColorRed; });
    auto* slider = h.add(new VerticalSlider({20, 37, 31, 110}, &h.recorder, 46, 37, 99, handle, nullptr));
    handle->release();
    slider->setValue(1.0f);
    EXPECT_EQ(slider->handleRect(), (GuiRect{20, 37, 31, 48}));
    slider->setValue(0.0f);
    EXPECT_EQ(slider->handleRect(), (GuiRect{20, 99, 31, 110}));
    h.press({{{25, 37 + 4 + 31}, L}});
    EXPECT_NEAR(slider->getValue(), 0.5f, 1e-6f);
}

TEST(TextFieldTest, UnchangedTextSendsNothingAndChangedTextOneReport)
{
    Harness h;
    auto* field = h.add(new TextField({10, 10, 85, 21}, &h.recorder, 72, "Init"));
    h.press({{{20, 15}, L}});
    ASSERT_TRUE(field->isEditing());
    EXPECT_EQ(h.frame->focusView(), field);
    EXPECT_TRUE(h.window->hasKeyboardFocus());
    h.window->sendKey({GuiKey::Enter});
    EXPECT_FALSE(field->isEditing());
    EXPECT_EQ(h.frame->focusView(), nullptr);
    EXPECT_FALSE(h.window->hasKeyboardFocus());
    EXPECT_TRUE(h.recorder.values.empty());

    h.press({{{20, 15}, L}});
    h.window->typeText("Bass");
    h.window->sendKey({GuiKey::Escape}); // not a cancel
    h.window->sendKey({GuiKey::Enter});
    EXPECT_EQ(field->getText(), "Bass");
    EXPECT_EQ(h.recorder.tags, std::vector<int>{72});

    // Losing the keyboard focus commits too.
    h.press({{{20, 15}, L}});
    h.window->typeText("Lead");
    h.window->loseFocus();
    EXPECT_EQ(field->getText(), "Lead");
    EXPECT_EQ(h.recorder.tags.size(), 2u);
}

TEST(TextFieldTest, LabelWithMouseDisabledIsNeverEdited)
{
    Harness h;
    auto* status = h.add(new TextField({0, 0, 100, 13}, &h.recorder, 64));
    status->setMouseEnabled(false);
    h.press({{{5, 5}, L}});
    EXPECT_FALSE(status->isEditing());
}

TEST(TextFieldTest, TextIsLimitedTo255Characters)
{
    const std::string longText(300, 'a');
    TextField field({0, 0, 10, 10}, nullptr, 1, longText.c_str());
    EXPECT_EQ(field.getText().size(), 255u);
    field.setText(std::string(400, 'b'));
    char buffer[256];
    field.getText(buffer);
    EXPECT_EQ(std::string(buffer), std::string(255, 'b'));
}

TEST(LineEditorTest, EditingKeys)
{
    LineEditor editor("Hello");
    editor.selectAll();
    editor.key({GuiKey::Character, 'J'});
    EXPECT_EQ(editor.text(), "J"); // typing replaces the selection
    for (char c : std::string("ump"))
        editor.key({GuiKey::Character, static_cast<unsigned char>(c)});
    editor.key({GuiKey::Home});
    editor.key({GuiKey::Delete});
    EXPECT_EQ(editor.text(), "ump");
    editor.key({GuiKey::End});
    editor.key({GuiKey::Backspace});
    editor.key({GuiKey::Left});
    editor.key({GuiKey::Character, 'Z'});
    EXPECT_EQ(editor.text(), "uZm");
    editor.key({GuiKey::Character, '\n'}); // control characters are not text
    editor.key({GuiKey::Escape});
    EXPECT_EQ(editor.text(), "uZm");
    EXPECT_TRUE(editor.key({GuiKey::Enter}));

    LineEditor full(std::string(255, 'x'));
    full.key({GuiKey::Character, 'y'});
    EXPECT_EQ(full.text().size(), 255u);
}

void percent(float v, char* text) { std::snprintf(text, 256, "%d", int(v * 100)); }
void withData(float v, char* text, void* data) { std::snprintf(text, 256, "%s%.1f", static_cast<const char*>(data), v); }

TEST(ValueDisplayTest, TextComesFromTheConverterOrTwoDecimals)
{
    ValueDisplay display({0, 0, 25, 9});
    display.setValue(0.5f);
    EXPECT_EQ(display.text(), "0.50");
    display.setConverter(percent);
    EXPECT_EQ(display.text(), "50");
    char prefix[] = "v=";
    display.setConverterWithData(withData, prefix);
    EXPECT_EQ(display.text(), "v=0.5");
}

TEST(ValueDisplayTest, AttributeSettersMarkDirtyOnlyOnChange)
{
    Harness h;
    auto* display = h.add(new ValueDisplay({0, 0, 25, 9}));
    DrawContext context(h.window->surface(), h.window, h.frame);
    display->draw(context);
    EXPECT_FALSE(display->isDirty());
    display->setFont(3);
    display->setFontColor(kColorWhite);
    display->setConverter(percent);
    EXPECT_FALSE(display->isDirty());
    display->setFontColor(kColorGrey);
    EXPECT_TRUE(display->isDirty());
}

} // namespace
