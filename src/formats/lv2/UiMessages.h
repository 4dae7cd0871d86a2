#pragma once

#include "params/ParameterTable.h"

#include <lv2/atom/atom.h>
#include <lv2/atom/forge.h>
#include <lv2/urid/urid.h>

#include <cstdint>

namespace grelmond::lv2 {

// The messages between the editor and the instrument, as atom objects: the
// editor selects and renames programs and asks for the instrument's view; the
// instrument answers with the current program (its values and name) and the
// names of all programs. Writing and reading allocate nothing.
class UiMessages {
public:
  static constexpr int kNameBytes = 24; // a program name with its terminator

  explicit UiMessages(const LV2_URID_Map& map);

  struct Message {
    enum class Kind { None, Hello, SelectProgram, RenameProgram, Program, ProgramName };
    Kind kind = Kind::None;
    int32_t program = -1;
    char name[kNameBytes] = {};
    float values[kNumParameters] = {};
    bool hasValues = false;
  };

  // Each returns false when the forge's buffer is full.
  bool writeHello(LV2_Atom_Forge& forge) const;
  bool writeSelectProgram(LV2_Atom_Forge& forge, int32_t program) const;
  bool writeRenameProgram(LV2_Atom_Forge& forge, int32_t program, const char* name) const;
  bool writeProgramName(LV2_Atom_Forge& forge, int32_t program, const char* name) const;
  bool writeProgram(LV2_Atom_Forge& forge, int32_t program, const char* name, const float* values) const;

  // Kind None for an atom that is no message of ours or is malformed; a
  // program outside 0..63 counts as malformed.
  Message read(const LV2_Atom* atom) const;

  LV2_URID eventTransfer() const { return eventTransfer_; }

private:
  bool writeObject(LV2_Atom_Forge& forge, LV2_URID type, int32_t program, const char* name,
                   const float* values) const;

  LV2_URID atomObject_, atomBlank_, atomInt_, atomString_, atomVector_, atomFloat_, eventTransfer_;
  LV2_URID hello_, selectProgram_, renameProgram_, program_, programName_;
  LV2_URID keyProgram_, keyName_, keyValues_;
};

} // namespace grelmond::lv2
