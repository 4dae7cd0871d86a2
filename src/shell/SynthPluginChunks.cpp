// SynthPlugin's state as the host saves it: chunks in the bank file format.
#include "shell/SynthPlugin.h"

#include "storage/BankReader.h"
#include "storage/BankWriter.h"

#include <charconv>
#include <memory>
#include <new>
#include <string_view>

namespace grelmond {

using namespace vst;

namespace {

// After the bank text, the bank chunk names the program that was current.
constexpr std::string_view kCurrentOpen = "<current program=\"";
constexpr std::string_view kCurrentClose = "\"/>\n";

std::unique_ptr<BankImage> newImage() { return std::unique_ptr<BankImage>(new (std::nothrow) BankImage()); }

// Splits a bank chunk into its bank text and the current program; false when
// the closing line is missing, cut short or names no program.
bool splitBankChunk(std::string_view chunk, std::string_view& bank, int& current)
{
    // Hosts may hand back a terminator we never wrote.
    while (!chunk.empty() && chunk.back() == '\0')
        chunk.remove_suffix(1);
    const std::size_t open = chunk.rfind(kCurrentOpen);
    if (open == std::string_view::npos || !chunk.ends_with(kCurrentClose))
        return false;
    const std::string_view number =
        chunk.substr(open + kCurrentOpen.size(), chunk.size() - kCurrentClose.size() - open - kCurrentOpen.size());
    const char* end = number.data() + number.size();
    const auto parsed = std::from_chars(number.data(), end, current);
    if (number.empty() || number.size() > 2 || parsed.ec != std::errc() || parsed.ptr != end)
        return false;
    bank = chunk.substr(0, open);
    return current >= 0 && current < ProgramBank::kNumPrograms;
}

} // namespace

VstInt32 SynthPlugin::getChunk(void** data, bool isPreset)
{
    std::lock_guard<std::mutex> lock(loading_);
    const auto image = newImage();
    if (image == nullptr)
        return 0;
    fillImage(programs_, *image);
    const VstInt32 current = selection_.current();
    try {
        std::string& chunk = chunks_[std::this_thread::get_id()];
        if (isPreset) {
            chunk = formatPatch(image->entries[current]);
        } else {
            chunk = formatBank(*image);
            chunk.append(kCurrentOpen).append(std::to_string(current)).append(kCurrentClose);
        }
        *data = chunk.data();
        return static_cast<VstInt32>(chunk.size());
    } catch (const std::bad_alloc&) {
        chunks_.erase(std::this_thread::get_id());
        return 0;
    }
}

VstInt32 SynthPlugin::setChunk(void* data, VstInt32 byteSize, bool isPreset)
{
    if (byteSize <= 0 || byteSize > kMaxChunkBytes)
        return 0;
    std::lock_guard<std::mutex> lock(loading_);
    const char* text = static_cast<const char*>(data);
    const std::size_t size = static_cast<std::size_t>(byteSize);
    return (isPreset ? readPatchChunk(text, size) : readBankChunk(text, size)) ? 1 : 0;
}

// The records are overwritten in place: the audio thread may be reading the
// current one right now.
bool SynthPlugin::readBankChunk(const char* data, std::size_t size)
{
    std::string_view bank;
    int current = 0;
    const auto image = newImage();
    if (image == nullptr || !splitBankChunk(std::string_view(data, size), bank, current))
        return false;
    // Keys the text lacks keep the values the programs have.
    fillImage(programs_, *image);
    if (!readBankText(bank.data(), bank.size(), *image))
        return false;
    for (int k = 0; k < kBankPatches; ++k)
        applyEntry(programs_, k, image->entries[k]);
    setProgram(current);
    return true;
}

bool SynthPlugin::readPatchChunk(const char* data, std::size_t size)
{
    const VstInt32 current = selection_.current();
    const auto image = newImage();
    if (image == nullptr)
        return false;
    fillImage(programs_, *image);
    image->entries[0] = image->entries[current];
    if (!readBankText(data, size, *image))
        return false;
    applyEntry(programs_, current, image->entries[0]);
    setProgram(current);
    return true;
}

} // namespace grelmond
