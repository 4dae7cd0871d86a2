// The editor at 1x, 1.5x and 2x: places, hit areas, drags, the host's size,
// and the sharpness of the 2x picture.
#include <gtest/gtest.h>

#include "EditorHarness.h"
#include "TempFolder.h"
#include "TestPaths.h"

#include "editor/EditorLayout.h"
#include "gui/BitmapScaler.h"
#include "gui/GuiBitmap.h"
#include "gui/PopupMenu.h"
#include "gui/KnobMode.h"
#include "params/ParameterTable.h"
#include "storage/RememberedFolder.h"

#include <cairo.h>
#include <cmath>
#include <cstdlib>
#include <string>

namespace {

using namespace editortest;
using namespace grelmond::editor;

constexpr double kScales[] = {1.0, 1.5, 2.0};

GuiRect placeOf(int tag, double scale) { return scaledRect(EditorHarness::rectOf(tag), scale); }

// One control of each kind, by tag.
constexpr int kKnobTag = 63;
constexpr int kVerticalTag = param::kFilterCutoff;
constexpr int kHorizontalTag = param::kChorusMix;
constexpr int kWaveTag = 0;
constexpr int kToggleTag = 44;
constexpr int kButtonTag = kNextProgramTag;

TEST(EditorScale, EveryControlIsDrawnAndHitAtItsScaledPlace)
{
    for (double scale : kScales) {
        SCOPED_TRACE(scale);
        EditorHarness h;
        h.editor->setHostScale(scale);
        h.open();
        EXPECT_EQ(h.window().width(), BitmapScaler::scaled(kWidth, scale));
        EXPECT_EQ(h.window().height(), BitmapScaler::scaled(kHeight, scale));
        vst::ERect* rect = nullptr; // what a VST 2 host reads
        h.plugin->dispatcher(vst::effEditGetRect, 0, 0, &rect, 0.0f);
        ASSERT_NE(rect, nullptr);
        EXPECT_EQ(rect->right, h.window().width());
        EXPECT_EQ(rect->bottom, h.window().height());

        for (int tag : {kKnobTag, kVerticalTag, kHorizontalTag, kWaveTag, kToggleTag, kButtonTag}) {
            SCOPED_TRACE(tag);
            GuiControl* control = h.control(tag);
            const GuiRect r = placeOf(tag, scale);
            EXPECT_EQ(control->size(), r);
            // The picture covers the place exactly: frames of the control's size.
            GuiBitmap* picture = control->getBackground();
            ASSERT_NE(picture, nullptr);
            EXPECT_EQ(picture->width(), r.width());
            // Hit at the new right and bottom edges, not beyond them.
            EXPECT_EQ(h.editor->frame()->viewAt({r.right, r.bottom}), control);
            EXPECT_EQ(h.editor->frame()->viewAt({r.left, r.top}), control);
            EXPECT_NE(h.editor->frame()->viewAt({r.right + 1, r.bottom + 1}), control);
        }
        const GuiRect knob = placeOf(kKnobTag, scale);
        GuiBitmap* strip = h.control(kKnobTag)->getBackground();
        EXPECT_EQ(strip->height(), kKnobFrames * knob.height()) << "every knob frame is the knob's size";
    }
}

TEST(EditorScale, ADragOfTheSameHandMovementTurnsAKnobAlikeAtEveryScale)
{
    constexpr int kPixels = 60; // device pixels upwards
    for (double scale : kScales) {
        SCOPED_TRACE(scale);
        EditorHarness h;
        h.editor->setHostScale(scale);
        h.open();
        setKnobMode(kKnobLinear);
        h.hostSets(kKnobTag, 0.2f);
        h.idle();
        const GuiRect r = placeOf(kKnobTag, scale);
        const GuiPoint c{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        h.drag(c, {{c.x, c.y - kPixels / 2}, {c.x, c.y - kPixels}});
        setKnobMode(kKnobCircular);
        EXPECT_NEAR(h.plugin->getParameter(kKnobTag), 0.2f + kPixels / 200.0f, 1e-5f);
    }
}

TEST(EditorScale, ASliderHandleStaysUnderThePointerAtEveryScale)
{
    for (double scale : kScales) {
        SCOPED_TRACE(scale);
        EditorHarness h;
        h.editor->setHostScale(scale);
        h.open();
        const GuiRect r = placeOf(kHorizontalTag, scale);
        const int handle = r.height(); // square handle
        const int travel = r.width() - handle;
        // From the start of the travel, a quarter of it to the right.
        const int y = (r.top + r.bottom) / 2;
        const int x0 = r.left + handle / 2;
        h.drag({x0, y}, {{x0 + travel / 4, y}});
        EXPECT_NEAR(h.plugin->getParameter(kHorizontalTag), 0.25f, 1.5f / travel);
    }
}

TEST(EditorScale, TheScaleComesFromTheHostElseTheRememberedChoice)
{
    TempFolder install;
    RememberedFolder(install.path()).writeZoom(175);
    EditorHarness h(install.path());
    EXPECT_EQ(h.editor->scale(), 1.75);
    h.editor->setHostScale(1.25);
    EXPECT_EQ(h.editor->scale(), 1.25);
    h.editor->setHostScale(0); // the host no longer says
    EXPECT_EQ(h.editor->scale(), 1.75);
    h.editor->setHostScale(5.0);
    EXPECT_EQ(h.editor->scale(), 2.0) << "clamped to what the artwork is drawn for";
}

TEST(EditorScale, ChoosingAZoomFromTheLogoResizesAndIsRemembered)
{
    TempFolder install;
    EditorHarness h(install.path());
    h.editor->setHostScale(0);
    h.open();
    const double before = h.editor->scale();
    const GuiWindow* window = h.editor->frame()->window();
    h.editor->controls().fileNameField()->setText("my.grb");
    h.drag({100, 25}); // the logo
    PopupMenu* menu = h.editor->openMenu();
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->itemCount(), 5);
    const GuiRect item = menu->itemRect(4); // 200 %
    h.drag({item.left + 2, item.top + 2});
    EXPECT_EQ(h.editor->openMenu(), nullptr);
    h.calls.clear();
    h.idle(); // resized at idle, never inside its own event
    EXPECT_EQ(h.editor->scale(), 2.0);
    EXPECT_EQ(h.editor->frame()->window(), window) << "the same window, resized in place";
    EXPECT_EQ(h.editor->frame()->size().right, 1258);
    EXPECT_EQ(h.editor->controls().fileNameField()->getText(), "my.grb") << "typed text survives the zoom";
    EXPECT_EQ(h.control(kKnobTag)->size(), placeOf(kKnobTag, 2.0)) << "controls at their new places";
    EXPECT_NE(before, 2.0);
    EXPECT_EQ(h.hostCalls(vst::audioMasterSizeWindow, 1258), 1) << "the host is asked for the new size";
    EXPECT_EQ(h.window().width(), 1258);
    EXPECT_EQ(h.window().height(), 968);
    EXPECT_EQ(RememberedFolder(install.path()).readZoom(), 200);

    EditorHarness next(install.path());
    EXPECT_EQ(next.editor->scale(), 2.0) << "the next instance opens at the choice";
}

TEST(EditorScale, AHostFactorGivenWhileOpenRebuildsAtIdleAndAsksForTheSize)
{
    TempFolder install;
    EditorHarness h(install.path());
    h.editor->setHostScale(1.0);
    h.open();
    h.editor->setHostScale(2.0);
    EXPECT_EQ(h.window().width(), 629) << "not inside the host's call";
    h.calls.clear();
    h.idle();
    EXPECT_EQ(h.editor->scale(), 2.0);
    EXPECT_EQ(h.hostCalls(vst::audioMasterSizeWindow, 1258), 1);
    EXPECT_EQ(h.window().width(), 1258);
    h.editor->setHostScale(2.0);
    h.calls.clear();
    h.idle();
    EXPECT_EQ(h.hostCalls(vst::audioMasterSizeWindow, 1258), 0) << "the same factor again changes nothing";
}

// Mean share of an edge's whole rise taken by its steepest single-pixel step,
// over every strong edge along the rows: 1 for edges one pixel wide.
double edgeSharpness(cairo_surface_t* image)
{
    cairo_surface_flush(image);
    const int w = cairo_image_surface_get_width(image);
    const int h = cairo_image_surface_get_height(image);
    const int stride = cairo_image_surface_get_stride(image);
    const uint8_t* data = cairo_image_surface_get_data(image);
    auto level = [&](int x, int y) {
        const uint32_t p = reinterpret_cast<const uint32_t*>(data + size_t(y) * stride)[x];
        return int((p >> 16) & 0xff) + int((p >> 8) & 0xff) + int(p & 0xff);
    };
    double sum = 0;
    int edges = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 1; x + 2 < w; ++x) {
            const int rise = level(x + 2, y) - level(x - 1, y);
            if (std::abs(rise) < 240)
                continue;
            int steepest = 0;
            for (int k = -1; k < 2; ++k)
                steepest = std::max(steepest, std::abs(level(x + k + 1, y) - level(x + k, y)));
            sum += std::min(1.0, double(steepest) / std::abs(rise));
            ++edges;
        }
    return edges > 0 ? sum / edges : 0;
}

