// The host state: bank or patch text with every value exact, then the
// current program.
#include "core/Instrument.h"

#include "storage/BankReader.h"
#include "storage/BankWriter.h"

#include <charconv>
#include <memory>
#include <new>
#include <string_view>

namespace grelmond {

namespace {

// After the bank text, the bank state names the program that was current.
constexpr std::string_view kCurrentOpen = "<current program=\"";
constexpr std::string_view kCurrentClose = "\"/>\n";

std::unique_ptr<BankImage> newImage() { return std::unique_ptr<BankImage>(new (std::nothrow) BankImage()); }

// Splits a bank state into its bank text and the current program; false when
// the closing line is missing, cut short or names no program.
bool splitBankState(std::string_view state, std::string_view& bank, int& current)
{
    // Hosts may hand back a terminator we never wrote.
    while (!state.empty() && state.back() == '\0')
        state.remove_suffix(1);
    const std::size_t open = state.rfind(kCurrentOpen);
    if (open == std::string_view::npos || !state.ends_with(kCurrentClose))
        return false;
    const std::string_view number =
        state.substr(open + kCurrentOpen.size(), state.size() - kCurrentClose.size() - open - kCurrentOpen.size());
    const char* end = number.data() + number.size();
    const auto parsed = std::from_chars(number.data(), end, current);
    if (number.empty() || number.size() > 2 || parsed.ec != std::errc() || parsed.ptr != end)
        return false;
    bank = state.substr(0, open);
    return current >= 0 && current < ProgramBank::kNumPrograms;
}

} // namespace

bool Instrument::saveState(StateScope scope, std::string& out)
{
    std::lock_guard<std::mutex> lock(loading_);
    const auto image = newImage();
    if (image == nullptr)
        return false;
    fillImage(programs_, *image);
    const int current = selection_.current();
    try {
        std::string text;
        if (scope == StateScope::Program) {
            text = formatExactPatch(image->entries[current]);
        } else {
            text = formatExactBank(*image);
            text.append(kCurrentOpen).append(std::to_string(current)).append(kCurrentClose);
        }
        out.swap(text);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool Instrument::loadState(StateScope scope, const char* data, std::size_t size)
{
    if (data == nullptr || size == 0 || size > kMaxStateBytes)
        return false;
    std::lock_guard<std::mutex> lock(loading_);
    return scope == StateScope::Program ? readProgramState(data, size) : readBankState(data, size);
}

// The records are overwritten in place: the audio thread may be reading the
// current one right now.
bool Instrument::readBankState(const char* data, std::size_t size)
{
    std::string_view bank;
    int current = 0;
    const auto image = newImage();
    if (image == nullptr || !splitBankState(std::string_view(data, size), bank, current))
        return false;
    // Keys the text lacks keep the values the programs have.
    fillImage(programs_, *image);
    if (!readBankText(bank.data(), bank.size(), *image))
        return false;
    for (int k = 0; k < kBankPatches; ++k)
        applyEntry(programs_, k, image->entries[k]);
    selectProgram(current);
    return true;
}

bool Instrument::readProgramState(const char* data, std::size_t size)
{
    const int current = selection_.current();
    const auto image = newImage();
    if (image == nullptr)
        return false;
    fillImage(programs_, *image);
    image->entries[0] = image->entries[current];
    if (!readBankText(data, size, *image))
        return false;
    applyEntry(programs_, current, image->entries[0]);
    selectProgram(current);
    return true;
}

} // namespace grelmond
