#include "game/app/dialogs/DemoDialog.h"

#include "framework/core/Cp1251.h"
#include "framework/core/KeyCodes.h"

#include <algorithm>
#include <initializer_list>
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/widgets/WidgetManager.h"
#include "framework/widgets/controls/Checkbox.h"
#include "framework/widgets/controls/DialogButton.h"
#include "framework/widgets/controls/Slider.h"
#include "game/app/dialogs/DialogStyle.h"
#include "game/app/dialogs/GameDialogHost.h"
#include "game/shared/PlayerProfile.h"
#include "game/shared/Res.h"

namespace Zorvin {

namespace {

// Distances from the dialog's edges to the controls.
constexpr int kSideInset = 80;
constexpr int kSliderTop = 130;
constexpr int kGapBelowSlider = 30;
constexpr int kInstructionsGap = 90;

std::unique_ptr<Checkbox> MakeCheckbox(int id, CheckboxListener* listener)
{
    // Unchecked look in the left half of the image, checked in the right.
    auto box = std::make_unique<Checkbox>(IMAGE_CHECKBOX, IMAGE_CHECKBOX, id, listener);
    int w = IMAGE_CHECKBOX != nullptr ? IMAGE_CHECKBOX->GetWidth() / 2 : 20;
    int h = IMAGE_CHECKBOX != nullptr ? IMAGE_CHECKBOX->GetHeight() : 20;
    box->uncheckedRect = Rect(0, 0, w, h);
    box->checkedRect = Rect(w, 0, w, h);
    box->Resize(0, 0, w, h);
    box->doHandCursor = true;
    return box;
}

std::unique_ptr<Slider> MakeSlider(int id, SliderListener* listener, double value)
{
    auto slider = std::make_unique<Slider>(id, listener);
    int w = slider->trackImage != nullptr ? slider->trackImage->GetWidth() : 160;
    int h = slider->thumbImage != nullptr ? slider->thumbImage->GetHeight() : 24;
    slider->Resize(0, 0, w, h);
    slider->SetValue(value);
    return slider;
}

} // namespace

DemoDialog::DemoDialog(GameDialogHost& gameHost, const std::string& header, const std::string& text)
    : Dialog(IMAGE_DIALOG_BOX, IMAGE_BUTTON_NORMAL, DialogOptions, true, header, text, W("Закрыть"), ButtonsFooter),
      host(gameHost)
{
    StyleGameDialog(*this);
    contentInsets = Insets{kSideInset, 50, kSideInset, 50};
    spaceAfterHeader = 30;
    // The sliders and boxes stand on the content edge; the frame goes round
    // them rather than under them.
    frameCoversInsets = true;
    musicSlider = MakeSlider(MusicSliderId, this, host.MusicVolume());
    soundSlider = MakeSlider(SoundSliderId, this, host.SoundVolume());
    accelerationBox = MakeCheckbox(Acceleration3DId, this);
    fullScreenBox = MakeCheckbox(FullScreenId, this);
    instructionsBox = MakeCheckbox(InstructionsId, this);
}

DemoDialog::~DemoDialog()
{
    // Normally gone with OnDetach; never leave the manager a dangling link.
    for (Widget* w : {static_cast<Widget*>(musicSlider.get()), static_cast<Widget*>(soundSlider.get()),
                      static_cast<Widget*>(accelerationBox.get()), static_cast<Widget*>(fullScreenBox.get()),
                      static_cast<Widget*>(instructionsBox.get())})
        if (w->parent != nullptr)
            w->parent->RemoveChild(w);
}

DemoDialog* DemoDialog::Open(GameDialogHost& host)
{
    auto options = std::make_unique<DemoDialog>(host, W("Настройки"), "");
    options->Resize(130, 90, 540, 415);
    DemoDialog* opened = options.get();
    host.OpenDialog(DialogOptions, std::move(options));
    return opened;
}

Checkbox* DemoDialog::GetCheckbox(int id) const
{
    switch (id) {
    case FullScreenId:
        return fullScreenBox.get();
    case Acceleration3DId:
        return accelerationBox.get();
    case InstructionsId:
        return instructionsBox.get();
    default:
        return nullptr;
    }
}

void DemoDialog::Resize(int newX, int newY, int newWidth, int newHeight)
{
    Dialog::Resize(newX, newY, newWidth, newHeight);
    int trackWidth = musicSlider->width;
    musicSlider->Move(newX + kSideInset, newY + kSliderTop);
    soundSlider->Move(newX + newWidth - kSideInset - trackWidth, newY + kSliderTop);
    int belowMusic = musicSlider->y + musicSlider->height;
    accelerationBox->Move(musicSlider->x, belowMusic + kGapBelowSlider);
    instructionsBox->Move(musicSlider->x, belowMusic + kInstructionsGap);
    fullScreenBox->Move(soundSlider->x, soundSlider->y + soundSlider->height + kGapBelowSlider);
}

void DemoDialog::OnAttach(WidgetManager* m)
{
    Dialog::OnAttach(m);
    m->AddChild(musicSlider.get());
    m->AddChild(soundSlider.get());
    // The boxes show the state as it is now, without telling anyone.
    GameDialogHost::ScreenMode screen = host.CurrentScreenMode();
    accelerationBox->SetChecked(screen.accelerated, false);
    fullScreenBox->SetChecked(screen.fullScreen, false);
    PlayerProfile* profile = host.GetCurrentProfile();
    instructionsBox->SetChecked(profile != nullptr && profile->showInstructions, false);
    m->AddChild(accelerationBox.get());
    m->AddChild(fullScreenBox.get());
    m->AddChild(instructionsBox.get());
}

void DemoDialog::OnDetach(WidgetManager* m)
{
    Dialog::OnDetach(m);
    for (Widget* w : {static_cast<Widget*>(musicSlider.get()), static_cast<Widget*>(soundSlider.get()),
                      static_cast<Widget*>(accelerationBox.get()), static_cast<Widget*>(fullScreenBox.get()),
                      static_cast<Widget*>(instructionsBox.get())})
        m->RemoveChild(w);
}

void DemoDialog::OnZOrderChanged()
{
    Dialog::OnZOrderChanged();
    if (manager == nullptr)
        return;
    // Keep the controls right above the dialog (and its button), so a
    // dialog opened above this one also covers them.
    Widget* below = yesButton ? static_cast<Widget*>(yesButton.get()) : this;
    for (Widget* w : {static_cast<Widget*>(musicSlider.get()), static_cast<Widget*>(soundSlider.get()),
                      static_cast<Widget*>(accelerationBox.get()), static_cast<Widget*>(fullScreenBox.get()),
                      static_cast<Widget*>(instructionsBox.get())}) {
        manager->RaiseAbove(w, below);
        below = w;
    }
}

void DemoDialog::DrawLabel(Graphics* g, const Widget& control, const std::string& label, bool isCheckbox)
{
    int lx = control.x - x;
    int ly = control.y - y + (isCheckbox ? 20 - control.height : -10);
    g->WriteString(label, lx, ly);
}

void DemoDialog::Draw(Graphics* g)
{
    Dialog::Draw(g);
    g->SetFont(FONT_DEFAULT);
    // Dark like the body text of every dialog: white labels vanish on the
    // light parchment.
    g->SetColor(Color::Black);
    DrawLabel(g, *musicSlider, W("Громкость музыки:"), false);
    DrawLabel(g, *soundSlider, W("Громкость звуков:"), false);
    DrawLabel(g, *accelerationBox, W("3D режим ускорения:"), true);
    DrawLabel(g, *fullScreenBox, W("Полный экран:"), true);
    DrawLabel(g, *instructionsBox, W("Показывать инструкцию в начале:"), true);
}

std::vector<Widget*> DemoDialog::GetKeyStops()
{
    std::vector<Widget*> stops = Dialog::GetKeyStops();
    for (Widget* w : std::initializer_list<Widget*>{musicSlider.get(), soundSlider.get(), accelerationBox.get(),
                                                   fullScreenBox.get(), instructionsBox.get()})
        if (w && w->manager && w->visible && !w->disabled)
            stops.push_back(w);
    SortReadingOrder(stops);
    return stops;
}

Widget* DemoDialog::DefaultKeyStop() { return yesButton.get(); }

bool DemoDialog::KeyForStop(Widget* stop, int key)
{
    auto* slider = dynamic_cast<Slider*>(stop);
    if (slider == nullptr || (key != KeyArrowLeft && key != KeyArrowRight))
        return false;
    double value = std::clamp(slider->value + (key == KeyArrowLeft ? -0.1 : 0.1), 0.0, 1.0);
    slider->SetValue(value);
    OnSliderMoved(slider->id, value);
    return true;
}

void DemoDialog::OnSliderMoved(int id, double value)
{
    if (id == MusicSliderId) {
        host.ChangeMusicVolume(value);
    } else if (id == SoundSliderId) {
        host.ChangeSoundVolume(value);
        // One sample of the new level when the thumb is let go (or the value
        // set otherwise), none while it is being dragged.
        if (!soundSlider->dragging)
            host.PlayClick();
    }
}

void DemoDialog::OnCheckboxChanged(int id, bool checked)
{
    if (id == Acceleration3DId) {
        Check3D(checked);
    } else if (id == FullScreenId) {
        CheckFullScreen(checked);
    } else if (id == InstructionsId) {
        if (PlayerProfile* profile = host.GetCurrentProfile()) {
            profile->showInstructions = checked;
            instructionsChanged = true;
        }
        host.SetBoardChanged();
    }
}

void DemoDialog::ShowNotice(GameDialogHost& host, Notice notice)
{
    switch (notice) {
    case Notice::AccelerationNotRecommended:
        host.ShowNotice(DialogAccelerationMessage, W("Внимание"),
                        W("Ваша видеокарта может не полностью поддерживать 3D-ускорение. Если игра станет "
                          "работать медленнее, отключите его."));
        break;
    case Notice::AccelerationNotSupported:
        host.ShowNotice(DialogAccelerationMessage, W("3D-ускорение недоступно"),
                        W("На этом компьютере 3D-ускорение включить нельзя: видеокарта не отвечает "
                          "минимальным требованиям игры."));
        break;
    case Notice::NoWindowedMode:
        host.ShowNotice(DialogAccelerationMessage, W("Оконный режим недоступен"),
                        W("Игра может работать в окне, только когда рабочий стол использует 16- или "
                          "32-битный цвет, а сейчас это не так."));
        break;
    }
}

void DemoDialog::Check3D(bool checked)
{
    if (!checked)
        return; // takes effect on closing
    AccelerationVerdict verdict = host.GetAccelerationVerdict();
    if (verdict == AccelerationVerdict::NotRecommended) {
        ShowNotice(host, Notice::AccelerationNotRecommended);
    } else if (verdict == AccelerationVerdict::NotSupported) {
        accelerationBox->SetChecked(false, true);
        ShowNotice(host, Notice::AccelerationNotSupported);
    }
}

void DemoDialog::CheckFullScreen(bool checked)
{
    if (checked || !host.CurrentScreenMode().fullScreenForced)
        return; // takes effect on closing
    ShowNotice(host, Notice::NoWindowedMode);
    fullScreenBox->SetChecked(true, true);
}

void DemoDialog::OnButtonClick(int buttonId)
{
    // The dialog's own handling tells the application, which plays the click.
    Dialog::OnButtonClick(buttonId);
    if (buttonId == IdYes)
        ApplyAndClose();
}

void DemoDialog::ApplyAndClose()
{
    // Keep the choices even if the game does not end normally: the volumes
    // and the screen mode in the settings, the instructions flag in the
    // players file.
    host.ApplyOptions(fullScreenBox->IsChecked(), accelerationBox->IsChecked());
    if (instructionsChanged)
        host.SavePlayers();
    host.Close(this);
    ReturnFocus(host);
}

} // namespace Zorvin
