// wavjoin: joins WAV files of one sample rate and channel count into one,
// with a short silence between them (the combined demo).
//   wavjoin OUT.wav IN.wav...

#include <sndfile.h>

#include <cstdio>
#include <vector>

namespace {

constexpr double kGapSeconds = 0.5;

bool append(const char* path, SNDFILE*& out, SF_INFO& outInfo, const char* outPath)
{
    SF_INFO info{};
    SNDFILE* in = sf_open(path, SFM_READ, &info);
    if (in == nullptr) {
        std::fprintf(stderr, "wavjoin: cannot read %s\n", path);
        return false;
    }
    if (out == nullptr) {
        outInfo = info;
        outInfo.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
        out = sf_open(outPath, SFM_WRITE, &outInfo);
        if (out == nullptr) {
            std::fprintf(stderr, "wavjoin: cannot write %s\n", outPath);
            sf_close(in);
            return false;
        }
    } else if (info.samplerate != outInfo.samplerate || info.channels != outInfo.channels) {
        std::fprintf(stderr, "wavjoin: %s differs in rate or channels from the first file\n", path);
        sf_close(in);
        return false;
    } else {
        std::vector<float> gap(static_cast<size_t>(kGapSeconds * outInfo.samplerate) * outInfo.channels, 0.0f);
        sf_writef_float(out, gap.data(), static_cast<sf_count_t>(gap.size() / outInfo.channels));
    }
    std::vector<float> buffer(4096 * static_cast<size_t>(info.channels));
    sf_count_t n;
    while ((n = sf_readf_float(in, buffer.data(), 4096)) > 0)
        sf_writef_float(out, buffer.data(), n);
    sf_close(in);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fputs("usage: wavjoin OUT.wav IN.wav...\n", stderr);
        return 2;
    }
    SNDFILE* out = nullptr;
    SF_INFO outInfo{};
    bool ok = true;
    for (int i = 2; i < argc && ok; ++i)
        ok = append(argv[i], out, outInfo, argv[1]);
    if (out != nullptr)
        sf_close(out);
    return ok ? 0 : 1;
}
