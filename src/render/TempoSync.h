#pragma once

namespace grelmond {

// Delay lengths locked to the host tempo. The base is one 4/4 bar,
// 240 × rate / tempo frames, halved until it lasts less than 192000 frames at
// 44.1 kHz (4.35 s, at every rate); the time value then picks a power-of-two
// division of it. Keeps the last lengths when the host gives no tempo. Audio
// thread only.
class TempoSync {
public:
    static constexpr int kLimit = 192000;

    // The halving limit in frames at a sample rate: kLimit at 44.1 kHz.
    static double limitAt(double sampleRate);
    // Returns the bar length in frames, or 0 when rate or tempo are unusable.
    static int barFrames(double sampleRate, double tempo);
    // The length that time value v selects from the bar length.
    static int division(int bar, float v);

    // Forgets the host tempo: the unsynchronised lengths apply until it is known.
    void reset() { left_ = right_ = 0; }
    // Recomputes the synchronised lengths from a host tempo; unusable tempos change nothing.
    void update(double sampleRate, double tempo, float leftTime, float rightTime);

    // The synchronised length of a side (0 left, 1 right), or `unsynced` before any tempo.
    int length(int side, int unsynced) const
    {
        const int frames = side == 0 ? left_ : right_;
        return frames > 0 ? frames : unsynced;
    }

private:
    int left_ = 0;
    int right_ = 0;
};

} // namespace grelmond
