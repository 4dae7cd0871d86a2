#include "storage/BankReader.h"

#include "platform/RegularFile.h"
#include "storage/BankKeys.h"
#include "storage/BankTextSource.h"
#include "storage/NameText.h"
#include "storage/NumberText.h"

#include <algorithm>
#include <iterator>
#include <cstdio>
#include <string>

namespace grelmond {

namespace {

// Longest texts kept from a file (NUL excluded); longer ones are cut.
constexpr std::size_t kProductLength = 8;
constexpr std::size_t kVersionLength = 3;
constexpr std::size_t kNumberLength = 255;
constexpr std::size_t kNameLength = 255;
constexpr std::size_t kEscapedNameLength = kNameLength * 6; // room for entities
constexpr std::size_t kKeyLength = 63;
constexpr std::size_t kValueLength = 63;

enum class Tag { Patch, BankEnd, Invalid };

class BankParser {
public:
  BankParser(BankTextSource& source, BankImage& image) : in_(source), image_(image) {}

  bool read() {
    if (!header())
      return false;
    for (int k = 0; k < kBankPatches; ++k) {
      switch (tag()) {
      case Tag::Invalid: return false;
      case Tag::BankEnd: return true;
      case Tag::Patch: patch(k); break; // a broken patch shows in the next tag
      }
    }
    return white('<') && white('/') && rawText("bank") && white('>');
  }

private:
  bool white(char expected) { return in_.skipWhite() == static_cast<unsigned char>(expected); }

  bool rawText(const char* expected) {
    for (; *expected; ++expected)
      if (in_.raw() != static_cast<unsigned char>(*expected))
        return false;
    return true;
  }

  // Raw characters up to and including stop; at most maxLength of them are kept.
  bool rawUntil(char stop, std::string& text, std::size_t maxLength) {
    text.clear();
    for (;;) {
      const int c = in_.raw();
      if (c == EOF)
        return false;
      if (c == static_cast<unsigned char>(stop))
        return true;
      if (text.size() < maxLength)
        text.push_back(static_cast<char>(c));
    }
  }

  bool attribute(std::string& value, std::size_t maxLength) {
    return white('=') && white('"') && rawUntil('"', value, maxLength);
  }

  bool header() {
    if (!(white('<') && white('b') && rawText("ank")))
      return false;
    in_.skipWhite(); // the 'p' of product, not checked
    if (!(rawText("roduct") && attribute(text_, kProductLength)))
      return false;
    std::string word(1, static_cast<char>(in_.skipWhite()));
    for (int i = 0; i < 6; ++i)
      word.push_back(static_cast<char>(in_.raw()));
    if (!(word == "version" && attribute(text_, kVersionLength) && white('>')))
      return false;
    exact_ = text_ == kExactVersion;
    return true;
  }

  Tag tag() {
    if (!white('<'))
      return Tag::Invalid;
    const int first = in_.skipWhite();
    const int second = in_.raw();
    if (first == 'p' && second == 'a')
      return rawText("tch") ? Tag::Patch : Tag::Invalid;
    if (first == '/' && second == 'b')
      return rawText("ank>") ? Tag::BankEnd : Tag::Invalid;
    return Tag::Invalid;
  }

  bool patch(int k) {
    if (!(white('n') && rawText("ame") && attribute(text_, kEscapedNameLength)))
      return false;
    const std::string name = unescapeName(text_);
    copyBoundedName(image_.entries[k].name, kImageNameSize,
                    std::string_view(name).substr(0, std::min(name.size(), kNameLength)));
    if (!(white('n') && rawText("umber") && attribute(text_, kNumberLength) && white('>')))
      return false;
    std::fill(std::begin(seen_), std::end(seen_), 0);
    for (;;) {
      if (!white('<'))
        return false;
      const int first = in_.skipWhite();
      const int second = in_.raw();
      if (first == 'p' && second == ' ') {
        if (!valueLine(k))
          return false;
      } else if (first == '/' && second == 'p') {
        return rawText("atch>");
      } else {
        return false;
      }
    }
  }

  bool valueLine(int k) {
    std::string key, value;
    if (!(white('i') && attribute(key, kKeyLength) && white('>') && rawUntil('<', value, kValueLength)))
      return false;
    if (!(white('/') && white('p') && white('>')))
      return false;
    if (!exact_) {
      image_.entries[k].values[keyIndex(key)] = parseParameterValue(value);
      return true;
    }
    const int first = keyIndex(key);
    const int occurrence = seen_[first];
    seen_[first] = std::min(occurrence + 1, kListSize);
    image_.entries[k].values[keyIndex(key, occurrence)] = parseExactParameterValue(value);
    return true;
  }

  BankTextSource& in_;
  BankImage& image_;
  std::string text_;
  // Exact texts: values read bit for bit, repeated keys numbered by how
  // often each was seen in the current patch.
  bool exact_ = false;
  int seen_[kListSize] = {};
};

} // namespace

bool readBank(const std::string& path, BankImage& image) {
  std::FILE* file = platform::openRegularFile(path);
  if (!file)
    return false;
  BankTextSource source(file);
  const bool ok = BankParser(source, image).read();
  std::fclose(file);
  return ok;
}

bool readBankText(const char* data, std::size_t size, BankImage& image) {
  BankTextSource source(data, size);
  return BankParser(source, image).read();
}

} // namespace grelmond
