// The adapter's own translation: which port moves are applied, and what a
// block's event sequence carries.
#include "Lv2EventBuffer.h"
#include "UridMap.h"

#include "formats/lv2/AtomEventReader.h"
#include "formats/lv2/FileMessages.h"
#include "formats/lv2/PortChanges.h"
#include "formats/lv2/UiMessages.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string_view>
#include <limits>
#include <vector>

namespace {

using grelmond::lv2::AtomEventReader;
using grelmond::lv2::PortChanges;

struct Applied {
  std::vector<std::pair<int, float>> calls;
  void operator()(int index, float value) { calls.emplace_back(index, value); }
};

class PortChangesTest : public ::testing::Test {
protected:
  void SetUp() override {
    for (int p = 0; p < 64; ++p) {
      ports[p] = 0.5f;
      changes.setSeen(p, 0.5f);
      changes.connect(p, &ports[p]);
    }
  }
  std::vector<std::pair<int, float>> run() {
    Applied applied;
    changes.applyMoved([&](int index, float value) { applied(index, value); });
    return applied.calls;
  }
  float ports[64];
  PortChanges changes;
};

TEST_F(PortChangesTest, AppliesOnlyPortsTheHostMoved) {
  EXPECT_TRUE(run().empty());
  ports[3] = 0.25f;
  ports[60] = 1.0f;
  EXPECT_EQ(run(), (std::vector<std::pair<int, float>>{{3, 0.25f}, {60, 1.0f}}));
  EXPECT_TRUE(run().empty()); // each move once
  ports[3] = -0.0f;           // another sign of zero is a move too
  ports[3] = 0.0f;
  EXPECT_EQ(run().size(), 1u);
}

TEST_F(PortChangesTest, ProgramChosenInsideHoldsUntilTheHostMovesAPort) {
  // The host still holds 0.5 everywhere; a program chosen inside set other values.
  changes.adoptCurrent();
  EXPECT_TRUE(run().empty());
  changes.adoptAtNextRun();
  ports[7] = 0.75f; // moved before the adopting run: taken as the new baseline
  EXPECT_TRUE(run().empty());
  ports[7] = 0.8f;
  EXPECT_EQ(run(), (std::vector<std::pair<int, float>>{{7, 0.8f}}));
}

TEST_F(PortChangesTest, NanInAPortIsAppliedOnceAndUnconnectedPortsNever) {
  ports[9] = std::numeric_limits<float>::quiet_NaN();
  EXPECT_EQ(run().size(), 1u);
  EXPECT_TRUE(run().empty());
  PortChanges unconnected;
  bool called = false;
  unconnected.applyMoved([&](int, float) { called = true; });
  EXPECT_FALSE(called);
  unconnected.connect(64, &ports[0]); // no such parameter: ignored
  unconnected.connect(-1, &ports[0]);
  unconnected.applyMoved([&](int, float) { called = true; });
  EXPECT_FALSE(called);
}

struct Recorded : AtomEventReader::Handler {
  std::vector<std::pair<uint32_t, std::vector<uint8_t>>> midiEvents;
  std::vector<std::pair<uint32_t, double>> tempos;
  int others = 0;
  void midi(uint32_t frame, const uint8_t* bytes, uint32_t size) override {
    midiEvents.emplace_back(frame, std::vector<uint8_t>(bytes, bytes + size));
  }
  void tempo(uint32_t frame, double bpm) override { tempos.emplace_back(frame, bpm); }
  void other(uint32_t, const LV2_Atom*) override { ++others; }
};

class AtomEventReaderTest : public ::testing::Test {
protected:
  host::UridMap urids;
  grelmond::lv2::Lv2Uris uris{*urids.mapFeature()};
  host::Lv2EventBuffer buffer{urids};
  AtomEventReader reader{uris};
  const LV2_Atom_Sequence* sequence() { return static_cast<const LV2_Atom_Sequence*>(buffer.data()); }
};

TEST_F(AtomEventReaderTest, ReadsMidiAndTempoAtTheirFrames) {
  const uint8_t on[3] = {0x90, 60, 100}, bend[3] = {0xE0, 0, 80}, program[2] = {0xC0, 9};
  buffer.addPosition(0, 0, 48000.0, 96.0);
  buffer.addMidi(0, on, 3);
  buffer.addMidi(17, bend, 3);
  buffer.addMidi(200, program, 2);
  Recorded got;
  reader.read(sequence(), 256, got);
  ASSERT_EQ(got.midiEvents.size(), 3u);
  EXPECT_EQ(got.midiEvents[1].first, 17u);
  EXPECT_EQ(got.midiEvents[1].second, (std::vector<uint8_t>{0xE0, 0, 80}));
  EXPECT_EQ(got.midiEvents[2].second.size(), 2u);
  EXPECT_EQ(got.tempos, (std::vector<std::pair<uint32_t, double>>{{0, 96.0}}));
  EXPECT_EQ(got.others, 0);
}

TEST_F(AtomEventReaderTest, FramesPastTheBlockAreClampedAndGarbageIsIgnored) {
  const uint8_t off[3] = {0x80, 60, 0};
  buffer.addMidi(1000, off, 3);
  Recorded got;
  reader.read(sequence(), 64, got);
  ASSERT_EQ(got.midiEvents.size(), 1u);
  EXPECT_EQ(got.midiEvents[0].first, 63u);

  Recorded none;
  reader.read(nullptr, 64, none);
  LV2_Atom_Sequence notASequence{{8, uris.atomFloat}, {0, 0}};
  reader.read(&notASequence, 64, none);
  // An event claiming more bytes than the sequence holds ends the reading.
  struct {
    LV2_Atom_Sequence head;
    LV2_Atom_Event event;
    uint8_t bytes[8];
  } cut{{{sizeof(LV2_Atom_Sequence_Body) + sizeof(LV2_Atom_Event) + 8, uris.atomSequence}, {0, 0}},
        {{{0}}, {4096, uris.midiEvent}},
        {}};
  reader.read(&cut.head, 64, none);
  EXPECT_TRUE(none.midiEvents.empty());
  EXPECT_TRUE(none.tempos.empty());
}

TEST_F(AtomEventReaderTest, PositionWithoutUsableTempoKeepsTheLastOne) {
  buffer.addPosition(0, 0, 48000.0, 0.0);
  Recorded got;
  reader.read(sequence(), 64, got);
  EXPECT_TRUE(got.tempos.empty());
}

} // namespace

