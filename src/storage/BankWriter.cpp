#include "storage/BankWriter.h"

#include "platform/AtomicFile.h"
#include "storage/BankKeys.h"
#include "storage/NameText.h"
#include "storage/NumberText.h"

#include <cstring>

namespace grelmond {

namespace {

enum class Style { Bank, Patch, Exact };
constexpr const char* kBankEnd = "</bank>\n";

void appendValueLine(std::string& out, int index, float value, BankFormat format) {
  out.append("\t<p i=\"");
  out.append(bankKey(index));
  out.append("\">");
  switch (format) {
  case BankFormat::AlwaysZero: out.append("0.0"); break;
  case BankFormat::NineDecimals: appendFixed(out, value, 9); break;
  case BankFormat::Plain: appendFixed(out, value, 3); break;
  case BankFormat::Exact: appendShortest(out, value); break;
  }
  out.append("</p>\n");
}

BankFormat formatIn(Style style, int index) {
  switch (style) {
  case Style::Bank: return bankFormat(index);
  case Style::Patch: return BankFormat::Plain;
  case Style::Exact: break;
  }
  return BankFormat::Exact;
}

std::string header(Style style) {
  return std::string("<bank product=\"grelmond\" version=\"") + (style == Style::Exact ? kExactVersion : kFileVersion) +
         "\">\n";
}

void appendPatch(std::string& out, const BankEntry& entry, int number, Style style) {
  out.append("<patch name=\"");
  appendEscapedName(out, std::string_view(entry.name, strnlen(entry.name, kImageNameSize)));
  out.append("\" number=\"");
  out.append(std::to_string(number));
  out.append("\">\n");
  for (int i = 0; i < kListSize; ++i)
    appendValueLine(out, i, entry.values[i], formatIn(style, i));
  out.append("</patch>\n");
}

std::string bankText(const BankImage& image, Style style) {
  std::string out = header(style);
  out.reserve(kBankPatches * 2048);
  for (int k = 0; k < kBankPatches; ++k)
    appendPatch(out, image.entries[k], k + 1, style);
  out.append(kBankEnd);
  return out;
}

std::string patchText(const BankEntry& entry, Style style) {
  std::string out = header(style);
  appendPatch(out, entry, 0, style);
  out.append(kBankEnd);
  return out;
}

} // namespace

std::string formatBank(const BankImage& image) { return bankText(image, Style::Bank); }
std::string formatPatch(const BankEntry& entry) { return patchText(entry, Style::Patch); }
std::string formatExactBank(const BankImage& image) { return bankText(image, Style::Exact); }
std::string formatExactPatch(const BankEntry& entry) { return patchText(entry, Style::Exact); }

bool writeBank(const std::string& path, const BankImage& image) {
  return platform::writeFileAtomically(path, formatBank(image));
}

bool writePatch(const std::string& path, const BankEntry& entry) {
  return platform::writeFileAtomically(path, formatPatch(entry));
}

} // namespace grelmond
