#include "FactoryBank.h"

namespace bankgen {

Family keysAndPlucks()
{
    return {"Keys and Plucks", {
        {"Sine Electric Piano", "Sine tine with an octave above, fading as it rings; soft notes are quieter.", 0.872f,
         kDry + Settings{
             {"osc1 shape", shape("Sine")}, {"osc1 vol", 0.9f},
             {"osc3 shape", shape("Sine")}, {"osc3 coarse", coarse(0)}, {"osc3 vol", 0.35f},
             {"amp velo", 0.8f}, {"amp decay", 0.88f}, {"amp sustain", 0.0f}, {"amp release", 0.72f},
             {"chor mix", 0.4f}, {"chor rate", 0.4f}, {"chor depth", 0.4f}}},
        {"Saw Pluck", "Bright saw pluck that closes quickly, with a short echo; velocity opens the filter.", 0.909f,
         kDry + Settings{
             {"osc1 shape", shape("Saw")}, {"osc1 vol", 0.9f},
             {"osc2 shape", shape("Saw")}, {"osc2 vol", 0.6f}, {"osc2 fine", 0.515f},
             {"filt cutoff", 0.6f}, {"filt resonance", 0.45f},
             {"filt env amount", 0.4f}, {"filt velo", 0.9f},
             {"filt decay", 0.74f}, {"filt sustain", 0.0f},
             {"amp decay", 0.8f}, {"amp sustain", 0.1f}, {"amp release", 0.6f},
             {"ldel time", 0.25f}, {"ldel mix", 0.25f}, {"ldel feed", 0.3f}}},
        {"Harp Bank", "Plucked pulse through the third filter bank: a woody, harp-like ring.", 0.885f,
         kDry + Settings{
             {"osc1 shape", shape("Puls")}, {"osc1 vol", 0.9f},
             {"osc2 shape", shape("Sine")}, {"osc2 vol", 0.6f},
             {"proc function", proc("23 Filter Bank 3")}, {"proc amount", 0.8f},
             {"proc attack", 0.0f}, {"proc sustain", 1.0f},
             {"amp decay", 0.86f}, {"amp sustain", 0.0f}, {"amp release", 0.72f},
             {"total num of osc", copies(1)}}},
        {"Bank Clav", "Percussive pulse clav through the fourth filter bank; strongly velocity sensitive.", 0.922f,
         kDry + Settings{
             {"osc1 shape", shape("Puls")}, {"osc1 vol", 0.9f},
             {"osc2 shape", shape("Sqre")}, {"osc2 vol", 0.5f}, {"osc2 coarse", coarse(0)},
             {"osc3 shape", shape("Puls")}, {"osc3 vol", 0.4f},
             {"proc function", proc("24 Filter Bank 4")}, {"proc amount", 0.7f},
             {"proc attack", 0.0f}, {"proc sustain", 1.0f},
             {"amp velo", 1.0f}, {"amp decay", 0.78f}, {"amp sustain", 0.3f}, {"amp release", 0.55f}}},
        {"Bare Mallet", "Sine and square mallet with the filter bypassed: every harmonic as it is.", 0.885f,
         kDry + Settings{
             {"osc1 shape", shape("Sine")}, {"osc1 vol", 0.9f},
             {"osc3 shape", shape("Sqre")}, {"osc3 coarse", coarse(0)}, {"osc3 vol", 0.2f},
             {"filt bypass", 1.0f},
             {"amp velo", 0.6f}, {"amp decay", 0.8f}, {"amp sustain", 0.0f}, {"amp release", 0.65f}}},
        {"Glass Bell", "Slightly detuned sines a fifth apart, unfiltered, with a long ring and echo.", 0.823f,
         kDry + Settings{
             {"osc1 shape", shape("Sine")}, {"osc1 vol", 0.8f},
             {"osc2 shape", shape("Sine")}, {"osc2 coarse", coarse(-6)}, {"osc2 fine", 1.0f}, {"osc2 vol", 0.5f},
             {"osc3 shape", shape("Sine")}, {"osc3 coarse", coarse(0)}, {"osc3 fine", 0.53f}, {"osc3 vol", 0.4f},
             {"filt bypass", 1.0f},
             {"amp decay", 0.9f}, {"amp sustain", 0.0f}, {"amp release", 0.8f},
             {"rdel time", 0.4f}, {"rdel mix", 0.3f}, {"rdel feed", 0.5f}}},
        {"Pizzicato Strings", "Short saw plucks doubled by two ensemble copies.", 0.892f,
         kDry + Settings{
             {"osc1 shape", shape("Saw")}, {"osc1 vol", 0.9f},
             {"total num of osc", copies(2)}, {"detune osc", 0.4f},
             {"filt cutoff", 0.7f}, {"filt env amount", 0.5f},
             {"filt decay", 0.7f}, {"filt sustain", 0.0f},
             {"amp velo", 0.5f}, {"amp decay", 0.76f}, {"amp sustain", 0.0f}, {"amp release", 0.6f}}},
        {"Thin Harpsichord", "Pulse waves an octave apart through the high-pass filter: thin and plucky.", 0.772f,
         kDry + Settings{
             {"osc1 shape", shape("Puls")}, {"osc1 vol", 0.9f},
             {"osc2 shape", shape("Puls")}, {"osc2 vol", 0.7f}, {"osc2 coarse", coarse(0)},
             {"filt lfo sync", 1.0f}, {"filt cutoff", 0.6f}, {"filt resonance", 0.3f},
             {"amp decay", 0.84f}, {"amp sustain", 0.0f}, {"amp release", 0.65f}}},
    }};
}

} // namespace bankgen
