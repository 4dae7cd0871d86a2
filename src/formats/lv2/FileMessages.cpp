#include "formats/lv2/FileMessages.h"

#include <lv2/atom/util.h>

#include <cstring>

namespace grelmond::lv2 {

namespace {

LV2_URID mapped(const LV2_URID_Map& map, const char* uri) { return map.map(map.handle, uri); }

// A property's value, when the whole of it lies inside its object.
const LV2_Atom* inside(const LV2_Atom_Object* object, const LV2_Atom* value) {
  if (value == nullptr)
    return nullptr;
  const auto* end = reinterpret_cast<const uint8_t*>(object) + sizeof(LV2_Atom) + object->atom.size;
  const auto* start = reinterpret_cast<const uint8_t*>(value);
  return start + sizeof(LV2_Atom) <= end && value->size <= static_cast<std::size_t>(end - start) - sizeof(LV2_Atom)
             ? value
             : nullptr;
}

} // namespace

FileMessages::FileMessages(const LV2_URID_Map& map)
    : atomObject_(mapped(map, LV2_ATOM__Object)), atomBlank_(mapped(map, LV2_ATOM__Blank)),
      atomInt_(mapped(map, LV2_ATOM__Int)), atomBool_(mapped(map, LV2_ATOM__Bool)),
      atomString_(mapped(map, LV2_ATOM__String)), fileCommand_(mapped(map, "urn:zavr:grelmond#FileCommand")),
      fileAnswer_(mapped(map, "urn:zavr:grelmond#FileAnswer")),
      keyCommand_(mapped(map, "urn:zavr:grelmond#command")), keyName_(mapped(map, "urn:zavr:grelmond#name")),
      keyDone_(mapped(map, "urn:zavr:grelmond#done")), keyStatus_(mapped(map, "urn:zavr:grelmond#status")),
      keyPath_(mapped(map, "urn:zavr:grelmond#path")) {}

bool FileMessages::writeText(LV2_Atom_Forge& forge, LV2_URID key, const char* text) const {
  const char* value = text != nullptr ? text : "";
  return lv2_atom_forge_key(&forge, key) != 0 &&
         lv2_atom_forge_string(&forge, value, static_cast<uint32_t>(std::strlen(value))) != 0;
}

bool FileMessages::writeCommand(LV2_Atom_Forge& forge, FileCommand command, const char* name) const {
  LV2_Atom_Forge_Frame frame;
  if (lv2_atom_forge_object(&forge, &frame, 0, fileCommand_) == 0)
    return false;
  const bool written = lv2_atom_forge_key(&forge, keyCommand_) != 0 &&
                       lv2_atom_forge_int(&forge, static_cast<int32_t>(command)) != 0 &&
                       writeText(forge, keyName_, name);
  lv2_atom_forge_pop(&forge, &frame);
  return written;
}

bool FileMessages::writeAnswer(LV2_Atom_Forge& forge, FileCommand command, bool done, const char* status,
                               const char* path) const {
  LV2_Atom_Forge_Frame frame;
  if (lv2_atom_forge_object(&forge, &frame, 0, fileAnswer_) == 0)
    return false;
  const bool written = lv2_atom_forge_key(&forge, keyCommand_) != 0 &&
                       lv2_atom_forge_int(&forge, static_cast<int32_t>(command)) != 0 &&
                       lv2_atom_forge_key(&forge, keyDone_) != 0 && lv2_atom_forge_bool(&forge, done) != 0 &&
                       writeText(forge, keyStatus_, status) && writeText(forge, keyPath_, path);
  lv2_atom_forge_pop(&forge, &frame);
  return written;
}

const LV2_Atom_Object* FileMessages::object(const LV2_Atom* atom, LV2_URID type) const {
  if (atom == nullptr || (atom->type != atomObject_ && atom->type != atomBlank_) ||
      atom->size < sizeof(LV2_Atom_Object_Body))
    return nullptr;
  const auto* found = reinterpret_cast<const LV2_Atom_Object*>(atom);
  return found->body.otype == type ? found : nullptr;
}

// A string's text, when its body ends in the terminator a C string needs.
const char* FileMessages::text(const LV2_Atom* atom) const {
  if (atom == nullptr || atom->type != atomString_ || atom->size == 0)
    return nullptr;
  const auto* body = static_cast<const char*>(LV2_ATOM_BODY_CONST(atom));
  return body[atom->size - 1] == '\0' ? body : nullptr;
}

std::optional<FileCommand> FileMessages::commandOf(const LV2_Atom* atom) const {
  if (atom == nullptr || atom->type != atomInt_ || atom->size < sizeof(int32_t))
    return std::nullopt;
  const int32_t number = reinterpret_cast<const LV2_Atom_Int*>(atom)->body;
  if (!isFileCommand(number))
    return std::nullopt;
  return static_cast<FileCommand>(number);
}

std::optional<FileMessages::Command> FileMessages::readCommand(const LV2_Atom* atom) const {
  const LV2_Atom_Object* found = object(atom, fileCommand_);
  if (found == nullptr)
    return std::nullopt;
  const LV2_Atom* command = nullptr;
  const LV2_Atom* name = nullptr;
  lv2_atom_object_get(found, keyCommand_, &command, keyName_, &name, 0);
  const auto kind = commandOf(inside(found, command));
  const char* nameText = text(inside(found, name));
  if (!kind || nameText == nullptr)
    return std::nullopt;
  return Command{*kind, nameText};
}

std::optional<FileMessages::Answer> FileMessages::readAnswer(const LV2_Atom* atom) const {
  const LV2_Atom_Object* found = object(atom, fileAnswer_);
  if (found == nullptr)
    return std::nullopt;
  const LV2_Atom* command = nullptr;
  const LV2_Atom* done = nullptr;
  const LV2_Atom* status = nullptr;
  const LV2_Atom* path = nullptr;
  lv2_atom_object_get(found, keyCommand_, &command, keyDone_, &done, keyStatus_, &status, keyPath_, &path, 0);
  const auto kind = commandOf(inside(found, command));
  done = inside(found, done);
  const char* statusText = text(inside(found, status));
  const char* pathText = text(inside(found, path));
  if (!kind || done == nullptr || done->type != atomBool_ || done->size < sizeof(int32_t) || statusText == nullptr)
    return std::nullopt;
  return Answer{*kind, reinterpret_cast<const LV2_Atom_Bool*>(done)->body != 0, statusText,
                pathText != nullptr ? pathText : ""};
}

} // namespace grelmond::lv2
