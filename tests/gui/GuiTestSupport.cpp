#include "GuiTestSupport.h"

namespace guitest {

std::vector<uint8_t> makeBmp(int width, int height, const std::function<GuiColor(int, int)>& colourAt)
{
    const int stride = (width * 3 + 3) & ~3;
    const uint32_t dataSize = uint32_t(stride * height);
    std::vector<uint8_t> bmp(54 + dataSize, 0);
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bmp[at + i] = uint8_t(v >> (8 * i));
    };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put32(2, uint32_t(bmp.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, uint32_t(width));
    put32(22, uint32_t(height));
    bmp[26] = 1;
    bmp[28] = 24;
    put32(34, dataSize);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const GuiColor c = colourAt(x, y);
            uint8_t* p = &bmp[54 + size_t(height - 1 - y) * stride + size_t(x) * 3];
            p[0] = c.blue;
            p[1] = c.green;
            p[2] = c.red;
        }
    return bmp;
}

GuiBitmap* makeBitmap(int width, int height, const std::function<GuiColor(int, int)>& colourAt)
{
    const std::vector<uint8_t> bmp = makeBmp(width, height, colourAt);
    return new GuiBitmap(bmp.data(), bmp.size());
}

GuiColor stripColour(int frame) { return {uint8_t(frame), uint8_t(255 - frame), 7, 0}; }

GuiBitmap* makeStrip(int width, int frameHeight, int frames)
{
    return makeBitmap(width, frameHeight * frames, [=](int, int y) { return stripColour(y / frameHeight); });
}

void Recorder::valueChanged(DrawContext& context, GuiControl* control)
{
    values.push_back(control->getValue());
    tags.push_back(control->getTag());
    control->update(context);
}

Harness::Harness(int width, int height)
{
    auto image = std::make_unique<ImageWindow>(width, height);
    window = image.get();
    frame = new GuiFrame({0, 0, width, height}, std::move(image), &owner);
}

Harness::~Harness() { delete frame; }

} // namespace guitest
