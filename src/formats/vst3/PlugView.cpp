#include "formats/vst3/PlugView.h"
#include "formats/vst3/InterfaceAnswer.h"

#include "editor/EditorLayout.h"
#include "formats/vst3/Vst3Instrument.h"
#include "gui/GuiFrame.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#if SMTG_OS_LINUX
#include "gui/x11/X11Window.h"
#else
#include <windows.h>
#endif

namespace grelmond::vst3 {

using namespace Steinberg;

namespace {

#if SMTG_OS_LINUX
const FIDString kWindowType = kPlatformTypeX11EmbedWindowID;
#else
const FIDString kWindowType = kPlatformTypeHWND;

// The timer's id is the view itself, so nothing needs looking up.
void CALLBACK idleTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    reinterpret_cast<PlugView*>(id)->idle();
}
#endif

} // namespace

PlugView::PlugView(Vst3Instrument& owner) : owner_(owner)
{
    owner_.addRef(); // the instance outlives its view
}

PlugView::~PlugView()
{
    removed();
    setFrame(nullptr);
    owner_.release();
}

tresult PLUGIN_API PlugView::isPlatformTypeSupported(FIDString type)
{
    return type != nullptr && std::strcmp(type, kWindowType) == 0 ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API PlugView::attached(void* parent, FIDString type)
{
    if (parent == nullptr || isPlatformTypeSupported(type) != kResultTrue)
        return kInvalidArgument;
    removed(); // a host that attaches twice gets one window
    if (!owner_.editor().open(parent))
        return kResultFalse;
    parent_ = parent;
    owner_.viewAttached(this);
    startIdle();
    return kResultOk;
}

tresult PLUGIN_API PlugView::removed()
{
    if (parent_ == nullptr)
        return kResultOk;
    stopIdle();
    owner_.viewRemoved(this);
    owner_.editor().close();
    parent_ = nullptr;
    return kResultOk;
}

tresult PLUGIN_API PlugView::onWheel(float distance)
{
    return owner_.editor().onWheel(distance) ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API PlugView::getSize(ViewRect* size)
{
    if (size == nullptr)
        return kInvalidArgument;
    *size = ViewRect(0, 0, owner_.editor().width(), owner_.editor().height());
    return kResultOk;
}

bool PlugView::hasEditorSize(const ViewRect& rect)
{
    return rect.getWidth() == owner_.editor().width() && rect.getHeight() == owner_.editor().height();
}

tresult PLUGIN_API PlugView::onSize(ViewRect* newSize)
{
    if (newSize == nullptr)
        return kInvalidArgument;
    return hasEditorSize(*newSize) ? kResultOk : kResultFalse;
}

tresult PLUGIN_API PlugView::checkSizeConstraint(ViewRect* rect)
{
    if (rect == nullptr)
        return kInvalidArgument;
    rect->right = rect->left + owner_.editor().width();
    rect->bottom = rect->top + owner_.editor().height();
    return kResultOk;
}

tresult PLUGIN_API PlugView::setContentScaleFactor(ScaleFactor factor)
{
    if (!std::isfinite(factor) || factor <= 0.0f)
        return kInvalidArgument;
    // An open editor is redrawn at its next idle, resized in place, and then asks for its new size.
    owner_.editor().setHostScale(std::clamp(double(factor), 1.0, 2.0));
    return kResultOk;
}

bool PlugView::requestResize(int width, int height)
{
    if (frame_ == nullptr)
        return false;
    ViewRect rect(0, 0, width, height);
    if (frame_->resizeView(this, &rect) == kResultOk)
        return true;
    owner_.editor().hostKeptSize(); // drawn again at the scale that fits the host's window
    return false;
}

tresult PLUGIN_API PlugView::setFrame(IPlugFrame* frame)
{
    if (frame == frame_)
        return kResultOk;
    const bool running = parent_ != nullptr;
    if (running)
        stopIdle();
    if (frame != nullptr)
        frame->addRef();
    if (frame_ != nullptr)
        frame_->release();
    frame_ = frame;
    if (running)
        startIdle();
    return kResultOk;
}

void PlugView::idle()
{
    owner_.editor().idle();
#if SMTG_OS_LINUX
    followConnection(); // an editor opened again has a new X connection
#endif
}

#if SMTG_OS_LINUX

void PLUGIN_API PlugView::onFDIsSet(Linux::FileDescriptor)
{
    idle();
}

void PLUGIN_API PlugView::onTimer()
{
    idle();
}

void PlugView::startIdle()
{
    if (frame_ == nullptr || runLoop_ != nullptr)
        return;
    void* object = nullptr;
    if (frame_->queryInterface(Linux::IRunLoop::iid, &object) != kResultOk || object == nullptr)
        return;
    runLoop_ = static_cast<Linux::IRunLoop*>(object);
    followConnection();
    runLoop_->registerTimer(this, kIdleMilliseconds);
}

int PlugView::editorConnection()
{
    GuiFrame* frame = owner_.editor().frame();
    auto* window = frame != nullptr ? dynamic_cast<X11Window*>(frame->window()) : nullptr;
    return window != nullptr && window->display() != nullptr ? ConnectionNumber(window->display()) : -1;
}

void PlugView::followConnection()
{
    const int connection = editorConnection();
    if (runLoop_ == nullptr || connection == connection_)
        return;
    if (connection_ >= 0)
        runLoop_->unregisterEventHandler(this);
    connection_ = connection;
    if (connection_ >= 0)
        runLoop_->registerEventHandler(this, connection_);
}

void PlugView::stopIdle()
{
    if (runLoop_ == nullptr)
        return;
    runLoop_->unregisterEventHandler(this);
    runLoop_->unregisterTimer(this);
    connection_ = -1;
    runLoop_->release();
    runLoop_ = nullptr;
}

#else

void PlugView::startIdle()
{
    SetTimer(static_cast<HWND>(parent_), reinterpret_cast<UINT_PTR>(this), kIdleMilliseconds, idleTimer);
}

void PlugView::stopIdle()
{
    KillTimer(static_cast<HWND>(parent_), reinterpret_cast<UINT_PTR>(this));
}

#endif

tresult PLUGIN_API PlugView::queryInterface(const TUID iid, void** obj)
{
    if (obj == nullptr)
        return kInvalidArgument;
    if (FUnknownPrivate::iidEqual(iid, FUnknown::iid)) {
        addRef();
        *obj = static_cast<IPlugView*>(this);
        return kResultOk;
    }
#if SMTG_OS_LINUX
    if (answer<Linux::IEventHandler>(this, iid, obj) || answer<Linux::ITimerHandler>(this, iid, obj))
        return kResultOk;
#endif
    if (answer<IPlugView>(this, iid, obj) || answer<IPlugViewContentScaleSupport>(this, iid, obj))
        return kResultOk;
    *obj = nullptr;
    return kNoInterface;
}

uint32 PLUGIN_API PlugView::release()
{
    const uint32 left = refs_.drop();
    if (left == 0)
        delete this;
    return left;
}

} // namespace grelmond::vst3
