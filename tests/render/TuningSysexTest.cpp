#include "params/TuningTable.h"
#include "render/TuningSysex.h"

#include <gtest/gtest.h>

#include <vector>

using namespace grelmond;

namespace {

using Bytes = std::vector<unsigned char>;

bool send(const Bytes& b, TuningTable& t) { return TuningSysex::apply(b.data(), b.size(), t); }

// A pitch as the messages carry it: semitone, then 14 bits of 100 cents.
void pitchBytes(Bytes& out, double semitones)
{
    const int whole = static_cast<int>(semitones);
    const int fraction = static_cast<int>((semitones - whole) * 16384.0 + 0.5);
    out.insert(out.end(), {static_cast<unsigned char>(whole), static_cast<unsigned char>(fraction >> 7),
                           static_cast<unsigned char>(fraction & 0x7F)});
}

Bytes bulkDump(double (*pitchOf)(int key))
{
    Bytes b = {0xF0, 0x7E, 0x7F, 0x08, 0x01, 0x00};
    for (char c : std::string("Nineteen equal  "))
        b.push_back(static_cast<unsigned char>(c));
    for (int key = 0; key < 128; ++key)
        pitchBytes(b, pitchOf(key));
    b.push_back(0x00); // checksum, not checked
    b.push_back(0xF7);
    return b;
}

} // namespace

TEST(TuningSysex, SingleNoteChangesRetuneOnlyTheirKeys)
{
    TuningTable t;
    Bytes realTime = {0xF0, 0x7F, 0x00, 0x08, 0x02, 0x00, 0x02, 60};
    pitchBytes(realTime, 60.25);
    realTime.push_back(61);
    realTime.insert(realTime.end(), {0x7F, 0x7F, 0x7F}); // no change
    realTime.push_back(0xF7);
    ASSERT_TRUE(send(realTime, t));
    EXPECT_NEAR(t.deviation(60), 0.25, 1e-4);
    EXPECT_EQ(t.deviation(61), 0.0f);
    EXPECT_EQ(t.deviation(59), 0.0f);

    // The bank form, real-time and not, without the F0/F7 framing.
    Bytes bank = {0x7E, 0x10, 0x08, 0x07, 0x01, 0x02, 0x01, 100};
    pitchBytes(bank, 90.5);
    ASSERT_TRUE(send(bank, t));
    EXPECT_NEAR(t.deviation(100), -9.5, 1e-4);
    bank[0] = 0x7F;
    ASSERT_TRUE(send(bank, t));
}

TEST(TuningSysex, BulkDumpRetunesEveryKey)
{
    TuningTable t;
    t.unmap(3);
    ASSERT_TRUE(send(bulkDump([](int key) { return 60.0 + (key - 60) * 12.0 / 19.0; }), t));
    for (int key = 0; key < 128; ++key)
        EXPECT_NEAR(key + t.deviation(key), 60.0 + (key - 60) * 12.0 / 19.0, 1e-4) << key;
    EXPECT_TRUE(t.mapped(3));
}

// Truncated, corrupted or foreign messages change nothing and never read
// outside their bytes (ASan build).
TEST(TuningSysex, MalformedMessagesChangeNothing)
{
    const Bytes dump = bulkDump([](int key) { return key + 0.5; });
    Bytes note = {0xF0, 0x7F, 0x00, 0x08, 0x02, 0x00, 0x03, 60, 61, 0, 0, 62, 62, 0, 0, 63, 63, 0, 0, 0xF7};
    for (const Bytes* whole : std::initializer_list<const Bytes*>{&dump, &note}) {
        for (std::size_t n = 0; n + 1 < whole->size(); ++n) {
            Bytes cut(whole->begin(), whole->begin() + static_cast<long>(n));
            TuningTable t;
            send(cut, t);
            // A cut message either is refused or, cut only in its framing or checksum, applies whole.
            if (!t.isEqualTemperament()) {
                EXPECT_GE(n, whole->size() - 2) << n;
            }
        }
    }
    TuningTable t;
    Bytes high = note;
    high[9] = 0x80; // a status byte inside the data
    EXPECT_FALSE(send(high, t));
    EXPECT_FALSE(send({0xF0, 0x43, 0x10, 0x4C, 0x00, 0xF7}, t)); // another maker's message
    EXPECT_FALSE(send({0xF0, 0x7E, 0x00, 0x06, 0x01, 0xF7}, t)); // identity request
    EXPECT_FALSE(send({0xF0, 0x7F, 0x00, 0x08, 0x01, 0x00, 0xF7}, t)); // a dump must be non-real-time
    EXPECT_FALSE(TuningSysex::apply(nullptr, 10, t));
    EXPECT_TRUE(t.isEqualTemperament());
}
