#include "storage/KeyboardMapping.h"
#include "storage/ScalaScale.h"
#include "storage/ScalaTuning.h"

#include "TestPaths.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>

using namespace grelmond;

namespace {

std::string shipped(const std::string& name)
{
    std::ifstream in(std::string(testpaths::sourceDir()) + "/resources/tunings/" + name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

double cents(double ratio) { return 1200.0 * std::log2(ratio); }

ScalaScale scaleOf(const std::string& text)
{
    ScalaScale s;
    EXPECT_TRUE(ScalaScale::parse(text, s).ok()) << text;
    return s;
}

KeyboardMapping mappingOf(const std::string& text)
{
    KeyboardMapping m;
    EXPECT_TRUE(KeyboardMapping::parse(text, m).ok()) << text;
    return m;
}

// A scale that a failed parse must leave alone.
ScalaScale marker() { return scaleOf("marker\n1\n3/2\n"); }

const char* kMeantone = "! meanquar.scl\n!\n1/4-comma meantone scale. Pietro Aaron's temperament (1523)\n 12\n!\n"
                        " 76.04900\n 193.15686\n 310.26471\n 5/4\n 503.42157\n 579.47057\n 696.57843\n"
                        " 25/16\n 889.73529\n 1006.84314\n 1082.89214\n 2/1\n";

const char* kWhiteKeys = "! white keys only, A = 440 Hz\n12\n0\n127\n60\n69\n440.0\n7\n"
                         "0\nx\n1\nx\n2\n3\nx\n4\nx\n5\nx\n6\n";

} // namespace

TEST(ScalaScale, ReadsThePublishedExampleAndEveryPitchForm)
{
    ScalaScale s = scaleOf(kMeantone);
    EXPECT_EQ(s.description(), "1/4-comma meantone scale. Pietro Aaron's temperament (1523)");
    ASSERT_EQ(s.size(), 12);
    EXPECT_DOUBLE_EQ(s.degreeCents(1), 76.049);
    EXPECT_NEAR(s.degreeCents(4), cents(1.25), 1e-9);
    EXPECT_DOUBLE_EQ(s.period(), 1200.0);
    EXPECT_NEAR(s.degreeCents(16), 1200.0 + cents(1.25), 1e-9);
    EXPECT_NEAR(s.degreeCents(-8), -1200.0 + cents(1.25), 1e-9);

    // The published list of valid pitch lines, and what each one means.
    const struct {
        const char* line;
        double cents;
    } lines[] = {{"81/64", cents(81.0 / 64)}, {"408.0", 408.0},         {"408.", 408.0},
                 {"5", cents(5.0)},           {"-5.0", -5.0},           {"10/20", -1200.0},
                 {"100.0 cents", 100.0},      {" 100.0 C#", 100.0},     {" 5/4   E\\", cents(1.25)},
                 {"\t.5", 0.5},               {"3/2fifth", cents(1.5)}, {"2147483647/2147483646", cents(2147483647.0 / 2147483646)}};
    for (const auto& l : lines) {
        ScalaScale one = scaleOf(std::string("\n1\n") + l.line + "\r\n");
        EXPECT_TRUE(one.description().empty());
        EXPECT_NEAR(one.degreeCents(1), l.cents, 1e-9) << l.line;
    }

    // No degrees at all is allowed: 1/1 alone. Lines after the count are ignored.
    EXPECT_EQ(scaleOf("empty\n0\n").size(), 0);
    EXPECT_EQ(scaleOf("two\n 2 \n3/2\n2\n700.0\nextra\n").size(), 2);
}

TEST(ScalaScale, RefusesBadFilesAndChangesNothing)
{
    const struct {
        std::string text;
        ScalaError error;
    } bad[] = {
        {"", ScalaError::missingLine},
        {"! only comments\n", ScalaError::missingLine},
        {"desc\n", ScalaError::missingLine},
        {"desc\ntwelve\n", ScalaError::badNumber},
        {"desc\n-1\n", ScalaError::outOfRange},
        {"desc\n1001\n", ScalaError::tooManyDegrees},
        {"desc\n99999999999999999999999\n", ScalaError::badNumber},
        {"desc\n3\n100.0\n200.0\n", ScalaError::countMismatch},
        {"desc\n1\nnan\n", ScalaError::badNumber},
        {"desc\n1\ninf\n", ScalaError::badNumber},
        {"desc\n1\n-inf.0\n", ScalaError::badNumber},
        {"desc\n1\n.\n", ScalaError::badNumber},
        {"desc\n1\n0/1\n", ScalaError::nonPositiveRatio},
        {"desc\n1\n3/0\n", ScalaError::nonPositiveRatio},
        {"desc\n1\n-3/2\n", ScalaError::nonPositiveRatio},
        {"desc\n1\n3/-2\n", ScalaError::nonPositiveRatio},
        {"desc\n1\n0\n", ScalaError::nonPositiveRatio},
        {"desc\n1\n3/x\n", ScalaError::badNumber},
        {"desc\n1\n" + std::string(400, '9') + ".0\n", ScalaError::badNumber},
        {"desc\n1\n123456789012345678901234567890/1\n", ScalaError::badNumber},
        {"desc\n1\n99999999.0\n", ScalaError::outOfRange},
        {"desc\n1\n" + std::string(70000, '1') + ".0\n", ScalaError::tooLarge},
    };
    for (const auto& b : bad) {
        ScalaScale s = marker();
        ScalaStatus status = ScalaScale::parse(b.text, s);
        EXPECT_EQ(status.error, b.error) << b.text.substr(0, 60);
        EXPECT_FALSE(status.message().empty());
        EXPECT_EQ(s.description(), "marker");
        EXPECT_EQ(s.size(), 1);
    }
    EXPECT_EQ((ScalaStatus{ScalaError::nonPositiveRatio, 5}.message()), "Line 5: a ratio must be positive.");
}

// Every prefix of a valid file either reads as a (shorter) valid scale or is
// refused with the scale unchanged; none reads past its end (ASan build).
TEST(ScalaScale, EveryTruncationIsReadOrRefusedCleanly)
{
    const std::string full = kMeantone;
    for (std::size_t n = 0; n < full.size(); ++n) {
        std::string cut = full.substr(0, n); // its own buffer, so reading past it shows
        ScalaScale s = marker();
        if (ScalaScale::parse(cut, s).ok()) {
            EXPECT_EQ(s.size(), 12) << n;
        } else {
            EXPECT_EQ(s.description(), "marker") << n;
        }
    }
}

TEST(KeyboardMapping, ReadsUnmappedKeysShortMapsAndLinearMaps)
{
    ScalaScale seven = scaleOf("7 white keys\n7\n9/8\n5/4\n4/3\n3/2\n5/3\n15/8\n2/1\n");
    TuningTable t;
    ASSERT_TRUE(ScalaTuning::build(seven, mappingOf(kWhiteKeys), t).ok());
    EXPECT_FALSE(t.mapped(61));
    EXPECT_FALSE(t.mapped(66));
    EXPECT_TRUE(t.mapped(62));
    EXPECT_FLOAT_EQ(t.deviation(69), 0.0f); // the reference key at 440 Hz
    // C is a major sixth below A; the next octave's C comes from the formal octave (degree 7).
    EXPECT_NEAR(60 + t.deviation(60), 69 - cents(5.0 / 3) / 100, 1e-5);
    EXPECT_NEAR(72 + t.deviation(72), 69 - cents(5.0 / 3) / 100 + 12, 1e-5);
    EXPECT_NEAR(47 + t.deviation(47), 69 - cents(5.0 / 3) / 100 - 24 + cents(15.0 / 8) / 100, 1e-5);

    // A map shorter than its size leaves the rest unmapped; a range leaves keys outside it silent.
    TuningTable shortMap;
    ASSERT_TRUE(ScalaTuning::build(seven, mappingOf("12\n36\n96\n60\n60\n261.6256\n7\n0\n! rest missing\n"), shortMap).ok());
    EXPECT_TRUE(shortMap.mapped(60));
    EXPECT_TRUE(shortMap.mapped(72));
    EXPECT_FALSE(shortMap.mapped(61));
    EXPECT_FALSE(shortMap.mapped(24));
    EXPECT_FALSE(shortMap.mapped(108));

    // A linear map with a reference other than the middle note, and a period other than 2/1.
    ScalaScale bp = scaleOf(shipped("bohlen-pierce.scl"));
    TuningTable linear;
    ASSERT_TRUE(ScalaTuning::build(bp, mappingOf("0\n0\n127\n60\n62\n300\n0\n"), linear).ok());
    const double ref = 69 + 12 * std::log2(300.0 / 440);
    EXPECT_NEAR(62 + linear.deviation(62), ref, 1e-5);
    EXPECT_NEAR(60 + linear.deviation(60), ref - cents(25.0 / 21) / 100, 1e-5);
    EXPECT_NEAR(73 + linear.deviation(73), ref - cents(25.0 / 21) / 100 + cents(3.0) / 100, 1e-5);
    for (int key = 0; key < 128; ++key)
        EXPECT_TRUE(linear.mapped(key));
}

TEST(KeyboardMapping, RefusesBadMappingsAndChangesNothing)
{
    const char* bad[] = {
        "",                                   // nothing
        "0\n0\n127\n60\n69\n",                // ends before the frequency
        "0\n0\n128\n60\n69\n440\n0\n",        // key beyond 127
        "0\n0\n127\n60\n-1\n440\n0\n",        // negative key
        "1001\n0\n127\n60\n69\n440\n0\n",     // map too large
        "0\n0\n127\n60\n69\n0\n0\n",          // zero frequency
        "0\n0\n127\n60\n69\n-440\n0\n",       // negative frequency
        "0\n0\n127\n60\n69\nnan\n0\n",        // not a number
        "0\n0\n127\n60\n69\ninf\n0\n",
        "2\n0\n127\n60\n69\n440\n0\n0\ny\n",  // an entry that is neither a degree nor x
        "0\n0\n127\n60.5\n69\n440\n0\n",      // a fractional key
    };
    for (const char* text : bad) {
        KeyboardMapping m = KeyboardMapping::standard();
        EXPECT_FALSE(KeyboardMapping::parse(text, m).ok()) << text;
        EXPECT_EQ(m.referenceKey(), 60) << text;
    }
    // The reference key itself unmapped: there is nothing to tune from.
    TuningTable t;
    t.unmap(5);
    const TuningTable before = t;
    ScalaStatus s = ScalaTuning::build(ScalaScale::equalTemperament(),
                                       mappingOf("12\n0\n127\n60\n61\n440\n12\n0\nx\n2\n"), t);
    EXPECT_EQ(s.error, ScalaError::unmappedReference);
    EXPECT_EQ(t, before);

    const std::string full = kWhiteKeys;
    for (std::size_t n = 0; n < full.size(); ++n) {
        std::string cut = full.substr(0, n);
        KeyboardMapping m = KeyboardMapping::standard();
        if (!KeyboardMapping::parse(cut, m).ok()) {
            EXPECT_EQ(m.referenceKey(), 60) << n;
        }
    }
}

// Without a mapping, 12 equal steps leave every note exactly where it is, and
// the first degree sits on note 60.
TEST(ScalaTuning, EqualStepsOfTwelveChangeNothingAndOthersMoveFromMiddleC)
{
    TuningTable t;
    t.unmap(3);
    const char* twelve = "12-tet\n12\n100.0\n200.\n300.0\n400.0\n500.0\n600.0\n700.0\n800.0\n900.0\n1000.0\n1100.0\n2/1\n";
    ASSERT_TRUE(ScalaTuning::build(scaleOf(twelve), KeyboardMapping::standard(), t).ok());
    EXPECT_TRUE(t.isEqualTemperament());

    TuningTable nineteen;
    ASSERT_TRUE(ScalaTuning::build(scaleOf(shipped("equal-19.scl")), KeyboardMapping::standard(), nineteen).ok());
    EXPECT_FLOAT_EQ(nineteen.deviation(60), 0.0f);
    EXPECT_NEAR(79 + nineteen.deviation(79), 72.0, 1e-5);
    EXPECT_NEAR(61 + nineteen.deviation(61), 60 + 12.0 / 19, 1e-5);
    EXPECT_NEAR(0 + nineteen.deviation(0), 60 - 60 * 12.0 / 19, 1e-5);
}

TEST(ScalaTuning, ShippedTuningsAllRead)
{
    for (const char* name : {"just-12.scl", "meantone-quarter-comma.scl", "equal-19.scl", "equal-31.scl",
                             "bohlen-pierce.scl"}) {
        ScalaScale s;
        ASSERT_TRUE(ScalaScale::parse(shipped(name), s).ok()) << name;
        EXPECT_FALSE(s.description().empty()) << name;
        TuningTable t;
        EXPECT_TRUE(ScalaTuning::build(s, mappingOf(shipped("a440-c-tonic.kbm")), t).ok()) << name;
        EXPECT_FLOAT_EQ(t.deviation(69), 0.0f) << name;
    }
    ScalaScale meantone = scaleOf(shipped("meantone-quarter-comma.scl"));
    EXPECT_NEAR(meantone.degreeCents(7), 1200.0 * std::log2(5.0) / 4, 1e-5); // the narrowed fifth
    EXPECT_NEAR(meantone.degreeCents(3), 2400.0 - 3 * 1200.0 * std::log2(5.0) / 4, 1e-5);
}
