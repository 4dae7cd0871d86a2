#include "storage/BankReader.h"
#include "storage/BankWriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

using namespace grelmond;

namespace {

constexpr float kOld = 0.25f;

// Every value kOld and names "Old n", or (varied) many-digit values and names "Sound n".
BankImage image(bool varied = false) {
  BankImage image{};
  for (int k = 0; k < kBankPatches; ++k) {
    for (int i = 0; i < kListSize; ++i)
      image.entries[k].values[i] = varied ? std::fmod(0.123456789f * float(k * 64 + i + 1), 1.0f) : kOld;
    std::snprintf(image.entries[k].name, kImageNameSize, "%s %d", varied ? "Sound" : "Old", k + 1);
  }
  return image;
}

const std::string kHeader = "<bank product=\"grelmond\" version=\"1.0\">\n";

std::string patch(const std::string& name, const std::string& lines = "<p i=\"volume\">0.750</p>") {
  return "<patch name=\"" + name + "\" number=\"1\">\n" + lines + "</patch>\n";
}

std::string bank(int patches) {
  std::string text = kHeader;
  for (int k = 0; k < patches; ++k)
    text += patch("P" + std::to_string(k));
  return text + "</bank>\n";
}

bool read(const std::string& text, BankImage& image) { return readBankText(text.data(), text.size(), image); }

double rounded(float v) { return std::round(v * 1000.0) / 1000.0; }

} // namespace

TEST(BankFile, BankRoundTripKeepsShapesToNineDecimalsAndOthersToThree) {
  const BankImage original = image(true);
  BankImage loaded = image();
  ASSERT_TRUE(read(formatBank(original), loaded));
  for (int k = 0; k < kBankPatches; ++k) {
    EXPECT_STREQ(loaded.entries[k].name, original.entries[k].name);
    for (int i = 0; i < kListSize; ++i) {
      const float got = loaded.entries[k].values[i], want = original.entries[k].values[i];
      if (i == 25)
        EXPECT_EQ(got, 0.0f) << "the first \"not used\" line sets entry 25";
      else if (i == 26 || i == 27 || i == 38 || i == 48)
        EXPECT_EQ(got, kOld) << "entry " << i << " is never set by a file";
      else
        EXPECT_NEAR(got, (i == 0 || i == 4 || i == 8) ? want : rounded(want), 1e-6) << k << "/" << i;
    }
  }
}

TEST(BankFile, PatchRoundTripRoundsEveryValueToThreeDecimals) {
  const BankEntry& current = image(true).entries[7];
  const std::string text = formatPatch(current);
  EXPECT_NE(text.find("number=\"0\">\n\t<p i=\"osc1 shape\">"), std::string::npos);
  BankImage loaded = image();
  ASSERT_TRUE(read(text, loaded));
  EXPECT_STREQ(loaded.entries[0].name, current.name);
  for (int i : {0, 1, 4, 8, 36, 37, 63})
    EXPECT_NEAR(loaded.entries[0].values[i], rounded(current.values[i]), 1e-6) << i;
  EXPECT_NEAR(loaded.entries[0].values[25], rounded(current.values[48]), 1e-6) << "the last \"not used\" line wins";
  EXPECT_STREQ(loaded.entries[1].name, "Old 2");
}

TEST(BankFile, WrittenLinesHaveTheFileLayout) {
  const std::string text = formatBank(BankImage{});
  EXPECT_EQ(text.rfind(kHeader + "<patch name=\"\" number=\"1\">\n\t<p i=\"osc1 shape\">0.000000000</p>\n"
                                 "\t<p i=\"osc1 coarse\">0.000</p>\n",
                       0),
            0u);
  EXPECT_NE(text.find("\t<p i=\"perf porta\">0.000</p>\n\t<p i=\"not used\">0.0</p>\n"), std::string::npos);
  EXPECT_NE(text.find("\t<p i=\"amp velo\">0.000</p>\n\t<p i=\"flang sync\">0.000</p>\n"), std::string::npos);
  EXPECT_TRUE(text.ends_with("\t<p i=\"volume\">0.000</p>\n</patch>\n</bank>\n"));
}

TEST(BankFile, PatchCountRules) {
  BankImage loaded = image();
  ASSERT_TRUE(read(bank(3), loaded));
  EXPECT_STREQ(loaded.entries[2].name, "P2");
  EXPECT_EQ(loaded.entries[2].values[63], 0.75f);
  EXPECT_EQ(loaded.entries[2].values[62], kOld) << "keys a patch lacks keep their values";
  EXPECT_STREQ(loaded.entries[3].name, "Old 4");

  EXPECT_TRUE(read(bank(64), loaded));
  EXPECT_FALSE(read(bank(65), loaded));
  EXPECT_FALSE(read(bank(64).substr(0, bank(64).size() - 3), loaded));
  EXPECT_FALSE(read(kHeader + patch("A"), loaded)) << "end of file instead of </bank>";
}

