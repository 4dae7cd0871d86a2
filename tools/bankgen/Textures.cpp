#include "FactoryBank.h"

namespace bankgen {

Family textures()
{
    return {"Textures", {
        {"Crazy Band Pass", "Three narrow band-passes gliding wildly over a saw; control keys set how far.", 0.983f,
         kDry + Settings{
             {"osc1 shape", shape("Saw")}, {"osc1 vol", 0.9f},
             {"osc2 shape", shape("Sqre")}, {"osc2 vol", 0.7f},
             {"osc3 shape", shape("Saw")}, {"osc3 vol", 0.35f},
             {"proc function", proc("9 BP Crazy")}, {"proc amount", 1.0f},
             {"proc attack", 0.0f}, {"proc sustain", 1.0f},
             {"amp attack", 0.6f}, {"amp release", 0.75f},
             {"ldel time", 0.55f}, {"ldel mix", 0.3f}, {"ldel feed", 0.5f}}},
        {"Distorted Band Pass", "Crushed and noisy band-pass distortion: a broken radio.", 0.899f,
         kDry + Settings{
             {"osc1 shape", shape("Saw")}, {"osc1 vol", 0.9f},
             {"osc2 shape", shape("Puls")}, {"osc2 vol", 0.6f},
             {"proc function", proc("10 BP Dist")}, {"proc amount", 0.8f},
             {"proc attack", 0.0f}, {"proc sustain", 1.0f},
             {"amp release", 0.7f}}},
        {"Noise Wind", "Noise replacing the tone entirely, swept by the filter LFO: wind. Low keys bring the tone back.", 0.838f,
         kDry + Settings{
             {"osc1 shape", shape("Sine")}, {"osc1 vol", 0.6f},
             {"proc function", proc("11 Noise")}, {"proc amount", 0.0f}, {"proc invert", 1.0f},
             {"filt lfo sync", 1.0f}, {"filt cutoff", 0.5f}, {"filt resonance", 0.0f},
             {"filt lfo rate", 0.55f}, {"filt lfo depth", 0.2f},
             {"amp attack", 0.8f}, {"amp release", 0.85f},
             {"ldel time", 0.5f}, {"ldel mix", 0.3f}, {"ldel feed", 0.5f},
             {"rdel time", 0.37f}, {"rdel mix", 0.3f}, {"rdel feed", 0.5f}}},
        {"Chaos Oscillator", "A fourth, chaotic sine is blended into the tone; the plain third oscillator holds the pitch.", 0.855f,
         kDry + Settings{
             {"osc1 shape", shape("Saw")}, {"osc1 vol", 0.9f},
             {"osc2 shape", shape("Sqre")}, {"osc2 vol", 0.7f},
             {"osc3 shape", shape("Sine")}, {"osc3 vol", 0.5f},
             {"proc function", proc("16 Chaos (4th Osc)")}, {"proc amount", 0.5f},
             {"proc attack", 0.0f}, {"proc sustain", 1.0f},
             {"filt lfo sync", 1.0f}, {"filt cutoff", 0.3f}, {"filt resonance", 0.0f},
             {"amp release", 0.75f},
             {"chor mix", 0.4f}, {"chor rate", 0.5f}, {"chor depth", 0.8f}}},
        {"Pattern Shaper", "The second waveshaper's fixed pattern turns a sine into a glassy digital buzz.", 0.818f,
         kDry + Settings{
             {"osc1 shape", shape("Sine")}, {"osc1 vol", 0.9f},
             {"osc2 shape", shape("Sine")}, {"osc2 vol", 0.6f}, {"osc2 coarse", coarse(0)},
             {"proc function", proc("20 Waveshaping 2")}, {"proc amount", 0.5f},
             {"proc attack", 0.8f}, {"proc decay", 0.85f}, {"proc sustain", 0.5f},
             {"filt lfo sync", 1.0f}, {"filt cutoff", 0.3f}, {"filt resonance", 0.0f},
             {"amp release", 0.75f},
             {"rdel time", 0.45f}, {"rdel mix", 0.3f}, {"rdel feed", 0.6f}}},
        {"Synced Echo Drone", "Low square drone feeding both tempo-synced delays for rhythmic repeats.", 0.914f,
         kDry + Settings{
             {"osc2 coarse", coarse(0)},
             {"osc1 shape", shape("Sqre")}, {"osc1 vol", 0.8f}, {"osc1 coarse", coarse(-12)},
             {"osc2 shape", shape("Saw")}, {"osc2 vol", 0.6f}, {"osc2 fine", 0.52f},
             {"filt cutoff", 0.66f}, {"filt resonance", 0.6f},
             {"filt lfo rate", 0.62f}, {"filt lfo depth", 0.15f},
             {"amp attack", 0.7f}, {"amp release", 0.8f},
             {"ldel time", 0.5f}, {"ldel sync", 1.0f}, {"ldel mix", 0.4f}, {"ldel feed", 0.6f},
             {"rdel time", 0.7f}, {"rdel sync", 1.0f}, {"rdel mix", 0.4f}, {"rdel feed", 0.6f}}},
        {"Shimmer Bank", "Sines and pulses through the fourth filter bank with chorus and echo.", 0.908f,
         kDry + Settings{
             {"osc1 shape", shape("Puls")}, {"osc1 vol", 0.8f}, {"osc1 coarse", coarse(0)},
             {"osc2 shape", shape("Sine")}, {"osc2 vol", 0.8f},
             {"proc function", proc("24 Filter Bank 4")}, {"proc amount", 0.9f},
             {"proc attack", 0.85f}, {"proc sustain", 1.0f},
             {"chor mix", 0.5f}, {"chor rate", 0.3f}, {"chor depth", 0.6f},
             {"amp attack", 0.8f}, {"amp release", 0.84f},
             {"ldel time", 0.65f}, {"ldel mix", 0.3f}, {"ldel feed", 0.55f}}},
        {"Random Flanger", "Saw chord through the flanger with its random, stepping LFO.", 0.771f,
         kDry + Settings{
             {"osc1 coarse", coarse(0)},
             {"osc1 shape", shape("Saw")}, {"osc1 vol", 0.8f},
             {"osc2 shape", shape("Saw")}, {"osc2 vol", 0.7f}, {"osc2 coarse", coarse(-12)},
             {"flang mix", 0.9f}, {"flang sync", 1.0f}, {"flang rate", 0.8f}, {"flang depth", 0.9f},
             {"flang freq", 0.1f}, {"flang feed", 0.8f},
             {"filt cutoff", 0.78f},
             {"amp attack", 0.6f}, {"amp release", 0.75f}}},
    }};
}

} // namespace bankgen
