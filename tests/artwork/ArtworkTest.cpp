#include "BmpReader.h"
#include "TestPaths.h"

#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

struct ResourceShape {
    int id, width, height, frames;
};

const std::vector<ResourceShape> kResources = {
    {213, 629, 484, 1}, {216, 121, 11, 1}, {217, 11, 11, 1},  {218, 11, 11, 1},  {219, 11, 73, 1},
    {222, 16, 32, 2},   {226, 21, 2484, 92}, {227, 21, 104, 4}, {230, 19, 38, 2}, {231, 19, 38, 2},
    {232, 26, 26, 2},   {233, 13, 26, 2},  {235, 32, 26, 2},
};

std::string resourcePath(int id) {
    return std::string(testpaths::sourceDir()) + "/resources/" + std::to_string(id) + ".bmp";
}

BmpPicture load(int id) {
    BmpPicture pic = readBmp(resourcePath(id));
    EXPECT_TRUE(pic.loaded) << resourcePath(id);
    return pic;
}

bool framesEqual(const BmpPicture& pic, int frameHeight, int a, int b) {
    for (int y = 0; y < frameHeight; ++y)
        for (int x = 0; x < pic.width; ++x)
            if (!(pic.at(x, a * frameHeight + y) == pic.at(x, b * frameHeight + y))) return false;
    return true;
}

struct Rect {
    int x, y, w, h;
};

// Where the editor puts its controls over the background.
const std::vector<Rect> kKnobs = {
    {113, 132, 21, 27}, {143, 132, 21, 27}, {173, 132, 21, 27}, {113, 160, 21, 27}, {143, 160, 21, 27},
    {173, 160, 21, 27}, {113, 188, 21, 27}, {143, 188, 21, 27}, {173, 188, 21, 27}, {374, 144, 21, 27},
    {374, 188, 21, 27}, {236, 243, 21, 27}, {266, 243, 21, 27}, {296, 243, 21, 27}, {326, 243, 21, 27},
    {254, 306, 21, 27}, {284, 306, 21, 27}, {314, 306, 21, 27}, {344, 306, 21, 27}, {520, 357, 21, 27},
    {356, 243, 21, 27}, {344, 336, 21, 27}, {191, 243, 21, 27}, {323, 137, 21, 27}, {284, 336, 21, 27},
    {71, 243, 21, 27},  {101, 243, 21, 27}, {131, 243, 21, 27}, {161, 243, 21, 27}, {520, 395, 21, 27},
};
const std::vector<Rect> kWaveSwitches = {{83, 132, 21, 26}, {83, 160, 21, 26}, {83, 188, 21, 26}};
const std::vector<Rect> kToggles = {{257, 341, 16, 16}, {522, 336, 16, 16}, {325, 194, 16, 16},
                                    {325, 168, 16, 16}, {473, 261, 16, 16}, {413, 261, 16, 16}};
const std::vector<Rect> kSliders = {
    {73, 330, 121, 11},  {73, 308, 121, 11},  {73, 371, 121, 11},  {433, 308, 11, 73},  {457, 308, 11, 73},
    {481, 308, 11, 73},  {505, 308, 11, 73},  {73, 393, 121, 11},  {73, 415, 121, 11},  {236, 137, 11, 73},
    {260, 137, 11, 73},  {284, 137, 11, 73},  {308, 137, 11, 73},  {413, 133, 121, 11}, {413, 177, 121, 11},
    {413, 155, 121, 11}, {413, 199, 121, 11}, {413, 243, 121, 11}, {413, 221, 121, 11}, {247, 393, 121, 11},
};
const std::vector<Rect> kButtons = {{234, 61, 19, 19}, {283, 61, 19, 19}, {396, 403, 26, 13},
                                    {424, 401, 13, 13}, {444, 403, 32, 13}, {478, 401, 13, 13}};
// Value displays and text fields paint the face colour over their whole rectangle.
const std::vector<Rect> kFaceWindows = {
    {197, 308, 25, 9}, {197, 330, 25, 9}, {540, 133, 25, 9}, {540, 155, 25, 9}, {540, 177, 25, 9},
    {540, 199, 25, 9}, {540, 221, 25, 9}, {540, 243, 25, 9}, {266, 366, 85, 9}, {150, 63, 75, 11},
    {379, 63, 141, 11}, {259, 63, 16, 11},
};
const Rect kStatusLine{51, 470, 469, 13};

std::vector<Rect> allControls() {
    std::vector<Rect> all;
    for (const auto* group : {&kKnobs, &kWaveSwitches, &kToggles, &kSliders, &kButtons, &kFaceWindows})
        all.insert(all.end(), group->begin(), group->end());
    all.push_back(kStatusLine);
    return all;
}

bool inside(const Rect& r, int x, int y) { return x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h; }

} // namespace

