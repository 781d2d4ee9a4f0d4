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
    // Tab, Shift+Tab and the arrows move a focus ring over the buttons in
    // reading order (the first key shows it on "Односторонняя игра");
    // Enter or Space presses the ringed button.
    void KeyDown(int key) override;
    void LostFocus() override;

    ButtonWidget* GetButton(int id) const { return buttons[id].get(); }
    // The line under a mode button that says what that game is (UTF-8);
    // empty for the other buttons.
    static const char* ModeLine(int id);

private:
    void CreateButtons();
    void ReadTitleLogos();
    void DrawModeLines(Graphics* g);
    // The buttons the keyboard reaches, visible and enabled, in reading order.
    std::vector<ButtonWidget*> KeyStops() const;
    void SetKeyFocus(ButtonWidget* button);

    MainMenuHost& host;
    std::unique_ptr<ButtonWidget> buttons[ButtonCount];
    std::vector<std::unique_ptr<LogoImage>> pictures;
    // The name the welcome line shows now.
    std::string shownName;
    // The button the keyboard acts on; none until a key is pressed.
    ButtonWidget* keyFocus = nullptr;
};

} // namespace Zorvin
