#include "ArtworkSet.h"

#include "BackgroundArt.h"
#include "ButtonArt.h"
#include "KnobArt.h"
#include "SliderArt.h"
#include "WaveSwitchArt.h"

namespace artwork {

const std::vector<Resource>& editorResources() {
    static const std::vector<Resource> resources = {
        {213, kBackgroundWidth, kBackgroundHeight, 1, drawBackground},
        {216, 121, 11, 1, drawHorizontalTrack},
        {217, 11, 11, 1, drawHorizontalHandle},
        {218, 11, 11, 1, drawVerticalHandle},
        {219, 11, 73, 1, drawVerticalTrack},
        {222, 16, 32, 2, drawToggle},
        {226, kKnobWidth, kKnobFrames * kKnobFrameHeight, kKnobFrames, drawKnobStrip},
        {227, kWaveWidth, kWaveFrames * kWaveFrameHeight, kWaveFrames, drawWaveSwitch},
        {230, 19, 38, 2, [](Image& i) { drawProgramArrow(i, false); }},
        {231, 19, 38, 2, [](Image& i) { drawProgramArrow(i, true); }},
        {232, 26, 26, 2, drawLoadPatchButton},
        {233, 13, 26, 2, drawSaveButton},
        {235, 32, 26, 2, drawLoadBankButton},
    };
    return resources;
}

std::unique_ptr<Image> render(const Resource& resource, int scale) {
    auto image = std::make_unique<Image>(resource.width, resource.height, scale);
    resource.draw(*image);
    cairo_surface_flush(image->surface());
    return image;
}

} // namespace artwork
