// SynthPlugin's bank and patch file operations.
#include "shell/SynthPlugin.h"

#include "params/InitProgram.h"

namespace grelmond {

bool SynthPlugin::loadBank(const char* name)
{
    std::lock_guard<std::mutex> lock(loading_);
    if (!files_.loadBank(programs_, name))
        return false;
    setProgram(programs_.currentIndexFromFraction());
    return true;
}

bool SynthPlugin::saveBank(char* name, std::size_t size) { return files_.saveBank(programs_, name, size); }

bool SynthPlugin::loadPatch(const char* name)
{
    std::lock_guard<std::mutex> lock(loading_);
    if (!files_.loadPatch(programs_, name))
        return false;
    setProgram(programs_.currentIndexFromFraction());
    return true;
}

bool SynthPlugin::savePatch(char* name, std::size_t size) { return files_.savePatch(programs_, name, size); }

bool SynthPlugin::loadBankFile(const char* path)
{
    std::lock_guard<std::mutex> lock(loading_);
    const InitProgram init; // for programs the file lacks
    if (!ProgramFiles::loadBankFile(programs_, path, init))
        return false;
    setProgram(programs_.currentIndexFromFraction());
    return true;
}

} // namespace grelmond
