#pragma once

#include "core/FileCommand.h"

#include <lv2/worker/worker.h>

#include <cstdint>

namespace grelmond {
class Instrument;
}

namespace grelmond::lv2 {

// The editor's file commands, done on the host's worker thread: run() only
// passes a command on and later collects its answer; the worker loads or
// saves through the instrument as an editor in the instrument's own process
// does. Threads: request(), answered() and takeAnswer() in the run()
// context; work() on the worker thread, one call at a time. Nothing on the
// run() side allocates.
class FileWork {
public:
  static constexpr uint32_t kNameBytes = 1024;   // a typed name with its terminator
  static constexpr uint32_t kStatusBytes = 512;
  static constexpr uint32_t kPathBytes = 4096;
  static constexpr int kMaxAnswers = 8;

  struct Answer {
    FileCommand command = FileCommand::LoadBank;
    bool done = false;
    char status[kStatusBytes] = {};
    char path[kPathBytes] = {}; // the path a save wrote, else empty
  };

  explicit FileWork(Instrument& instrument) : instrument_(instrument) {}
  FileWork(const FileWork&) = delete;
  FileWork& operator=(const FileWork&) = delete;

  // The host's worker; null when it offers none.
  void setScheduler(const LV2_Worker_Schedule* schedule) { schedule_ = schedule; }

  // Passes the command to the worker. Without a worker, with no room in its
  // queue or with a name too long, the answer is a failure straight away.
  void request(FileCommand command, const char* name);
  LV2_Worker_Status work(LV2_Worker_Respond_Function respond, LV2_Worker_Respond_Handle handle, uint32_t size,
                         const void* data);
  // An answer from work(), kept for the editor; null when malformed.
  const Answer* answered(uint32_t size, const void* body);
  // The oldest answer not yet taken (null when none); it stays until dropOldest().
  const Answer* oldestAnswer() const { return count_ > 0 ? &answers_[first_] : nullptr; }
  void dropOldest();

private:
  void refuse(FileCommand command, const char* reason);
  Answer& nextAnswer();
  // Worker side: carries out the command and packs the answer into reply_.
  uint32_t carryOut(FileCommand command, const char* name);
  uint32_t pack(FileCommand command, bool done, const char* status, const char* path);

  Instrument& instrument_;
  const LV2_Worker_Schedule* schedule_ = nullptr;
  // run() side.
  uint8_t request_[sizeof(int32_t) + kNameBytes] = {};
  Answer answers_[kMaxAnswers];
  int first_ = 0, count_ = 0;
  // Worker side.
  char path_[kPathBytes] = {};
  uint8_t reply_[2 * sizeof(int32_t) + kStatusBytes + kPathBytes] = {};
};

} // namespace grelmond::lv2
