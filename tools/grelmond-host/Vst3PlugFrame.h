#pragma once

// The frame a VST 3 view lives in. On Linux it is also the host's run loop:
// the view registers its X connection's descriptor and its timers here, and
// dispatch() (called from the host's event loop) serves them.

#include "pluginterfaces/gui/iplugview.h"

#include <chrono>
#include <functional>
#include <utility>
#include <vector>

namespace host {

class Vst3PlugFrame final : public Steinberg::IPlugFrame
#if SMTG_OS_LINUX
    ,
                            public Steinberg::Linux::IRunLoop
#endif
{
public:
    // Serves ready descriptors and due timers, waiting at most `wait` for them.
    void dispatch(std::chrono::milliseconds wait);
    int handlerCount() const { return static_cast<int>(handlers_.size()); }
    int timerCount() const { return static_cast<int>(timers_.size()); }
    // The size the view last asked for (0 × 0 before any request).
    int requestedWidth() const { return requestedWidth_; }
    int requestedHeight() const { return requestedHeight_; }
    int requestCount() const { return requestCount_; }
    // A host that keeps its window's size: resizeView answers kResultFalse and never calls onSize.
    void refuseResizes(bool refuse) { refuse_ = refuse; }
    // The width the view's getSize gave inside the last accepted resizeView, after onSize.
    int widthDuringResize() const { return widthDuringResize_; }
    // Resizes the window the view lives in; resizeView calls it before the view's onSize.
    // False refuses the size.
    void setWindowResizer(std::function<bool(int width, int height)> resizer) { resizer_ = std::move(resizer); }

    Steinberg::tresult PLUGIN_API resizeView(Steinberg::IPlugView* view, Steinberg::ViewRect* newSize) override;
#if SMTG_OS_LINUX
    Steinberg::tresult PLUGIN_API registerEventHandler(Steinberg::Linux::IEventHandler* handler,
                                                       Steinberg::Linux::FileDescriptor fd) override;
    Steinberg::tresult PLUGIN_API unregisterEventHandler(Steinberg::Linux::IEventHandler* handler) override;
    Steinberg::tresult PLUGIN_API registerTimer(Steinberg::Linux::ITimerHandler* handler,
                                                Steinberg::Linux::TimerInterval milliseconds) override;
    Steinberg::tresult PLUGIN_API unregisterTimer(Steinberg::Linux::ITimerHandler* handler) override;
#endif

    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
    Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
    Steinberg::uint32 PLUGIN_API release() override { return 1; }

private:
    int requestedWidth_ = 0;
    int requestedHeight_ = 0;
    int requestCount_ = 0;
    bool refuse_ = false;
    int widthDuringResize_ = 0;
    std::function<bool(int, int)> resizer_;
#if SMTG_OS_LINUX
    struct Handler {
        Steinberg::Linux::IEventHandler* handler;
        int fd;
    };
    struct Timer {
        Steinberg::Linux::ITimerHandler* handler;
        std::chrono::milliseconds interval;
        std::chrono::steady_clock::time_point due;
    };
    std::vector<Handler> handlers_;
    std::vector<Timer> timers_;
#else
    std::vector<int> handlers_;
    std::vector<int> timers_;
#endif
};

} // namespace host
