#include "core/FileCommand.h"

namespace grelmond {

const char* fileStatus(FileCommand command, bool done)
{
    switch (command) {
    case FileCommand::LoadBank:
        return done ? "Loaded the bank." : "The bank could not be loaded.";
    case FileCommand::SaveBank:
        return done ? "Saved the bank." : "The bank could not be saved.";
    case FileCommand::LoadPatch:
        return done ? "Loaded the patch." : "The patch could not be loaded.";
    case FileCommand::SavePatch:
        return done ? "Saved the patch." : "The patch could not be saved.";
    case FileCommand::LoadTuning:
        return done ? "Loaded the tuning." : "The tuning could not be loaded.";
    }
    return "";
}

} // namespace grelmond
