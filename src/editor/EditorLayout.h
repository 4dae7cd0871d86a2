#pragma once

#include "gui/GuiTypes.h"

#include <span>

namespace grelmond {

// The editor's fixed picture: its bitmaps, and every control with its place,
// kind and binding, listed in creation order (also drawing order; the last
// listed gets the mouse first).

namespace editor {

inline constexpr int kWidth = 629;
inline constexpr int kHeight = 484;

// Bitmap resources.
inline constexpr int kBackgroundBitmap = 213;
inline constexpr int kHorizontalTrackBitmap = 216;
inline constexpr int kHorizontalHandleBitmap = 217;
inline constexpr int kVerticalHandleBitmap = 218;
inline constexpr int kVerticalTrackBitmap = 219;
inline constexpr int kToggleBitmap = 222;
inline constexpr int kKnobBitmap = 226;
inline constexpr int kWaveBitmap = 227;
inline constexpr int kPreviousBitmap = 230;
inline constexpr int kNextBitmap = 231;
inline constexpr int kLoadPatchBitmap = 232;
inline constexpr int kSaveBitmap = 233;
inline constexpr int kLoadBankBitmap = 235;
inline constexpr int kControlBitmaps[] = {216, 217, 218, 219, 222, 226, 227, 230, 231, 232, 233, 235};

// Frames per strip; a frame's height is the bitmap's height divided by these.
inline constexpr int kKnobFrames = 92;
inline constexpr int kWaveFrames = 4;
inline constexpr int kWavePositions = 4;
inline constexpr int kButtonFrames = 2;

// How many frames a picture's strip holds.
constexpr int framesOf(int resourceId)
{
    switch (resourceId) {
    case kKnobBitmap:
        return kKnobFrames;
    case kWaveBitmap:
        return kWaveFrames;
    case kToggleBitmap:
    case kPreviousBitmap:
    case kNextBitmap:
    case kLoadPatchBitmap:
    case kSaveBitmap:
    case kLoadBankBitmap:
        return kButtonFrames;
    default:
        return 1;
    }
}

// A rectangle of the 1x picture at a scale: corners and sizes rounded alike,
// so that every control of a kind measures the same.
GuiRect scaledRect(const GuiRect& r, double scale);

// Tags of the editor's commands, after the 64 parameters.
inline constexpr int kStatusTag = 64;
inline constexpr int kPreviousProgramTag = 65;
inline constexpr int kNextProgramTag = 66;
inline constexpr int kLoadPatchTag = 67;
inline constexpr int kSavePatchTag = 68;
inline constexpr int kLoadBankTag = 69;
inline constexpr int kSaveBankTag = 70;
inline constexpr int kUnusedTag = 71;
inline constexpr int kProgramNameTag = 72;
inline constexpr int kFileNameTag = 73;
inline constexpr int kLastTag = 73;

// Parameters with more than a plain control.
inline constexpr int kLeftDelaySync = 52;
inline constexpr int kRightDelaySync = 56;
inline constexpr int kProcFunction = 57;

// Text colours.
inline constexpr GuiColor kDisplayText{200, 200, 200, 0};
inline constexpr GuiColor kDisplayFace{164, 129, 61, 0};
inline constexpr GuiColor kStatusText{127, 127, 127, 0};
inline constexpr int kDisplayFont = 4;
inline constexpr int kSmallFont = 5;

enum class ControlKind {
    WaveSwitch,
    Knob,
    VerticalSlider,
    HorizontalSlider,
    Toggle,
    Button,
    ValueDisplay,
    StatusLine,
    ProgramNameField,
    FileNameField,
    ProgramNumber,
};

// What a value display shows.
enum class TextKind {
    None,
    Detune,
    Unison,
    DelayTime, // or a note value while the delay's sync is on
    Percent,
    FunctionName,
};

struct ControlSpec {
    ControlKind kind;
    // Parameter or command tag; for a value display the parameter it shows;
    // -1 for the program number display.
    int tag;
    GuiRect rect;
    int bitmap = 0; // resource id of a button's picture
    float defaultValue = 0.5f;
    TextKind text = TextKind::None;
    bool clickToJump = true;
};

std::span<const ControlSpec> controlLayout();

// The sync parameter that turns a delay-time display into note values.
int syncParameterOf(int delayTimeParameter);

} // namespace editor
} // namespace grelmond
