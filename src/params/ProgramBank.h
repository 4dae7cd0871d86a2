#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "params/Program.h"

namespace grelmond {

// The plug-in's 64 programs and the name rules the host sees. A slot may be
// empty (allocation failed); readers get null and must cope.
//
// Programs are created and replaced on the user-interface thread (start-up,
// file loads); values are read and written by setProgram/setParameter from
// either thread.
class ProgramBank {
public:
  static constexpr int32_t kNumPrograms = 64;
  static constexpr int32_t kProgramNameSize = 24; // host buffer, terminator included

  // setProgram applies the values in this order.
  static const ParameterId kApplyOrder[kNumParameters];

  ProgramBank() = default;
  ProgramBank(const ProgramBank&) = delete;
  ProgramBank& operator=(const ProgramBank&) = delete;

  // Fills every slot with a copy of init named "Grelmond 1" to "Grelmond 64".
  void createDefaults(const Program& init);

  bool isProgramIndex(int32_t index) const { return index >= 0 && index < kNumPrograms; }
  Program* program(int32_t index);
  const Program* program(int32_t index) const;
  // Gives a slot the values and name of program; an existing record is
  // kept and overwritten, so pointers to it stay valid. Null program or an
  // out-of-range index changes nothing.
  void replace(int32_t index, std::unique_ptr<Program> program);

  // Name as getProgramName shows it: "Init" reads as "Init <index + 1>".
  // Writes at most kProgramNameSize bytes; an empty slot gives "".
  void displayName(int32_t index, char* text) const;
  // Stored name for 0..63 (empty slot: ""); false and nothing written otherwise.
  bool storedName(int32_t index, char* text) const;

  // Current program as a fraction of 64, the form in which file loads and
  // program change carry it.
  float currentFraction() const { return fraction_.load(std::memory_order_relaxed); }
  void setCurrentFraction(float f) { fraction_.store(f, std::memory_order_relaxed); }
  void setCurrentIndex(int32_t index) { setCurrentFraction(index / 64.0f); }
  int32_t currentIndexFromFraction() const;

  // MIDI program change: numbers 64-127 select 0-63 again. Stores the
  // fraction and returns the program index to select, or -1 when the number
  // is outside 0..127.
  int32_t programChange(int32_t number);

private:
  std::unique_ptr<Program> programs_[kNumPrograms];
  std::atomic<float> fraction_{0.0f};
};

} // namespace grelmond
