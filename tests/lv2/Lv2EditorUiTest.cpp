// The editor through the UI library alone, as a host that runs it in another
// process would load it: its own X server, a parent window, the features and
// a write function that records what the editor sends.
#include <gtest/gtest.h> // first: the X11 headers define macros that clash with its names

#include "Lv2Plugin.h"
#include "Lv2TestPaths.h"
#include "PrivateXServer.h"
#include "ResidentSize.h"
#include "ScopedEnv.h"
#include "TempFolder.h"
#include "UridMap.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <dlfcn.h>
#include <lv2/atom/atom.h>
#include <lv2/options/options.h>
#include <lv2/ui/ui.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <thread>

namespace {

struct Written {
  uint32_t port, format;
  std::vector<uint8_t> bytes;
};

struct UiHost {
  std::vector<Written> writes;
  std::vector<std::pair<uint32_t, bool>> touches;
  int width = 0, height = 0;

  static void write(LV2UI_Controller controller, uint32_t port, uint32_t size, uint32_t format, const void* buffer) {
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    static_cast<UiHost*>(controller)->writes.push_back({port, format, {bytes, bytes + size}});
  }
  static void touch(LV2UI_Feature_Handle handle, uint32_t port, bool grabbed) {
    static_cast<UiHost*>(handle)->touches.emplace_back(port, grabbed);
  }
  static int resize(LV2UI_Feature_Handle handle, int width, int height) {
    static_cast<UiHost*>(handle)->width = width;
    static_cast<UiHost*>(handle)->height = height;
    return 0;
  }
};

struct Lv2EditorUiTest : ::testing::Test {
  testsupport::PrivateXServer server;
  Display* display = nullptr;
  Window parent = 0;
  void* library = nullptr;
  const LV2UI_Descriptor* descriptor = nullptr;
  host::UridMap urids;
  UiHost host;
  LV2UI_Touch touch{&host, &UiHost::touch};
  LV2UI_Resize resize{&host, &UiHost::resize};
  LV2_Feature mapFeature{LV2_URID__map, urids.mapFeature()}, parentFeature{LV2_UI__parent, nullptr},
      touchFeature{LV2_UI__touch, &touch}, resizeFeature{LV2_UI__resize, &resize};
  const LV2_Feature* features[5] = {&mapFeature, &parentFeature, &touchFeature, &resizeFeature, nullptr};

