// The helpers the Ardour tests use to read and replace a plug-in's saved state
// in a session, and to measure held notes, checked without Ardour.
#include "ArdourFixture.h"
#include "Base64.h"
#include "HeldPitches.h"
#include "SessionPluginState.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace ardourtest {
namespace {

void writeFile(const fs::path& path, const std::string& text)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

std::string littleEndian(std::uint64_t v, int count)
{
    std::string out;
    for (int k = 0; k < count; ++k)
        out += static_cast<char>((v >> (8 * k)) & 0xff);
    return out;
}

// A preset image as Ardour keeps a VST 3 plug-in's state: streams, then their list.
std::string vst3Image(const std::vector<std::pair<std::string, std::string>>& streams)
{
    std::string image = "VST3" + littleEndian(1, 4) + "5A61764772656C6D6F6E645653543301" + littleEndian(0, 8);
    std::string list = "List" + littleEndian(streams.size(), 4);
    for (const auto& [id, data] : streams) {
        list += id + littleEndian(image.size(), 8) + littleEndian(data.size(), 8);
        image += data;
    }
    const std::string offset = littleEndian(image.size(), 8);
    image.replace(40, 8, offset);
    return image + list;
}

std::string snapshot(const std::string& element, const std::string& inner)
{
    return "<Session>\n  <Processor id=\"208\" name=\"Grelmond\">\n    " + element + ">\n      " + inner +
           "\n    </x>\n  </Processor>\n</Session>\n";
}

const std::string kOld = "<bank>old</bank>\n<current program=\"9\"/>\n";
// Quotes, a backslash and a long-string quote, which Turtle must escape.
const std::string kNew = kOld + "<tuning scale=\"3\" mapping=\"0\">\n\"\"\"\\n</tuning>\n";

class SessionPluginStateTest : public ::testing::Test {
protected:
    TempFolder folder;
    std::string session() const { return folder.file("session"); }
};

TEST(Base64, EncodesDecodesAndRefusesWhatIsNotBase64)
{
    EXPECT_EQ(toBase64("Man"), "TWFu");
    EXPECT_EQ(toBase64("Ma"), "TWE=");
    EXPECT_EQ(toBase64("M"), "TQ==");
    std::string bytes;
    for (int i = 0; i < 300; ++i) {
        EXPECT_EQ(fromBase64(toBase64(bytes)), bytes) << i;
        bytes += static_cast<char>(i * 37);
    }
    EXPECT_EQ(fromBase64("TW\nFu\n"), "Man");
    EXPECT_FALSE(fromBase64("TWF"));
    EXPECT_FALSE(fromBase64("TW=u"));
    EXPECT_FALSE(fromBase64("TW*u"));
}

TEST_F(SessionPluginStateTest, Vst2ChunkIsReplacedInACopyOfTheSnapshot)
{
    const std::string original = snapshot("<lxvst last-preset-uri=\"\"", "<chunk program=\"9\">" + toBase64(kOld) + "</chunk>");
    writeFile(session() + "/grelmond.ardour", original);
    const SessionPluginState states(session(), PluginFormat::Vst2);
    EXPECT_EQ(states.read("grelmond"), kOld);
    ASSERT_TRUE(states.write("grelmond", "tuned", kNew));
    EXPECT_EQ(states.read("tuned"), kNew);
    EXPECT_EQ(textOf(session() + "/grelmond.ardour"), original);
    EXPECT_FALSE(states.write("missing", "other", kNew));
}

TEST_F(SessionPluginStateTest, Vst3ImageHasEveryStreamThatHeldTheStateReplacedAndOthersKept)
{
    const std::string image = vst3Image({{"Comp", kOld}, {"Cont", kOld}, {"Info", "<xml/>"}});
    writeFile(session() + "/grelmond.ardour", snapshot("<vst3 last-preset-uri=\"\"", "<chunk>" + toBase64(image) + "</chunk>"));
    const SessionPluginState states(session(), PluginFormat::Vst3);
    EXPECT_EQ(states.read("grelmond"), kOld);
    ASSERT_TRUE(states.write("grelmond", "tuned", kNew));
    EXPECT_EQ(states.read("tuned"), kNew);
    const std::string written = textOf(session() + "/tuned.ardour");
    const auto start = written.find("<chunk>") + 7;
    const auto bytes = fromBase64(written.substr(start, written.find("</chunk>") - start));
    ASSERT_TRUE(bytes);
    EXPECT_EQ(*bytes, vst3Image({{"Comp", kNew}, {"Cont", kNew}, {"Info", "<xml/>"}}));

    // An image whose list points outside it reads as no state.
    std::string broken = image;
    broken.replace(40, 8, littleEndian(broken.size() + 10, 8));
    writeFile(session() + "/broken.ardour", snapshot("<vst3 x=\"\"", "<chunk>" + toBase64(broken) + "</chunk>"));
    EXPECT_EQ(states.read("broken"), "");
    EXPECT_FALSE(states.write("broken", "other", kNew));
}

TEST_F(SessionPluginStateTest, Lv2StateGoesIntoANewStateFolderThatOnlyTheNewSnapshotNames)
{
    const std::string ttl = "<>\n\tstate:state [\n\t\t<urn:zavr:grelmond#bank> \"\"\"" + kOld + "\"\"\"\n\t] .\n";
    const fs::path plugin = fs::path(session()) / "plugins" / "208";
    writeFile(plugin / "state1" / "state.ttl", "older");
    writeFile(plugin / "state2" / "state.ttl", ttl);
    writeFile(plugin / "state2" / "manifest.ttl", "manifest");
    writeFile(session() + "/grelmond.ardour", snapshot("<lv2 last-preset-uri=\"\" state-dir=\"state2\"", "<Port symbol=\"a\" value=\"0\"/>"));
    const SessionPluginState states(session(), PluginFormat::Lv2);
    EXPECT_EQ(states.read("grelmond"), kOld);
    ASSERT_TRUE(states.write("grelmond", "tuned", kNew));
    EXPECT_EQ(states.read("tuned"), kNew);
    EXPECT_NE(textOf(session() + "/tuned.ardour").find("state-dir=\"state3\""), std::string::npos);
    EXPECT_EQ(textOf((plugin / "state3" / "manifest.ttl").string()), "manifest");
    EXPECT_EQ(textOf((plugin / "state2" / "state.ttl").string()), ttl);
    EXPECT_EQ(states.read("grelmond"), kOld);
}

TEST(HeldPitches, EachHeldNoteIsMeasuredAndShortOrMovingSoundsAreLeftOut)
{
    const double rate = 48000.0;
    std::vector<float> x;
    double phase = 0.0;
    // 300 ms notes, 50 ms rests, one 60 ms blip and one glide in between.
    const auto note = [&](double from, double to, double seconds) {
        const auto n = static_cast<std::size_t>(seconds * rate);
        for (std::size_t i = 0; i < n; ++i) {
            phase += 2 * M_PI * (from + (to - from) * static_cast<double>(i) / static_cast<double>(n)) / rate;
            x.push_back(static_cast<float>(0.3 * std::sin(phase)));
        }
    };
    const auto rest = [&] { x.resize(x.size() + static_cast<std::size_t>(0.05 * rate), 0.0f); };
    note(220.0, 220.0, 0.3);
    rest();
    note(500.0, 500.0, 0.06);
    rest();
    note(302.7358, 302.7358, 0.3);
    note(200.0, 800.0, 0.3);
    note(726.6279, 726.6279, 0.3);
    rest();
    const std::vector<double> pitches = heldPitches(x, rate);
    ASSERT_EQ(pitches.size(), 3u);
    EXPECT_NEAR(1200 * std::log2(pitches[0] / 220.0), 0.0, 0.01);
    EXPECT_NEAR(1200 * std::log2(pitches[1] / 302.7358), 0.0, 0.01);
    EXPECT_NEAR(1200 * std::log2(pitches[2] / 726.6279), 0.0, 0.01);
}

} // namespace
} // namespace ardourtest
