// The editor's file buttons across the UI boundary: the editor sends the
// command, the instrument's worker loads or saves, and the answer comes back
// on the notify port to the status line.
#include <gtest/gtest.h> // first: the X11 headers define macros that clash with its names

#include "Lv2Plugin.h"
#include "Lv2TestPaths.h"
#include "PrivateXServer.h"
#include "ScopedEnv.h"
#include "TempFolder.h"

#include "editor/EditorLayout.h"
#include "formats/lv2/FileMessages.h"
#include "formats/lv2/ui/Lv2EditorUi.h"
#include "gui/TextField.h"
#include "params/InitProgram.h"
#include "storage/ProgramFiles.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <lv2/state/state.h>
#include <lv2/ui/ui.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace {

using grelmond::FileCommand;
using grelmond::lv2::FileMessages;
using grelmond::lv2::Lv2EditorUi;

// 64 patches, patch k named "File k" with volume k / 100 (exact in the three decimals files carry).
std::string bank(const std::string& prefix) {
  std::string text = "<bank product=\"grelmond\" version=\"1.0\">\n";
  for (int k = 0; k < 64; ++k)
    text += "<patch name=\"" + prefix + std::to_string(k) + "\" number=\"1\"><p i=\"volume\">" +
            std::to_string(k / 100.0) + "</p></patch>\n";
  return text + "</bank>\n";
}

constexpr int kVolume = 63;

grelmond::GuiRect controlRect(int tag) {
  for (const grelmond::editor::ControlSpec& entry : grelmond::editor::controlLayout())
    if (entry.tag == tag && entry.kind != grelmond::editor::ControlKind::ValueDisplay)
      return entry.rect;
  return {};
}

struct Answer {
  FileCommand command;
  bool done;
  std::string status, path;
};

struct Lv2FilesTest : ::testing::Test {
  TempFolder install; // the instrument's data folder and the remembered folder's file
  ScopedEnv installPath{"GRELMOND_INSTALL_PATH", install.path().c_str()};
  testsupport::PrivateXServer server;
  Display* display = nullptr;
  Window parent = 0;
  host::Lv2Plugin dsp;
  std::vector<std::vector<uint8_t>> toInstrument; // what the editor wrote to the event port
  Lv2EditorUi* ui = nullptr;
  std::vector<Answer> answers;
  int stateChanges = 0; // state:StateChanged notifications

  static void write(LV2UI_Controller controller, uint32_t port, uint32_t size, uint32_t, const void* buffer) {
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    if (port == 64)
      static_cast<Lv2FilesTest*>(controller)->toInstrument.emplace_back(bytes, bytes + size);
  }

  void SetUp() override {
    ASSERT_FALSE(server.display.empty()) << "Xvfb did not start";
    setenv("DISPLAY", server.display.c_str(), 1);
    display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    parent = XCreateSimpleWindow(display, DefaultRootWindow(display), 10, 10, 629, 484, 0, 0, 0);
    XMapWindow(display, parent);
    XSync(display, False);
  }
  void TearDown() override {
    delete ui;
    if (display != nullptr)
      XCloseDisplay(display);
  }

  // The instrument, then its editor, which asks for the instrument's view.
  void start(bool worker = true) {
    dsp.offerWorker(worker);
    ASSERT_TRUE(dsp.load(lv2Bundle(), 48000.0, 256)) << dsp.error();
    LV2_Feature map{LV2_URID__map, dsp.urids().mapFeature()};
    LV2_Feature parentFeature{LV2_UI__parent, reinterpret_cast<void*>(static_cast<uintptr_t>(parent))};
    const LV2_Feature* features[] = {&map, &parentFeature, nullptr};
    LV2UI_Widget widget = nullptr;
    ui = Lv2EditorUi::create(&Lv2FilesTest::write, this, &widget, features);
    ASSERT_NE(ui, nullptr);
    exchange();
  }

  // The editor's messages into one block, the worker's turn, a second block
  // for its answers; whatever the instrument notified goes to the editor.
  void exchange() {
    for (const auto& message : toInstrument)
      dsp.events().addAtom(0, reinterpret_cast<const LV2_Atom*>(message.data()));
    toInstrument.clear();
    dsp.run(256);
    notifyEditor();
    dsp.runWorker();
    dsp.run(256);
    notifyEditor();
    ui->idle();
  }
  void notifyEditor() {
    const FileMessages messages(*dsp.urids().mapFeature());
    const LV2_URID transfer = dsp.urids().map(LV2_ATOM__eventTransfer);
    const LV2_URID object = dsp.urids().map(LV2_ATOM__Object);
    const LV2_URID changed = dsp.urids().map(LV2_STATE__StateChanged);
    LV2_ATOM_SEQUENCE_FOREACH (dsp.notify(), event) {
      stateChanges += event->body.type == object &&
                      reinterpret_cast<const LV2_Atom_Object*>(&event->body)->body.otype == changed;
      if (const auto answer = messages.readAnswer(&event->body))
        answers.push_back({answer->command, answer->done, answer->status, answer->path});
      ui->portEvent(67, sizeof(LV2_Atom) + event->body.size, transfer, &event->body);
    }
  }

