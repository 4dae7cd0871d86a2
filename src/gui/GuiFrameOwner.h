#pragma once

namespace grelmond {

// The editor behind a frame: edit gestures go to the host, and the idle pump
// keeps the host and the screen alive while a control tracks the mouse.
class GuiFrameOwner {
public:
    virtual ~GuiFrameOwner() = default;
    virtual void beginEdit(int tag) = 0;
    virtual void endEdit(int tag) = 0;
    virtual void pumpIdle() = 0;
};

} // namespace grelmond
