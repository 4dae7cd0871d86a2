#include "FactoryBank.h"

namespace bankgen {

Family organsAndEnsembles()
{
    return {"Organs and Ensembles", {
        {"Drawbar Organ", "Sines at 16', 8' and 4' with a quick chorus for a rotary shimmer.", 0.777f,
         kDry + Settings{
             {"osc1 coarse", coarse(0)},
             {"osc1 shape", shape("Sine")}, {"osc1 vol", 0.8f},
             {"osc2 shape", shape("Sine")}, {"osc2 coarse", coarse(12)}, {"osc2 vol", 0.6f},
             {"osc3 shape", shape("Sine")}, {"osc3 coarse", coarse(-12)}, {"osc3 vol", 0.6f},
             {"filt bypass", 1.0f}, {"amp release", 0.6f},
             {"chor mix", 0.6f}, {"chor rate", 0.8f}, {"chor depth", 0.5f}}},
        {"Square Combo Organ", "Reedy square organ with one ensemble copy and a short room echo.", 0.832f,
         kDry + Settings{
             {"osc1 shape", shape("Sqre")}, {"osc1 vol", 0.8f},
             {"osc2 shape", shape("Sqre")}, {"osc2 coarse", coarse(0)}, {"osc2 vol", 0.4f},
             {"total num of osc", copies(1)},
             {"filt cutoff", 0.78f}, {"amp release", 0.6f},
             {"ldel time", 0.15f}, {"ldel mix", 0.2f}, {"ldel feed", 0.3f}}},
        {"Pulse Reed Organ", "Pulse and saw reed organ with two copies and a slow vibrato on the wheel.", 0.783f,
         kDry + Settings{
             {"osc1 shape", shape("Puls")}, {"osc1 vol", 0.8f},
             {"osc2 shape", shape("Saw")}, {"osc2 vol", 0.4f}, {"osc2 fine", 0.51f},
             {"total num of osc", copies(2)}, {"detune osc", 0.2f},
             {"pitch mod rate", 0.5f},
             {"filt cutoff", 0.74f}, {"amp release", 0.62f}}},
        {"Brass Section", "Saw brass whose filter swells open as the note starts; velocity adds bite.", 0.692f,
         kDry + Settings{
             {"osc1 shape", shape("Saw")}, {"osc1 vol", 0.8f},
             {"osc2 shape", shape("Saw")}, {"osc2 vol", 0.8f}, {"osc2 fine", 0.52f},
             {"total num of osc", copies(5)}, {"detune osc", 0.3f},
             {"filt cutoff", 0.62f}, {"filt resonance", 0.3f},
             {"filt env amount", 0.8f}, {"filt velo", 0.6f},
             {"filt attack", 0.75f}, {"filt decay", 0.8f}, {"filt sustain", 0.6f},
             {"amp attack", 0.65f}, {"amp release", 0.7f}, {"pitch mod rate", 0.55f}}},
        {"Full Strings", "Ten detuned copies of a saw section with chorus; the wheel adds vibrato.", 0.74f,
         kDry + Settings{
             {"osc1 shape", shape("Saw")}, {"osc1 vol", 0.8f},
             {"osc2 shape", shape("Saw")}, {"osc2 vol", 0.6f}, {"osc2 coarse", coarse(0)},
             {"total num of osc", copies(10)}, {"detune osc", 0.8f},
             {"chor mix", 0.4f}, {"chor rate", 0.2f}, {"chor depth", 0.4f},
             {"filt cutoff", 0.76f},
             {"amp attack", 0.76f}, {"amp release", 0.8f}, {"pitch mod rate", 0.5f}}},
        {"Chamber Ensemble", "Pulse and square ensemble of six copies, warm and close.", 0.755f,
         kDry + Settings{
             {"osc1 shape", shape("Puls")}, {"osc1 vol", 0.8f},
             {"osc2 shape", shape("Sqre")}, {"osc2 vol", 0.5f}, {"osc2 fine", 0.515f},
             {"total num of osc", copies(6)}, {"detune osc", 0.5f},
             {"filt cutoff", 0.7f},
             {"amp attack", 0.72f}, {"amp release", 0.75f}}},
        {"Phased Organ", "Square organ through the light phaser, sweeping slowly as the key is held.", 0.755f,
         kDry + Settings{
             {"osc1 shape", shape("Sqre")}, {"osc1 vol", 0.8f},
             {"osc2 shape", shape("Sine")}, {"osc2 vol", 0.7f}, {"osc2 coarse", coarse(0)},
             {"proc function", proc("25 Phaser 1")}, {"proc amount", 1.0f},
             {"proc attack", 0.88f}, {"proc sustain", 1.0f},
             {"filt cutoff", 0.8f}, {"amp release", 0.6f},
             {"total num of osc", copies(3)}}},
        {"Wide Choir Organ", "Saws through the first formant bank with seven copies: an organ that sings.", 0.737f,
         kDry + Settings{
             {"osc1 coarse", coarse(0)}, {"osc3 coarse", coarse(0)},
             {"osc1 shape", shape("Saw")}, {"osc1 vol", 0.5f},
             {"osc2 shape", shape("Sqre")}, {"osc2 vol", 0.4f}, {"osc2 coarse", coarse(-12)},
             {"osc3 shape", shape("Saw")}, {"osc3 vol", 0.5f},
             {"proc function", proc("5 Vox A")}, {"proc amount", 0.6f},
             {"proc attack", 0.0f}, {"proc sustain", 1.0f},
             {"total num of osc", copies(7)}, {"detune osc", 0.3f},
             {"amp attack", 0.6f}, {"amp release", 0.7f}}},
    }};
}

} // namespace bankgen
