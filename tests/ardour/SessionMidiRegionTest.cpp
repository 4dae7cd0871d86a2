// The region editing the Ardour tests use to put system-exclusive messages
// into a session, checked without Ardour on files laid out as Ardour writes them.
#include "SessionMidiRegion.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace ardourtest {
namespace {

using Bytes = std::vector<unsigned char>;

// Ardour writes each note's id just before the note, at the previous event's time.
Bytes eventId(unsigned char id) { return {0xFF, 0x7F, 0x03, 0x99, 0x01, id}; }
const Bytes kEnd = {0xFF, 0x2F, 0x00};
const Bytes kMessage = {0xF0, 0x7F, 0x7F, 0x08, 0x02, 0x00, 0x01, 0x3C, 0x3C, 0x40, 0x00, 0xF7};

std::vector<MidiFileEvent> twoNotes()
{
    return {{0, eventId(60)},    {100, {0x90, 60, 100}}, {100, eventId(60)}, {200, {0x80, 60, 0}},
            {200, eventId(62)},  {300, {0x90, 62, 90}},  {300, eventId(62)}, {400, {0x80, 62, 0}},
            {400, kEnd}};
}

std::vector<Bytes> bytesOf(const std::vector<MidiFileEvent>& events)
{
    std::vector<Bytes> out;
    for (const auto& e : events)
        out.push_back(e.bytes);
    return out;
}

// A session folder as Ardour leaves it: a snapshot naming a MIDI source, and its file.
struct Session {
    TempFolder folder;
    std::string midifiles = folder.file("interchange/song/midifiles");

    explicit Session(const std::vector<MidiFileEvent>& events)
    {
        fs::create_directories(midifiles);
        EXPECT_TRUE(writeMidiFile(midifiles + "/Take1.mid", 19200, events));
        folder.write("sine.ardour", "<Session>\n  <Sources>\n    <Source name=\"Synth.wav\" type=\"audio\" id=\"1\"/>\n"
                                    "    <Source name=\"Take1.mid\" type=\"midi\" id=\"205\"/>\n  </Sources>\n"
                                    "  <Region name=\"Take1\" source-0=\"205\"/>\n</Session>\n");
    }
};

TEST(SessionMidiRegionTest, MessageGoesAtItsTickAheadOfTheIdWaitingForTheNextNote)
{
    const auto events = withMessages(twoNotes(), {{250, kMessage}});
    // Between note 60's release and the id of note 62, which moves to the message's tick.
    ASSERT_EQ(events.size(), 10u);
    EXPECT_EQ(events[3].bytes, (Bytes{0x80, 60, 0}));
    EXPECT_EQ(events[4].tick, 250);
    EXPECT_EQ(events[4].bytes, kMessage);
    EXPECT_EQ(events[5].tick, 250);
    EXPECT_EQ(events[5].bytes, eventId(62));
    EXPECT_EQ(events[6].tick, 300);
    EXPECT_EQ(events[6].bytes, (Bytes{0x90, 62, 90}));
}

TEST(SessionMidiRegionTest, MessagesAtAnEventsTickFollowItAndNoneGoesPastTheEnd)
{
    const auto events = withMessages(twoNotes(), {{100, kMessage}, {100, {0xF0, 0x01, 0xF7}}, {900, kMessage}});
    const auto bytes = bytesOf(events);
    // After the note-on at 100, ahead of the id written there for its release; in the order given.
    EXPECT_EQ(bytes[1], (Bytes{0x90, 60, 100}));
    EXPECT_EQ(bytes[2], kMessage);
    EXPECT_EQ(bytes[3], (Bytes{0xF0, 0x01, 0xF7}));
    EXPECT_EQ(bytes[4], eventId(60));
    // One past the last event stays inside the track.
    ASSERT_EQ(bytes.back(), kEnd);
    EXPECT_EQ(bytes[bytes.size() - 2], kMessage);
    EXPECT_EQ(events[events.size() - 2].tick, 900);
    for (std::size_t k = 1; k < events.size() - 1; ++k)
        EXPECT_LE(events[k - 1].tick, events[k].tick) << k;
}

TEST(SessionMidiRegionTest, FileWrittenAndReadBackHoldsTheSameEvents)
{
    TempFolder folder;
    const auto events = withMessages(twoNotes(), {{250, kMessage}});
    ASSERT_TRUE(writeMidiFile(folder.file("a.mid"), 19200, events));
    int ppqn = 0;
    std::vector<MidiFileEvent> back;
    ASSERT_TRUE(readMidiFile(folder.file("a.mid"), ppqn, back));
    EXPECT_EQ(ppqn, 19200);
    ASSERT_EQ(back.size(), events.size());
    for (std::size_t k = 0; k < events.size(); ++k) {
        EXPECT_EQ(back[k].tick, events[k].tick) << k;
        EXPECT_EQ(back[k].bytes, events[k].bytes) << k;
    }
    EXPECT_FALSE(readMidiFile(folder.file("missing.mid"), ppqn, back));
}

TEST(SessionMidiRegionTest, NewSnapshotPlaysACopyWithTheMessagesAndTheOldOneIsUntouched)
{
    Session session(twoNotes());
    const SessionMidiRegion region(session.folder.path(), "sine");
    ASSERT_TRUE(region.loaded());
    EXPECT_EQ(region.ticksPerBeat(), 19200);
    const auto notes = region.notes();
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0].key, 60);
    EXPECT_EQ(notes[0].on, 100);
    EXPECT_EQ(notes[0].off, 200);
    EXPECT_EQ(notes[1].key, 62);
    EXPECT_EQ(notes[1].off, 400);

    ASSERT_TRUE(region.writeWith("mts", {{250, kMessage}}));
    const std::string snapshot = session.folder.read("mts.ardour");
    EXPECT_NE(snapshot.find("<Source name=\"mts.mid\" type=\"midi\" id=\"205\"/>"), std::string::npos) << snapshot;
    EXPECT_NE(snapshot.find("<Source name=\"Synth.wav\""), std::string::npos) << "the audio source was renamed";
    EXPECT_NE(session.folder.read("sine.ardour").find("\"Take1.mid\""), std::string::npos);
    const SessionMidiRegion copy(session.folder.path(), "mts");
    ASSERT_TRUE(copy.loaded());
    EXPECT_EQ(bytesOf(copy.events()), bytesOf(withMessages(twoNotes(), {{250, kMessage}})));
    EXPECT_EQ(bytesOf(region.events()), bytesOf(twoNotes()));
}

TEST(SessionMidiRegionTest, SnapshotWithoutAReadableMidiSourceWritesNothing)
{
    Session session(twoNotes());
    session.folder.write("audio.ardour", "<Session><Source name=\"Synth.wav\" type=\"audio\"/></Session>");
    session.folder.write("lost.ardour", "<Session><Source name=\"Gone.mid\" type=\"midi\"/></Session>");
    for (const char* snapshot : {"audio", "lost", "absent"}) {
        const SessionMidiRegion region(session.folder.path(), snapshot);
        EXPECT_FALSE(region.loaded()) << snapshot;
        EXPECT_TRUE(region.notes().empty()) << snapshot;
        EXPECT_FALSE(region.writeWith("mts", {{0, kMessage}})) << snapshot;
    }
    EXPECT_FALSE(fs::exists(session.folder.file("mts.ardour")));
}

} // namespace
} // namespace ardourtest
