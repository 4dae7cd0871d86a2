#pragma once

// A growable byte stream the host hands to getState/setState.

#include "pluginterfaces/base/ibstream.h"

#include <vector>

namespace host {

class Vst3MemoryStream final : public Steinberg::IBStream {
public:
    Vst3MemoryStream() = default;
    explicit Vst3MemoryStream(std::vector<char> bytes) : bytes_(std::move(bytes)) {}
    const std::vector<char>& bytes() const { return bytes_; }
    void rewind() { position_ = 0; }

    Steinberg::tresult PLUGIN_API read(void* buffer, Steinberg::int32 numBytes, Steinberg::int32* numBytesRead) override;
    Steinberg::tresult PLUGIN_API write(void* buffer, Steinberg::int32 numBytes,
                                        Steinberg::int32* numBytesWritten) override;
    Steinberg::tresult PLUGIN_API seek(Steinberg::int64 pos, Steinberg::int32 mode, Steinberg::int64* result) override;
    Steinberg::tresult PLUGIN_API tell(Steinberg::int64* pos) override;

    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
    Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
    Steinberg::uint32 PLUGIN_API release() override { return 1; }

private:
    std::vector<char> bytes_;
    std::size_t position_ = 0;
};

} // namespace host
