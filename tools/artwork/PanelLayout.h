#pragma once

#include <vector>

namespace artwork {

enum class ControlKind { Knob, WaveSwitch, Toggle, HSlider, VSlider, Button, Display, TextField };

// One control of the editor window as placed over the background.
struct ControlPlace {
    int tag;         // parameter or command the control belongs to
    ControlKind kind;
    int x, y, w, h;
    float value;     // shown in the preview: the control's default
    int bitmap;      // resource id for buttons, 0 otherwise
};

// Every control of the editor window at its pixel position. Captions in the
// background are placed relative to these rectangles.
const std::vector<ControlPlace>& panelControls();

// The control of the given kind bound to a tag; every caption lookup goes through here.
const ControlPlace& controlFor(int tag, ControlKind kind);

} // namespace artwork
