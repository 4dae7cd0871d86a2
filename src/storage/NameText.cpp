#include "storage/NameText.h"

#include <cstring>

namespace grelmond {

namespace {

struct Entity {
  char character;
  std::string_view text;
};

constexpr Entity kEntities[] = {{'"', "&quot;"}, {'<', "&lt;"}, {'>', "&gt;"}, {'&', "&amp;"}};

bool isContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

} // namespace

void appendEscapedName(std::string& out, std::string_view name) {
  for (char c : name) {
    const Entity* entity = nullptr;
    for (const Entity& e : kEntities)
      if (e.character == c)
        entity = &e;
    if (entity)
      out.append(entity->text);
    else
      out.push_back(c);
  }
}

std::string unescapeName(std::string_view text) {
  std::string name;
  name.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    bool decoded = false;
    if (text[i] == '&') {
      for (const Entity& e : kEntities) {
        if (text.substr(i).starts_with(e.text)) {
          name.push_back(e.character);
          i += e.text.size();
          decoded = true;
          break;
        }
      }
    }
    if (!decoded)
      name.push_back(text[i++]);
  }
  return name;
}

void copyBoundedName(char* field, std::size_t size, std::string_view text) {
  if (!field || size == 0)
    return;
  std::size_t length = text.size();
  if (length >= size) {
    length = size - 1;
    while (length > 0 && isContinuationByte(text[length]))
      --length;
  }
  std::memcpy(field, text.data(), length);
  field[length] = '\0';
}

} // namespace grelmond
