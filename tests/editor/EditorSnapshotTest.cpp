#include <gtest/gtest.h>

#include "TempFolder.h"
#include "TestPaths.h"

#include "editor/EditorLayout.h"
#include "gui/DrawContext.h"
#include "gui/GuiBitmap.h"
#include "gui/image/ImageWindow.h"

#include <cairo.h>
#include <cstdlib>
#include <string>

namespace {

using namespace grelmond;
using namespace grelmond::editor;

GuiColor pixelOf(cairo_surface_t* image, int x, int y)
{
    const uint8_t* row = cairo_image_surface_get_data(image) + size_t(y) * cairo_image_surface_get_stride(image);
    const uint32_t p = reinterpret_cast<const uint32_t*>(row)[x];
    return {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p), 0};
}

bool differsSomewhere(cairo_surface_t* shot, ImageWindow& bare, const GuiRect& r)
{
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (!pixelOf(shot, x, y).sameRgb(bare.pixel(x, y)))
                return true;
    return false;
}

TEST(EditorSnapshot, ToolDrawsEveryControlInItsPlace)
{
    TempFolder folder;
    const std::string out = folder.file("editor.png");
    const std::string command = std::string(testpaths::binDir()) + "/grelmond-snapshot --program 3 " + out;
    ASSERT_EQ(std::system(command.c_str()), 0) << command;

    cairo_surface_t* shot = cairo_image_surface_create_from_png(out.c_str());
    ASSERT_EQ(cairo_surface_status(shot), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(shot), kWidth);
    EXPECT_EQ(cairo_image_surface_get_height(shot), kHeight);
    cairo_surface_flush(shot);

    ImageWindow bare(kWidth, kHeight);
    {
        DrawContext context(bare.surface(), &bare, nullptr);
        GuiBitmap* background = new GuiBitmap(kBackgroundBitmap);
        background->draw(context, {0, 0, kWidth, kHeight});
        background->release();
    }
    for (const ControlSpec& entry : controlLayout()) {
        if (entry.kind == ControlKind::StatusLine || entry.kind == ControlKind::FileNameField)
            continue; // empty fields are drawn in the colours of their place in the picture
        EXPECT_TRUE(differsSomewhere(shot, bare, entry.rect)) << "nothing drawn for tag " << entry.tag;
    }
    cairo_surface_destroy(shot);
}

} // namespace
