#include "storage/BankKeys.h"
#include "storage/BankReader.h"
#include "storage/BankWriter.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

using namespace grelmond;

namespace {

constexpr float kSentinel = 0.25f;

BankImage filledImage(float value, const char* namePrefix) {
  BankImage image{};
  for (int k = 0; k < kBankPatches; ++k) {
    for (float& v : image.entries[k].values)
      v = value;
    std::snprintf(image.entries[k].name, kImageNameSize, "%s %d", namePrefix, k + 1);
  }
  return image;
}

// Values with many significant digits, different in every slot.
BankImage variedImage() {
  BankImage image{};
  for (int k = 0; k < kBankPatches; ++k) {
    for (int i = 0; i < kListSize; ++i)
      image.entries[k].values[i] = std::fmod(0.123456789f * float(k * 64 + i + 1), 1.0f);
    std::snprintf(image.entries[k].name, kImageNameSize, "Sound %d", k);
  }
  return image;
}

std::string header() { return "<bank product=\"grelmond\" version=\"1.0\">\n"; }

std::string patch(const std::string& name, const std::string& lines = "\t<p i=\"volume\">0.750</p>\n") {
  return "<patch name=\"" + name + "\" number=\"1\">\n" + lines + "</patch>\n";
}

std::string bankOf(int patches) {
  std::string text = header();
  for (int k = 0; k < patches; ++k)
    text += patch("P" + std::to_string(k));
  return text + "</bank>\n";
}

bool read(const std::string& text, BankImage& image) { return readBankText(text.data(), text.size(), image); }

bool isShape(int index) { return index == 0 || index == 4 || index == 8; }
bool isUnused(int index) { return index == 25 || index == 26 || index == 27 || index == 38 || index == 48; }

} // namespace

TEST(BankFile, BankRoundTripKeepsShapesToNineDecimalsAndOthersToThree) {
  const BankImage original = variedImage();
  BankImage loaded = filledImage(kSentinel, "Old");
  ASSERT_TRUE(read(formatBank(original), loaded));
  for (int k = 0; k < kBankPatches; ++k) {
    EXPECT_STREQ(loaded.entries[k].name, original.entries[k].name);
    for (int i = 0; i < kListSize; ++i) {
      const float got = loaded.entries[k].values[i];
      const float want = original.entries[k].values[i];
      if (i == 25)
        EXPECT_EQ(got, 0.0f) << "the first \"not used\" line sets entry 25";
      else if (isUnused(i))
        EXPECT_EQ(got, kSentinel) << "entry " << i << " is never set by a file";
      else if (isShape(i))
        EXPECT_NEAR(got, want, 1e-7) << k << "/" << i;
      else
        EXPECT_NEAR(got, std::round(want * 1000.0) / 1000.0, 1e-6) << k << "/" << i;
    }
  }
}

TEST(BankFile, PatchRoundTripRoundsEveryValueToThreeDecimalsIntoTheFirstEntry) {
  const BankImage original = variedImage();
  const BankEntry& current = original.entries[7];
  BankImage loaded = filledImage(kSentinel, "Old");
  ASSERT_TRUE(read(formatPatch(current), loaded));
  EXPECT_STREQ(loaded.entries[0].name, current.name);
  auto rounded = [&](int i) { return std::round(current.values[i] * 1000.0) / 1000.0; };
  for (int i = 0; i < kListSize; ++i) {
    if (!isUnused(i)) {
      EXPECT_NEAR(loaded.entries[0].values[i], rounded(i), 1e-6) << i;
    }
  }
  EXPECT_NEAR(loaded.entries[0].values[25], rounded(48), 1e-6) << "the last \"not used\" line wins";
  EXPECT_EQ(loaded.entries[0].values[26], kSentinel);
  EXPECT_STREQ(loaded.entries[1].name, "Old 2");
  EXPECT_EQ(loaded.entries[1].values[3], kSentinel);
}

