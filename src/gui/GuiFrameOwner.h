#pragma once

#include "gui/GuiTypes.h"

namespace grelmond {

class GuiView;

// The editor behind a frame: edit gestures go to the host, and the idle pump
// keeps the host and the screen alive while a control tracks the mouse.
class GuiFrameOwner {
public:
    virtual ~GuiFrameOwner() = default;
    virtual void beginEdit(int tag) = 0;
    virtual void endEdit(int tag) = 0;
    virtual void pumpIdle() = 0;
    // The pointer came to rest over another view (null: over none).
    virtual void pointerOver(GuiView* view) {}
    // A key typed over a view while no text is being edited; true when used.
    virtual bool keyOver(GuiView* view, const GuiKeyEvent& key) { return false; }
};

} // namespace grelmond
