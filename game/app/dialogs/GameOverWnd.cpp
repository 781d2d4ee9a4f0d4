#include "game/app/dialogs/GameOverWnd.h"

#include "framework/core/Cp1251.h"
#include "framework/graphics/Image.h"
#include "framework/widgets/controls/ButtonWidget.h"
#include "game/app/dialogs/DialogStyle.h"
#include "game/app/dialogs/GameDialogHost.h"
#include "game/shared/Res.h"

namespace Zorvin {

GameOverWnd::GameOverWnd(GameDialogHost& gameHost)
    : Dialog(IMAGE_W_SMALL, IM_B_DIALOG, DialogNameOrGameOver, true, W("Уровень проигран!"), W("У вас больше нет ходов!"),
             "", ButtonsNone),
      host(gameHost)
{
    StyleGameDialog(*this);
    replayButton = MakeTextButton(Replay, W("Переиграть"), this, DialogButtonImages(), 195, 105);
    reshuffleButton = MakeTextButton(Reshuffle, W("Перетасовать"), this, DialogButtonImages(true), 30, 105);
    // Without reshuffles left the button shows, greyed, that there are none.
    reshuffleButton->SetDisabled(host.GetShufflesLeft() <= 0);
    AddChild(replayButton.get());
    AddChild(reshuffleButton.get());
}

GameOverWnd::~GameOverWnd() = default;

GameOverWnd* GameOverWnd::Open(GameDialogHost& host)
{
    auto wnd = std::make_unique<GameOverWnd>(host);
    int w = IMAGE_W_SMALL != nullptr ? IMAGE_W_SMALL->GetWidth() : 356;
    int h = IMAGE_W_SMALL != nullptr ? IMAGE_W_SMALL->GetHeight() : 196;
    wnd->Resize(400 - w / 2, 300 - h / 2, w, h);
    GameOverWnd* opened = wnd.get();
    host.OpenDialog(DialogNameOrGameOver, std::move(wnd));
    return opened;
}

ButtonWidget* GameOverWnd::GetButton(int buttonId) const
{
    return buttonId == Replay ? replayButton.get() : buttonId == Reshuffle ? reshuffleButton.get() : nullptr;
}

Widget* GameOverWnd::DefaultKeyStop() { return replayButton.get(); }

void GameOverWnd::OnButtonClick(int buttonId)
{
    host.PlayClick();
    if (buttonId != Replay && buttonId != Reshuffle)
        return;
    host.Close(this);
    host.FocusBoard();
    if (buttonId == Replay)
        host.Restart();
    else
        host.Reshuffle();
}

} // namespace Zorvin