TEST(BankFile, WrittenTextHasTheFileLayout) {
  BankImage image = filledImage(0.5f, "Init");
  const std::string bank = formatBank(image);
  EXPECT_EQ(bank.rfind(header(), 0), 0u);
  EXPECT_NE(bank.find("<patch name=\"Init 1\" number=\"1\">\n\t<p i=\"osc1 shape\">0.500000000</p>\n"
                      "\t<p i=\"osc1 coarse\">0.500</p>\n"),
            std::string::npos);
  EXPECT_NE(bank.find("\t<p i=\"perf porta\">0.500</p>\n\t<p i=\"not used\">0.0</p>\n"), std::string::npos);
  EXPECT_NE(bank.find("\t<p i=\"amp velo\">0.500</p>\n\t<p i=\"flang sync\">0.500</p>\n"), std::string::npos);
  EXPECT_NE(bank.find("number=\"64\""), std::string::npos);
  EXPECT_TRUE(bank.ends_with("\t<p i=\"volume\">0.500</p>\n</patch>\n</bank>\n"));

  const std::string single = formatPatch(image.entries[0]);
  EXPECT_NE(single.find("number=\"0\""), std::string::npos);
  EXPECT_NE(single.find("\t<p i=\"osc1 shape\">0.500</p>\n"), std::string::npos);
  EXPECT_NE(single.find("\t<p i=\"not used\">0.500</p>\n"), std::string::npos);
}

TEST(BankFile, PatchCountRules) {
  BankImage image = filledImage(kSentinel, "Old");
  ASSERT_TRUE(read(bankOf(3), image));
  EXPECT_STREQ(image.entries[2].name, "P2");
  EXPECT_EQ(image.entries[2].values[63], 0.75f);
  EXPECT_STREQ(image.entries[3].name, "Old 4");
  EXPECT_EQ(image.entries[3].values[63], kSentinel);
  EXPECT_EQ(image.entries[0].values[62], kSentinel) << "keys a patch lacks keep their values";

  EXPECT_TRUE(read(bankOf(0), image));
  EXPECT_TRUE(read(bankOf(64), image));
  EXPECT_FALSE(read(bankOf(65), image));
  std::string unterminated = bankOf(64);
  unterminated.resize(unterminated.size() - 8);
  EXPECT_FALSE(read(unterminated, image));
  EXPECT_FALSE(read(header() + patch("A"), image)) << "end of file instead of </bank>";
}

TEST(BankFile, KeysAddressTheirListIndex) {
  EXPECT_EQ(keyIndex("osc1 shape"), 0);
  EXPECT_EQ(keyIndex("amp velo"), 36);
  EXPECT_EQ(keyIndex("flang sync"), 37);
  EXPECT_EQ(keyIndex("volume"), 63);
  EXPECT_EQ(keyIndex("not used"), 25);
  EXPECT_EQ(keyIndex("Volume"), 0);
  EXPECT_EQ(keyIndex("no such key"), 0);

  BankImage image = filledImage(kSentinel, "Old");
  ASSERT_TRUE(read(header() +
                       patch("A", "<p i=\"volume\">half</p><p i=\"mystery\">0.125</p>"
                                  "<p i=\"chor mix\">0.1</p><p i=\"chor mix\">0.2</p>"
                                  "<p i=\"amp release\">  0.5e0abc</p>") +
                       "</bank>",
                   image));
  EXPECT_EQ(image.entries[0].values[63], 0.0f) << "no number reads as 0.0";
  EXPECT_EQ(image.entries[0].values[0], 0.125f) << "unknown keys land on entry 0";
  EXPECT_EQ(image.entries[0].values[31], 0.2f) << "the last repeated key wins";
  EXPECT_EQ(image.entries[0].values[62], 0.5f);
}

TEST(BankFile, WhiteSpaceIsAcceptedWhereTheReaderSkipsIt) {
  const std::string loose = " \r\n< \tbank \n product =\t\"x\"\n version = \"y\" >\n"
                            "<  patch name = \"Loose\"\n number = \"7\" \n>\n"
                            "<\n\tp  \t i \n= \"volume\" >  0.625  < / p\n >\n"
                            "< /patch>\n</bank>";
  BankImage image = filledImage(kSentinel, "Old");
  ASSERT_TRUE(read(loose, image));
  EXPECT_STREQ(image.entries[0].name, "Loose");
  EXPECT_EQ(image.entries[0].values[63], 0.625f);
}

TEST(BankFile, TabAfterTheValueTagFailsThePatch) {
  BankImage image = filledImage(kSentinel, "Old");
  EXPECT_FALSE(read(header() + patch("A", "<p\ti=\"volume\">0.6</p>") + "</bank>", image));
  EXPECT_EQ(image.entries[0].values[63], kSentinel);
  EXPECT_FALSE(read(header() + patch("A", "<p\n i=\"volume\">0.6</p>") + "</bank>", image));
}

