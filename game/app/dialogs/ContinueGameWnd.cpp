#include "game/app/dialogs/ContinueGameWnd.h"

#include "framework/core/Cp1251.h"
#include "framework/graphics/Image.h"
#include "framework/widgets/controls/ButtonWidget.h"
#include "game/app/dialogs/DialogStyle.h"
#include "game/app/dialogs/GameDialogHost.h"
#include "game/shared/PlayerProfile.h"
#include "game/shared/Res.h"

namespace Zorvin {

ContinueGameWnd::ContinueGameWnd(GameDialogHost& gameHost)
    : Dialog(IMAGE_W_SMALL, IM_B_DIALOG, DialogContinue, true, "",
             W("Вы хотите продолжить сохраненную игру или начать новую?"), "", ButtonsNone),
      host(gameHost)
{
    StyleGameDialog(*this);
    continueButton = MakeTextButton(Continue, W("Продолжить"), this, DialogButtonImages(), 195, 105);
    newGameButton = MakeTextButton(NewGame, W("Новая игра"), this, DialogButtonImages(true), 30, 105);
    AddChild(continueButton.get());
    AddChild(newGameButton.get());
}

ContinueGameWnd::~ContinueGameWnd() = default;

ContinueGameWnd* ContinueGameWnd::Open(GameDialogHost& host)
{
    auto wnd = std::make_unique<ContinueGameWnd>(host);
    int w = IMAGE_W_SMALL != nullptr ? IMAGE_W_SMALL->GetWidth() : 356;
    int h = IMAGE_W_SMALL != nullptr ? IMAGE_W_SMALL->GetHeight() : 196;
    wnd->Resize(400 - w / 2, 300 - h / 2, w, h);
    ContinueGameWnd* opened = wnd.get();
    host.OpenDialog(DialogContinue, std::move(wnd));
    return opened;
}

Widget* ContinueGameWnd::DefaultKeyStop() { return continueButton.get(); }

void ContinueGameWnd::OnEscapeKey()
{
    host.PlayClick();
    host.Close(this);
}

void ContinueGameWnd::OnButtonClick(int buttonId)
{
    host.PlayClick();
    if (buttonId == Continue)
        ContinueGame();
    else if (buttonId == NewGame)
        StartNewGame();
}

void ContinueGameWnd::ContinueGame()
{
    host.Close(this);
    PlayMode mode = host.GetBoardMode();
    // A saved game that is missing or cannot be read leads to the map, where
    // the player goes on from the level reached.
    if ((mode == PlayMode::Drag || mode == PlayMode::Click) && host.RestoreGame(mode)) {
        host.ShowBoardScreen();
        return;
    }
    host.RemoveMainMenu();
    host.ShowMap();
}

void ContinueGameWnd::StartNewGame()
{
    PlayerProfile* profile = host.GetCurrentProfile();
    if (profile != nullptr) {
        ModeProgress progress = profile->Progress(host.GetBoardMode() != PlayMode::Drag ? PlayMode::Click : PlayMode::Drag);
        progress.level = 1;
        progress.score = 0;
        profile->shufflesLeft = 1;
        profile->placeCount = 2;
    }
    host.Close(this);
    host.ShowBoardScreen();
    host.StartLevel();
}

} // namespace Zorvin
