// The panel's own places: the zoom menu on the logo, the program browser on
// the program name, and the status line's hover texts.
#include "editor/PluginEditor.h"

#include "editor/EditorLayout.h"
#include "editor/ProgramSteps.h"
#include "gui/ClickArea.h"
#include "gui/DrawContext.h"
#include "gui/GuiFrame.h"
#include "gui/PopupMenu.h"
#include "gui/TextField.h"
#include "params/ParameterTable.h"
#include "core/EditorController.h"

#include <cmath>
#include <iterator>
#include <string>
#include <vector>

namespace grelmond {

using namespace editor;

namespace {

constexpr GuiRect kLogo{45, 10, 215, 44};
constexpr GuiRect kProgramName{150, 63, 225, 74};
constexpr GuiRect kProgramNumber{259, 63, 275, 74};
constexpr int kZoomSteps[] = {100, 125, 150, 175, 200};
constexpr int kFamilies = 8;
constexpr int kProgramsPerFamily = 8;
constexpr int kBrowserRows = 2 * (kProgramsPerFamily + 1) + 1; // two families a column, and renaming

} // namespace

const char* PluginEditor::familyName(int family)
{
    static const char* const kNames[kFamilies] = {"Basses", "Leads", "Pads", "Keys and Plucks",
        "Voices and Formants", "Organs and Ensembles", "Textures", "Effects and Percussion"};
    return family >= 0 && family < kFamilies ? kNames[family] : "";
}

void PluginEditor::addPanelAreas()
{
    const double zoom = scale();
    logoArea_ = new ClickArea(scaledRect(kLogo, zoom), [this](GuiPoint where, int) { openZoomMenu(where); });
    frame_->addView(logoArea_);
    auto browse = [this](GuiPoint where, int) {
        const GuiRect field = scaledRect(kProgramName, scale());
        openProgramBrowser({field.left, field.bottom + 1});
    };
    auto wheel = [this](float distance) {
        const float position = controller_.programPosition();
        stepProgram(distance > 0 ? previousProgramPosition(position) : nextProgramPosition(position));
    };
    programArea_ = new ClickArea(scaledRect(kProgramName, zoom), browse, wheel);
    frame_->addView(programArea_);
    numberArea_ = new ClickArea(scaledRect(kProgramNumber, zoom), browse, wheel);
    frame_->addView(numberArea_);
}

void PluginEditor::removePanelAreas()
{
    for (ClickArea** area : {&logoArea_, &programArea_, &numberArea_})
        if (*area != nullptr) {
            frame_->removeView(*area, true);
            *area = nullptr;
        }
}

void PluginEditor::showMenu(PopupMenu* menu, GuiPoint anchor)
{
    if (menu_ != nullptr)
        menu_->dismiss();
    menu_ = menu;
    menu->open(*frame_, anchor);
}

void PluginEditor::openZoomMenu(GuiPoint anchor)
{
    if (frame_ == nullptr)
        return;
    std::vector<PopupMenu::Item> items;
    const int current = int(std::lround(scale() * 100.0));
    for (int percent : kZoomSteps)
        items.push_back({std::to_string(percent) + " %", percent, percent == current, false});
    showMenu(new PopupMenu(std::move(items), int(std::size(kZoomSteps)),
                           [this](int percent) {
                               menu_ = nullptr;
                               if (percent > 0)
                                   chooseScale(percent / 100.0);
                           }),
             anchor);
}

void PluginEditor::openProgramBrowser(GuiPoint anchor)
{
    if (frame_ == nullptr)
        return;
    const int current = programIndexOf(controller_.programPosition());
    std::vector<PopupMenu::Item> items;
    for (int family = 0; family < kFamilies; ++family) {
        items.push_back({familyName(family), -1, false, true, family % 2 == 0});
        for (int i = 0; i < kProgramsPerFamily; ++i) {
            const int program = family * kProgramsPerFamily + i;
            items.push_back({std::to_string(program + 1) + "  " + controller_.programName(program), program,
                             program == current, false});
        }
    }
    items.push_back({"Rename this program...", kRenameChoice, false, false});
    showMenu(new PopupMenu(std::move(items), kBrowserRows,
                           [this](int choice) {
                               menu_ = nullptr;
                               programChosen(choice);
                           }),
             anchor);
}

void PluginEditor::programChosen(int choice)
{
    if (choice == kRenameChoice)
        startRenaming();
    else if (choice >= 0 && choice < 64)
        stepProgram(float(choice) / 64.0f); // as the arrows do: the host is told
    requestUpdate();
}

void PluginEditor::startRenaming()
{
    TextField* field = controls_.programNameField();
    GuiWindow* window = frame_ != nullptr ? frame_->window() : nullptr;
    if (field == nullptr || window == nullptr)
        return;
    DrawContext context(window->surface(), window, frame_);
    frame_->setFocusView(field);
    field->takeFocus(context);
    window->flush();
}

bool PluginEditor::keyOver(GuiView* view, const GuiKeyEvent& key)
{
    if (view == nullptr || (view != programArea_ && view != numberArea_) || (key.key != GuiKey::Up && key.key != GuiKey::Down))
        return false;
    const float position = controller_.programPosition();
    stepProgram(key.key == GuiKey::Up ? previousProgramPosition(position) : nextProgramPosition(position));
    requestUpdate();
    return true;
}

void PluginEditor::pointerOver(GuiView* view)
{
    hoverView_ = view;
    const bool overProgram = view != nullptr && (view == programArea_ || view == numberArea_);
    // The keyboard is ours only while the pointer rests on the program name,
    // so the host keeps its shortcuts everywhere else.
    GuiWindow* window = frame_ != nullptr ? frame_->window() : nullptr;
    if (window != nullptr && frame_->focusView() == nullptr) {
        if (overProgram && !keyboardTaken_)
            window->takeKeyboardFocus();
        else if (!overProgram && keyboardTaken_)
            window->releaseKeyboardFocus();
    }
    keyboardTaken_ = overProgram;
    showHover();
}

void PluginEditor::showHover()
{
    TextField* status = controls_.statusLine();
    if (status == nullptr)
        return;
    auto* control = dynamic_cast<GuiControl*>(hoverView_);
    const int tag = control != nullptr ? control->getTag() : -1;
    status->setText(isParameterId(tag) && controls_.control(tag) == control ? hoverText(tag) : fileMessage_);
}

std::string PluginEditor::hoverText(int parameter) { return controller_.parameterText(parameter); }

} // namespace grelmond