TEST(BankFile, KeysAndValueTexts) {
  BankImage loaded = image();
  ASSERT_TRUE(read(kHeader +
                       patch("A", "<p i=\"volume\">half</p><p i=\"mystery\">0.125</p><p i=\"chor mix\">0.1</p>"
                                  "<p i=\"chor mix\">+0.2</p><p i=\"amp release\">  0.5e0abc</p>"
                                  "<p i=\"amp velo\">0.3</p><p i=\"Volume\">1</p>"
                                  "<p i=\"osc1 vol\">7.5</p><p i=\"osc2 vol\">-2</p><p i=\"osc3 vol\">nan</p>"
                                  "<p i=\"filt velo\">1e999</p>") +
                       "</bank>",
                   loaded));
  const float* v = loaded.entries[0].values;
  EXPECT_EQ(v[63], 0.0f) << "no number reads as 0.0";
  EXPECT_EQ(v[0], 1.0f) << "unknown keys, case included, land on entry 0; the last one wins";
  EXPECT_EQ(v[31], 0.2f);
  EXPECT_EQ(v[62], 0.5f);
  EXPECT_EQ(v[36], 0.3f);
  // Values are held to the parameter range, and no NaN gets through.
  EXPECT_EQ(v[3], 1.0f);
  EXPECT_EQ(v[7], 0.0f);
  EXPECT_EQ(v[11], 0.0f);
  EXPECT_EQ(v[45], 1.0f);
}

TEST(BankFile, WhiteSpaceRules) {
  const std::string loose = " \r\n< \tbank \n product =\t\"x\"\n version = \"y\" >\n"
                            "<  patch name = \"Loose\"\n number = \"7\" \n>\n"
                            "<\n\tp  \t i \n= \"volume\" >  0.625  < / p\n >\n< /patch>\n</bank>";
  BankImage loaded = image();
  ASSERT_TRUE(read(loose, loaded));
  EXPECT_STREQ(loaded.entries[0].name, "Loose");
  EXPECT_EQ(loaded.entries[0].values[63], 0.625f);

  // Right after the 'p' of a value line only a blank will do.
  EXPECT_FALSE(read(kHeader + patch("A", "<p\ti=\"volume\">0.6</p>") + "</bank>", loaded));
  EXPECT_FALSE(read("<b ank product=\"a\" version=\"b\"></bank>", loaded));
}

TEST(BankFile, AnyProductAndVersion) {
  BankImage loaded = image();
  EXPECT_TRUE(read("<bank product=\"someone else's\" version=\"7.3.2-beta\"></bank>", loaded));
  EXPECT_TRUE(read("<bank qroduct=\"\" version=\"\"></bank>", loaded)) << "product's first letter is not checked";
  EXPECT_FALSE(read("<bank product=\"a\" versio=\"b\"></bank>", loaded));
  EXPECT_FALSE(read("<bank product=\"never closed", loaded));
}

TEST(BankFile, NamesWithMarkupCharactersSurviveARoundTrip) {
  BankImage original = image();
  std::strcpy(original.entries[0].name, "Say \"Hi\" <&> &amp;");
  const std::string text = formatBank(original);
  EXPECT_NE(text.find("name=\"Say &quot;Hi&quot; &lt;&amp;&gt; &amp;amp;\""), std::string::npos);
  EXPECT_NE(text.find("name=\"Old 2\""), std::string::npos);

  BankImage loaded{};
  ASSERT_TRUE(read(text, loaded));
  EXPECT_STREQ(loaded.entries[0].name, original.entries[0].name);
  ASSERT_TRUE(read(kHeader + patch("&apos;x&lt") + "</bank>", loaded));
  EXPECT_STREQ(loaded.entries[0].name, "&apos;x&lt") << "only the four written entities are decoded";
}

TEST(BankFile, OverlongTextsAreCut) {
  const std::string huge(5000, 'n');
  BankImage loaded = image();
  ASSERT_TRUE(read("<bank product=\"" + huge + "\" version=\"" + huge + "\"><patch name=\"" + huge +
                       "\" number=\"" + huge + "\"><p i=\"" + huge + "\">" + huge + "</p></patch></bank>",
                   loaded));
  EXPECT_EQ(std::strlen(loaded.entries[0].name), size_t(kImageNameSize - 1));
  EXPECT_EQ(loaded.entries[0].values[0], 0.0f);

  std::string accented;
  for (int i = 0; i < 40; ++i)
    accented += "\xc3\xa9";
  ASSERT_TRUE(read(kHeader + patch(accented) + "</bank>", loaded));
  EXPECT_EQ(std::string(loaded.entries[0].name), accented.substr(0, 62)) << "no character is split";
}
