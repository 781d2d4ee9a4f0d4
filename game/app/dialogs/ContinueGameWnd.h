#pragma once

// ContinueGameWnd: asked from the main menu when the player has progress or a
// saved game in the chosen mode: continue (the saved game, or the map when
// there is none) or start the mode over from level 1. Starting over starts
// a level, which retires the mode's old saved game (GameApp). Modal; the
// application owns it (dialog 1008).

#include <memory>

#include "framework/widgets/controls/Dialog.h"

namespace Zorvin {

class ButtonWidget;
class GameDialogHost;

class ContinueGameWnd : public Dialog {
public:
    enum ButtonId { Continue = 0, NewGame = 1 };

    explicit ContinueGameWnd(GameDialogHost& host);
    ~ContinueGameWnd() override;

    // Creates the question centred on the screen and opens it.
    static ContinueGameWnd* Open(GameDialogHost& host);

    void OnButtonClick(int buttonId) override;

private:
    // Enter continues the saved game; Escape leaves the question and stays
    // on the main menu.
    Widget* DefaultKeyStop() override;
    void OnEscapeKey() override;

    void ContinueGame();
    void StartNewGame();

    GameDialogHost& host;
    std::unique_ptr<ButtonWidget> continueButton;
    std::unique_ptr<ButtonWidget> newGameButton;
};

} // namespace Zorvin
