#include "storage/BankReader.h"
#include "storage/BankWriter.h"
#include "storage/NumberText.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>

using namespace grelmond;

namespace {

std::string fixed(double value, int decimals) {
  std::string text;
  appendFixed(text, value, decimals);
  return text;
}

// Switches the process to a locale with a decimal comma, as some hosts do, and
// back afterwards. The locale is built into a temporary folder when the system
// has none installed.
class GermanLocale {
public:
  GermanLocale() {
    previous_ = std::setlocale(LC_ALL, nullptr);
    if (tryLocale())
      return;
    // localedef may warn with a non-zero status and still write the locale.
    const std::string command = "localedef -i de_DE -f UTF-8 " + folder_.file("de_DE.UTF-8") + " >/dev/null 2>&1";
    [[maybe_unused]] const int status = std::system(command.c_str());
    setenv("LOCPATH", folder_.path().c_str(), 1);
    tryLocale();
  }
  ~GermanLocale() {
    std::setlocale(LC_ALL, previous_.c_str());
    unsetenv("LOCPATH");
  }
  bool active() const { return active_; }

private:
  bool tryLocale() {
    active_ = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    return active_;
  }

  TempFolder folder_;
  std::string previous_;
  bool active_ = false;
};

} // namespace

TEST(BankNumbers, FixedTextMatchesPrintfInTheCLocale) {
  for (int i = 0; i <= 20000; ++i) {
    const float value = static_cast<float>(i) / 20000.0f * 1.001f;
    char expected[64];
    std::snprintf(expected, sizeof expected, "%3.3f", static_cast<double>(value));
    ASSERT_EQ(fixed(value, 3), expected) << value;
    std::snprintf(expected, sizeof expected, "%9.9f", static_cast<double>(value));
    ASSERT_EQ(fixed(value, 9), expected) << value;
  }
  EXPECT_EQ(fixed(0.0625, 3), "0.062") << "exact ties round to even, as printf does";
  EXPECT_EQ(fixed(-0.5, 3), "-0.500");
}

TEST(BankNumbers, BanksReadAndWriteTheSameUnderADecimalCommaLocale) {
  BankImage image{};
  for (int k = 0; k < kBankPatches; ++k)
    for (int i = 0; i < kListSize; ++i)
      image.entries[k].values[i] = static_cast<float>((k * 64 + i) % 997) / 997.0f;
  const std::string writtenInC = formatBank(image);

  GermanLocale german;
  if (!german.active())
    GTEST_SKIP() << "no German locale available";
  char probe[16];
  std::snprintf(probe, sizeof probe, "%.1f", 0.5);
  ASSERT_STREQ(probe, "0,5") << "the locale should use a decimal comma";

  EXPECT_EQ(formatBank(image), writtenInC);
  BankImage loaded{};
  ASSERT_TRUE(readBankText(writtenInC.data(), writtenInC.size(), loaded));
  for (int k = 0; k < kBankPatches; ++k)
    EXPECT_NEAR(loaded.entries[k].values[1], image.entries[k].values[1], 5e-4);
  EXPECT_EQ(parseNumber("0.5"), 0.5);
  EXPECT_EQ(parseNumber("0,5"), 0.0) << "a decimal comma ends the number";
}
