#include "FactoryBank.h"

namespace bankgen {

Family effectsAndPercussion()
{
    return {"Effects and Percussion", {
        {"Sine Kick", "Sine that drops two octaves in a flash: a synth kick drum.", 0.883f,
         kDry + Settings{
             {"osc1 shape", shape("Sine")}, {"osc1 vol", 1.0f}, {"osc1 coarse", coarse(-12)},
             {"proc function", proc("2 PitchMod Hi")}, {"proc amount", 0.5f},
             {"proc attack", 0.0f}, {"proc decay", 0.68f}, {"proc sustain", 0.0f},
             {"filt bypass", 1.0f},
             {"amp decay", 0.76f}, {"amp sustain", 0.0f}, {"amp release", 0.6f}}},
        {"Noise Snare", "Noise burst over a short sine body, through the high-pass filter.", 0.913f,
         kDry + Settings{
             {"osc1 shape", shape("Sine")}, {"osc1 vol", 0.8f},
             {"proc function", proc("11 Noise")}, {"proc amount", 0.9f},
             {"proc attack", 0.0f}, {"proc decay", 0.7f}, {"proc sustain", 0.0f},
             {"filt lfo sync", 1.0f}, {"filt cutoff", 0.45f}, {"filt resonance", 0.0f},
             {"amp velo", 0.7f}, {"amp decay", 0.76f}, {"amp sustain", 0.0f}, {"amp release", 0.6f}}},
        {"Closed Hat", "Short high-passed noise tick; velocity sets its level.", 0.961f,
         kDry + Settings{
             {"osc1 shape", shape("Sqre")}, {"osc1 vol", 0.3f}, {"osc1 coarse", coarse(-12)},
             {"proc function", proc("11 Noise")}, {"proc amount", 0.0f}, {"proc invert", 1.0f},
             {"filt lfo sync", 1.0f}, {"filt cutoff", 0.9f}, {"filt resonance", 0.0f},
             {"amp velo", 0.9f}, {"amp decay", 0.72f}, {"amp sustain", 0.0f}, {"amp release", 0.5f}}},
        {"Pitch Drop Tom", "Sine and square tom that falls an octave as it decays, with a small room echo.", 0.911f,
         kDry + Settings{
             {"osc1 shape", shape("Sine")}, {"osc1 vol", 0.9f},
             {"osc2 shape", shape("Sqre")}, {"osc2 vol", 0.3f},
             {"proc function", proc("3 PitchMod Lo")}, {"proc amount", 1.0f},
             {"proc attack", 0.0f}, {"proc decay", 0.76f}, {"proc sustain", 0.0f},
             {"filt cutoff", 0.7f},
             {"amp decay", 0.78f}, {"amp sustain", 0.0f}, {"amp release", 0.6f},
             {"ldel time", 0.2f}, {"ldel mix", 0.2f}, {"ldel feed", 0.3f}}},
        {"Zap", "Four-octave pitch dive: lasers and zaps. Control keys make the dive smaller.", 0.831f,
         kDry + Settings{
             {"osc1 shape", shape("Saw")}, {"osc1 vol", 0.9f},
             {"osc2 shape", shape("Sqre")}, {"osc2 vol", 0.6f},
             {"proc function", proc("2 PitchMod Hi")}, {"proc amount", 1.0f},
             {"proc attack", 0.0f}, {"proc decay", 0.78f}, {"proc sustain", 0.0f},
             {"amp decay", 0.8f}, {"amp sustain", 0.15f}, {"amp release", 0.6f}}},
        {"Laser Echo", "A zap into tempo-synced echoes: quarter notes left, eighths right.", 0.941f,
         kDry + Settings{
             {"osc1 shape", shape("Sqre")}, {"osc1 vol", 1.0f},
             {"osc2 shape", shape("Saw")}, {"osc2 vol", 0.8f}, {"osc2 fine", 0.52f},
             {"proc function", proc("2 PitchMod Hi")}, {"proc amount", 0.6f},
             {"proc attack", 0.0f}, {"proc decay", 0.74f}, {"proc sustain", 0.0f},
             {"filt cutoff", 0.75f}, {"filt resonance", 0.5f},
             {"amp decay", 0.78f}, {"amp sustain", 0.2f}, {"amp release", 0.6f},
             {"ldel time", 0.7f}, {"ldel sync", 1.0f}, {"ldel mix", 0.5f}, {"ldel feed", 0.6f},
             {"rdel time", 0.6f}, {"rdel sync", 1.0f}, {"rdel mix", 0.5f}, {"rdel feed", 0.6f}}},
        {"Rising Sweep", "Saw riser: the high-pass filter sweeps up over four seconds.", 0.687f,
         kDry + Settings{
             {"osc1 shape", shape("Saw")}, {"osc1 vol", 0.9f},
             {"osc2 shape", shape("Saw")}, {"osc2 vol", 0.8f}, {"osc2 fine", 0.54f},
             {"filt lfo sync", 1.0f}, {"filt cutoff", 0.4f}, {"filt resonance", 0.7f},
             {"filt env amount", 1.0f}, {"filt attack", 0.9f}, {"filt sustain", 1.0f},
             {"total num of osc", copies(4)},
             {"amp attack", 0.8f}, {"amp release", 0.75f}}},
        {"Chaos Blips", "Chaotic pitch jumps on short blips, scattered by the echoes.", 0.968f,
         kDry + Settings{
             {"osc1 shape", shape("Puls")}, {"osc1 vol", 0.9f},
             {"osc2 shape", shape("Sine")}, {"osc2 vol", 0.7f},
             {"proc function", proc("18 Chaos (All Osc)")}, {"proc amount", 0.4f},
             {"proc attack", 0.0f}, {"proc sustain", 1.0f},
             {"amp decay", 0.72f}, {"amp sustain", 0.2f}, {"amp release", 0.62f},
             {"ldel time", 0.33f}, {"ldel mix", 0.4f}, {"ldel feed", 0.5f},
             {"rdel time", 0.5f}, {"rdel mix", 0.4f}, {"rdel feed", 0.5f}}},
    }};
}

} // namespace bankgen
