#pragma once

// DemoDialog: the options dialog ("Настройки"), opened from the main menu and
// from the in-game menu. Music and sound volumes change live while their
// sliders move (the sound slider plays one sample when let go); 3D
// acceleration and full screen are chosen here and applied when the dialog
// closes; the instructions box changes the board's backdrop at once. Boxes
// that cannot take a choice say why in message dialog 7 and spring back.
//
// Its five controls are not its children: they join the widget manager
// beside the dialog while it is open, in screen coordinates, and always sit
// just above it. Modal; the application owns it (dialog 8).

#include <memory>
#include <string>

#include "framework/widgets/CheckboxListener.h"
#include "framework/widgets/SliderListener.h"
#include "framework/widgets/controls/Dialog.h"

namespace Zorvin {

class Checkbox;
class GameDialogHost;
class Slider;

class DemoDialog : public Dialog, public SliderListener, public CheckboxListener {
public:
    enum ControlId {
        MusicSliderId = 0,
        SoundSliderId = 1,
        FullScreenId = 4,
        Acceleration3DId = 5,
        InstructionsId = 6,
    };

    DemoDialog(GameDialogHost& host, const std::string& header, const std::string& text);
    ~DemoDialog() override;

    // Creates the dialog with the header "Настройки" in its place and opens
    // it above whatever is open.
    static DemoDialog* Open(GameDialogHost& host);
    // The three explanations of a choice that cannot be taken, each a
    // message box (dialog 7) above the options.
    enum class Notice { AccelerationNotRecommended, AccelerationNotSupported, NoWindowedMode };
    static void ShowNotice(GameDialogHost& host, Notice notice);

    void OnAttach(WidgetManager* m) override;
    void OnDetach(WidgetManager* m) override;
    void OnZOrderChanged() override;
    void Resize(int newX, int newY, int newWidth, int newHeight) override;
    void Draw(Graphics* g) override;
    void OnButtonClick(int buttonId) override;
    void OnSliderMoved(int id, double value) override;
    void OnCheckboxChanged(int id, bool checked) override;

    Slider* GetMusicSlider() const { return musicSlider.get(); }
    Slider* GetSoundSlider() const { return soundSlider.get(); }
    Checkbox* GetCheckbox(int id) const;

    // The sliders and checkboxes stand beside the dialog in the tree; the
    // keyboard reaches them too.
    std::vector<Widget*> GetKeyStops() override;

private:
    // Enter closes: "Закрыть" has the focus first.
    Widget* DefaultKeyStop() override;
    // Left and Right move a focused slider by a tenth.
    bool KeyForStop(Widget* stop, int key) override;
    void Check3D(bool checked);
    void CheckFullScreen(bool checked);
    void ApplyAndClose();
    void DrawLabel(Graphics* g, const Widget& control, const std::string& label, bool isCheckbox);

    GameDialogHost& host;
    std::unique_ptr<Slider> musicSlider;
    std::unique_ptr<Slider> soundSlider;
    std::unique_ptr<Checkbox> accelerationBox;
    std::unique_ptr<Checkbox> fullScreenBox;
    std::unique_ptr<Checkbox> instructionsBox;
    bool instructionsChanged = false;
};

} // namespace Zorvin
