#pragma once

// MenuWnd: the in-game menu, opened over a level from the panel's menu
// button, Escape, or when the game loses the focus. Its five buttons go back
// to the main menu, show how to play, open the options, replay the level, or
// resume it; Escape resumes too. Modal, so the board stands still beneath it.
// The application owns it (dialog 1005) and deletes it on closing.

#include <memory>

#include "framework/widgets/controls/Dialog.h"

namespace Zorvin {

class ButtonWidget;
class GameDialogHost;

class MenuWnd : public Dialog {
public:
    enum ButtonId { MainMenu = 0, HowToPlay = 1, Options = 2, Replay = 3, Resume = 4 };

    explicit MenuWnd(GameDialogHost& host);
    ~MenuWnd() override;

    // Creates the menu in its place, opens it and gives it the focus.
    static MenuWnd* Open(GameDialogHost& host);

    void KeyDown(int key) override;
    void OnButtonClick(int buttonId) override;

    ButtonWidget* GetButton(int buttonId) const;

private:
    void ResumeLevel();

    GameDialogHost& host;
    std::unique_ptr<ButtonWidget> buttons[5];
};

} // namespace Zorvin
