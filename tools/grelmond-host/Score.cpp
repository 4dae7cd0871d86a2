#include "Score.h"

#include <smf.h>

#include <algorithm>
#include <cmath>
#include <sstream>

namespace host {

namespace {

bool parseNumber(const std::string& text, double& value)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return end != nullptr && *end == '\0' && std::isfinite(value);
}

// Channel messages with their data byte count; 0 for anything else.
int dataBytes(unsigned char status)
{
    switch (status & 0xF0) {
    case 0x80: case 0x90: case 0xA0: case 0xB0: case 0xE0:
        return 2;
    case 0xC0: case 0xD0:
        return 1;
    default:
        return -1;
    }
}

} // namespace

void Score::add(double seconds, unsigned char status, unsigned char data1, unsigned char data2)
{
    TimedMessage m;
    m.seconds = seconds;
    m.bytes[0] = status;
    m.bytes[1] = data1;
    m.bytes[2] = data2;
    const bool noteOff = (status & 0xF0) == 0x80 || ((status & 0xF0) == 0x90 && data2 == 0);
    m.order = noteOff ? 0 : 1;
    messages_.push_back(m);
    sorted_ = false;
}

bool Score::addNotes(const std::string& list, std::string& error)
{
    std::stringstream items(list);
    std::string item;
    while (std::getline(items, item, ',')) {
        if (item.empty())
            continue;
        std::stringstream fields(item);
        std::string field;
        std::vector<double> values;
        while (std::getline(fields, field, ':')) {
            double v = 0.0;
            if (!parseNumber(field, v)) {
                error = "bad number '" + field + "' in note '" + item + "'";
                return false;
            }
            values.push_back(v);
        }
        if (values.size() != 4) {
            error = "note '" + item + "' is not time:note:velocity:duration";
            return false;
        }
        const double time = values[0], note = values[1], velocity = values[2], duration = values[3];
        if (time < 0.0 || duration < 0.0 || note < 0 || note > 127 || velocity < 1 || velocity > 127) {
            error = "note '" + item + "' is out of range (note 0-127, velocity 1-127, times >= 0)";
            return false;
        }
        add(time, 0x90, static_cast<unsigned char>(note), static_cast<unsigned char>(velocity));
        add(time + duration, 0x80, static_cast<unsigned char>(note), 0);
    }
    return true;
}

bool Score::loadMidiFile(const std::string& path, std::string& error)
{
    smf_t* smf = smf_load(path.c_str());
    if (smf == nullptr) {
        error = "cannot read the MIDI file " + path;
        return false;
    }
    while (smf_event_t* event = smf_get_next_event(smf)) {
        if (smf_event_is_metadata(event) || event->midi_buffer_length < 1)
            continue;
        const unsigned char status = event->midi_buffer[0];
        const int data = dataBytes(status);
        if (data < 0 || event->midi_buffer_length < 1 + data)
            continue;
        add(event->time_seconds, status, data >= 1 ? event->midi_buffer[1] : 0, data >= 2 ? event->midi_buffer[2] : 0);
    }
    smf_delete(smf);
    return true;
}

bool Score::saveMidiFile(const std::string& path, std::string& error) const
{
    smf_t* smf = smf_new();
    smf_track_t* track = smf != nullptr ? smf_track_new() : nullptr;
    if (track == nullptr) {
        error = "out of memory";
        if (smf != nullptr)
            smf_delete(smf);
        return false;
    }
    smf_add_track(smf, track);
    std::vector<TimedMessage> ordered = messages_;
    std::stable_sort(ordered.begin(), ordered.end(), [](const TimedMessage& a, const TimedMessage& b) {
        return a.seconds != b.seconds ? a.seconds < b.seconds : a.order < b.order;
    });
    for (const TimedMessage& m : ordered) {
        const int data = dataBytes(m.bytes[0]);
        if (data < 0)
            continue;
        smf_event_t* event = smf_event_new_from_bytes(m.bytes[0], data >= 1 ? m.bytes[1] : -1, data >= 2 ? m.bytes[2] : -1);
        // libsmf's own seconds-to-pulses conversion truncates (0.45 s became 107
        // of 108 pulses); round instead. The file has no tempo event, so it runs
        // at 120 beats per minute: two quarter notes a second.
        if (event != nullptr)
            smf_track_add_event_pulses(track, event, static_cast<int>(std::lround(m.seconds * smf->ppqn * 2.0)));
    }
    const bool ok = smf_save(smf, path.c_str()) == 0;
    smf_delete(smf);
    if (!ok)
        error = "cannot write the MIDI file " + path;
    return ok;
}

const std::vector<TimedMessage>& Score::messages()
{
    if (!sorted_) {
        std::stable_sort(messages_.begin(), messages_.end(), [](const TimedMessage& a, const TimedMessage& b) {
            return a.seconds != b.seconds ? a.seconds < b.seconds : a.order < b.order;
        });
        sorted_ = true;
    }
    return messages_;
}

double Score::endSeconds() const
{
    double end = 0.0;
    for (const TimedMessage& m : messages_)
        end = std::max(end, m.seconds);
    return end;
}

} // namespace host
