#include "FactoryBank.h"

namespace bankgen {

Family basses()
{
    return {"Basses", {
        {"Sub Sine Bass", "Pure sine with an octave-down sine beneath and a short pitch thump at the start.", 0.84f,
         kDry + Settings{
             {"osc1 coarse", coarse(0)},
             {"osc1 shape", shape("Sine")}, {"osc1 vol", 0.9f},
             {"osc3 shape", shape("Sine")}, {"osc3 coarse", coarse(-12)}, {"osc3 vol", 0.7f},
             {"proc function", proc("3 PitchMod Lo")}, {"proc amount", 0.3f},
             {"proc attack", 0.0f}, {"proc decay", 0.65f}, {"proc sustain", 0.0f},
             {"amp release", 0.65f}}},
        {"Saw Filter Bass", "Two detuned saws through a resonant filter that snaps shut; play harder for a brighter snap.", 0.854f,
         kDry + Settings{
             {"osc1 coarse", coarse(0)}, {"osc2 coarse", coarse(0)},
             {"osc1 shape", shape("Saw")}, {"osc1 vol", 0.8f}, {"osc1 fine", 0.49f},
             {"osc2 shape", shape("Saw")}, {"osc2 vol", 0.8f}, {"osc2 fine", 0.51f},
             {"osc3 shape", shape("Sine")}, {"osc3 coarse", coarse(-12)}, {"osc3 vol", 0.5f},
             {"filt cutoff", 0.62f}, {"filt resonance", 0.65f},
             {"filt env amount", 0.3f}, {"filt velo", 0.8f},
             {"filt attack", 0.0f}, {"filt decay", 0.75f}, {"filt sustain", 0.1f}, {"filt release", 0.6f},
             {"amp release", 0.6f}}},
        {"Square Grit Bass", "Square wave folded by the first waveshaper into a gritty, buzzing low end.", 0.852f,
         kDry + Settings{
             {"osc1 coarse", coarse(0)},
             {"osc1 shape", shape("Sqre")}, {"osc1 vol", 0.8f},
             {"osc2 shape", shape("Sqre")}, {"osc2 coarse", coarse(-12)}, {"osc2 vol", 0.6f},
             {"proc function", proc("19 Waveshaping 1")}, {"proc amount", 0.35f},
             {"proc attack", 0.0f}, {"proc sustain", 1.0f},
             {"filt cutoff", 0.72f}, {"filt resonance", 0.3f}}},
        {"Pulse Funk Bass", "Short, velocity-sensitive pulse bass: soft notes are dull and quiet, hard ones bite.", 0.945f,
         kDry + Settings{
             {"osc1 coarse", coarse(0)},
             {"osc1 shape", shape("Puls")}, {"osc1 vol", 0.9f},
             {"osc3 shape", shape("Sqre")}, {"osc3 coarse", coarse(-12)}, {"osc3 vol", 0.4f},
             {"amp velo", 0.8f}, {"filt velo", 1.0f}, {"filt env amount", 0.2f},
             {"filt cutoff", 0.6f}, {"filt resonance", 0.55f},
             {"filt decay", 0.7f}, {"filt sustain", 0.0f},
             {"amp decay", 0.8f}, {"amp sustain", 0.3f}, {"amp release", 0.55f}}},
        {"Ring Metal Bass", "Ring-modulated bass with a metallic edge; the control keys (below the split) move the carrier.", 0.896f,
         kDry + Settings{
             {"osc1 coarse", coarse(0)},
             {"osc1 shape", shape("Saw")}, {"osc1 vol", 0.9f},
             {"osc3 shape", shape("Sine")}, {"osc3 coarse", coarse(-12)}, {"osc3 vol", 0.6f},
             {"proc function", proc("4 Ring Mod")}, {"proc amount", 0.6f},
             {"proc attack", 0.0f}, {"proc decay", 0.8f}, {"proc sustain", 0.3f},
             {"perf porta", 0.8f},
             {"filt cutoff", 0.7f}}},
        {"Chaos Growl Bass", "Oscillator 1 jumps chaotically around its pitch: a growling, unstable bass. Control keys tame it.", 0.885f,
         kDry + Settings{
             {"osc1 coarse", coarse(0)}, {"osc2 coarse", coarse(0)},
             {"osc1 shape", shape("Saw")}, {"osc1 vol", 0.7f},
             {"osc2 shape", shape("Sqre")}, {"osc2 vol", 0.6f},
             {"osc3 shape", shape("Sine")}, {"osc3 coarse", coarse(-12)}, {"osc3 vol", 0.6f},
             {"proc function", proc("17 Chaos (Osc 1)")}, {"proc amount", 0.08f},
             {"proc attack", 0.0f}, {"proc sustain", 1.0f},
             {"filt cutoff", 0.68f}, {"filt resonance", 0.5f}}},
        {"Phased Pulse Bass", "Pulse bass through a light two-stage phaser that opens with the proc envelope.", 0.852f,
         kDry + Settings{
             {"osc1 shape", shape("Puls")}, {"osc1 vol", 0.8f},
             {"osc2 shape", shape("Saw")}, {"osc2 vol", 0.6f}, {"osc2 fine", 0.52f},
             {"proc function", proc("25 Phaser 1")}, {"proc amount", 0.9f},
             {"proc attack", 0.0f}, {"proc decay", 0.82f}, {"proc sustain", 0.2f},
             {"filt cutoff", 0.75f}}},
        {"Acid Squelch Bass", "Saw through a screaming resonant filter with a quick envelope and the first waveshaper.", 0.856f,
         kDry + Settings{
             {"osc1 shape", shape("Saw")}, {"osc1 vol", 0.9f},
             {"proc function", proc("19 Waveshaping 1")}, {"proc amount", 0.15f},
             {"proc attack", 0.0f}, {"proc sustain", 1.0f},
             {"filt cutoff", 0.55f}, {"filt resonance", 0.85f}, {"filt env amount", 0.9f},
             {"filt decay", 0.72f}, {"filt sustain", 0.1f}, {"filt velo", 0.5f},
             {"amp release", 0.55f}}},
    }};
}

} // namespace bankgen
