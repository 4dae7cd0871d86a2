#include "params/Program.h"

#include <cstring>

namespace grelmond {
namespace {

// Parameter index held at each storage position.
constexpr ParameterId kStorageOrder[kNumParameters] = {
    0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15,
    16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 39,
    31, 32, 33, 34, 35, 36, 37, 38, 40, 41, 42, 43, 44, 45, 46, 47,
    48, 49, 53, 52, 56, 50, 54, 51, 55, 57, 58, 59, 60, 61, 62, 63};

struct StoragePositions {
  int32_t of[kNumParameters];
  constexpr StoragePositions() : of{} {
    for (int32_t pos = 0; pos < kNumParameters; ++pos) of[kStorageOrder[pos]] = pos;
  }
};

constexpr StoragePositions kPositions;

} // namespace

Program::Program() {
  for (auto& v : values_) v.store(0.0f, std::memory_order_relaxed);
  for (auto& c : name_) c.store('\0', std::memory_order_relaxed);
}

Program::Program(const Program& other) : Program() { *this = other; }

Program& Program::operator=(const Program& other) {
  if (this == &other) return *this;
  for (int32_t pos = 0; pos < kNumParameters; ++pos)
    values_[pos].store(other.values_[pos].load(std::memory_order_relaxed), std::memory_order_relaxed);
  setName(other.name().c_str());
  return *this;
}

float Program::value(ParameterId index) const {
  return isParameterId(index) ? values_[kPositions.of[index]].load(std::memory_order_relaxed) : 0.0f;
}

void Program::setValue(ParameterId index, float value) {
  if (isParameterId(index)) values_[kPositions.of[index]].store(value, std::memory_order_relaxed);
}

Program::Name Program::name() const {
  Name copy;
  for (int32_t i = 0; i < kNameSize; ++i) copy.text[i] = name_[i].load(std::memory_order_relaxed);
  copy.text[kNameSize - 1] = '\0';
  return copy;
}

void Program::setName(const char* text) {
  if (text == nullptr) return;
  // As strncpy: the rest of the field is cleared.
  int32_t i = 0;
  for (; i < kNameSize - 1 && text[i] != '\0'; ++i) name_[i].store(text[i], std::memory_order_relaxed);
  for (; i < kNameSize; ++i) name_[i].store('\0', std::memory_order_relaxed);
}

bool Program::operator==(const Program& other) const {
  for (int32_t pos = 0; pos < kNumParameters; ++pos) {
    const float a = values_[pos].load(std::memory_order_relaxed);
    const float b = other.values_[pos].load(std::memory_order_relaxed);
    if (std::memcmp(&a, &b, sizeof a) != 0) return false;
  }
  return std::strcmp(name().c_str(), other.name().c_str()) == 0;
}

} // namespace grelmond
