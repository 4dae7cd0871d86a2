#include "WavWriter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace host {

namespace {

void put16(std::vector<unsigned char>& out, uint32_t v)
{
    out.push_back(static_cast<unsigned char>(v));
    out.push_back(static_cast<unsigned char>(v >> 8));
}

void put32(std::vector<unsigned char>& out, uint32_t v)
{
    put16(out, v & 0xffff);
    put16(out, v >> 16);
}

void putTag(std::vector<unsigned char>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

} // namespace

WavWriter::~WavWriter() { close(); }

bool WavWriter::open(const std::string& path, int sampleRate, Format format, std::string& error)
{
    close();
    file_ = std::fopen(path.c_str(), "wb");
    if (file_ == nullptr) {
        error = "cannot write " + path;
        return false;
    }
    format_ = format;
    sampleRate_ = sampleRate;
    frames_ = 0;
    if (!writeHeader()) {
        error = "cannot write " + path;
        close();
        return false;
    }
    return true;
}

// RIFF header, format chunk (IEEE float with a fact chunk, or 24-bit PCM) and the
// data chunk's header; written again with the real sizes by close().
bool WavWriter::writeHeader()
{
    const bool isFloat = format_ == Format::Float32;
    const uint32_t bytesPerSample = isFloat ? 4 : 3;
    const uint64_t dataBytes = frames_ * 2 * bytesPerSample;
    std::vector<unsigned char> h;
    putTag(h, "RIFF");
    put32(h, uint32_t(std::min<uint64_t>(0xffffffffu, 4 + (isFloat ? 26 + 12 : 24) + 8 + dataBytes)));
    putTag(h, "WAVE");
    putTag(h, "fmt ");
    put32(h, isFloat ? 18 : 16);
    put16(h, isFloat ? 3 : 1);
    put16(h, 2);
    put32(h, uint32_t(sampleRate_));
    put32(h, uint32_t(sampleRate_) * 2 * bytesPerSample);
    put16(h, 2 * bytesPerSample);
    put16(h, bytesPerSample * 8);
    if (isFloat) {
        put16(h, 0);
        putTag(h, "fact");
        put32(h, 4);
        put32(h, uint32_t(frames_));
    }
    putTag(h, "data");
    put32(h, uint32_t(std::min<uint64_t>(0xffffffffu, dataBytes)));
    return std::fseek(file_, 0, SEEK_SET) == 0 && std::fwrite(h.data(), 1, h.size(), file_) == h.size();
}

bool WavWriter::write(const float* left, const float* right, int frames)
{
    if (file_ == nullptr || frames <= 0)
        return file_ != nullptr;
    bytes_.clear();
    for (int i = 0; i < frames; ++i) {
        for (float sample : {left[i], right[i]}) {
            if (format_ == Format::Float32) {
                uint32_t bits;
                static_assert(sizeof bits == sizeof sample);
                std::memcpy(&bits, &sample, sizeof bits);
                put32(bytes_, bits);
            } else {
                // Integer output clips instead of wrapping around.
                const double clipped = std::clamp(double(sample), -1.0, 1.0);
                const auto value = static_cast<int32_t>(std::lrint(clipped * 8388607.0));
                const auto bits = static_cast<uint32_t>(value);
                bytes_.push_back(static_cast<unsigned char>(bits));
                bytes_.push_back(static_cast<unsigned char>(bits >> 8));
                bytes_.push_back(static_cast<unsigned char>(bits >> 16));
            }
        }
    }
    frames_ += static_cast<unsigned long long>(frames);
    return std::fwrite(bytes_.data(), 1, bytes_.size(), file_) == bytes_.size();
}

bool WavWriter::close()
{
    if (file_ == nullptr)
        return true;
    bool ok = writeHeader();
    ok = std::fclose(file_) == 0 && ok;
    file_ = nullptr;
    return ok;
}

} // namespace host
