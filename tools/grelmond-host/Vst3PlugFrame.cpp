#include "Vst3PlugFrame.h"

#include "Vst3Unknown.h"

#include <thread>

#if SMTG_OS_LINUX
#include <poll.h>
#endif

namespace host {

using namespace Steinberg;

namespace {

// Larger than any screen; a bigger request is a broken rectangle.
constexpr int kMaxViewSide = 16384;

} // namespace

tresult PLUGIN_API Vst3PlugFrame::resizeView(IPlugView* view, ViewRect* newSize)
{
    if (view == nullptr || newSize == nullptr)
        return kInvalidArgument;
    const int width = newSize->getWidth();
    const int height = newSize->getHeight();
    if (width <= 0 || height <= 0 || width > kMaxViewSide || height > kMaxViewSide)
        return kInvalidArgument;
    requestedWidth_ = width;
    requestedHeight_ = height;
    ++requestCount_;
    if (refuse_ || (resizer_ && !resizer_(width, height)))
        return kResultFalse;
    const tresult result = view->onSize(newSize);
    ViewRect now;
    if (view->getSize(&now) == kResultOk)
        widthDuringResize_ = now.getWidth();
    return result;
}

#if SMTG_OS_LINUX

void Vst3PlugFrame::dispatch(std::chrono::milliseconds wait)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point now = Clock::now();
    for (const Timer& timer : timers_)
        if (timer.due - now < wait)
            wait = std::chrono::duration_cast<std::chrono::milliseconds>(timer.due - now);
    if (wait.count() < 0)
        wait = std::chrono::milliseconds(0);

    std::vector<pollfd> fds;
    for (const Handler& h : handlers_)
        fds.push_back({h.fd, POLLIN, 0});
    if (fds.empty())
        std::this_thread::sleep_for(wait);
    else
        poll(fds.data(), fds.size(), static_cast<int>(wait.count()));
    // A handler may unregister itself (or another) while being served: look each up afresh.
    for (const pollfd& p : fds) {
        if ((p.revents & POLLIN) == 0)
            continue;
        for (const Handler& h : handlers_)
            if (h.fd == p.fd) {
                h.handler->onFDIsSet(p.fd);
                break;
            }
    }
    const Clock::time_point after = Clock::now();
    std::vector<Linux::ITimerHandler*> due;
    for (Timer& timer : timers_)
        if (timer.due <= after) {
            timer.due = after + timer.interval;
            due.push_back(timer.handler);
        }
    for (Linux::ITimerHandler* handler : due)
        for (const Timer& timer : timers_)
            if (timer.handler == handler) {
                handler->onTimer();
                break;
            }
}

tresult PLUGIN_API Vst3PlugFrame::registerEventHandler(Linux::IEventHandler* handler, Linux::FileDescriptor fd)
{
    if (handler == nullptr || fd < 0)
        return kInvalidArgument;
    handlers_.push_back({handler, fd});
    return kResultOk;
}

tresult PLUGIN_API Vst3PlugFrame::unregisterEventHandler(Linux::IEventHandler* handler)
{
    for (auto it = handlers_.begin(); it != handlers_.end(); ++it)
        if (it->handler == handler) {
            handlers_.erase(it);
            return kResultOk;
        }
    return kInvalidArgument;
}

tresult PLUGIN_API Vst3PlugFrame::registerTimer(Linux::ITimerHandler* handler, Linux::TimerInterval milliseconds)
{
    if (handler == nullptr || milliseconds == 0)
        return kInvalidArgument;
    const auto interval = std::chrono::milliseconds(milliseconds);
    timers_.push_back({handler, interval, std::chrono::steady_clock::now() + interval});
    return kResultOk;
}

tresult PLUGIN_API Vst3PlugFrame::unregisterTimer(Linux::ITimerHandler* handler)
{
    for (auto it = timers_.begin(); it != timers_.end(); ++it)
        if (it->handler == handler) {
            timers_.erase(it);
            return kResultOk;
        }
    return kInvalidArgument;
}

tresult PLUGIN_API Vst3PlugFrame::queryInterface(const TUID iid, void** obj)
{
    return answerQuery<Vst3PlugFrame, IPlugFrame, Linux::IRunLoop>(this, iid, obj);
}

#else

void Vst3PlugFrame::dispatch(std::chrono::milliseconds wait)
{
    std::this_thread::sleep_for(wait);
}

tresult PLUGIN_API Vst3PlugFrame::queryInterface(const TUID iid, void** obj)
{
    return answerQuery<Vst3PlugFrame, IPlugFrame>(this, iid, obj);
}

#endif

} // namespace host
