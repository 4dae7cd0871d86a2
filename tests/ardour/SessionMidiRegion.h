#pragma once

// The MIDI that the one MIDI region of an Ardour snapshot plays: the Standard
// MIDI File of its source, its notes read back, and a copy with
// system-exclusive messages added, written as a new snapshot of the session.

#include <string>
#include <vector>

namespace ardourtest {

// One event of the file's track at its time in the file's ticks.
struct MidiFileEvent {
    int tick = 0;
    std::vector<unsigned char> bytes;
};

struct MidiNote {
    int key = 0;
    int on = 0, off = 0; // ticks
};

// events with each message added at its tick, after the events at that tick
// and ahead of any event id Ardour wrote there for a later event: Ardour gives
// an id to the event that follows it, and a message between the two is lost.
std::vector<MidiFileEvent> withMessages(std::vector<MidiFileEvent> events, const std::vector<MidiFileEvent>& messages);

class SessionMidiRegion {
public:
    // Reads the file of the first MIDI source in the session folder's snapshot.
    SessionMidiRegion(std::string sessionFolder, const std::string& snapshot);

    bool loaded() const { return ppqn_ > 0; }
    int ticksPerBeat() const { return ppqn_; }
    const std::vector<MidiFileEvent>& events() const { return events_; }
    // Notes in the order they start; a note never released is left out.
    std::vector<MidiNote> notes() const;
    // Snapshot `to`: a copy of the one read whose source is a new file, the
    // read one with messages added (F0 to F7, each at its tick). False when
    // nothing was read or a file cannot be written.
    bool writeWith(const std::string& to, const std::vector<MidiFileEvent>& messages) const;

private:
    std::string folder_, snapshotText_, sourceName_, sourcePath_;
    int ppqn_ = 0;
    std::vector<MidiFileEvent> events_; // end of track included
};

// Reads a one-track Standard MIDI File; false when it does not read.
bool readMidiFile(const std::string& path, int& ppqn, std::vector<MidiFileEvent>& events);
// Writes events (in order) as a one-track file; false when it cannot.
bool writeMidiFile(const std::string& path, int ppqn, const std::vector<MidiFileEvent>& events);

} // namespace ardourtest
