#include "formats/lv2/UiMessages.h"

#include "params/ProgramBank.h"

#include <lv2/atom/util.h>

#include <algorithm>

#include <cstring>

namespace grelmond::lv2 {

namespace {
LV2_URID mapped(const LV2_URID_Map& map, const char* uri) { return map.map(map.handle, uri); }
} // namespace

UiMessages::UiMessages(const LV2_URID_Map& map)
    : atomObject_(mapped(map, LV2_ATOM__Object)), atomBlank_(mapped(map, LV2_ATOM__Blank)),
      atomInt_(mapped(map, LV2_ATOM__Int)), atomString_(mapped(map, LV2_ATOM__String)),
      atomVector_(mapped(map, LV2_ATOM__Vector)), atomFloat_(mapped(map, LV2_ATOM__Float)),
      eventTransfer_(mapped(map, LV2_ATOM__eventTransfer)), hello_(mapped(map, "urn:zavr:grelmond#Hello")),
      selectProgram_(mapped(map, "urn:zavr:grelmond#SelectProgram")),
      renameProgram_(mapped(map, "urn:zavr:grelmond#RenameProgram")),
      program_(mapped(map, "urn:zavr:grelmond#Program")), programName_(mapped(map, "urn:zavr:grelmond#ProgramName")),
      keyProgram_(mapped(map, "urn:zavr:grelmond#program")), keyName_(mapped(map, "urn:zavr:grelmond#name")),
      keyValues_(mapped(map, "urn:zavr:grelmond#values")) {}

bool UiMessages::writeObject(LV2_Atom_Forge& forge, LV2_URID type, int32_t program, const char* name,
                             const float* values) const {
  LV2_Atom_Forge_Frame frame;
  if (lv2_atom_forge_object(&forge, &frame, 0, type) == 0)
    return false;
  bool written = true;
  if (program >= 0) {
    written = lv2_atom_forge_key(&forge, keyProgram_) != 0 && lv2_atom_forge_int(&forge, program) != 0;
  }
  if (written && name != nullptr) {
    const auto length = static_cast<uint32_t>(strnlen(name, kNameBytes - 1));
    written = lv2_atom_forge_key(&forge, keyName_) != 0 && lv2_atom_forge_string(&forge, name, length) != 0;
  }
  if (written && values != nullptr) {
    written = lv2_atom_forge_key(&forge, keyValues_) != 0 &&
              lv2_atom_forge_vector(&forge, sizeof(float), atomFloat_, kNumParameters, values) != 0;
  }
  lv2_atom_forge_pop(&forge, &frame);
  return written;
}

bool UiMessages::writeHello(LV2_Atom_Forge& forge) const { return writeObject(forge, hello_, -1, nullptr, nullptr); }

bool UiMessages::writeSelectProgram(LV2_Atom_Forge& forge, int32_t program) const {
  return writeObject(forge, selectProgram_, program, nullptr, nullptr);
}

bool UiMessages::writeRenameProgram(LV2_Atom_Forge& forge, int32_t program, const char* name) const {
  return writeObject(forge, renameProgram_, program, name, nullptr);
}

bool UiMessages::writeProgramName(LV2_Atom_Forge& forge, int32_t program, const char* name) const {
  return writeObject(forge, programName_, program, name, nullptr);
}

bool UiMessages::writeProgram(LV2_Atom_Forge& forge, int32_t program, const char* name, const float* values) const {
  return writeObject(forge, program_, program, name, values);
}

UiMessages::Message UiMessages::read(const LV2_Atom* atom) const {
  Message message;
  if (atom == nullptr || (atom->type != atomObject_ && atom->type != atomBlank_) ||
      atom->size < sizeof(LV2_Atom_Object_Body))
    return message;
  const auto* object = reinterpret_cast<const LV2_Atom_Object*>(atom);
  const LV2_URID type = object->body.otype;
  using Kind = Message::Kind;
  const Kind kind = type == hello_           ? Kind::Hello
                    : type == selectProgram_ ? Kind::SelectProgram
                    : type == renameProgram_ ? Kind::RenameProgram
                    : type == program_       ? Kind::Program
                    : type == programName_   ? Kind::ProgramName
                                             : Kind::None;
  if (kind == Kind::None || kind == Kind::Hello) {
    message.kind = kind;
    return message;
  }
  const LV2_Atom* program = nullptr;
  const LV2_Atom* name = nullptr;
  const LV2_Atom* values = nullptr;
  lv2_atom_object_get(object, keyProgram_, &program, keyName_, &name, keyValues_, &values, 0);
  if (program == nullptr || program->type != atomInt_ || program->size < sizeof(int32_t))
    return message;
  message.program = reinterpret_cast<const LV2_Atom_Int*>(program)->body;
  if (message.program < 0 || message.program >= ProgramBank::kNumPrograms)
    return message;
  if (name != nullptr && name->type == atomString_) {
    const auto* text = static_cast<const char*>(LV2_ATOM_BODY_CONST(name));
    std::memcpy(message.name, text, strnlen(text, std::min<uint32_t>(name->size, kNameBytes - 1)));
  } else if (kind != Kind::SelectProgram) {
    return message;
  }
  if (values != nullptr && values->type == atomVector_ && values->size >= sizeof(LV2_Atom_Vector_Body)) {
    const auto* vector = reinterpret_cast<const LV2_Atom_Vector*>(values);
    const uint32_t count = (values->size - sizeof(LV2_Atom_Vector_Body)) / sizeof(float);
    if (vector->body.child_type == atomFloat_ && vector->body.child_size == sizeof(float) &&
        count == static_cast<uint32_t>(kNumParameters)) {
      std::memcpy(message.values, LV2_ATOM_CONTENTS_CONST(LV2_Atom_Vector, vector), sizeof message.values);
      message.hasValues = true;
    }
  }
  if (kind == Kind::Program && !message.hasValues)
    return message;
  message.kind = kind;
  return message;
}

} // namespace grelmond::lv2
