#include "PanelLayout.h"

#include <cstdio>
#include <cstdlib>

namespace artwork {

namespace {
using K = ControlKind;

std::vector<ControlPlace> makeControls() {
    std::vector<ControlPlace> c = {
        // Oscillators: one row per oscillator, columns Shape, Semi, Fine, Volume.
        {0, K::WaveSwitch, 83, 132, 21, 26, 0, 0},
        {1, K::Knob, 113, 132, 21, 27, 0.5f, 0},
        {2, K::Knob, 143, 132, 21, 27, 0.5f, 0},
        {3, K::Knob, 173, 132, 21, 27, 0.5f, 0},
        {4, K::WaveSwitch, 83, 160, 21, 26, 1 / 3.0f, 0},
        {5, K::Knob, 113, 160, 21, 27, 0.5f, 0},
        {6, K::Knob, 143, 160, 21, 27, 0.5f, 0},
        {7, K::Knob, 173, 160, 21, 27, 0.5f, 0},
        {8, K::WaveSwitch, 83, 188, 21, 26, 2 / 3.0f, 0},
        {9, K::Knob, 113, 188, 21, 27, 0.5f, 0},
        {10, K::Knob, 143, 188, 21, 27, 0.5f, 0},
        {11, K::Knob, 173, 188, 21, 27, 0.5f, 0},
        // Mod column.
        {12, K::Knob, 374, 144, 21, 27, 0.5f, 0},
        {13, K::Knob, 374, 188, 21, 27, 0.5f, 0},
        {45, K::Knob, 323, 137, 21, 27, 0, 0},
        {44, K::Toggle, 325, 168, 16, 16, 0, 0},
        {39, K::Toggle, 325, 194, 16, 16, 1, 0},
        // Filter.
        {42, K::VSlider, 236, 137, 11, 73, 0.5f, 0},
        {43, K::VSlider, 260, 137, 11, 73, 0.5f, 0},
        {46, K::VSlider, 284, 137, 11, 73, 0.5f, 0},
        {47, K::VSlider, 308, 137, 11, 73, 0.5f, 0},
        // Filter envelope.
        {14, K::Knob, 236, 243, 21, 27, 0.5f, 0},
        {15, K::Knob, 266, 243, 21, 27, 0.5f, 0},
        {16, K::Knob, 296, 243, 21, 27, 0.5f, 0},
        {17, K::Knob, 326, 243, 21, 27, 0.05f, 0},
        {23, K::Knob, 356, 243, 21, 27, 1, 0},
        // Amp envelope.
        {59, K::Knob, 71, 243, 21, 27, 0, 0},
        {60, K::Knob, 101, 243, 21, 27, 1, 0},
        {61, K::Knob, 131, 243, 21, 27, 1, 0},
        {62, K::Knob, 161, 243, 21, 27, 0, 0},
        {37, K::Knob, 191, 243, 21, 27, 0, 0},
        // Processor.
        {18, K::Knob, 254, 306, 21, 27, 1, 0},
        {19, K::Knob, 284, 306, 21, 27, 0, 0},
        {20, K::Knob, 314, 306, 21, 27, 0.5f, 0},
        {21, K::Knob, 344, 306, 21, 27, 0.5f, 0},
        {30, K::Toggle, 257, 341, 16, 16, 0, 0},
        {58, K::Knob, 284, 336, 21, 27, 0.5f, 0},
        {24, K::Knob, 344, 336, 21, 27, 1, 0},
        {57, K::HSlider, 247, 393, 121, 11, 0, 0},
        {57, K::Display, 266, 366, 85, 9, 0, 0},
        // Unison.
        {29, K::HSlider, 73, 308, 121, 11, 0.5f, 0},
        {28, K::HSlider, 73, 330, 121, 11, 0.5f, 0},
        {29, K::Display, 197, 308, 25, 9, 0.5f, 0},
        {28, K::Display, 197, 330, 25, 9, 0.5f, 0},
        // Chorus.
        {31, K::HSlider, 73, 371, 121, 11, 0.5f, 0},
        {40, K::HSlider, 73, 393, 121, 11, 0.5f, 0},
        {41, K::HSlider, 73, 415, 121, 11, 0.5f, 0},
        // Delay.
        {49, K::HSlider, 413, 133, 121, 11, 0.5f, 0},
        {51, K::HSlider, 413, 155, 121, 11, 0.5f, 0},
        {50, K::HSlider, 413, 177, 121, 11, 0.5f, 0},
        {53, K::HSlider, 413, 199, 121, 11, 0.5f, 0},
        {55, K::HSlider, 413, 221, 121, 11, 0.5f, 0},
        {54, K::HSlider, 413, 243, 121, 11, 0.5f, 0},
        {49, K::Display, 540, 133, 25, 9, 0.5f, 0},
        {51, K::Display, 540, 155, 25, 9, 0.5f, 0},
        {50, K::Display, 540, 177, 25, 9, 0.5f, 0},
        {53, K::Display, 540, 199, 25, 9, 0.5f, 0},
        {55, K::Display, 540, 221, 25, 9, 0.5f, 0},
        {54, K::Display, 540, 243, 25, 9, 0.5f, 0},
        {56, K::Toggle, 413, 261, 16, 16, 0, 0},
        {52, K::Toggle, 473, 261, 16, 16, 1, 0},
        // Flanger and the right column.
        {32, K::VSlider, 433, 308, 11, 73, 0.5f, 0},
        {33, K::VSlider, 457, 308, 11, 73, 0.75f, 0},
        {34, K::VSlider, 481, 308, 11, 73, 0, 0},
        {35, K::VSlider, 505, 308, 11, 73, 0.5f, 0},
        {36, K::Toggle, 522, 336, 16, 16, 0, 0},
        {22, K::Knob, 520, 357, 21, 27, 0.05f, 0},
        {63, K::Knob, 520, 395, 21, 27, 0.5f, 0},
        // Top strip, file buttons and status line.
        {64, K::TextField, 51, 470, 469, 13, 0, 0},
        {65, K::Button, 234, 61, 19, 19, 0, 230},
        {66, K::Button, 283, 61, 19, 19, 0, 231},
        {67, K::Button, 396, 403, 26, 13, 0, 232},
        {68, K::Button, 424, 401, 13, 13, 0, 233},
        {69, K::Button, 444, 403, 32, 13, 0, 235},
        {70, K::Button, 478, 401, 13, 13, 0, 233},
        {72, K::TextField, 150, 63, 75, 11, 0, 0},
        {73, K::TextField, 379, 63, 141, 11, 0, 0},
        {-1, K::Display, 259, 63, 16, 11, 0, 0}, // program number
    };
    return c;
}
} // namespace

const std::vector<ControlPlace>& panelControls() {
    static const std::vector<ControlPlace> controls = makeControls();
    return controls;
}

const ControlPlace& controlFor(int tag, ControlKind kind) {
    for (const ControlPlace& c : panelControls())
        if (c.tag == tag && c.kind == kind) return c;
    // A caption tied to a control that is not in the table is a bug in this tool.
    std::fprintf(stderr, "artwork: no control %d of kind %d\n", tag, static_cast<int>(kind));
    std::abort();
}

} // namespace artwork
