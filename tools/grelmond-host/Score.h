#pragma once

// The MIDI a render plays: short channel messages at sample frames, read from a
// --notes list or a Standard MIDI File, or written out as one.

#include <cstdint>
#include <string>
#include <vector>

namespace host {

struct TimedMessage {
    double seconds = 0.0;
    unsigned char bytes[3] = {0, 0, 0};
    int order = 0; // keeps note-offs ahead of note-ons at the same instant
};

class Score {
public:
    // "time:note:velocity:duration,..." with time and duration in seconds.
    bool addNotes(const std::string& list, std::string& error);
    // Channel messages of every track; meta and system messages are skipped.
    bool loadMidiFile(const std::string& path, std::string& error);
    bool saveMidiFile(const std::string& path, std::string& error) const;

    void add(double seconds, unsigned char status, unsigned char data1, unsigned char data2);
    // Sorted by time, note-offs first at equal times.
    const std::vector<TimedMessage>& messages();
    double endSeconds() const;
    bool empty() const { return messages_.empty(); }

private:
    std::vector<TimedMessage> messages_;
    bool sorted_ = true;
};

} // namespace host
