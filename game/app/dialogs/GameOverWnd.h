#pragma once

// GameOverWnd: the level-lost window the board opens when no move is left
// anywhere. The player replays the level or, while reshuffles remain,
// reshuffles it. Modal; the application owns it (dialog 1006).

#include <memory>

#include "framework/widgets/controls/Dialog.h"

namespace Zorvin {

class ButtonWidget;
class GameDialogHost;

class GameOverWnd : public Dialog {
public:
    enum ButtonId { Replay = 0, Reshuffle = 1 };

    explicit GameOverWnd(GameDialogHost& host);
    ~GameOverWnd() override;

    // Creates the window centred on the screen and opens it.
    static GameOverWnd* Open(GameDialogHost& host);

    void OnButtonClick(int buttonId) override;

    ButtonWidget* GetButton(int buttonId) const;

private:
    // Enter plays the level again. Escape does nothing: the lost level has
    // no way back but these two buttons.
    Widget* DefaultKeyStop() override;
    void OnEscapeKey() override {}

    GameDialogHost& host;
    std::unique_ptr<ButtonWidget> replayButton;
    std::unique_ptr<ButtonWidget> reshuffleButton;
};

} // namespace Zorvin
