#include "SessionMidiRegion.h"

#include "ArdourFixture.h"

#include <smf.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <string_view>

namespace fs = std::filesystem;

namespace ardourtest {

namespace {

constexpr std::string_view kSourceOpen = "<Source ", kNameOpen = "name=\"";

// Ardour's event id: a sequencer-specific meta event FF 7F <length> 99 01 <id>.
bool isEventId(const std::vector<unsigned char>& b)
{
    if (b.size() < 5 || b[0] != 0xFF || b[1] != 0x7F)
        return false;
    std::size_t i = 2;
    while (i < b.size() && (b[i] & 0x80) != 0)
        ++i;
    return i + 2 < b.size() && b[i + 1] == 0x99 && b[i + 2] == 0x01;
}

bool isEndOfTrack(const std::vector<unsigned char>& b) { return b.size() >= 2 && b[0] == 0xFF && b[1] == 0x2F; }

// Where the message goes: after the events at or before its tick, ahead of
// the end of the track and of event ids waiting for a later event.
std::size_t insertionPoint(const std::vector<MidiFileEvent>& events, int tick)
{
    std::size_t k = 0;
    while (k < events.size() && events[k].tick <= tick && !isEndOfTrack(events[k].bytes))
        ++k;
    while (k > 0 && isEventId(events[k - 1].bytes))
        --k;
    return k;
}

// The first <Source ...> element of type midi: where its name's value starts, or npos.
std::size_t midiSourceName(std::string_view text)
{
    for (auto at = text.find(kSourceOpen); at != std::string_view::npos; at = text.find(kSourceOpen, at + 1)) {
        const std::string_view element = text.substr(at, text.find('>', at) - at);
        const auto name = element.find(kNameOpen);
        if (element.find("type=\"midi\"") != std::string_view::npos && name != std::string_view::npos)
            return at + name + kNameOpen.size();
    }
    return std::string_view::npos;
}

// A source's file: Ardour keeps it in interchange/<any name>/midifiles.
std::string midiFileOf(const std::string& folder, const std::string& name)
{
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(fs::path(folder) / "interchange", error)) {
        const fs::path candidate = entry.path() / "midifiles" / name;
        if (fs::is_regular_file(candidate))
            return candidate.string();
    }
    return {};
}

} // namespace

std::vector<MidiFileEvent> withMessages(std::vector<MidiFileEvent> events, const std::vector<MidiFileEvent>& messages)
{
    for (const MidiFileEvent& message : messages) {
        const std::size_t k = insertionPoint(events, message.tick);
        // The ids moved behind the message now sound with it; each still comes right before its own event.
        for (std::size_t id = k; id < events.size() && isEventId(events[id].bytes); ++id)
            events[id].tick = std::max(events[id].tick, message.tick);
        events.insert(events.begin() + static_cast<std::ptrdiff_t>(k), message);
    }
    return events;
}

bool readMidiFile(const std::string& path, int& ppqn, std::vector<MidiFileEvent>& events)
{
    smf_t* smf = smf_load(path.c_str());
    if (smf == nullptr)
        return false;
    smf_track_t* track = smf_get_track_by_number(smf, 1);
    events.clear();
    for (int n = 1; track != nullptr && n <= track->number_of_events; ++n) {
        const smf_event_t* e = smf_track_get_event_by_number(track, n);
        events.push_back({e->time_pulses, {e->midi_buffer, e->midi_buffer + e->midi_buffer_length}});
    }
    ppqn = smf->ppqn;
    smf_delete(smf);
    return track != nullptr;
}

bool writeMidiFile(const std::string& path, int ppqn, const std::vector<MidiFileEvent>& events)
{
    smf_t* smf = smf_new();
    bool ok = smf != nullptr && smf_set_ppqn(smf, ppqn) == 0;
    smf_track_t* track = ok ? smf_track_new() : nullptr;
    if (track != nullptr)
        smf_add_track(smf, track);
    for (const MidiFileEvent& event : events) {
        if (track == nullptr || event.bytes.empty())
            break;
        if (isEndOfTrack(event.bytes)) {
            ok = ok && smf_track_add_eot_pulses(track, event.tick) == 0;
            continue;
        }
        std::vector<unsigned char> bytes = event.bytes; // libsmf copies from a writable buffer
        smf_event_t* e = smf_event_new_from_pointer(bytes.data(), static_cast<int>(bytes.size()));
        ok = ok && e != nullptr;
        if (e != nullptr)
            smf_track_add_event_pulses(track, e, event.tick);
    }
    ok = ok && track != nullptr && smf_save(smf, path.c_str()) == 0;
    if (smf != nullptr)
        smf_delete(smf);
    return ok;
}

SessionMidiRegion::SessionMidiRegion(std::string sessionFolder, const std::string& snapshot)
    : folder_(std::move(sessionFolder)), snapshotText_(textOf(folder_ + "/" + snapshot + ".ardour"))
{
    const auto name = midiSourceName(snapshotText_);
    if (name == std::string::npos)
        return;
    sourceName_ = snapshotText_.substr(name, snapshotText_.find('"', name) - name);
    sourcePath_ = midiFileOf(folder_, sourceName_);
    int ppqn = 0;
    if (!sourcePath_.empty() && readMidiFile(sourcePath_, ppqn, events_))
        ppqn_ = ppqn;
}

std::vector<MidiNote> SessionMidiRegion::notes() const
{
    std::vector<MidiNote> notes;
    std::multimap<int, std::size_t> sounding; // key, index in notes
    for (const MidiFileEvent& e : events_) {
        if (e.bytes.size() < 3 || (e.bytes[0] & 0xE0) != 0x80)
            continue;
        const int key = e.bytes[1];
        if ((e.bytes[0] & 0xF0) == 0x90 && e.bytes[2] > 0) {
            sounding.emplace(key, notes.size());
            notes.push_back({key, e.tick, -1});
        } else if (const auto it = sounding.find(key); it != sounding.end()) {
            notes[it->second].off = e.tick;
            sounding.erase(it);
        }
    }
    notes.erase(std::remove_if(notes.begin(), notes.end(), [](const MidiNote& n) { return n.off < 0; }), notes.end());
    return notes;
}

bool SessionMidiRegion::writeWith(const std::string& to, const std::vector<MidiFileEvent>& messages) const
{
    if (!loaded())
        return false;
    const std::string file = to + ".mid";
    if (!writeMidiFile((fs::path(sourcePath_).parent_path() / file).string(), ppqn_, withMessages(events_, messages)))
        return false;
    std::string text = snapshotText_;
    const auto name = midiSourceName(text);
    text.replace(name, sourceName_.size(), file);
    std::ofstream out(folder_ + "/" + to + ".ardour", std::ios::binary);
    out << text;
    return static_cast<bool>(out.flush());
}

} // namespace ardourtest
