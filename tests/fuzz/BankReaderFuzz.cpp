// libFuzzer target: any bytes given to the bank reader must neither crash nor
// leave a value outside 0..1 or a name without its end, and the first patch it
// reads must write back as a patch file that reads again with the same name.
#include "storage/BankReader.h"
#include "storage/BankWriter.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

using namespace grelmond;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  static BankImage image, again;
  std::memset(&image, 0, sizeof image);
  readBankText(reinterpret_cast<const char*>(data), size, image);

  for (const BankEntry& entry : image.entries) {
    if (std::memchr(entry.name, '\0', sizeof entry.name) == nullptr)
      std::abort();
    for (float value : entry.values)
      if (!(value >= 0.0f && value <= 1.0f))
        std::abort();
  }

  // A whole bank per input would slow the fuzzer tenfold; one patch covers the writer.
  const std::string text = formatPatch(image.entries[0]);
  std::memset(&again, 0, sizeof again);
  if (!readBankText(text.data(), text.size(), again) || std::strcmp(image.entries[0].name, again.entries[0].name) != 0)
    std::abort();
  return 0;
}
