#include "Vst3MemoryStream.h"

#include "Vst3Unknown.h"

#include <algorithm>
#include <cstring>

namespace host {

using namespace Steinberg;

tresult PLUGIN_API Vst3MemoryStream::read(void* buffer, int32 numBytes, int32* numBytesRead)
{
    if (numBytesRead != nullptr)
        *numBytesRead = 0;
    if (numBytes < 0 || (buffer == nullptr && numBytes > 0))
        return kInvalidArgument;
    const std::size_t available = position_ < bytes_.size() ? bytes_.size() - position_ : 0;
    const std::size_t count = std::min<std::size_t>(available, static_cast<std::size_t>(numBytes));
    if (count > 0)
        std::memcpy(buffer, bytes_.data() + position_, count);
    position_ += count;
    if (numBytesRead != nullptr)
        *numBytesRead = static_cast<int32>(count);
    return kResultOk;
}

tresult PLUGIN_API Vst3MemoryStream::write(void* buffer, int32 numBytes, int32* numBytesWritten)
{
    if (numBytesWritten != nullptr)
        *numBytesWritten = 0;
    if (numBytes < 0 || (buffer == nullptr && numBytes > 0))
        return kInvalidArgument;
    const std::size_t end = position_ + static_cast<std::size_t>(numBytes);
    if (end > bytes_.size())
        bytes_.resize(end);
    if (numBytes > 0)
        std::memcpy(bytes_.data() + position_, buffer, static_cast<std::size_t>(numBytes));
    position_ = end;
    if (numBytesWritten != nullptr)
        *numBytesWritten = numBytes;
    return kResultOk;
}

tresult PLUGIN_API Vst3MemoryStream::seek(int64 pos, int32 mode, int64* result)
{
    int64 base = 0;
    if (mode == kIBSeekCur)
        base = static_cast<int64>(position_);
    else if (mode == kIBSeekEnd)
        base = static_cast<int64>(bytes_.size());
    else if (mode != kIBSeekSet)
        return kInvalidArgument;
    if (base + pos < 0)
        return kInvalidArgument;
    position_ = static_cast<std::size_t>(base + pos);
    if (result != nullptr)
        *result = static_cast<int64>(position_);
    return kResultOk;
}

tresult PLUGIN_API Vst3MemoryStream::tell(int64* pos)
{
    if (pos == nullptr)
        return kInvalidArgument;
    *pos = static_cast<int64>(position_);
    return kResultOk;
}

tresult PLUGIN_API Vst3MemoryStream::queryInterface(const TUID iid, void** obj)
{
    return answerQuery<Vst3MemoryStream, IBStream>(this, iid, obj);
}

} // namespace host
