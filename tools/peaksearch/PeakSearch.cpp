// Searches for the loudest peak that legitimate settings make: every level,
// mix, feedback and the volume at their maximum, each of the 26 proc
// functions, 128 voices at velocity 127, at rates from 44.1 to 384 kHz; the
// other parameters drawn at random (often at one of their ends). Prints each
// function's loudest peak and the loudest settings of all as a line of 64
// values that the render tests replay.
//
//   peaksearch [--patches N] [--seconds S] [--seed K] [--function 1-26] [--rates 44100,96000,...]

#include "formats/vst2/SynthPlugin.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

using namespace grelmond;

namespace {

using Values = std::array<float, 64>;

vst::VstIntPtr quietHost(vst::AEffect*, vst::VstInt32 opcode, vst::VstInt32, vst::VstIntPtr, void*, float)
{
    return opcode == vst::audioMasterVersion ? 2400 : 0;
}

// Levels, mixes, feedbacks, proc amount, sustain and volume.
constexpr int kAtMaximum[] = {3, 7, 11, 22, 31, 35, 51, 52, 55, 56, 58, 61, 63};

struct Options {
    int patches = 6;
    double seconds = 1.0;
    unsigned seed = 1;
    int onlyFunction = 0; // 1 to 26; 0 for all
    std::vector<float> rates{44100.0f, 96000.0f, 192000.0f, 384000.0f};
};

struct Result {
    float peak = 0.0f;
    long long silenced = 0;
};

Values drawPatch(std::mt19937& random, int function)
{
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    Values v{};
    for (float& x : v) {
        const float pick = unit(random);
        x = pick < 0.3f ? 0.0f : pick < 0.6f ? 1.0f : unit(random);
    }
    for (int i : kAtMaximum)
        v[static_cast<std::size_t>(i)] = 1.0f;
    v[57] = (static_cast<float>(function) + 0.5f) / 25.1f;
    return v;
}

void sendNotes(vst::AEffect* e, bool unison)
{
    std::vector<vst::VstMidiEvent> midi(128);
    std::vector<unsigned char> storage(offsetof(vst::VstEvents, events) + 129 * sizeof(vst::VstEvent*));
    auto* events = reinterpret_cast<vst::VstEvents*>(storage.data());
    events->numEvents = 128;
    for (int i = 0; i < 128; ++i) {
        vst::VstMidiEvent& m = midi[static_cast<std::size_t>(i)];
        m = vst::VstMidiEvent{};
        m.type = vst::kVstMidiType;
        m.byteSize = sizeof m;
        m.midiData[0] = static_cast<char>(0x90);
        m.midiData[1] = static_cast<char>(unison ? 36 + (i % 4) * 12 : i);
        m.midiData[2] = 127;
        events->events[i] = reinterpret_cast<vst::VstEvent*>(&m);
    }
    e->dispatcher(e, vst::effProcessEvents, 0, 0, events, 0.0f);
}

Result play(const Values& values, float rate, double seconds, bool unison)
{
    SynthPlugin plugin(quietHost);
    vst::AEffect* e = plugin.getAeffect();
    const int block = 512;
    e->dispatcher(e, vst::effOpen, 0, 0, nullptr, 0.0f);
    e->dispatcher(e, vst::effSetSampleRate, 0, 0, nullptr, rate);
    e->dispatcher(e, vst::effSetBlockSize, 0, block, nullptr, 0.0f);
    e->dispatcher(e, vst::effMainsChanged, 0, 1, nullptr, 0.0f);
    for (int i = 0; i < 64; ++i)
        e->setParameter(e, i, values[static_cast<std::size_t>(i)]);
    sendNotes(e, unison);
    std::vector<float> l(block), r(block);
    float* outputs[2] = {l.data(), r.data()};
    Result result;
    const long long frames = static_cast<long long>(seconds * rate);
    for (long long done = 0; done < frames; done += block) {
        e->processReplacing(e, nullptr, outputs, block);
        for (int i = 0; i < block; ++i)
            result.peak = std::max({result.peak, std::fabs(l[static_cast<std::size_t>(i)]),
                                    std::fabs(r[static_cast<std::size_t>(i)])});
    }
    result.silenced = plugin.renderer().loop().silencedFrames();
    e->dispatcher(e, vst::effMainsChanged, 0, 0, nullptr, 0.0f);
    return result;
}

Options parse(int argc, char** argv)
{
    Options o;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string flag = argv[i];
        const char* value = argv[i + 1];
        if (flag == "--patches")
            o.patches = std::max(1, std::atoi(value));
        else if (flag == "--seconds")
            o.seconds = std::max(0.01, std::atof(value));
        else if (flag == "--function")
            o.onlyFunction = std::atoi(value);
        else if (flag == "--seed")
            o.seed = static_cast<unsigned>(std::atoi(value));
        else if (flag == "--rates") {
            o.rates.clear();
            for (const char* p = value; *p != '\0';) {
                o.rates.push_back(std::strtof(p, nullptr));
                p = std::strchr(p, ',') != nullptr ? std::strchr(p, ',') + 1 : p + std::strlen(p);
            }
        }
    }
    return o;
}

} // namespace

int main(int argc, char** argv)
{
    const Options options = parse(argc, argv);
    std::mt19937 random(options.seed);
    Result loudest;
    Values loudestValues{};
    float loudestRate = 0.0f;
    bool loudestUnison = false;
    for (int function = 0; function < 26; ++function) {
        if (options.onlyFunction != 0 && options.onlyFunction != function + 1)
            continue;
        float functionPeak = 0.0f;
        for (float rate : options.rates) {
            for (int n = 0; n < options.patches; ++n) {
                const Values values = drawPatch(random, function);
                const bool unison = n % 2 == 1;
                const Result r = play(values, rate, options.seconds, unison);
                functionPeak = std::max(functionPeak, r.peak);
                if (r.silenced > 0)
                    std::printf("function %d at %.0f Hz: %lld frames silenced\n", function + 1, rate, r.silenced);
                if (r.peak > loudest.peak) {
                    loudest = r;
                    loudestValues = values;
                    loudestRate = rate;
                    loudestUnison = unison;
                }
            }
        }
        std::printf("function %2d: loudest peak %.1f\n", function + 1, functionPeak);
        std::fflush(stdout);
    }
    std::printf("loudest: %.1f (%.1f dBFS) at %.0f Hz, %s, values:", loudest.peak, 20.0 * std::log10(loudest.peak),
                loudestRate, loudestUnison ? "unison" : "every key");
    for (float v : loudestValues)
        std::printf(" %.9g", v);
    std::printf("\n");
    return 0;
}
