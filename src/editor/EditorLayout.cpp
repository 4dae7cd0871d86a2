#include "editor/EditorLayout.h"

#include "gui/BitmapScaler.h"

#include <array>

namespace grelmond::editor {

namespace {

constexpr GuiRect at(int left, int top, int width, int height) { return {left, top, left + width, top + height}; }

constexpr ControlSpec knob(int tag, int left, int top, float defaultValue)
{
    return {ControlKind::Knob, tag, at(left, top, 21, 27), kKnobBitmap, defaultValue};
}
constexpr ControlSpec wave(int tag, int left, int top)
{
    return {ControlKind::WaveSwitch, tag, at(left, top, 21, 26), kWaveBitmap, 0.0f};
}
constexpr ControlSpec vertical(int tag, int left, int top, float defaultValue)
{
    return {ControlKind::VerticalSlider, tag, at(left, top, 11, 73), kVerticalTrackBitmap, defaultValue};
}
constexpr ControlSpec horizontal(int tag, int left, int top, float defaultValue, bool clickToJump = true)
{
    return {ControlKind::HorizontalSlider, tag,           at(left, top, 121, 11), kHorizontalTrackBitmap,
            defaultValue,                  TextKind::None, clickToJump};
}
constexpr ControlSpec toggle(int tag, int left, int top)
{
    return {ControlKind::Toggle, tag, at(left, top, 16, 16), kToggleBitmap, 0.0f};
}
constexpr ControlSpec button(int tag, int left, int top, int width, int height, int bitmap)
{
    return {ControlKind::Button, tag, at(left, top, width, height), bitmap, 0.0f};
}
constexpr ControlSpec display(int parameter, int left, int top, TextKind text, int width = 25)
{
    return {ControlKind::ValueDisplay, parameter, at(left, top, width, 9), 0, 0.0f, text};
}

constexpr std::array kLayout{
    vertical(32, 433, 308, 0.5f),
    vertical(33, 457, 308, 0.75f),
    vertical(34, 481, 308, 0.0f),
    vertical(35, 505, 308, 0.5f),
    vertical(42, 236, 137, 0.5f),
    vertical(43, 260, 137, 0.5f),
    vertical(46, 284, 137, 0.5f),
    vertical(47, 308, 137, 0.5f),

    horizontal(49, 413, 133, 0.5f),
    horizontal(51, 413, 155, 0.5f),
    horizontal(50, 413, 177, 0.5f),
    horizontal(53, 413, 199, 0.5f),
    horizontal(55, 413, 221, 0.5f),
    horizontal(54, 413, 243, 0.5f),
    horizontal(31, 73, 371, 0.5f),
    horizontal(40, 73, 393, 0.5f),
    horizontal(41, 73, 415, 0.5f),
    horizontal(28, 73, 330, 0.5f),
    horizontal(29, 73, 308, 0.5f),

    knob(16, 296, 243, 0.5f),
    knob(20, 314, 306, 0.5f),
    knob(21, 344, 306, 0.5f),

    display(29, 197, 308, TextKind::Detune),
    display(28, 197, 330, TextKind::Unison),
    display(49, 540, 133, TextKind::DelayTime),
    display(51, 540, 155, TextKind::Percent),
    display(50, 540, 177, TextKind::Percent),
    display(53, 540, 199, TextKind::DelayTime),
    display(55, 540, 221, TextKind::Percent),
    display(54, 540, 243, TextKind::Percent),

    toggle(36, 522, 336),
    toggle(44, 325, 168),
    toggle(52, 473, 261),
    toggle(56, 413, 261),

    knob(37, 191, 243, 0.0f),
    knob(45, 323, 137, 0.0f),

    wave(0, 83, 132),
    knob(1, 113, 132, 0.5f),
    knob(2, 143, 132, 0.5f),
    knob(3, 173, 132, 0.5f),
    wave(4, 83, 160),
    knob(5, 113, 160, 0.5f),
    knob(6, 143, 160, 0.5f),
    knob(7, 173, 160, 0.5f),
    wave(8, 83, 188),
    knob(9, 113, 188, 0.5f),
    knob(10, 143, 188, 0.5f),
    knob(11, 173, 188, 0.5f),

    knob(12, 374, 144, 0.5f),
    knob(13, 374, 188, 0.5f),
    knob(14, 236, 243, 0.5f),
    knob(15, 266, 243, 0.5f),
    knob(17, 326, 243, 0.05f),
    knob(18, 254, 306, 1.0f),
    knob(19, 284, 306, 0.0f),
    knob(22, 520, 357, 0.05f),
    knob(23, 356, 243, 1.0f),
    knob(24, 344, 336, 1.0f),

    toggle(30, 257, 341),
    toggle(39, 325, 194),

    horizontal(57, 247, 393, 0.0f, false),
    knob(58, 284, 336, 0.5f),
    knob(59, 71, 243, 0.0f),
    knob(60, 101, 243, 1.0f),
    knob(61, 131, 243, 1.0f),
    knob(62, 161, 243, 0.0f),
    display(57, 266, 366, TextKind::FunctionName, 85),
    knob(63, 520, 395, 0.5f),

    ControlSpec{ControlKind::StatusLine, kStatusTag, at(51, 470, 469, 13)},
    button(kPreviousProgramTag, 234, 61, 19, 19, kPreviousBitmap),
    button(kNextProgramTag, 283, 61, 19, 19, kNextBitmap),
    button(kLoadPatchTag, 396, 403, 26, 13, kLoadPatchBitmap),
    button(kSavePatchTag, 424, 401, 13, 13, kSaveBitmap),
    button(kLoadBankTag, 444, 403, 32, 13, kLoadBankBitmap),
    button(kSaveBankTag, 478, 401, 13, 13, kSaveBitmap),
    ControlSpec{ControlKind::FileNameField, kFileNameTag, at(379, 63, 141, 11)},
    ControlSpec{ControlKind::ProgramNumber, -1, at(259, 63, 16, 11)},
    ControlSpec{ControlKind::ProgramNameField, kProgramNameTag, at(150, 63, 75, 11)},
};

} // namespace

std::span<const ControlSpec> controlLayout() { return kLayout; }

GuiRect scaledRect(const GuiRect& r, double scale)
{
    const int left = BitmapScaler::scaled(r.left, scale);
    const int top = BitmapScaler::scaled(r.top, scale);
    return {left, top, left + BitmapScaler::scaled(r.width(), scale), top + BitmapScaler::scaled(r.height(), scale)};
}

int syncParameterOf(int delayTimeParameter)
{
    return delayTimeParameter == 49 ? kLeftDelaySync : delayTimeParameter == 53 ? kRightDelaySync : -1;
}

} // namespace grelmond::editor
