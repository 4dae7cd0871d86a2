#pragma once

#include "core/FileCommand.h"

#include <lv2/atom/atom.h>
#include <lv2/atom/forge.h>
#include <lv2/urid/urid.h>

#include <cstdint>
#include <optional>

namespace grelmond::lv2 {

// The editor's file commands and the instrument's answers, as atom objects.
// The editor sends a command with the name as typed; the instrument answers
// with whether it was done, the status line's text and, for a save, the path
// it wrote. Texts read point into the atom: nothing is copied or allocated.
class FileMessages {
public:
  explicit FileMessages(const LV2_URID_Map& map);

  struct Command {
    FileCommand command;
    const char* name; // terminated, inside the atom
  };
  struct Answer {
    FileCommand command;
    bool done;
    const char* status; // terminated, inside the atom
    const char* path;   // empty when the instrument reports none
  };

  // False when the forge's buffer is full.
  bool writeCommand(LV2_Atom_Forge& forge, FileCommand command, const char* name) const;
  bool writeAnswer(LV2_Atom_Forge& forge, FileCommand command, bool done, const char* status, const char* path) const;

  // Empty for an atom that is no such message or is malformed.
  std::optional<Command> readCommand(const LV2_Atom* atom) const;
  std::optional<Answer> readAnswer(const LV2_Atom* atom) const;

private:
  const LV2_Atom_Object* object(const LV2_Atom* atom, LV2_URID type) const;
  const char* text(const LV2_Atom* atom) const;
  std::optional<FileCommand> commandOf(const LV2_Atom* atom) const;
  bool writeText(LV2_Atom_Forge& forge, LV2_URID key, const char* text) const;

  LV2_URID atomObject_, atomBlank_, atomInt_, atomBool_, atomString_;
  LV2_URID fileCommand_, fileAnswer_;
  LV2_URID keyCommand_, keyName_, keyDone_, keyStatus_, keyPath_;
};

} // namespace grelmond::lv2
