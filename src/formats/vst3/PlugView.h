#pragma once

// The editor as a VST 3 view in the host's window (an X11 window id on
// Linux, an HWND on Windows), at the editor's size for its zoom (the host's
// content scale, else the user's choice). On Linux the view
// has no thread or timer of its own: it registers its X connection and an
// idle timer with the host's run loop, and does its work when called there.

#include "formats/vst3/RefCount.h"

#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"

namespace grelmond::vst3 {

class Vst3Instrument;

class PlugView final : public Steinberg::IPlugView,
                       public Steinberg::IPlugViewContentScaleSupport
#if SMTG_OS_LINUX
    ,
                       public Steinberg::Linux::IEventHandler,
                       public Steinberg::Linux::ITimerHandler
#endif
{
public:
    explicit PlugView(Vst3Instrument& owner);
    ~PlugView();

    static constexpr int kIdleMilliseconds = 30;

    Steinberg::tresult PLUGIN_API isPlatformTypeSupported(Steinberg::FIDString type) override;
    Steinberg::tresult PLUGIN_API attached(void* parent, Steinberg::FIDString type) override;
    Steinberg::tresult PLUGIN_API removed() override;
    Steinberg::tresult PLUGIN_API onWheel(float distance) override;
    Steinberg::tresult PLUGIN_API onKeyDown(Steinberg::char16, Steinberg::int16, Steinberg::int16) override
    {
        return Steinberg::kResultFalse;
    }
    Steinberg::tresult PLUGIN_API onKeyUp(Steinberg::char16, Steinberg::int16, Steinberg::int16) override
    {
        return Steinberg::kResultFalse;
    }
    Steinberg::tresult PLUGIN_API getSize(Steinberg::ViewRect* size) override;
    Steinberg::tresult PLUGIN_API onSize(Steinberg::ViewRect* newSize) override;
    Steinberg::tresult PLUGIN_API onFocus(Steinberg::TBool) override { return Steinberg::kResultOk; }
    Steinberg::tresult PLUGIN_API setFrame(Steinberg::IPlugFrame* frame) override;
    Steinberg::tresult PLUGIN_API canResize() override { return Steinberg::kResultFalse; }
    Steinberg::tresult PLUGIN_API checkSizeConstraint(Steinberg::ViewRect* rect) override;
    Steinberg::tresult PLUGIN_API setContentScaleFactor(ScaleFactor factor) override;

    // Asks the host to give the view this size; false without a frame or if
    // refused, and then the editor goes back to the size the host kept.
    bool requestResize(int width, int height);

#if SMTG_OS_LINUX
    void PLUGIN_API onFDIsSet(Steinberg::Linux::FileDescriptor fd) override;
    void PLUGIN_API onTimer() override;
#endif
    // The editor's idle work: events, pending values, redraws.
    void idle();

    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
    Steinberg::uint32 PLUGIN_API addRef() override { return refs_.add(); }
    Steinberg::uint32 PLUGIN_API release() override;

private:
    void startIdle();
    void stopIdle();
    bool hasEditorSize(const Steinberg::ViewRect& rect);
#if SMTG_OS_LINUX
    int editorConnection();
    void followConnection();
#endif

    RefCount refs_;
    Vst3Instrument& owner_;
    Steinberg::IPlugFrame* frame_ = nullptr;
    void* parent_ = nullptr;
#if SMTG_OS_LINUX
    Steinberg::Linux::IRunLoop* runLoop_ = nullptr;
    int connection_ = -1; // the X connection registered with the run loop
#endif
};

} // namespace grelmond::vst3