  // Types the name into the file name field and clicks the button, then lets the two sides talk.
  void press(int tag, const std::string& name) {
    answers.clear();
    stateChanges = 0;
    ui->editor().controls().fileNameField()->setText(name);
    const grelmond::GuiRect button = controlRect(tag);
    click((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    exchange();
  }
  void click(int x, int y) {
    std::thread presser([&] {
      Display* own = XOpenDisplay(server.display.c_str());
      XTestFakeMotionEvent(own, DefaultScreen(own), 10 + x, 10 + y, CurrentTime);
      XTestFakeButtonEvent(own, 1, True, CurrentTime);
      XSync(own, False);
      std::this_thread::sleep_for(std::chrono::milliseconds(150));
      XTestFakeButtonEvent(own, 1, False, CurrentTime);
      XSync(own, False);
      XCloseDisplay(own);
    });
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(400);
    while (std::chrono::steady_clock::now() < end) {
      ui->idle();
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    presser.join();
  }

  std::string status() const { return ui->editor().controls().statusLine()->getText(); }
  std::string state() {
    host::Lv2StateRecord record;
    EXPECT_TRUE(dsp.saveState(record));
    return record.empty() ? std::string() : record.begin()->second.bytes;
  }
};

TEST_F(Lv2FilesTest, ABankLoadedFromTheEditorReplacesEveryProgramAndTheEditorHearsOfIt) {
  install.write("sixty-four.grb", bank("File "));
  start();
  press(grelmond::editor::kLoadBankTag, install.file("sixty-four.grb"));
  ASSERT_EQ(answers.size(), 1u);
  EXPECT_EQ(answers[0].command, FileCommand::LoadBank);
  EXPECT_TRUE(answers[0].done);
  EXPECT_EQ(answers[0].status, "Loaded the bank.");
  EXPECT_EQ(status(), "Loaded the bank.");
  EXPECT_EQ(stateChanges, 1) << "the host learns that its session changed";

  const std::string text = state();
  for (int k = 0; k < 64; ++k)
    EXPECT_NE(text.find("<patch name=\"File " + std::to_string(k) + "\""), std::string::npos) << k;
  EXPECT_EQ(ui->editor().controls().programNameField()->getText(), "File 0") << "the editor shows the loaded names";

  // A patch by a bare name, from the folder the bank's full path left remembered.
  install.write("one.grp", bank("Patch "));
  press(grelmond::editor::kLoadPatchTag, "one.grp");
  ASSERT_EQ(answers.size(), 1u);
  EXPECT_TRUE(answers[0].done);
  EXPECT_EQ(status(), "Loaded the patch.");
  EXPECT_NE(state().find("<patch name=\"Patch 0\""), std::string::npos);
}

TEST_F(Lv2FilesTest, SavesWriteFilesThatReadBackAndReportThePathUsed) {
  install.write("sixty-four.grb", bank("File "));
  start();
  press(grelmond::editor::kLoadBankTag, install.file("sixty-four.grb"));
  press(grelmond::editor::kSaveBankTag, "copy.grb");
  ASSERT_EQ(answers.size(), 1u);
  EXPECT_TRUE(answers[0].done);
  EXPECT_EQ(answers[0].status, "Saved the bank.");
  EXPECT_EQ(answers[0].path, install.file("copy.grb"));
  EXPECT_EQ(status(), "Saved the bank.");
  EXPECT_EQ(stateChanges, 0);

  grelmond::ProgramBank readBack;
  ASSERT_TRUE(grelmond::ProgramFiles::loadBankFile(readBack, install.file("copy.grb").c_str(), grelmond::InitProgram()));
  for (int k = 0; k < 64; ++k) {
    EXPECT_STREQ(readBack.program(k)->name().c_str(), ("File " + std::to_string(k)).c_str());
    EXPECT_EQ(readBack.program(k)->value(kVolume), static_cast<float>(k / 100.0)) << k;
  }

  press(grelmond::editor::kSavePatchTag, install.file("one.grp"));
  ASSERT_EQ(answers.size(), 1u);
  EXPECT_EQ(status(), "Saved the patch.");
  EXPECT_NE(install.read("one.grp").find("File 0"), std::string::npos);
}

TEST_F(Lv2FilesTest, BadFilesFailWithTheEditorsMessageAndChangeNothing) {
  install.write("broken.grb", "<bank broken");
  install.write("broken.scl", "Broken\n3\n");
  start();
  const std::string before = state();
  press(grelmond::editor::kLoadBankTag, install.file("broken.grb"));
  ASSERT_EQ(answers.size(), 1u);
  EXPECT_FALSE(answers[0].done);
  EXPECT_EQ(answers[0].status, "The bank could not be loaded.");
  EXPECT_EQ(status(), "The bank could not be loaded.");
  EXPECT_EQ(stateChanges, 0);
  press(grelmond::editor::kLoadPatchTag, "absent.grp");
  EXPECT_EQ(status(), "The patch could not be loaded.");
  press(grelmond::editor::kSaveBankTag, install.file("no-such-folder/bank.grb"));
  EXPECT_EQ(status(), "The bank could not be saved.");
  press(grelmond::editor::kLoadBankTag, "broken.scl"); // tunings go through the same buttons
  EXPECT_EQ(answers.at(0).command, FileCommand::LoadTuning);
  EXPECT_EQ(status().rfind("The tuning could not be loaded.", 0), 0u) << status();
  EXPECT_EQ(state(), before);

  press(grelmond::editor::kLoadPatchTag, "equal");
  EXPECT_TRUE(answers.at(0).done);
  EXPECT_EQ(status(), "Equal temperament.");
}

TEST_F(Lv2FilesTest, AHostWithoutAWorkerGetsAClearFailure) {
  install.write("sixty-four.grb", bank("File "));
  start(false);
  const std::string before = state();
  press(grelmond::editor::kLoadBankTag, install.file("sixty-four.grb"));
  ASSERT_EQ(answers.size(), 1u);
  EXPECT_FALSE(answers[0].done);
  EXPECT_EQ(status(), "The bank could not be loaded. This host gives the plug-in no worker for files.");
  EXPECT_EQ(state(), before);
}

} // namespace
