#include "render/TuningSysex.h"

#include "params/TuningTable.h"

namespace grelmond {

namespace TuningSysex {

namespace {

constexpr unsigned char kNonRealTime = 0x7E;
constexpr unsigned char kRealTime = 0x7F;
constexpr unsigned char kTuning = 0x08;
constexpr unsigned char kBulkDump = 0x01;
constexpr unsigned char kNoteChange = 0x02;
constexpr unsigned char kBankBulkDump = 0x04;
constexpr unsigned char kBankNoteChange = 0x07;
constexpr std::size_t kNameBytes = 16;

struct Bytes {
    const unsigned char* data;
    std::size_t size;
    unsigned char at(std::size_t i) const { return data[i]; }
};

bool dataBytes(Bytes b) {
    for (std::size_t i = 0; i < b.size; ++i)
        if (b.data[i] & 0x80) return false;
    return true;
}

// A note's pitch: semitone, then fourteen bits of a hundred cents. 7F 7F 7F leaves it.
void setPitch(TuningTable& table, int key, const unsigned char* p) {
    if (p[0] == 0x7F && p[1] == 0x7F && p[2] == 0x7F) return;
    const double fraction = static_cast<double>((p[1] << 7) | p[2]) / 16384.0;
    table.set(key, static_cast<double>(p[0]) + fraction - static_cast<double>(key));
}

// [count] then count × [key, semitone, msb, lsb]; body starts at the count.
bool noteChanges(Bytes body, TuningTable& table) {
    if (body.size < 1) return false;
    const std::size_t count = body.at(0);
    if (body.size < 1 + 4 * count) return false;
    TuningTable changed = table;
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned char* entry = body.data + 1 + 4 * i;
        setPitch(changed, entry[0], entry + 1);
    }
    table = changed;
    return true;
}

// [16 name bytes] then 128 × [semitone, msb, lsb], then a checksum that senders
// compute in different ways and so is not checked.
bool bulkDump(Bytes body, TuningTable& table) {
    if (body.size < kNameBytes + 3 * TuningTable::kNotes) return false;
    TuningTable dumped = table;
    for (int key = 0; key < TuningTable::kNotes; ++key)
        setPitch(dumped, key, body.data + kNameBytes + 3 * static_cast<std::size_t>(key));
    table = dumped;
    return true;
}

} // namespace

bool apply(const unsigned char* data, std::size_t size, TuningTable& table) {
    if (data == nullptr) return false;
    Bytes b{data, size};
    if (b.size > 0 && b.at(0) == 0xF0) ++b.data, --b.size;
    if (b.size > 0 && b.data[b.size - 1] == 0xF7) --b.size;
    if (!dataBytes(b) || b.size < 4) return false;
    const unsigned char kind = b.at(0), subId1 = b.at(2), subId2 = b.at(3);
    if ((kind != kNonRealTime && kind != kRealTime) || subId1 != kTuning) return false;
    // After [kind, device, 08, sub-id]: a program, or a bank and a program.
    auto from = [&](std::size_t skip) { return b.size >= skip ? Bytes{b.data + skip, b.size - skip} : Bytes{b.data, 0}; };
    if (subId2 == kNoteChange && kind == kRealTime) return noteChanges(from(5), table);
    if (subId2 == kBankNoteChange) return noteChanges(from(6), table);
    if (subId2 == kBulkDump && kind == kNonRealTime) return bulkDump(from(5), table);
    if (subId2 == kBankBulkDump && kind == kNonRealTime) return bulkDump(from(6), table);
    return false;
}

} // namespace TuningSysex

} // namespace grelmond
