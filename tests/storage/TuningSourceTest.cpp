#include "storage/TuningFiles.h"
#include "storage/TuningSource.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace grelmond;

namespace {

const char* kScale = "! a scale\nSeven, with <tuning scale=\"1\" in its name\n7\n9/8\n5/4\n4/3\n3/2\n5/3\n15/8\n2/1\n";
const char* kMapping = "12\n0\n127\n60\n69\n440.0\n7\n0\nx\n1\nx\n2\n3\nx\n4\nx\n5\nx\n6\n";

} // namespace

// Scale and mapping go into the state text after whatever precedes them and
// come back as the same table; a state without them is equal temperament.
TEST(TuningSource, StateSectionRoundTripsAndItsAbsenceMeansEqualTemperament)
{
    TuningSource source;
    EXPECT_TRUE(source.stateSection().empty());
    ASSERT_TRUE(source.setMapping(kMapping).ok());
    ASSERT_TRUE(source.setScale(kScale).ok());
    EXPECT_EQ(source.description(), "Seven, with <tuning scale=\"1\" in its name");
    EXPECT_FALSE(source.table().mapped(61));

    const std::string bank = "<bank>\n...programs...\n</bank>\n7\n";
    const std::string state = bank + source.stateSection();
    TuningSource restored;
    std::size_t start = 0;
    ASSERT_TRUE(restored.readStateSection(state, start));
    EXPECT_EQ(start, bank.size());
    EXPECT_EQ(restored.table(), source.table());
    EXPECT_EQ(restored.description(), source.description());
    EXPECT_EQ(restored.stateSection(), source.stateSection());

    ASSERT_TRUE(restored.readStateSection(bank, start));
    EXPECT_EQ(start, bank.size());
    EXPECT_TRUE(restored.isEqualTemperament());
    EXPECT_TRUE(restored.table().isEqualTemperament());

    // Cut anywhere inside the section: equal temperament, never a crash.
    for (std::size_t n = bank.size() + 1; n < state.size(); ++n) {
        restored.readStateSection(state.substr(0, n), start);
        EXPECT_TRUE(restored.table().isEqualTemperament()) << n;
    }
}

TEST(TuningSource, RefusedFilesKeepTheTuningAndResetReturnsToEqualTemperament)
{
    TuningSource source;
    ASSERT_TRUE(source.setScale(kScale).ok());
    const TuningTable before = source.table();
    EXPECT_EQ(source.setScale("bad\n2\n3/2\n").error, ScalaError::countMismatch);
    const ScalaStatus unmapped = source.setMapping("12\n0\n127\n60\n61\n440\n12\n0\nx\n");
    EXPECT_EQ(unmapped.error, ScalaError::unmappedReference);
    EXPECT_EQ(unmapped.message(), "The reference key is unmapped.") << "a fault of no one line names none";
    EXPECT_EQ(source.table(), before);
    EXPECT_EQ(source.description(), "Seven, with <tuning scale=\"1\" in its name");
    source.reset();
    EXPECT_TRUE(source.table().isEqualTemperament());
    EXPECT_TRUE(source.description().empty());
}

TEST(TuningFiles, NamesResolveLikeBanksWithTheShippedTuningsAsFallback)
{
    TempFolder install, mine;
    std::filesystem::create_directory(install.file("tunings"));
    install.write("tunings/shipped.scl", "shipped\n1\n2/1\n");
    mine.write("own.scl", "own\n1\n3/1\n");
    mine.write("huge.scl", std::string(ScalaText::kMaxBytes + 100, '!'));
    TuningFiles files(install.path());

    EXPECT_EQ(files.read("shipped.scl"), "shipped\n1\n2/1\n"); // nothing remembered yet
    EXPECT_EQ(files.read(mine.file("own.scl").c_str()), "own\n1\n3/1\n");
    EXPECT_EQ(files.read("own.scl"), "own\n1\n3/1\n"); // its folder is remembered now
    EXPECT_EQ(files.read("shipped.scl"), "shipped\n1\n2/1\n");
    EXPECT_FALSE(files.read("missing.scl"));
    EXPECT_FALSE(files.read(mine.file("missing.scl").c_str()));
    EXPECT_FALSE(files.read(""));
    const auto huge = files.read("huge.scl");
    ASSERT_TRUE(huge);
    TuningSource source;
    EXPECT_EQ(source.setScale(*huge).error, ScalaError::tooLarge);
    EXPECT_FALSE(files.read(mine.path().c_str())); // a folder
}

