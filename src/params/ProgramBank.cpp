#include "params/ProgramBank.h"

#include <cstdio>
#include <cstring>
#include <new>

namespace grelmond {

// FlLfoSnc comes after AmpVelo and the unused slot 38.
const ParameterId ProgramBank::kApplyOrder[kNumParameters] = {
    0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15,
    16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31,
    32, 33, 34, 35, 37, 38, 36, 39, 40, 41, 42, 43, 44, 45, 46, 47,
    48, 49, 50, 51, 52, 53, 54, 55, 56, 57, 58, 59, 60, 61, 62, 63};

void ProgramBank::createDefaults(const Program& init) {
  for (int32_t n = 1; n <= kNumPrograms; ++n) {
    std::unique_ptr<Program> p(new (std::nothrow) Program(init));
    if (p) {
      char name[Program::kNameSize];
      std::snprintf(name, sizeof name, "Grelmond %d", static_cast<int>(n));
      p->setName(name);
    }
    programs_[n - 1] = std::move(p);
  }
}

Program* ProgramBank::program(int32_t index) {
  return isProgramIndex(index) ? programs_[index].get() : nullptr;
}

const Program* ProgramBank::program(int32_t index) const {
  return isProgramIndex(index) ? programs_[index].get() : nullptr;
}

void ProgramBank::replace(int32_t index, std::unique_ptr<Program> program) {
  if (!isProgramIndex(index)) return;
  // Copy into the existing record rather than freeing it: setParameter on
  // the audio thread may be writing to the current program right now.
  if (programs_[index] && program)
    *programs_[index] = *program;
  else if (program)
    programs_[index] = std::move(program);
}

void ProgramBank::displayName(int32_t index, char* text) const {
  if (text == nullptr) return;
  const Program* p = program(index);
  const Program::Name stored = p ? p->name() : Program::Name{};
  const char* name = stored.c_str();
  if (std::strcmp(name, "Init") == 0)
    std::snprintf(text, kProgramNameSize, "Init %d", static_cast<int>(index + 1));
  else
    std::snprintf(text, kProgramNameSize, "%s", name);
}

bool ProgramBank::storedName(int32_t index, char* text) const {
  if (!isProgramIndex(index) || text == nullptr) return false;
  const Program* p = program(index);
  std::snprintf(text, kProgramNameSize, "%s", p ? p->name().c_str() : "");
  return true;
}

int32_t ProgramBank::currentIndexFromFraction() const {
  int32_t index = static_cast<int32_t>(currentFraction() * 64.0f);
  return isProgramIndex(index) ? index : 0;
}

int32_t ProgramBank::programChange(int32_t number) {
  if (number < 0 || number > 127) return -1;
  if (number >= 64) number -= 64;
  setCurrentFraction(number / 64.0f);
  // The small offset keeps float rounding from landing one program low.
  return static_cast<int32_t>(currentFraction() * 64.0f + 0.1f);
}

} // namespace grelmond
