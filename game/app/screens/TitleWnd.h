#pragma once

// TitleWnd: the main menu. It draws the title background, the small logo,
// the logo script's main-menu pictures and a welcome line for the current
// player, and carries six buttons: the two play modes, change player,
// options, high scores and exit. The application creates it once when the
// game's screens are built and adds it to and removes it from the screen
// as the player moves between the menu and a game. Nothing on it moves: it
// is drawn again only when a button changes or the player's name does.

#include "framework/widgets/ButtonListener.h"
#include "framework/widgets/Widget.h"
#include "game/app/screens/LogoScript.h"

#include <memory>
#include <string>
#include <vector>

namespace Zorvin {

class ButtonWidget;
class MainMenuHost;

class TitleWnd : public Widget, public ButtonListener {
public:
    enum ButtonId {
        ClickModeButton = 0, // "Односторонняя игра"
        DragModeButton = 1,  // "Двусторонняя игра"
        ChangePlayerButton = 2,
        OptionsButton = 3,
        HighScoresButton = 4,
        ExitButton = 5,
        StatisticsButton = 6,
        ButtonCount = 7,
    };

    explicit TitleWnd(MainMenuHost& host);
    ~TitleWnd() override;

    void Update() override;
    void Draw(Graphics* g) override;
    void OnButtonClick(int id) override;

    ButtonWidget* GetButton(int id) const { return buttons[id].get(); }
    // The line under a mode button that says what that game is (UTF-8);
    // empty for the other buttons.
    static const char* ModeLine(int id);

private:
    void CreateButtons();
    void ReadTitleLogos();
    void DrawModeLines(Graphics* g);

    MainMenuHost& host;
    std::unique_ptr<ButtonWidget> buttons[ButtonCount];
    std::vector<std::unique_ptr<LogoImage>> pictures;
    // The name the welcome line shows now.
    std::string shownName;
};

} // namespace Zorvin