namespace {

using grelmond::lv2::UiMessages;

class UiMessagesTest : public ::testing::Test {
protected:
  void SetUp() override { start(); }
  void start() {
    lv2_atom_forge_init(&forge, urids.mapFeature());
    lv2_atom_forge_set_buffer(&forge, reinterpret_cast<uint8_t*>(buffer.data()), buffer.size() * 8);
  }
  UiMessages::Message readBack() {
    const auto message = messages.read(reinterpret_cast<const LV2_Atom*>(buffer.data()));
    start();
    return message;
  }
  host::UridMap urids;
  UiMessages messages{*urids.mapFeature()};
  std::vector<uint64_t> buffer = std::vector<uint64_t>(256);
  LV2_Atom_Forge forge{};
};

TEST_F(UiMessagesTest, EveryMessageReadsBackAsWritten) {
  using Kind = UiMessages::Message::Kind;
  ASSERT_TRUE(messages.writeHello(forge));
  EXPECT_EQ(readBack().kind, Kind::Hello);
  ASSERT_TRUE(messages.writeSelectProgram(forge, 63));
  auto got = readBack();
  EXPECT_EQ(got.kind, Kind::SelectProgram);
  EXPECT_EQ(got.program, 63);
  ASSERT_TRUE(messages.writeRenameProgram(forge, 5, "A name far longer than twenty-three"));
  got = readBack();
  EXPECT_EQ(got.kind, Kind::RenameProgram);
  EXPECT_STREQ(got.name, "A name far longer than ");
  float values[64];
  for (int p = 0; p < 64; ++p)
    values[p] = p / 64.0f;
  ASSERT_TRUE(messages.writeProgram(forge, 9, "Nine", values));
  got = readBack();
  EXPECT_EQ(got.kind, Kind::Program);
  EXPECT_TRUE(got.hasValues);
  EXPECT_EQ(std::vector<float>(got.values, got.values + 64), std::vector<float>(values, values + 64));
  ASSERT_TRUE(messages.writeProgramName(forge, 0, "Zero"));
  EXPECT_STREQ(readBack().name, "Zero");
}

TEST_F(UiMessagesTest, MalformedOrForeignMessagesReadAsNone) {
  using Kind = UiMessages::Message::Kind;
  ASSERT_TRUE(messages.writeSelectProgram(forge, 64)); // no such program
  EXPECT_EQ(readBack().kind, Kind::None);
  ASSERT_TRUE(messages.writeSelectProgram(forge, -1)); // written without its program
  EXPECT_EQ(readBack().kind, Kind::None);
  ASSERT_TRUE(messages.writeRenameProgram(forge, 3, nullptr)); // no name
  EXPECT_EQ(readBack().kind, Kind::None);
  lv2_atom_forge_float(&forge, 1.0f);
  EXPECT_EQ(readBack().kind, Kind::None);
  EXPECT_EQ(messages.read(nullptr).kind, Kind::None);
  // A forge without room writes nothing it cannot finish.
  lv2_atom_forge_set_buffer(&forge, reinterpret_cast<uint8_t*>(buffer.data()), 24);
  float values[64] = {};
  EXPECT_FALSE(messages.writeProgram(forge, 1, "x", values));
}

using grelmond::FileCommand;
using grelmond::lv2::FileMessages;

class FileMessagesTest : public UiMessagesTest {
protected:
  const LV2_Atom* atom() const { return reinterpret_cast<const LV2_Atom*>(buffer.data()); }
  // The byte after the first occurrence of text in the message.
  char* after(const char* text) {
    char* bytes = reinterpret_cast<char*>(buffer.data());
    const std::string_view all(bytes, buffer.size() * 8);
    return bytes + all.find(text) + std::strlen(text);
  }
  FileMessages files{*urids.mapFeature()};
};

TEST_F(FileMessagesTest, CommandsAndAnswersReadBackAsWritten) {
  ASSERT_TRUE(files.writeCommand(forge, FileCommand::SavePatch, "/tmp/a patch.grp"));
  const auto command = files.readCommand(atom());
  ASSERT_TRUE(command.has_value());
  EXPECT_EQ(command->command, FileCommand::SavePatch);
  EXPECT_STREQ(command->name, "/tmp/a patch.grp");
  EXPECT_FALSE(files.readAnswer(atom()).has_value());
  EXPECT_EQ(messages.read(atom()).kind, UiMessages::Message::Kind::None);
  start();
  ASSERT_TRUE(files.writeAnswer(forge, FileCommand::LoadTuning, true, "Equal temperament.", nullptr));
  const auto answer = files.readAnswer(atom());
  ASSERT_TRUE(answer.has_value());
  EXPECT_EQ(answer->command, FileCommand::LoadTuning);
  EXPECT_TRUE(answer->done);
  EXPECT_STREQ(answer->status, "Equal temperament.");
  EXPECT_STREQ(answer->path, "");
  EXPECT_FALSE(files.readCommand(atom()).has_value());
}

TEST_F(FileMessagesTest, MalformedCommandsAreIgnored) {
  ASSERT_TRUE(files.writeCommand(forge, static_cast<FileCommand>(9), "x.grb"));
  EXPECT_FALSE(files.readCommand(atom()).has_value()) << "no such command";
  start();
  ASSERT_TRUE(files.writeCommand(forge, FileCommand::LoadBank, "abc.grb"));
  *after("abc.grb") = 'x'; // the name loses its terminator
  EXPECT_FALSE(files.readCommand(atom()).has_value());
  start();
  ASSERT_TRUE(files.writeCommand(forge, FileCommand::LoadBank, "abc.grb"));
  const_cast<LV2_Atom*>(atom())->size -= 8; // the name runs past the object's end
  EXPECT_FALSE(files.readCommand(atom()).has_value());
  EXPECT_FALSE(files.readCommand(nullptr).has_value());
}

} // namespace
