#pragma once

#include <cstddef>
#include <cstdio>

namespace grelmond {

// Characters of a bank file, from an open file or from memory; EOF at the end.
class BankTextSource {
public:
  explicit BankTextSource(std::FILE* file) : file_(file) {}
  BankTextSource(const char* data, std::size_t size) : data_(data), size_(size) {}

  // The next character as it is.
  int raw() {
    if (file_)
      return std::getc(file_);
    return position_ < size_ ? static_cast<unsigned char>(data_[position_++]) : EOF;
  }

  // The next character that is not a blank, tab, carriage return or line feed.
  int skipWhite() {
    int c;
    do
      c = raw();
    while (c == ' ' || c == '\t' || c == '\r' || c == '\n');
    return c;
  }

private:
  std::FILE* file_ = nullptr;
  const char* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t position_ = 0;
};

} // namespace grelmond
