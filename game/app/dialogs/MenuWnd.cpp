#include "game/app/dialogs/MenuWnd.h"

#include "framework/core/Cp1251.h"
#include "framework/core/KeyCodes.h"
#include "framework/widgets/controls/ButtonWidget.h"
#include "game/app/dialogs/DemoDialog.h"
#include "game/app/dialogs/DialogStyle.h"
#include "game/app/dialogs/GameDialogHost.h"
#include "game/app/dialogs/HowDialog.h"
#include "game/shared/Res.h"

namespace Zorvin {

MenuWnd::MenuWnd(GameDialogHost& gameHost)
    : Dialog(IMAGE_W_MENU, IM_B_DIALOG, DialogMenu, true, "", "", "", ButtonsNone), host(gameHost)
{
    StyleGameDialog(*this);
    wantsFocus = true;
    const char* labels[5] = {"Главное меню", "Правила игры", "Настройки", "Переиграть", "Продолжить"};
    for (int i = 0; i < 5; ++i) {
        buttons[i] = MakeTextButton(i, W(labels[i]), this, DialogButtonImages(), 55, 40 + 40 * i);
        AddChild(buttons[i].get());
    }
}

MenuWnd::~MenuWnd() = default;

MenuWnd* MenuWnd::Open(GameDialogHost& host)
{
    auto menu = std::make_unique<MenuWnd>(host);
    menu->Resize(275, 160, 250, 280);
    MenuWnd* opened = menu.get();
    host.OpenDialog(DialogMenu, std::move(menu));
    host.Focus(opened);
    return opened;
}

ButtonWidget* MenuWnd::GetButton(int buttonId) const
{
    return buttonId >= 0 && buttonId < 5 ? buttons[buttonId].get() : nullptr;
}

void MenuWnd::ResumeLevel()
{
    // Closing only unlinks the menu; it is deleted after this step.
    host.Close(this);
    host.FocusBoard();
}

void MenuWnd::KeyDown(int key)
{
    // Escape resumes the level, as "Продолжить"; the other keys move
    // between the buttons and press them.
    if (key == KeyEscape)
        ResumeLevel();
    else
        Dialog::KeyDown(key);
}

void MenuWnd::OnButtonClick(int buttonId)
{
    host.PlayClick();
    switch (buttonId) {
    case MainMenu:
        host.Close(this);
        host.ExitToMainMenu(true);
        break;
    case HowToPlay:
        // Above the menu, which stays open beneath it.
        HowDialog::Open(host);
        break;
    case Options:
        DemoDialog::Open(host);
        break;
    case Replay:
        host.Close(this);
        host.Restart();
        break;
    case Resume:
        ResumeLevel();
        break;
    default:
        break;
    }
}

} // namespace Zorvin
