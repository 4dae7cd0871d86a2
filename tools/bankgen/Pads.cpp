#include "FactoryBank.h"

namespace bankgen {

Family pads()
{
    return {"Pads", {
        {"Warm Saw Pad", "Ten-copy saw ensemble with chorus and a slow swell: the widest pad in the bank.", 0.735f,
         kDry + Settings{
             {"osc1 shape", shape("Saw")}, {"osc1 vol", 0.7f},
             {"osc2 shape", shape("Saw")}, {"osc2 vol", 0.7f}, {"osc2 fine", 0.52f},
             {"total num of osc", copies(10)}, {"detune osc", 0.5f},
             {"chor mix", 0.6f}, {"chor rate", 0.3f}, {"chor depth", 0.7f},
             {"filt cutoff", 0.72f},
             {"amp attack", 0.82f}, {"amp release", 0.85f}}},
        {"Soft String Pad", "Pulse and saw strings, eight copies and chorus; the wheel adds a slow vibrato.", 0.782f,
         kDry + Settings{
             {"osc1 shape", shape("Saw")}, {"osc1 vol", 0.7f},
             {"osc2 shape", shape("Puls")}, {"osc2 vol", 0.5f}, {"osc2 fine", 0.51f},
             {"total num of osc", copies(8)}, {"detune osc", 0.4f},
             {"chor mix", 0.5f}, {"chor rate", 0.2f}, {"chor depth", 0.5f},
             {"pitch mod rate", 0.4f},
             {"filt cutoff", 0.7f},
             {"amp attack", 0.8f}, {"amp release", 0.82f}}},
        {"Glass Pad", "Thin, airy sine and pulse through the high-pass filter, with a long echo.", 0.801f,
         kDry + Settings{
             {"osc1 shape", shape("Puls")}, {"osc1 vol", 0.6f}, {"osc1 coarse", coarse(0)},
             {"osc2 shape", shape("Sine")}, {"osc2 vol", 0.8f},
             {"osc3 shape", shape("Sine")}, {"osc3 coarse", coarse(0)}, {"osc3 vol", 0.4f},
             {"filt lfo sync", 1.0f}, {"filt cutoff", 0.5f}, {"filt resonance", 0.5f},
             {"amp attack", 0.78f}, {"amp release", 0.85f},
             {"ldel time", 0.6f}, {"ldel mix", 0.35f}, {"ldel feed", 0.6f},
             {"rdel time", 0.45f}, {"rdel mix", 0.35f}, {"rdel feed", 0.6f}}},
        {"Sweeping Pad", "Square pad whose filter rises and falls with the slow filter LFO.", 0.81f,
         kDry + Settings{
             {"osc1 shape", shape("Sqre")}, {"osc1 vol", 0.7f},
             {"osc2 shape", shape("Saw")}, {"osc2 vol", 0.6f}, {"osc2 fine", 0.515f},
             {"total num of osc", copies(4)},
             {"filt cutoff", 0.62f}, {"filt resonance", 0.6f},
             {"filt lfo rate", 0.5f}, {"filt lfo depth", 0.25f},
             {"amp attack", 0.8f}, {"amp release", 0.82f}}},
        {"Flanged Pad", "The voice's own flanging stage on a saw pad: a jet-like sweep on every note.", 0.789f,
         kDry + Settings{
             {"osc1 shape", shape("Saw")}, {"osc1 vol", 0.7f},
             {"osc2 shape", shape("Saw")}, {"osc2 vol", 0.6f}, {"osc2 coarse", coarse(0)},
             {"proc function", proc("1 Flanging")}, {"proc amount", 0.9f},
             {"proc attack", 0.88f}, {"proc decay", 0.88f}, {"proc sustain", 0.2f}, {"flang feed", 0.6f},
             {"filt cutoff", 0.75f},
             {"amp attack", 0.75f}, {"amp release", 0.82f}}},
        {"Filter Bank Pad", "Saw pad coloured by the first filter bank, fading in slowly.", 0.877f,
         kDry + Settings{
             {"osc1 shape", shape("Saw")}, {"osc1 vol", 0.8f},
             {"osc2 shape", shape("Saw")}, {"osc2 vol", 0.7f}, {"osc2 fine", 0.52f},
             {"proc function", proc("21 Filter Bank 1")}, {"proc amount", 0.8f},
             {"proc attack", 0.85f}, {"proc sustain", 1.0f},
             {"total num of osc", copies(6)},
             {"filt cutoff", 0.8f},
             {"amp attack", 0.78f}, {"amp release", 0.82f}}},
        {"Dark Bank Pad", "Low, hollow pad through the second filter bank with a soft chorus.", 1.0f,
         kDry + Settings{
             {"osc1 coarse", coarse(0)},
             {"osc1 shape", shape("Sqre")}, {"osc1 vol", 0.9f},
             {"osc2 shape", shape("Saw")}, {"osc2 vol", 0.7f}, {"osc2 coarse", coarse(-12)},
             {"proc function", proc("22 Filter Bank 2")}, {"proc amount", 0.8f},
             {"proc attack", 0.8f}, {"proc sustain", 1.0f},
             {"chor mix", 0.5f}, {"chor rate", 0.15f}, {"chor depth", 0.6f},
             {"filt cutoff", 0.7f},
             {"amp attack", 0.78f}, {"amp release", 0.84f}}},
        {"Nine Voice Pad", "Nine detuned copies of a pulse pad with a slow stereo echo.", 0.821f,
         kDry + Settings{
             {"osc1 coarse", coarse(0)},
             {"osc1 shape", shape("Puls")}, {"osc1 vol", 0.7f},
             {"osc2 shape", shape("Sine")}, {"osc2 vol", 0.6f}, {"osc2 coarse", coarse(-12)},
             {"total num of osc", copies(9)}, {"detune osc", 0.7f},
             {"filt cutoff", 0.7f},
             {"amp attack", 0.78f}, {"amp release", 0.84f},
             {"ldel time", 0.7f}, {"ldel mix", 0.3f}, {"ldel feed", 0.5f},
             {"rdel time", 0.55f}, {"rdel mix", 0.3f}, {"rdel feed", 0.5f}}},
    }};
}

} // namespace bankgen
