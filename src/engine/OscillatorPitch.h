#pragma once

namespace grelmond {

// Control-rate pitch arithmetic of the oscillators: which waveform a key
// plays, how far it is from the waveform's reference note, and how a
// semitone value folds into octaves.
namespace OscillatorPitch {

constexpr int sineWaveform = 0;
constexpr int sineReference = 57;
constexpr int bandsPerShape = 5;

struct WaveChoice {
    int waveform;
    int reference;
};

struct Fold {
    float semitones; // 0 to 12
    float factor;    // power of two
};

// note + coarse (coarse value 0..1 spans -12..+12 semitones), clamped to 0..127.
float key(int note, float coarseValue);
// 0 sine, 1 pulse, 2 sawtooth, 3 square.
int shapeClass(float shapeValue);
WaveChoice choose(int shapeClass, float key);
// Truncated toward zero: the fraction of the coarse tuning is dropped.
int semitoneOffset(float key, int reference);
// Fine values 0..1 to ±1 semitone, nudged apart so that equal settings never phase-lock.
void fineOffsets(const float fine[3], float pitchOffset[3]);
Fold octaveFold(float semitones);

} // namespace OscillatorPitch

} // namespace grelmond
