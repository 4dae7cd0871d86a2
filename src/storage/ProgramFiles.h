#pragma once

#include "params/ProgramBank.h"
#include "storage/BankImage.h"
#include "storage/RememberedFolder.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

namespace grelmond {

// Loads and saves the plug-in's programs as bank and patch files. Names typed
// by the user are resolved through the remembered folder. A load that fails
// changes no program; a load that succeeds overwrites the existing records in
// place, because the audio thread may be storing into the current one. The
// caller re-selects the current program after a successful load.
// Runs on the user-interface thread (and during construction).
class ProgramFiles {
public:
  explicit ProgramFiles(std::string installFolder);

  const std::string& installFolder() const { return installFolder_; }

  bool loadBank(ProgramBank& programs, const char* name) const;
  bool loadPatch(ProgramBank& programs, const char* name) const; // into the current program
  // For a bare name, name (a buffer of size bytes) receives the full path used, cut to fit.
  bool saveBank(const ProgramBank& programs, char* name, std::size_t size) const;
  bool savePatch(const ProgramBank& programs, char* name, std::size_t size) const;

  // A bank from a full path with no folder handling. Programs the file lacks
  // get the defaults of init, named "Grelmond n".
  static bool loadBankFile(ProgramBank& programs, const char* path, const Program& init);

  // The default bank's path in the installation folder.
  std::string defaultBankPath() const;

private:
  // The named file read over an image of the current programs; null when it cannot be read.
  std::unique_ptr<BankImage> readImage(const ProgramBank& programs, const char* name) const;
  // Resolves name for saving, writes the image of all programs through write
  // and, for a bare name, reports the full path used.
  bool saveImage(const ProgramBank& programs, char* name, std::size_t size,
                 const std::function<bool(const std::string& path, const BankImage& image)>& write) const;

  RememberedFolder remembered_;
  std::string installFolder_;
};

// The image of the 64 programs; an empty slot reads as an unnamed zero program.
void fillImage(const ProgramBank& programs, BankImage& image);

// Sets program index to entry, keeping its record when there is one.
void applyEntry(ProgramBank& programs, int index, const BankEntry& entry);

} // namespace grelmond
