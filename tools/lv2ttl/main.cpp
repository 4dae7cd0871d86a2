// Writes the description files of the LV2 bundle from the parameter table and
// a bank (the factory bank): lv2ttl BANK OUTDIR
#include "BundleTurtle.h"

#include "params/InitProgram.h"
#include "platform/AtomicFile.h"
#include "platform/Paths.h"
#include "storage/ProgramFiles.h"

#include <cstdio>

namespace {

bool writeFile(const std::string& folder, const char* name, const std::string& text) {
  const std::string path = grelmond::platform::joinPath(folder, name);
  if (grelmond::platform::writeFileAtomically(path, text))
    return true;
  std::fprintf(stderr, "lv2ttl: cannot write %s\n", path.c_str());
  return false;
}

} // namespace

int main(int argc, char** argv) {
  using grelmond::lv2::BundleTurtle;
  if (argc != 3) {
    std::fprintf(stderr, "usage: lv2ttl BANK OUTDIR\n");
    return 2;
  }
  grelmond::ProgramBank programs;
  if (!grelmond::ProgramFiles::loadBankFile(programs, argv[1], grelmond::InitProgram())) {
    std::fprintf(stderr, "lv2ttl: %s is no bank file\n", argv[1]);
    return 1;
  }
  const BundleTurtle turtle(programs);
  const std::string folder = argv[2];
  const bool written = writeFile(folder, BundleTurtle::kManifestFile, turtle.manifest()) &&
                       writeFile(folder, BundleTurtle::kPluginFile, turtle.plugin()) &&
                       writeFile(folder, BundleTurtle::kPresetsFile, turtle.presets());
  return written ? 0 : 1;
}
