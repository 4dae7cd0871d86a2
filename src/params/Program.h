#pragma once

#include <atomic>
#include <cstdint>

#include "params/ParameterTable.h"

namespace grelmond {

// One stored sound: a value per parameter and a name of at most 23
// characters. Values are addressed by parameter index only; the storage
// order inside the record is its own affair.
class Program {
public:
  static constexpr int32_t kNameSize = 24; // 23 characters and the terminator

  Program();
  Program(const Program& other);
  Program& operator=(const Program& other);

  // Index outside 0..63 reads 0 and writes nothing.
  float value(ParameterId index) const;
  void setValue(ParameterId index, float value);

  // A copy of the name: the main and GUI threads of a host may rename and
  // read at the same time.
  struct Name {
    char text[kNameSize];
    const char* c_str() const { return text; }
    // For use within one expression only: the copy is a temporary.
    operator const char*() const { return text; }
  };
  Name name() const;
  // Cut to 23 characters; null leaves the name as it is.
  void setName(const char* text);

  bool operator==(const Program& other) const;

private:
  // Automation writes a value on the audio thread while a save may read it on
  // the interface thread: each value is one relaxed atomic.
  std::atomic<float> values_[kNumParameters];
  // One relaxed atomic per character; the last one is always the terminator.
  std::atomic<char> name_[kNameSize];
};

} // namespace grelmond
