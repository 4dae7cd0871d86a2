#pragma once

#include "editor/EditorLayout.h"

#include <array>
#include <functional>
#include <vector>

namespace grelmond {

class ControlListener;
class EditorBitmaps;
class GuiControl;
class GuiFrame;
class EditorController;
class TextField;
class ValueDisplay;

// The controls of an open editor, built from the layout into a frame. The
// frame holds them; this keeps pointers to find them by tag. UI thread only.
class EditorControls {
public:
    // The value a parameter's control starts with.
    using ValueSource = std::function<float(int parameter)>;

    // Creates every control of the layout in order, each with its value, and
    // adds it to the frame. The plug-in feeds the displays' converters.
    void create(GuiFrame& frame, const EditorBitmaps& bitmaps, ControlListener* listener, EditorController& controller,
                const ValueSource& valueOf);
    // Takes every control out of the frame and destroys it.
    void destroy(GuiFrame& frame);
    bool empty() const { return statusLine_ == nullptr; }

    // The knob, switch, slider, toggle or button of a tag; null for none.
    GuiControl* control(int tag) const;
    // The value display of a parameter; null for none.
    ValueDisplay* display(int parameter) const;
    TextField* statusLine() const { return statusLine_; }
    TextField* programNameField() const { return programName_; }
    TextField* fileNameField() const { return fileName_; }
    ValueDisplay* programNumber() const { return programNumber_; }

    // Switches a delay-time display between seconds and note values.
    void showDelayAsNotes(int delayTimeParameter, bool notes);

private:
    GuiControl* make(const editor::ControlSpec& entry, const EditorBitmaps& bitmaps, ControlListener* listener,
                     const ValueSource& valueOf);
    ValueDisplay* makeDisplay(const editor::ControlSpec& entry, float value);
    TextField* makeTextField(const editor::ControlSpec& entry, ControlListener* listener);

    EditorController* controller_ = nullptr;
    std::vector<GuiControl*> all_; // creation order
    std::array<GuiControl*, editor::kLastTag + 1> controls_{};
    std::array<ValueDisplay*, 64> displays_{};
    TextField* statusLine_ = nullptr;
    TextField* programName_ = nullptr;
    TextField* fileName_ = nullptr;
    ValueDisplay* programNumber_ = nullptr;
};

} // namespace grelmond