TEST(ArtworkResources, EveryBitmapHasItsSizeFormatAndFrameLayout) {
    for (const ResourceShape& shape : kResources) {
        SCOPED_TRACE(shape.id);
        const BmpPicture pic = load(shape.id);
        EXPECT_EQ(pic.width, shape.width);
        EXPECT_EQ(pic.height, shape.height);
        EXPECT_EQ(pic.bitsPerPixel, 24);
        EXPECT_EQ(pic.compression, 0);
        EXPECT_TRUE(pic.sizeConsistent);
        EXPECT_EQ(pic.height % shape.frames, 0);
    }
}

TEST(ArtworkResources, PureWhiteOnlyAtTheCutCornersOfSliderHandles) {
    for (const ResourceShape& shape : kResources) {
        SCOPED_TRACE(shape.id);
        const BmpPicture pic = load(shape.id);
        if (!pic.loaded) continue;
        const bool handle = shape.id == 217 || shape.id == 218;
        int white = 0;
        for (int y = 0; y < pic.height; ++y)
            for (int x = 0; x < pic.width; ++x) {
                if (!pic.isWhite(x, y)) continue;
                ++white;
                const bool onEdge = x == 0 || y == 0 || x == pic.width - 1 || y == pic.height - 1;
                EXPECT_TRUE(handle && onEdge) << "white at " << x << "," << y;
            }
        if (handle) {
            EXPECT_GT(white, 0);
            EXPECT_TRUE(pic.isWhite(0, 0) && pic.isWhite(10, 10));
        }
    }
}

TEST(ArtworkKnob, PointerSweepsClockwiseFrom225To315Degrees) {
    const BmpPicture pic = load(226);
    if (!pic.loaded) return;
    const double centre = 10.5;
    for (int frame = 0; frame < 92; ++frame) {
        SCOPED_TRACE(frame);
        // The pointer is the bright mark on the dark cap.
        double sx = 0, sy = 0, n = 0;
        for (int y = 0; y < 21; ++y)
            for (int x = 0; x < 21; ++x) {
                const double dx = x + 0.5 - centre, dy = y + 0.5 - centre;
                const auto p = pic.at(x, frame * 27 + y);
                if (dx * dx + dy * dy > 6.0 * 6.0 || p.r + p.g + p.b < 450) continue;
                sx += dx;
                sy += dy;
                n += 1;
            }
        ASSERT_GT(n, 2);
        const double measured = std::atan2(-sy, sx) * 180 / M_PI;
        const double expected = 225.0 - 270.0 * frame / 91;
        const double off = std::remainder(measured - expected, 360.0);
        EXPECT_LT(std::fabs(off), 6.0) << "measured " << measured << " expected " << expected;
        if (frame > 0) {
            EXPECT_FALSE(framesEqual(pic, 27, frame - 1, frame));
        }
    }
}

TEST(ArtworkResources, EveryFrameOfAMultiFramePictureIsDistinct) {
    for (const ResourceShape& shape : kResources) {
        if (shape.frames < 2 || shape.id == 226) continue;
        SCOPED_TRACE(shape.id);
        const BmpPicture pic = load(shape.id);
        if (!pic.loaded) continue;
        const int h = pic.height / shape.frames;
        for (int a = 0; a < shape.frames; ++a)
            for (int b = a + 1; b < shape.frames; ++b) EXPECT_FALSE(framesEqual(pic, h, a, b)) << a << " vs " << b;
    }
}

TEST(ArtworkBackground, NothingIsDrawnWhereControlsCoverIt) {
    const BmpPicture bg = load(213);
    if (!bg.loaded) return;
    const BmpPicture::Pixel face{164, 129, 61};
    for (const Rect& r : allControls()) {
        SCOPED_TRACE(testing::Message() << "control at " << r.x << "," << r.y);
        const auto first = bg.at(r.x, r.y);
        int stray = 0;
        for (int y = r.y; y < r.y + r.h; ++y)
            for (int x = r.x; x < r.x + r.w; ++x) stray += !(bg.at(x, y) == first);
        EXPECT_EQ(stray, 0);
    }
    for (const Rect& r : kFaceWindows) EXPECT_TRUE(bg.at(r.x, r.y) == face) << r.x << "," << r.y;
    EXPECT_TRUE((bg.at(kStatusLine.x, kStatusLine.y) == BmpPicture::Pixel{0, 0, 0}));
}

