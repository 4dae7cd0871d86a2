#include "storage/ProgramFiles.h"

#include "platform/Paths.h"
#include "storage/BankReader.h"
#include "storage/BankWriter.h"
#include "storage/NameText.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

namespace grelmond {

namespace {

constexpr const char* kDefaultBankName = "GrelmondDefault.grb";

bool isBareName(const char* name) { return !platform::isFullPath(name); }

void reportPath(char* name, std::size_t size, const std::string& path) {
  if (name && size > 0)
    copyBoundedName(name, size, path);
}

// Heap-allocated: a bank image is 20 KB, more than a host thread's stack should carry.
std::unique_ptr<BankImage> newImage() { return std::unique_ptr<BankImage>(new (std::nothrow) BankImage()); }

} // namespace

void fillImage(const ProgramBank& programs, BankImage& image) {
  for (int k = 0; k < kBankPatches; ++k) {
    if (const Program* program = programs.program(k))
      image.entries[k].fillFrom(*program);
    else
      image.entries[k] = BankEntry{};
  }
}

void applyEntry(ProgramBank& programs, int index, const BankEntry& entry) {
  char name[Program::kNameSize];
  copyBoundedName(name, sizeof name, entry.name);
  Program* program = programs.program(index);
  if (!program) {
    programs.replace(index, entry.toProgram(name));
    return;
  }
  for (ParameterId id = 0; id < kNumParameters; ++id)
    program->setValue(id, entry.values[ParameterList::positionOf(id)]);
  program->setName(name);
}

ProgramFiles::ProgramFiles(std::string installFolder)
    : remembered_(installFolder), installFolder_(std::move(installFolder)) {}

std::string ProgramFiles::defaultBankPath() const { return platform::joinPath(installFolder_, kDefaultBankName); }

std::unique_ptr<BankImage> ProgramFiles::readImage(const ProgramBank& programs, const char* name) const {
  const auto path = name ? remembered_.resolve(name, RememberedFolder::Use::Load) : std::nullopt;
  auto image = newImage();
  if (!path || !image)
    return nullptr;
  // Keys a file lacks keep the values the image starts with.
  fillImage(programs, *image);
  if (!readBank(*path, *image))
    return nullptr;
  return image;
}

bool ProgramFiles::loadBank(ProgramBank& programs, const char* name) const {
  const auto image = readImage(programs, name);
  if (!image)
    return false;
  for (int k = 0; k < kBankPatches; ++k)
    applyEntry(programs, k, image->entries[k]);
  return true;
}

bool ProgramFiles::loadPatch(ProgramBank& programs, const char* name) const {
  // Keys the patch lacks take the first program's values, which fill entry 0.
  const auto image = readImage(programs, name);
  if (!image)
    return false;
  applyEntry(programs, programs.currentIndexFromFraction(), image->entries[0]);
  return true;
}

bool ProgramFiles::saveImage(const ProgramBank& programs, char* name, std::size_t size,
                             const std::function<bool(const std::string&, const BankImage&)>& write) const {
  const auto path = name ? remembered_.resolve(name, RememberedFolder::Use::Save) : std::nullopt;
  auto image = newImage();
  if (!path || !image)
    return false;
  const bool bare = isBareName(name);
  fillImage(programs, *image);
  const bool written = write(*path, *image);
  if (bare)
    reportPath(name, size, *path);
  return written;
}

bool ProgramFiles::saveBank(const ProgramBank& programs, char* name, std::size_t size) const {
  return saveImage(programs, name, size,
                   [](const std::string& path, const BankImage& image) { return writeBank(path, image); });
}

bool ProgramFiles::savePatch(const ProgramBank& programs, char* name, std::size_t size) const {
  return saveImage(programs, name, size, [&programs](const std::string& path, const BankImage& image) {
    return writePatch(path, image.entries[programs.currentIndexFromFraction()]);
  });
}

bool ProgramFiles::loadBankFile(ProgramBank& programs, const char* path, const Program& init) {
  auto image = newImage();
  if (!path || !image)
    return false;
  for (int k = 0; k < kBankPatches; ++k) {
    image->entries[k].fillFrom(init);
    std::snprintf(image->entries[k].name, kImageNameSize, "Grelmond %d", k + 1);
  }
  if (!readBank(path, *image))
    return false;
  for (int k = 0; k < kBankPatches; ++k)
    applyEntry(programs, k, image->entries[k]);
  return true;
}

} // namespace grelmond
