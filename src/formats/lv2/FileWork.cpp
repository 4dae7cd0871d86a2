#include "formats/lv2/FileWork.h"

#include "core/Instrument.h"

#include <cstring>

namespace grelmond::lv2 {

// A request is the command's number, then the name and its terminator; an
// answer is the command's number, 1 or 0 for done, then the status text and
// the path, each with its terminator.
namespace {

// Copies at most size - 1 bytes and terminates; returns the length copied.
std::size_t copyBounded(char* to, std::size_t size, const char* from) {
  const std::size_t length = strnlen(from, size - 1);
  std::memcpy(to, from, length);
  to[length] = '\0';
  return length;
}

void appendBounded(char* to, std::size_t size, const char* from) {
  const std::size_t used = strnlen(to, size - 1);
  copyBounded(to + used, size - used, from);
}

} // namespace

void FileWork::request(FileCommand command, const char* name) {
  const std::size_t length = strnlen(name, kNameBytes);
  if (length == kNameBytes) {
    refuse(command, "The name is too long.");
    return;
  }
  if (schedule_ == nullptr) {
    refuse(command, "This host gives the plug-in no worker for files.");
    return;
  }
  const auto number = static_cast<int32_t>(command);
  std::memcpy(request_, &number, sizeof number);
  std::memcpy(request_ + sizeof number, name, length + 1);
  const auto size = static_cast<uint32_t>(sizeof number + length + 1);
  if (schedule_->schedule_work(schedule_->handle, size, request_) != LV2_WORKER_SUCCESS)
    refuse(command, "The host's worker is busy; try again.");
}

// No allocation: this runs in run().
void FileWork::refuse(FileCommand command, const char* reason) {
  Answer& answer = nextAnswer();
  answer.command = command;
  answer.done = false;
  copyBounded(answer.status, sizeof answer.status, fileStatus(command, false));
  appendBounded(answer.status, sizeof answer.status, " ");
  appendBounded(answer.status, sizeof answer.status, reason);
  answer.path[0] = '\0';
}

FileWork::Answer& FileWork::nextAnswer() {
  if (count_ == kMaxAnswers) // the editor has not heard the oldest for a while: it is lost
    dropOldest();
  return answers_[(first_ + count_++) % kMaxAnswers];
}

void FileWork::dropOldest() {
  if (count_ == 0)
    return;
  first_ = (first_ + 1) % kMaxAnswers;
  --count_;
}

LV2_Worker_Status FileWork::work(LV2_Worker_Respond_Function respond, LV2_Worker_Respond_Handle handle,
                                 uint32_t size, const void* data) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  int32_t number = -1;
  if (bytes == nullptr || size < sizeof number + 1 || bytes[size - 1] != '\0')
    return LV2_WORKER_ERR_UNKNOWN;
  std::memcpy(&number, bytes, sizeof number);
  if (!isFileCommand(number))
    return LV2_WORKER_ERR_UNKNOWN;
  const auto command = static_cast<FileCommand>(number);
  const uint32_t length = carryOut(command, reinterpret_cast<const char*>(bytes + sizeof number));
  if (respond(handle, length, reply_) == LV2_WORKER_SUCCESS)
    return LV2_WORKER_SUCCESS;
  // Too long for the host's queue with the path: the outcome alone.
  int32_t done = 0;
  std::memcpy(&done, reply_ + sizeof number, sizeof done);
  const uint32_t shorter =
      pack(command, done != 0, reinterpret_cast<const char*>(reply_ + 2 * sizeof number), "");
  return respond(handle, shorter, reply_);
}

uint32_t FileWork::carryOut(FileCommand command, const char* name) {
  switch (command) {
  case FileCommand::LoadBank:
  case FileCommand::LoadPatch: {
    const bool done = command == FileCommand::LoadBank ? instrument_.loadBank(name) : instrument_.loadPatch(name);
    return pack(command, done, fileStatus(command, done), "");
  }
  case FileCommand::SaveBank:
  case FileCommand::SavePatch: {
    // For a bare name the instrument writes the full path it used over the name.
    copyBounded(path_, sizeof path_, name);
    const bool done = command == FileCommand::SaveBank ? instrument_.saveBank(path_, sizeof path_)
                                                       : instrument_.savePatch(path_, sizeof path_);
    return pack(command, done, fileStatus(command, done), path_);
  }
  case FileCommand::LoadTuning: {
    const TuningControl::Result result = instrument_.loadTuning(name);
    return pack(command, result.loaded, result.message.c_str(), "");
  }
  }
  return pack(command, false, fileStatus(command, false), "");
}

uint32_t FileWork::pack(FileCommand command, bool done, const char* status, const char* path) {
  const int32_t header[2] = {static_cast<int32_t>(command), done ? 1 : 0};
  // The status may be the one already packed here: move it first.
  char text[kStatusBytes];
  const std::size_t statusLength = copyBounded(text, sizeof text, status);
  std::memcpy(reply_, header, sizeof header);
  char* out = reinterpret_cast<char*>(reply_ + sizeof header);
  std::memcpy(out, text, statusLength + 1);
  const std::size_t pathLength = copyBounded(out + statusLength + 1, kPathBytes, path);
  return static_cast<uint32_t>(sizeof header + statusLength + 1 + pathLength + 1);
}

const FileWork::Answer* FileWork::answered(uint32_t size, const void* body) {
  const auto* bytes = static_cast<const uint8_t*>(body);
  int32_t header[2] = {-1, 0};
  if (bytes == nullptr || size < sizeof header + 2 || bytes[size - 1] != '\0')
    return nullptr;
  std::memcpy(header, bytes, sizeof header);
  if (!isFileCommand(header[0]))
    return nullptr;
  const char* status = reinterpret_cast<const char*>(bytes + sizeof header);
  const std::size_t rest = size - sizeof header;
  const std::size_t statusLength = strnlen(status, rest);
  if (statusLength + 1 >= rest) // no room left for the path
    return nullptr;
  Answer& answer = nextAnswer();
  answer.command = static_cast<FileCommand>(header[0]);
  answer.done = header[1] != 0;
  copyBounded(answer.status, sizeof answer.status, status);
  copyBounded(answer.path, sizeof answer.path, status + statusLength + 1);
  return &answer;
}

} // namespace grelmond::lv2
