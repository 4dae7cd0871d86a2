// The instrument's bank and patch file operations.
#include "core/Instrument.h"

#include "params/InitProgram.h"

namespace grelmond {

bool Instrument::loadBank(const char* name)
{
    std::lock_guard<std::mutex> lock(loading_);
    if (!files_.loadBank(programs_, name))
        return false;
    selectProgram(programs_.currentIndexFromFraction());
    return true;
}

bool Instrument::saveBank(char* name, std::size_t size) { return files_.saveBank(programs_, name, size); }

bool Instrument::loadPatch(const char* name)
{
    std::lock_guard<std::mutex> lock(loading_);
    if (!files_.loadPatch(programs_, name))
        return false;
    selectProgram(programs_.currentIndexFromFraction());
    return true;
}

bool Instrument::savePatch(char* name, std::size_t size) { return files_.savePatch(programs_, name, size); }

bool Instrument::loadBankFile(const char* path)
{
    std::lock_guard<std::mutex> lock(loading_);
    const InitProgram init; // for programs the file lacks
    if (!ProgramFiles::loadBankFile(programs_, path, init))
        return false;
    selectProgram(programs_.currentIndexFromFraction());
    return true;
}

} // namespace grelmond