  void SetUp() override {
    ASSERT_FALSE(server.display.empty()) << "Xvfb did not start";
    setenv("DISPLAY", server.display.c_str(), 1);
    display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    parent = XCreateSimpleWindow(display, DefaultRootWindow(display), 10, 10, 629, 484, 0, 0, 0);
    XMapWindow(display, parent);
    XSync(display, False);
    parentFeature.data = reinterpret_cast<void*>(static_cast<uintptr_t>(parent));
    library = dlopen((lv2Bundle() + "/GrelmondUI.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    const auto entry = reinterpret_cast<LV2UI_DescriptorFunction>(dlsym(library, "lv2ui_descriptor"));
    ASSERT_NE(entry, nullptr);
    descriptor = entry(0);
    ASSERT_NE(descriptor, nullptr);
  }
  void TearDown() override {
    if (display != nullptr)
      XCloseDisplay(display);
  }

  LV2UI_Handle open(LV2UI_Widget* widget) {
    return descriptor->instantiate(descriptor, "urn:zavr:grelmond", lv2Bundle().c_str(), &UiHost::write, &host,
                                   widget, features);
  }
  int idle(LV2UI_Handle ui) {
    const auto* idler = static_cast<const LV2UI_Idle_Interface*>(descriptor->extension_data(LV2_UI__idleInterface));
    return idler->idle(ui);
  }
  // Pointer moves and button presses from a connection of their own, timed
  // against the editor's idle calls on this thread.
  void gesture(LV2UI_Handle ui, int x, int y, int dy) {
    std::thread mover([&] {
      Display* own = XOpenDisplay(server.display.c_str());
      XTestFakeMotionEvent(own, DefaultScreen(own), 10 + x, 10 + y, CurrentTime);
      XTestFakeButtonEvent(own, 1, True, CurrentTime);
      XSync(own, False);
      std::this_thread::sleep_for(std::chrono::milliseconds(150));
      XTestFakeMotionEvent(own, DefaultScreen(own), 10 + x, 10 + y + dy, CurrentTime);
      XSync(own, False);
      std::this_thread::sleep_for(std::chrono::milliseconds(150));
      XTestFakeButtonEvent(own, 1, False, CurrentTime);
      XSync(own, False);
      XCloseDisplay(own);
    });
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(600);
    while (std::chrono::steady_clock::now() < end) {
      idle(ui);
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    mover.join();
  }
  // A click at (x, y) in the editor, then these keys, while the editor idles.
  void clickThenKeys(LV2UI_Handle ui, int x, int y, std::vector<KeySym> keys) {
    std::thread typist([&] {
      Display* own = XOpenDisplay(server.display.c_str());
      XTestFakeMotionEvent(own, DefaultScreen(own), 10 + x, 10 + y, CurrentTime);
      XTestFakeButtonEvent(own, 1, True, CurrentTime);
      XTestFakeButtonEvent(own, 1, False, CurrentTime);
      XSync(own, False);
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      for (KeySym key : keys) {
        XTestFakeKeyEvent(own, XKeysymToKeycode(own, key), True, CurrentTime);
        XTestFakeKeyEvent(own, XKeysymToKeycode(own, key), False, CurrentTime);
        XSync(own, False);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
      }
      XCloseDisplay(own);
    });
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(1200);
    while (std::chrono::steady_clock::now() < end) {
      idle(ui);
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    typist.join();
  }
  // Opens the editor with the host's options besides the usual features.
  LV2UI_Handle openWithOptions(const LV2_Options_Option* options) {
    LV2_Feature optionsFeature{LV2_OPTIONS__options, const_cast<LV2_Options_Option*>(options)};
    const LV2_Feature* withOptions[] = {&mapFeature, &parentFeature, &resizeFeature, &optionsFeature, nullptr};
    LV2UI_Widget widget = nullptr;
    return descriptor->instantiate(descriptor, "urn:zavr:grelmond", lv2Bundle().c_str(), &UiHost::write, &host,
                                   &widget, withOptions);
  }
  std::vector<const Written*> writesTo(uint32_t port) const {
    std::vector<const Written*> found;
    for (const auto& w : host.writes)
      if (w.port == port)
        found.push_back(&w);
    return found;
  }
};

TEST_F(Lv2EditorUiTest, OpensInTheHostsWindowAndDragsBecomePortWrites) {
  LV2UI_Widget widget = nullptr;
  LV2UI_Handle ui = open(&widget);
  ASSERT_NE(ui, nullptr);
  EXPECT_NE(widget, nullptr);
  EXPECT_EQ(host.width, 629);
  EXPECT_EQ(host.height, 484);
  ASSERT_EQ(writesTo(64).size(), 1u) << "the editor asks the instrument for its programs";

  const float half = 0.5f;
  descriptor->port_event(ui, 63, sizeof half, 0, &half);
  idle(ui);
  host.writes.clear();
  gesture(ui, 530, 408, -40); // the main volume knob, dragged up
  const auto writes = writesTo(63);
  ASSERT_FALSE(writes.empty()) << "the drag wrote no port";
  float last = 0.0f;
  std::memcpy(&last, writes.back()->bytes.data(), sizeof last);
  EXPECT_EQ(writes.back()->format, 0u);
  EXPECT_NE(last, 0.5f);
  ASSERT_GE(host.touches.size(), 2u);
  EXPECT_EQ(host.touches.front(), std::make_pair(63u, true));
  EXPECT_EQ(host.touches.back(), std::make_pair(63u, false));
  descriptor->cleanup(ui);
}

TEST_F(Lv2EditorUiTest, ProgramChosenInTheEditorReachesTheInstrument) {
  host::Lv2Plugin instrument;
  ASSERT_TRUE(instrument.load(lv2Bundle(), 48000.0, 256)) << instrument.error();
  mapFeature.data = instrument.urids().mapFeature(); // one host, one URID table
  LV2UI_Widget widget = nullptr;
  LV2UI_Handle ui = open(&widget);
  ASSERT_NE(ui, nullptr);
  host.writes.clear();
  gesture(ui, 292, 70, 0); // the next-program arrow
  const auto messages = writesTo(64);
  ASSERT_EQ(messages.size(), 1u);
  instrument.events().addAtom(0, reinterpret_cast<const LV2_Atom*>(messages[0]->bytes.data()));
  instrument.run(0);
  host::Lv2StateRecord state;
  ASSERT_TRUE(instrument.saveState(state));
  EXPECT_NE(state.begin()->second.bytes.find("<current program=\"1\"/>"), std::string::npos);

  // The instrument's answer (program 1's values and name) comes back to the editor.
  const LV2_Atom_Sequence* notify = instrument.notify();
  int answered = 0;
  LV2_ATOM_SEQUENCE_FOREACH (notify, event) {
    descriptor->port_event(ui, 67, sizeof(LV2_Atom) + event->body.size, instrument.urids().map(LV2_ATOM__eventTransfer),
                           &event->body);
    ++answered;
  }
  EXPECT_EQ(answered, 1);
  idle(ui);
  descriptor->cleanup(ui);
}

TEST_F(Lv2EditorUiTest, TheHostsScaleFactorSetsTheSizeAndOddOptionsAreIgnored) {
  const LV2_URID scaleKey = urids.map(LV2_UI__scaleFactor);
  const LV2_URID floatType = urids.map(LV2_ATOM__Float);
  const LV2_URID doubleType = urids.map(LV2_ATOM__Double);
  struct Case {
    float factor;
    LV2_URID type;
    uint32_t size;
    int width;
  };
  const Case cases[] = {
      {2.0f, floatType, sizeof(float), 1258},    {1.5f, floatType, sizeof(float), 944},
      {4.0f, floatType, sizeof(float), 1258},    {0.5f, floatType, sizeof(float), 629},
      {NAN, floatType, sizeof(float), 629},      {INFINITY, floatType, sizeof(float), 629},
      {-2.0f, floatType, sizeof(float), 629},    {2.0f, doubleType, sizeof(float), 629},
      {2.0f, floatType, 2, 629},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.factor);
    const LV2_Options_Option options[] = {
        {LV2_OPTIONS_INSTANCE, 0, urids.map(LV2_UI__updateRate), sizeof(float), floatType, &c.factor},
        {LV2_OPTIONS_INSTANCE, 0, scaleKey, c.size, c.type, &c.factor},
        {LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr}};
    host.width = host.height = 0;
    LV2UI_Handle ui = openWithOptions(options);
    ASSERT_NE(ui, nullptr);
    EXPECT_EQ(host.width, c.width);
    EXPECT_EQ(host.height, int(std::lround(c.width * 484.0 / 629.0)));
    descriptor->cleanup(ui);
  }
  const LV2_Options_Option none[] = {{LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr}};
  LV2UI_Handle ui = openWithOptions(none);
  ASSERT_NE(ui, nullptr);
  EXPECT_EQ(host.width, 629);
  descriptor->cleanup(ui);
}

TEST_F(Lv2EditorUiTest, AZoomChosenInTheEditorAsksTheHostToResize) {
  TempFolder install; // the choice is remembered here, not in the bundle
  ScopedEnv installPath("GRELMOND_INSTALL_PATH", install.path().c_str());
  LV2UI_Widget widget = nullptr;
  LV2UI_Handle ui = open(&widget);
  ASSERT_NE(ui, nullptr);
  ASSERT_EQ(host.width, 629);
  // The logo opens the zoom menu; the last item is 200 %.
  clickThenKeys(ui, 100, 25, {XK_Down, XK_Down, XK_Down, XK_Down, XK_Down, XK_Down, XK_Return});
  EXPECT_EQ(host.width, 1258);
  EXPECT_EQ(host.height, 968);
  // The widget the host embedded is the window that grew, with hints to match.
  const Window window = static_cast<Window>(reinterpret_cast<uintptr_t>(widget));
  XSync(display, False);
  XWindowAttributes attributes{};
  ASSERT_TRUE(XGetWindowAttributes(display, window, &attributes));
  EXPECT_EQ(attributes.width, 1258);
  EXPECT_EQ(attributes.height, 968);
  XSizeHints hints{};
  long supplied = 0;
  ASSERT_TRUE(XGetWMNormalHints(display, window, &hints, &supplied));
  EXPECT_EQ(hints.flags & (PMinSize | PMaxSize | PBaseSize), PMaxSize | PBaseSize);
  EXPECT_EQ(hints.max_height, 968);
  EXPECT_EQ(hints.base_width, 1258);
  descriptor->cleanup(ui);
}

TEST_F(Lv2EditorUiTest, FiftyOpenCloseCyclesLeaveNoGrowthAndHostsWithoutAParentGetNone) {
  auto cycle = [&] {
    LV2UI_Widget widget = nullptr;
    LV2UI_Handle ui = open(&widget);
    ASSERT_NE(ui, nullptr);
    idle(ui);
    idle(ui);
    descriptor->cleanup(ui);
  };
  for (int k = 0; k < 10; ++k)
    cycle(); // caches that live as long as the process fill first
  const long resident = testsupport::residentKilobytes();
  for (int k = 0; k < 50; ++k)
    cycle();
  if (testsupport::kResidentSizeTracksLeaks) {
    EXPECT_LT(testsupport::residentKilobytes() - resident, 256) << "KiB the process grew by over fifty rounds";
  }
  const LV2_Feature* noParent[] = {&mapFeature, nullptr};
  LV2UI_Widget widget = nullptr;
  EXPECT_EQ(descriptor->instantiate(descriptor, "urn:zavr:grelmond", lv2Bundle().c_str(), &UiHost::write, &host,
                                    &widget, noParent),
            nullptr);
  EXPECT_EQ(descriptor->instantiate(descriptor, "urn:other", lv2Bundle().c_str(), &UiHost::write, &host, &widget,
                                    features),
            nullptr);
}

} // namespace