TEST(BankFile, AnyProductAndVersionAreAccepted) {
  BankImage image = filledImage(kSentinel, "Old");
  EXPECT_TRUE(read("<bank product=\"someone else's\" version=\"7.3.2-beta\">" + patch("A") + "</bank>", image));
  EXPECT_TRUE(read("<bank qroduct=\"\" version=\"\"></bank>", image)) << "the first letter of product is not checked";
  EXPECT_FALSE(read("<bank product=\"a\" versio=\"b\"></bank>", image));
  EXPECT_FALSE(read("<bank product=\"a\" version=\"b\"", image));
  EXPECT_FALSE(read("<bank product=\"never closed", image));
  EXPECT_FALSE(read("", image));
  EXPECT_FALSE(read("<bonk product=\"a\" version=\"b\"></bank>", image));
}

TEST(BankFile, NamesWithMarkupCharactersSurviveARoundTrip) {
  BankImage image = filledImage(0.5f, "Init");
  std::strcpy(image.entries[0].name, "Say \"Hi\" <&> &amp;");
  std::strcpy(image.entries[1].name, "Plain name");
  const std::string text = formatBank(image);
  EXPECT_NE(text.find("name=\"Say &quot;Hi&quot; &lt;&amp;&gt; &amp;amp;\""), std::string::npos);
  EXPECT_NE(text.find("name=\"Plain name\""), std::string::npos);

  BankImage loaded = filledImage(kSentinel, "Old");
  ASSERT_TRUE(read(text, loaded));
  EXPECT_STREQ(loaded.entries[0].name, "Say \"Hi\" <&> &amp;");
  EXPECT_STREQ(loaded.entries[1].name, "Plain name");

  ASSERT_TRUE(read(header() + patch("&apos;x&lt") + "</bank>", loaded));
  EXPECT_STREQ(loaded.entries[0].name, "&apos;x&lt") << "only the four written entities are decoded";
}

TEST(BankFile, OverlongTextsAreCut) {
  const std::string huge(5000, 'n');
  BankImage image = filledImage(kSentinel, "Old");
  ASSERT_TRUE(read("<bank product=\"" + huge + "\" version=\"" + huge + "\">" +
                       "<patch name=\"" + huge + "\" number=\"" + huge + "\">" +
                       "<p i=\"" + huge + "\">" + huge + "</p>" + "<p i=\"volume\">0." + huge + "</p>" +
                       "</patch></bank>",
                   image));
  EXPECT_EQ(std::strlen(image.entries[0].name), size_t(kImageNameSize - 1));
  EXPECT_EQ(image.entries[0].values[0], 0.0f) << "a cut key is unknown and its text no number";

  // A cut never splits a character of a multi-byte name.
  std::string accented;
  for (int i = 0; i < 40; ++i)
    accented += "\xc3\xa9";
  ASSERT_TRUE(read(header() + patch(accented) + "</bank>", image));
  EXPECT_EQ(std::string(image.entries[0].name), accented.substr(0, 62));
}

TEST(BankFile, ValuesAreHeldToTheParameterRange) {
  BankImage image = filledImage(kSentinel, "Old");
  ASSERT_TRUE(read(header() +
                       patch("A", "<p i=\"osc1 vol\">7.5</p><p i=\"osc2 vol\">-2</p><p i=\"osc3 vol\">nan</p>"
                                  "<p i=\"volume\">1e999</p><p i=\"chor mix\">+0.25</p>") +
                       "</bank>",
                   image));
  EXPECT_EQ(image.entries[0].values[3], 1.0f);
  EXPECT_EQ(image.entries[0].values[7], 0.0f);
  EXPECT_EQ(image.entries[0].values[11], 0.0f);
  EXPECT_TRUE(std::isfinite(image.entries[0].values[63]));
  EXPECT_EQ(image.entries[0].values[31], 0.25f);
}

TEST(BankFile, FilesOnDisk) {
  TempFolder folder;
  const BankImage original = variedImage();
  ASSERT_TRUE(writeBank(folder.file("a.grb"), original));
  BankImage loaded = filledImage(kSentinel, "Old");
  ASSERT_TRUE(readBank(folder.file("a.grb"), loaded));
  EXPECT_STREQ(loaded.entries[63].name, "Sound 63");

  EXPECT_FALSE(readBank(folder.file("missing.grb"), loaded));
  EXPECT_FALSE(readBank(folder.path(), loaded)) << "a folder is no bank";
  EXPECT_FALSE(writeBank(folder.file("no/such/folder.grb"), original));
  EXPECT_FALSE(writePatch(folder.path(), original.entries[0]));
}
