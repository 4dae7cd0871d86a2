#include "storage/BankWriter.h"

#include "platform/AtomicFile.h"
#include "storage/BankKeys.h"
#include "storage/NameText.h"
#include "storage/NumberText.h"

#include <cstring>

namespace grelmond {

namespace {

constexpr const char* kHeader = "<bank product=\"grelmond\" version=\"1.0\">\n";
constexpr const char* kBankEnd = "</bank>\n";

void appendValueLine(std::string& out, int index, float value, BankFormat format) {
  out.append("\t<p i=\"");
  out.append(bankKey(index));
  out.append("\">");
  switch (format) {
  case BankFormat::AlwaysZero: out.append("0.0"); break;
  case BankFormat::NineDecimals: appendFixed(out, value, 9); break;
  case BankFormat::Plain: appendFixed(out, value, 3); break;
  }
  out.append("</p>\n");
}

void appendPatch(std::string& out, const BankEntry& entry, int number, bool patchStyle) {
  out.append("<patch name=\"");
  appendEscapedName(out, std::string_view(entry.name, strnlen(entry.name, kImageNameSize)));
  out.append("\" number=\"");
  out.append(std::to_string(number));
  out.append("\">\n");
  for (int i = 0; i < kListSize; ++i)
    appendValueLine(out, i, entry.values[i], patchStyle ? BankFormat::Plain : bankFormat(i));
  out.append("</patch>\n");
}

} // namespace

std::string formatBank(const BankImage& image) {
  std::string out(kHeader);
  out.reserve(kBankPatches * 2048);
  for (int k = 0; k < kBankPatches; ++k)
    appendPatch(out, image.entries[k], k + 1, false);
  out.append(kBankEnd);
  return out;
}

std::string formatPatch(const BankEntry& entry) {
  std::string out(kHeader);
  appendPatch(out, entry, 0, true);
  out.append(kBankEnd);
  return out;
}

bool writeBank(const std::string& path, const BankImage& image) {
  return platform::writeFileAtomically(path, formatBank(image));
}

bool writePatch(const std::string& path, const BankEntry& entry) {
  return platform::writeFileAtomically(path, formatPatch(entry));
}

} // namespace grelmond
