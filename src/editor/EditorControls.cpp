#include "editor/EditorControls.h"

#include "editor/EditorBitmaps.h"
#include "editor/ValueConverters.h"
#include "gui/FilmstripKnob.h"
#include "gui/GuiBitmap.h"
#include "gui/GuiColors.h"
#include "gui/GuiFrame.h"
#include "gui/MomentaryButton.h"
#include "gui/Slider.h"
#include "gui/StepSwitch.h"
#include "gui/TextField.h"
#include "gui/ToggleButton.h"
#include "core/EditorController.h"

namespace grelmond {

using namespace editor;

namespace {

constexpr int kSliderHandle = 11;
constexpr float kSliderZoom = 10.0f;
constexpr int kOscillatorVolumes[] = {3, 7, 11};

void unisonOf(float v, char* text, void* controller)
{
    auto* p = static_cast<EditorController*>(controller);
    int sounding = 0;
    for (int volume : kOscillatorVolumes)
        if (p->value(volume) > 0.0f)
            ++sounding;
    unisonText(v, sounding, text);
}

void delayTimeOf(float v, char* text, void* controller)
{
    delayTimeText(v, static_cast<float>(static_cast<EditorController*>(controller)->sampleRate()), text);
}

void noteValueOf(float v, char* text, void*) { noteValueText(v, text); }

int frameHeight(const GuiBitmap* bitmap, int frames) { return bitmap != nullptr ? bitmap->height() / frames : 0; }

void setDisplayColours(ValueDisplay& display, GuiColor text, GuiColor face, int font, int align)
{
    display.setFont(font);
    display.setFontColor(text);
    display.setBackColor(face);
    display.setFrameColor(face); // the frame vanishes into the face
    display.setHoriAlign(align);
}

Slider* makeSlider(const ControlSpec& entry, const EditorBitmaps& bitmaps, ControlListener* listener)
{
    const GuiRect& r = entry.rect;
    Slider* slider;
    if (entry.kind == ControlKind::VerticalSlider)
        slider = new VerticalSlider(r, listener, entry.tag, r.top, r.bottom - kSliderHandle,
                                    bitmaps.get(kVerticalHandleBitmap), bitmaps.get(kVerticalTrackBitmap), {},
                                    kOriginBottom);
    else
        slider = new HorizontalSlider(r, listener, entry.tag, r.left, r.right - kSliderHandle,
                                      bitmaps.get(kHorizontalHandleBitmap), bitmaps.get(kHorizontalTrackBitmap), {},
                                      kOriginLeft);
    slider->setHandleOffset({0, 0});
    slider->setZoomFactor(kSliderZoom);
    slider->setClickToJump(entry.clickToJump);
    return slider;
}

} // namespace

void EditorControls::create(GuiFrame& frame, const EditorBitmaps& bitmaps, ControlListener* listener,
                            EditorController& controller, const ValueSource& valueOf)
{
    controller_ = &controller;
    for (const ControlSpec& entry : controlLayout()) {
        GuiControl* control = make(entry, bitmaps, listener, valueOf);
        all_.push_back(control);
        frame.addView(control);
    }
}

void EditorControls::destroy(GuiFrame& frame)
{
    for (GuiControl* control : all_) {
        frame.removeView(control, false);
        control->release();
    }
    all_.clear();
    controls_.fill(nullptr);
    displays_.fill(nullptr);
    statusLine_ = programName_ = fileName_ = nullptr;
    programNumber_ = nullptr;
}

GuiControl* EditorControls::make(const ControlSpec& entry, const EditorBitmaps& bitmaps, ControlListener* listener,
                                 const ValueSource& valueOf)
{
    GuiControl* control = nullptr;
    GuiBitmap* picture = bitmaps.get(entry.bitmap);
    switch (entry.kind) {
    case ControlKind::WaveSwitch:
        control = new StepSwitch(entry.rect, listener, entry.tag, kWaveFrames, frameHeight(picture, kWaveFrames),
                                 kWavePositions, picture);
        break;
    case ControlKind::Knob:
        control = new FilmstripKnob(entry.rect, listener, entry.tag, kKnobFrames, frameHeight(picture, kKnobFrames),
                                    picture);
        break;
    case ControlKind::VerticalSlider:
    case ControlKind::HorizontalSlider:
        control = makeSlider(entry, bitmaps, listener);
        break;
    case ControlKind::Toggle:
        control = new ToggleButton(entry.rect, listener, entry.tag, picture);
        break;
    case ControlKind::Button:
        control = new MomentaryButton(entry.rect, listener, entry.tag, frameHeight(picture, kButtonFrames), picture);
        break;
    case ControlKind::ValueDisplay: {
        ValueDisplay* display = makeDisplay(entry, valueOf(entry.tag));
        displays_[size_t(entry.tag)] = display;
        return display;
    }
    case ControlKind::ProgramNumber:
        programNumber_ = new ValueDisplay(entry.rect);
        setDisplayColours(*programNumber_, kDisplayText, kDisplayFace, kSmallFont, 1);
        programNumber_->setConverter(programNumberText);
        return programNumber_;
    case ControlKind::StatusLine:
    case ControlKind::ProgramNameField:
    case ControlKind::FileNameField:
        return makeTextField(entry, listener);
    }
    control->setDefaultValue(entry.defaultValue);
    control->setValue(valueOf(entry.tag));
    controls_[size_t(entry.tag)] = control;
    return control;
}

ValueDisplay* EditorControls::makeDisplay(const ControlSpec& entry, float value)
{
    auto* display = new ValueDisplay(entry.rect);
    const bool small = entry.text == TextKind::FunctionName;
    setDisplayColours(*display, kDisplayText, kDisplayFace, small ? kSmallFont : kDisplayFont, 1);
    switch (entry.text) {
    case TextKind::Detune:
        display->setConverter(detuneText);
        break;
    case TextKind::Unison:
        display->setConverterWithData(unisonOf, controller_);
        break;
    case TextKind::DelayTime:
        display->setConverterWithData(delayTimeOf, controller_);
        break;
    case TextKind::Percent:
        display->setConverter(percentText);
        break;
    case TextKind::FunctionName:
        display->setConverter(functionNameText);
        break;
    case TextKind::None:
        break;
    }
    display->setValue(value);
    return display;
}

TextField* EditorControls::makeTextField(const ControlSpec& entry, ControlListener* listener)
{
    auto* field = new TextField(entry.rect, listener, entry.tag, "");
    switch (entry.kind) {
    case ControlKind::StatusLine:
        setDisplayColours(*field, kStatusText, kColorBlack, kSmallFont, 0);
        field->setMouseEnabled(false); // read-only
        statusLine_ = field;
        break;
    case ControlKind::ProgramNameField:
        setDisplayColours(*field, kDisplayText, kDisplayFace, kSmallFont, 1);
        programName_ = field;
        break;
    default:
        setDisplayColours(*field, kDisplayText, kDisplayFace, kSmallFont, 0);
        fileName_ = field;
        break;
    }
    controls_[size_t(entry.tag)] = field;
    return field;
}

GuiControl* EditorControls::control(int tag) const
{
    return tag >= 0 && tag <= kLastTag ? controls_[size_t(tag)] : nullptr;
}

ValueDisplay* EditorControls::display(int parameter) const
{
    return parameter >= 0 && parameter < 64 ? displays_[size_t(parameter)] : nullptr;
}

void EditorControls::showDelayAsNotes(int delayTimeParameter, bool notes)
{
    ValueDisplay* shown = display(delayTimeParameter);
    if (shown == nullptr)
        return;
    shown->setConverterWithData(notes ? noteValueOf : delayTimeOf, controller_);
    shown->setDirty(true);
}

} // namespace grelmond
