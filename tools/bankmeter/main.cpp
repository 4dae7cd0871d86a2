// bankmeter: plays every program of the installed bank and reports what the
// factory bank is balanced by: loudness of a held chord, its peak and DC, and
// the program's pitch at A4.
//   bankmeter [--program N]    (data files from $GRELMOND_INSTALL_PATH)
// Exit status 1 when a program lies outside the bank's targets.

#include "PitchProbe.h"
#include "ProgramPlayer.h"
#include "SoundMeasures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using bankmeter::ProgramPlayer;

// The bank's targets, which tests/bank checks too.
constexpr double kTargetLufs = -20.0, kLufsTolerance = 3.0, kMaxPeakDb = -1.0, kMaxDcDb = -40.0,
                 kMaxCents = 3.0;
constexpr double kConcertA = 440.0;
constexpr int kConcertANote = 69;

struct Result {
    std::string name;
    double lufs = 0.0, peakDb = 0.0, dcDb = 0.0, hz = 0.0;
};

double decibels(double x) { return x > 0.0 ? 20.0 * std::log10(x) : -HUGE_VAL; }

Result measure(int program)
{
    Result r;
    ProgramPlayer chord(program);
    if (!chord.ok())
        return r;
    r.name = chord.programName();
    chord.notes({60, 64, 67, 71}, 100);
    chord.renderUntil(3.0);
    r.lufs = bankmeter::momentaryMaxLufs(chord.stereo, ProgramPlayer::kSampleRate);
    r.peakDb = decibels(bankmeter::samplePeak(chord.stereo));
    r.dcDb = bankmeter::dcRelativeDb(chord.stereo);

    ProgramPlayer probe(program);
    probe.set(bankmeter::pitchProbe([&](int i) { return probe.parameter(i); }));
    probe.notes({kConcertANote}, 100);
    probe.renderUntil(2.0);
    const auto rate = ProgramPlayer::kSampleRate;
    r.hz = bankmeter::fundamentalNear(probe.mono(), rate, kConcertA, static_cast<size_t>(rate),
                                      static_cast<size_t>(2 * rate));
    return r;
}

bool onTarget(const Result& r)
{
    return std::abs(r.lufs - kTargetLufs) <= kLufsTolerance && r.peakDb <= kMaxPeakDb && r.dcDb < kMaxDcDb &&
           std::abs(bankmeter::cents(r.hz, kConcertA)) <= kMaxCents;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n == 0 ? 0.0 : n % 2 ? v[n / 2] : 0.5 * (v[n / 2 - 1] + v[n / 2]);
}

void summarise(const std::vector<Result>& results)
{
    std::vector<double> all;
    for (const Result& r : results)
        all.push_back(r.lufs);
    const auto [lo, hi] = std::minmax_element(all.begin(), all.end());
    std::printf("\nmomentary max loudness: median %.1f LUFS, range %.1f to %.1f LUFS\n", median(all), *lo, *hi);
    std::vector<double> medians;
    for (size_t from = 0; from + 8 <= all.size(); from += 8) {
        medians.push_back(median(std::vector<double>(all.begin() + from, all.begin() + from + 8)));
        std::printf("programs %2zu-%2zu: median %.1f LUFS\n", from + 1, from + 8, medians.back());
    }
    if (!medians.empty()) {
        const auto [mlo, mhi] = std::minmax_element(medians.begin(), medians.end());
        std::printf("spread of the eight-program medians: %.1f LU\n", *mhi - *mlo);
    }
    int inTune = 0;
    for (const Result& r : results)
        inTune += std::abs(bankmeter::cents(r.hz, kConcertA)) <= kMaxCents ? 1 : 0;
    std::printf("A4 (note %d) within %.0f cents of %.0f Hz: %d of %zu programs\n", kConcertANote, kMaxCents,
                kConcertA, inTune, results.size());
}

} // namespace

int main(int argc, char** argv)
{
    int first = 0, last = 63;
    if (argc == 3 && std::string(argv[1]) == "--program") {
        first = last = std::atoi(argv[2]) - 1;
        if (first < 0 || first > 63) {
            std::fputs("bankmeter: programs are numbered 1 to 64\n", stderr);
            return 2;
        }
    } else if (argc != 1) {
        std::fputs("usage: bankmeter [--program N]\n", stderr);
        return 2;
    }
    std::printf(" #  %-23s  %6s  %9s  %7s  %8s  %6s\n", "program", "LUFS", "peak dBFS", "DC dB", "A4 Hz", "cents");
    std::vector<Result> results;
    bool allOnTarget = true;
    for (int p = first; p <= last; ++p) {
        const Result r = measure(p);
        results.push_back(r);
        allOnTarget = allOnTarget && onTarget(r);
        std::printf("%2d  %-23s  %6.1f  %9.1f  %7.1f  %8.2f  %6.1f%s\n", p + 1, r.name.c_str(), r.lufs, r.peakDb,
                    r.dcDb, r.hz, bankmeter::cents(r.hz, kConcertA), onTarget(r) ? "" : "  *");
        std::fflush(stdout);
    }
    if (results.size() > 1)
        summarise(results);
    return allOnTarget ? 0 : 1;
}
