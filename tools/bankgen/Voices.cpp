#include "FactoryBank.h"

namespace bankgen {

Family voices()
{
    return {"Voices and Formants", {
        {"Vox A Choir", "Saws through the first formant bank: an open 'ah' choir with chorus.", 0.717f,
         kDry + Settings{
             {"osc1 shape", shape("Saw")}, {"osc1 vol", 0.6f},
             {"osc2 shape", shape("Saw")}, {"osc2 vol", 0.5f}, {"osc2 fine", 0.52f},
             {"osc3 shape", shape("Saw")}, {"osc3 vol", 0.45f},
             {"proc function", proc("5 Vox A")}, {"proc amount", 0.9f},
             {"proc attack", 0.0f}, {"proc sustain", 1.0f},
             {"total num of osc", copies(5)},
             {"chor mix", 0.4f}, {"chor rate", 0.25f}, {"chor depth", 0.5f},
             {"amp attack", 0.75f}, {"amp release", 0.8f}, {"pitch mod rate", 0.55f}}},
        {"Vox B Voice", "Pulse voice through the second formant bank; the wheel gives it vibrato.", 0.92f,
         kDry + Settings{
             {"osc1 shape", shape("Puls")}, {"osc1 vol", 0.6f},
             {"osc2 shape", shape("Saw")}, {"osc2 vol", 0.5f},
             {"osc3 shape", shape("Puls")}, {"osc3 vol", 0.4f},
             {"proc function", proc("6 Vox B")}, {"proc amount", 0.9f},
             {"proc attack", 0.0f}, {"proc sustain", 1.0f},
             {"amp attack", 0.7f}, {"amp release", 0.75f}, {"pitch mod rate", 0.6f}}},
        {"Vox C Whisper", "Square waves through the third formant bank, with a little echo.", 0.91f,
         kDry + Settings{
             {"osc1 shape", shape("Sqre")}, {"osc1 vol", 0.9f},
             {"osc2 shape", shape("Saw")}, {"osc2 vol", 0.6f}, {"osc2 fine", 0.53f},
             {"osc3 shape", shape("Sine")}, {"osc3 vol", 0.3f},
             {"proc function", proc("7 Vox C")}, {"proc amount", 0.9f},
             {"proc attack", 0.0f}, {"proc sustain", 1.0f},
             {"amp attack", 0.7f}, {"amp release", 0.75f},
             {"ldel time", 0.4f}, {"ldel mix", 0.25f}, {"ldel feed", 0.4f}}},
        {"Voder Robot", "The first six-band voder on a buzzing saw: a robot voice.", 0.949f,
         kDry + Settings{
             {"osc1 shape", shape("Saw")}, {"osc1 vol", 0.9f},
             {"osc2 shape", shape("Sqre")}, {"osc2 vol", 0.6f},
             {"proc function", proc("12 Voder 1")}, {"proc amount", 0.9f},
             {"proc attack", 0.0f}, {"proc sustain", 1.0f}}},
        {"Voder Choir", "The second voder bank with seven ensemble copies: a synthetic choir.", 0.885f,
         kDry + Settings{
             {"osc1 shape", shape("Saw")}, {"osc1 vol", 0.9f},
             {"osc2 shape", shape("Saw")}, {"osc2 vol", 0.7f}, {"osc2 fine", 0.52f},
             {"osc3 shape", shape("Saw")}, {"osc3 vol", 0.3f},
             {"proc function", proc("13 Voder 2")}, {"proc amount", 0.9f},
             {"proc attack", 0.0f}, {"proc sustain", 1.0f},
             {"total num of osc", copies(7)}, {"detune osc", 0.4f},
             {"amp attack", 0.75f}, {"amp release", 0.8f}}},
        {"Voder Talk", "The third voder bank; its vowel opens and closes with the proc envelope.", 0.91f,
         kDry + Settings{
             {"osc1 shape", shape("Puls")}, {"osc1 vol", 0.9f},
             {"osc2 shape", shape("Saw")}, {"osc2 vol", 0.7f},
             {"proc function", proc("14 Voder 3")}, {"proc amount", 1.0f},
             {"proc attack", 0.78f}, {"proc decay", 0.8f}, {"proc sustain", 0.4f}}},
        {"Voder Breath", "The fourth voder bank on square and saw, soft and breathy.", 0.953f,
         kDry + Settings{
             {"osc1 shape", shape("Sqre")}, {"osc1 vol", 0.9f},
             {"osc2 shape", shape("Saw")}, {"osc2 vol", 0.8f}, {"osc2 fine", 0.53f},
             {"osc3 shape", shape("Sine")}, {"osc3 vol", 0.4f},
             {"proc function", proc("15 Voder 4")}, {"proc amount", 0.9f},
             {"proc attack", 0.0f}, {"proc sustain", 1.0f},
             {"amp attack", 0.72f}, {"amp release", 0.78f}}},
        {"Talking Band Pass", "Three narrow band-passes stepping through vowels; the control keys set how far.", 0.984f,
         kDry + Settings{
             {"osc1 shape", shape("Saw")}, {"osc1 vol", 0.9f},
             {"osc2 shape", shape("Puls")}, {"osc2 vol", 0.7f},
             {"osc3 shape", shape("Saw")}, {"osc3 vol", 0.3f},
             {"proc function", proc("8 BP Mod")}, {"proc amount", 1.0f},
             {"proc attack", 0.85f}, {"proc decay", 0.85f}, {"proc sustain", 0.5f},
             {"perf porta", 0.7f}}},
    }};
}

} // namespace bankgen