cairo_surface_t* snapshot(const TempFolder& folder, const std::string& scale)
{
    const std::string out = folder.file("editor-" + scale + ".png");
    const std::string command = std::string(testpaths::binDir()) + "/grelmond-snapshot --scale " + scale + " " + out;
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return cairo_image_surface_create_from_png(out.c_str());
}

TEST(EditorScale, TheDoubleSnapshotIsAsSharpAsTheSingleOneAndBlurredStretchingIsNot)
{
    TempFolder folder;
    cairo_surface_t* one = snapshot(folder, "1");
    cairo_surface_t* two = snapshot(folder, "2");
    ASSERT_EQ(cairo_surface_status(two), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(two), 1258);
    EXPECT_EQ(cairo_image_surface_get_height(two), 968);

    // What stretching the 1x pixels with smooth filtering would give.
    cairo_surface_t* stretched = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1258, 968);
    cairo_t* cr = cairo_create(stretched);
    cairo_scale(cr, 2, 2);
    cairo_set_source_surface(cr, one, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_BILINEAR);
    cairo_paint(cr);
    cairo_destroy(cr);

    const double single = edgeSharpness(one);
    const double twice = edgeSharpness(two);
    const double blurred = edgeSharpness(stretched);
    RecordProperty("sharpness_1x", std::to_string(single));
    RecordProperty("sharpness_2x", std::to_string(twice));
    RecordProperty("sharpness_stretched", std::to_string(blurred));
    std::printf("edge sharpness: 1x %.3f, 2x %.3f, 1x stretched %.3f\n", single, twice, blurred);
    EXPECT_GE(twice, 0.9 * single);
    EXPECT_LT(blurred, 0.8 * single) << "the measure tells a blurred picture";
    cairo_surface_destroy(stretched);
    cairo_surface_destroy(one);
    cairo_surface_destroy(two);
}

} // namespace