TEST(ArtworkBackground, EveryControlHasACaptionBesideIt) {
    const BmpPicture bg = load(213);
    if (!bg.loaded) return;
    const std::vector<Rect> all = allControls();
    std::vector<Rect> captioned;
    for (const auto* group : {&kKnobs, &kWaveSwitches, &kToggles, &kSliders})
        captioned.insert(captioned.end(), group->begin(), group->end());
    for (const Rect& r : captioned) {
        // Oscillator rows 2 and 3 share the column captions above row 1.
        if (r.x >= 113 && r.x <= 173 && (r.y == 160 || r.y == 188)) continue;
        SCOPED_TRACE(testing::Message() << "control at " << r.x << "," << r.y);
        // Dark caption ink within a few pixels, not counting other controls' places.
        int ink = 0;
        for (int y = r.y - 12; y < r.y + r.h + 4; ++y)
            for (int x = r.x - 14; x < r.x + r.w + 16; ++x) {
                bool covered = false;
                for (const Rect& other : all) covered = covered || inside(other, x, y);
                const auto p = bg.at(x, y);
                if (!covered && p.r + p.g + p.b < 3 * 70) ++ink;
            }
        EXPECT_GE(ink, 4);
    }
}

TEST(ArtworkTool, RedrawsTheCommittedBitmapsByteForByte) {
    const std::string tool = std::string(testpaths::binDir()) + "/artwork";
    ASSERT_TRUE(std::filesystem::exists(tool)) << tool;
    const auto out = std::filesystem::temp_directory_path() / ("artwork-test-" + std::to_string(::getpid()));
    std::filesystem::create_directories(out);
    ASSERT_EQ(std::system((tool + " " + out.string()).c_str()), 0);
    EXPECT_NE(std::system((tool + " 2>/dev/null").c_str()), 0); // no folder given

    // The pictures were drawn with Liberation Sans; another font gives other pixels.
    FcPattern* want = FcNameParse(reinterpret_cast<const FcChar8*>("Liberation Sans"));
    FcConfigSubstitute(nullptr, want, FcMatchPattern);
    FcDefaultSubstitute(want);
    FcResult result;
    FcPattern* got = FcFontMatch(nullptr, want, &result);
    FcChar8* family = nullptr;
    const bool liberation = got && FcPatternGetString(got, FC_FAMILY, 0, &family) == FcResultMatch &&
                            std::string(reinterpret_cast<char*>(family)) == "Liberation Sans";
    if (got) FcPatternDestroy(got);
    FcPatternDestroy(want);
    FcFini();

    for (const ResourceShape& shape : kResources) {
        SCOPED_TRACE(shape.id);
        const std::string fresh = (out / (std::to_string(shape.id) + ".bmp")).string();
        const BmpPicture pic = readBmp(fresh);
        EXPECT_EQ(pic.width, shape.width);
        EXPECT_EQ(pic.height, shape.height);
        if (liberation) {
            EXPECT_TRUE(readBytes(fresh) == readBytes(resourcePath(shape.id)));
        }
    }
    std::filesystem::remove_all(out);
    if (!liberation) GTEST_SKIP() << "Liberation Sans is not installed; compared sizes only";
}

// The 2x set is the same artwork drawn again at twice the density: twice the
// size, with detail inside each 2 x 2 block that a doubled 1x pixel cannot have.
TEST(ArtworkTool, DrawsTheDoubleSetAgainRatherThanDoublingPixels) {
    const std::string tool = std::string(testpaths::binDir()) + "/artwork";
    const auto out = std::filesystem::temp_directory_path() / ("artwork-2x-" + std::to_string(::getpid()));
    std::filesystem::create_directories(out);
    ASSERT_EQ(std::system((tool + " " + out.string() + " --scale 2").c_str()), 0);
    EXPECT_NE(std::system((tool + " " + out.string() + " --scale 3 2>/dev/null").c_str()), 0);
    for (const ResourceShape& shape : kResources) {
        SCOPED_TRACE(shape.id);
        const std::string fresh = (out / (std::to_string(shape.id) + ".bmp")).string();
        const BmpPicture pic = readBmp(fresh);
        ASSERT_TRUE(pic.loaded);
        EXPECT_EQ(pic.width, 2 * shape.width);
        EXPECT_EQ(pic.height, 2 * shape.height);
        const std::string committed =
            std::string(testpaths::sourceDir()) + "/resources/2x/" + std::to_string(shape.id) + ".bmp";
        const BmpPicture shipped = readBmp(committed);
        EXPECT_EQ(shipped.width, pic.width) << committed;
        EXPECT_EQ(shipped.height, pic.height);
        if (shape.id != 213 && shape.id != 226)
            continue;
        int blocks = 0, detailed = 0;
        for (int y = 0; y + 1 < pic.height; y += 2)
            for (int x = 0; x + 1 < pic.width; x += 2) {
                const auto p = pic.at(x, y);
                ++blocks;
                if (!(pic.at(x + 1, y) == p && pic.at(x, y + 1) == p && pic.at(x + 1, y + 1) == p)) ++detailed;
            }
        EXPECT_GT(detailed * 100, blocks) << "doubled pixels would leave no block with finer detail";
    }
    std::filesystem::remove_all(out);
}
