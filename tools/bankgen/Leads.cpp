#include "FactoryBank.h"

namespace bankgen {

Family leads()
{
    return {"Leads", {
        {"Bright Saw Lead", "Three-copy saw lead with a tempo-synced echo; push the modulation wheel for vibrato.", 0.774f,
         kDry + Settings{
             {"osc1 shape", shape("Saw")}, {"osc1 vol", 0.8f}, {"osc1 fine", 0.49f},
             {"osc2 shape", shape("Saw")}, {"osc2 vol", 0.8f}, {"osc2 fine", 0.53f},
             {"total num of osc", copies(3)}, {"detune osc", 0.3f},
             {"pitch mod rate", 0.6f},
             {"filt cutoff", 0.82f}, {"filt resonance", 0.35f},
             {"ldel time", 0.8f}, {"ldel sync", 1.0f}, {"ldel mix", 0.3f}, {"ldel feed", 0.4f},
             {"rdel time", 0.7f}, {"rdel sync", 1.0f}, {"rdel mix", 0.3f}, {"rdel feed", 0.4f}}},
        {"Square Swoop Lead", "Square lead that swoops down an octave into every note.", 0.869f,
         kDry + Settings{
             {"osc1 shape", shape("Sqre")}, {"osc1 vol", 0.8f},
             {"osc2 shape", shape("Sqre")}, {"osc2 coarse", coarse(0)}, {"osc2 vol", 0.4f},
             {"proc function", proc("2 PitchMod Hi")}, {"proc amount", 0.25f},
             {"proc attack", 0.0f}, {"proc decay", 0.72f}, {"proc sustain", 0.0f},
             {"pitch mod rate", 0.6f},
             {"filt cutoff", 0.8f}}},
        {"Whistle Lead", "Sine and pulse with a gentle pitch vibrato always on; the wheel deepens it.", 0.879f,
         kDry + Settings{
             {"osc1 shape", shape("Sine")}, {"osc1 vol", 0.9f},
             {"osc2 shape", shape("Puls")}, {"osc2 coarse", coarse(0)}, {"osc2 vol", 0.25f},
             {"pitch mod rate", 0.55f}, {"pitch mod depth", 0.25f},
             {"amp attack", 0.6f}, {"amp release", 0.72f},
             {"rdel time", 0.35f}, {"rdel mix", 0.25f}, {"rdel feed", 0.3f}}},
        {"Flanged Saw Lead", "Saw lead through the global flanger, swept slowly by its triangle LFO.", 0.827f,
         kDry + Settings{
             {"osc1 shape", shape("Saw")}, {"osc1 vol", 0.8f},
             {"osc2 shape", shape("Puls")}, {"osc2 vol", 0.5f}, {"osc2 fine", 0.53f},
             {"flang mix", 0.8f}, {"flang rate", 0.75f}, {"flang depth", 0.8f}, {"flang freq", 0.2f},
             {"flang feed", 0.7f},
             {"filt cutoff", 0.8f}}},
        {"Chaos Lead", "All three oscillators wander chaotically: a nervous, lively lead. Low keys calm it.", 0.853f,
         kDry + Settings{
             {"osc1 shape", shape("Saw")}, {"osc1 vol", 0.7f},
             {"osc2 shape", shape("Sqre")}, {"osc2 vol", 0.6f},
             {"osc3 shape", shape("Puls")}, {"osc3 vol", 0.4f},
             {"proc function", proc("18 Chaos (All Osc)")}, {"proc amount", 0.03f},
             {"proc attack", 0.0f}, {"proc sustain", 1.0f},
             {"perf porta", 0.9f},
             {"filt cutoff", 0.78f}}},
        {"Deep Phaser Lead", "Saw and pulse through the strong-feedback phaser, sweeping with each note.", 0.81f,
         kDry + Settings{
             {"osc1 shape", shape("Saw")}, {"osc1 vol", 0.8f},
             {"osc2 shape", shape("Puls")}, {"osc2 vol", 0.7f}, {"osc2 fine", 0.52f},
             {"proc function", proc("26 Phaser 2")}, {"proc amount", 1.0f},
             {"proc attack", 0.8f}, {"proc decay", 0.85f}, {"proc sustain", 0.3f},
             {"filt cutoff", 0.82f}}},
        {"Ring Bell Lead", "Sine lead ring-modulated into a bell-like tone; control keys retune the bell.", 0.812f,
         kDry + Settings{
             {"osc1 shape", shape("Sine")}, {"osc1 vol", 0.9f},
             {"osc2 shape", shape("Sine")}, {"osc2 coarse", coarse(0)}, {"osc2 vol", 0.5f},
             {"osc3 shape", shape("Sine")}, {"osc3 vol", 0.5f},
             {"proc function", proc("4 Ring Mod")}, {"proc amount", 0.3f}, {"proc invert", 1.0f},
             {"proc sustain", 1.0f},
             {"filt bypass", 1.0f},
             {"amp release", 0.75f},
             {"ldel time", 0.3f}, {"ldel mix", 0.2f}}},
        {"Echo Pulse Lead", "Pulse lead with both delays locked to the host tempo: eighth notes left, half bars right.", 0.918f,
         kDry + Settings{
             {"osc1 shape", shape("Puls")}, {"osc1 vol", 0.9f},
             {"osc2 shape", shape("Saw")}, {"osc2 vol", 0.5f}, {"osc2 fine", 0.515f},
             {"filt cutoff", 0.78f}, {"filt resonance", 0.4f}, {"amp velo", 0.4f},
             {"ldel time", 0.6f}, {"ldel sync", 1.0f}, {"ldel mix", 0.35f}, {"ldel feed", 0.5f},
             {"rdel time", 0.8f}, {"rdel sync", 1.0f}, {"rdel mix", 0.35f}, {"rdel feed", 0.5f}}},
    }};
}

} // namespace bankgen
