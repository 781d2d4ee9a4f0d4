#pragma once

// BoardInterface: the full-screen panel under the Board. It draws the
// board's cached backdrop, carries the four level buttons (menu, undo, hint,
// reshuffle), receives the mouse and the keyboard for the level and hands
// them to the field and the deck through the board's rules, which settle
// every completed put (score, combo popups, sounds, the undo button). The
// application creates it once together with the Board, adds and removes
// both together, and forwards BoardHost::SetUndoEnabled and
// SetReshuffleButton here.

#include <memory>
#include <string>

#include "framework/widgets/ButtonListener.h"
#include "framework/widgets/Widget.h"

namespace Zorvin {

class Board;
class BoardPanelHost;
class ButtonWidget;

class BoardInterface : public Widget, public ButtonListener {
public:
    enum ButtonId { kMenuButton = 0, kUndoButton = 1, kHintButton = 2, kReshuffleButton = 3 };

    // Sizes itself to the 800 x 600 screen and adds its buttons. The button
    // images come from the bound resources, so the "Game" group must be
    // loaded first.
    BoardInterface(Board& board, BoardPanelHost& host);
    ~BoardInterface() override;

    void Draw(Graphics* g) override;
    void CharTyped(char ch) override;
    void KeyDown(int key) override;
    void MouseMove(int px, int py) override;
    void MouseDown(int px, int py, int clickCode) override;
    void MouseUp(int px, int py, int clickCode) override;
    void MouseDrag(int px, int py) override;
    using Widget::MouseDown;
    using Widget::MouseUp;

    void OnButtonClick(int id) override;

    // Leaves the level for the map (after a won level, from a continued
    // game, or F4): the map of the player's level, or the game-complete
    // sequence past the last level; the level's music gives way to song 3.
    void ShowMap();

    // The application forwards the rules' button requests here.
    void SetUndoEnabled(bool enabled);
    void SetReshuffleButton(bool enabled, const std::string& label);

    Board& board;
    BoardPanelHost& app;
    std::unique_ptr<ButtonWidget> menuButton;
    std::unique_ptr<ButtonWidget> undoButton;
    std::unique_ptr<ButtonWidget> hintButton;
    std::unique_ptr<ButtonWidget> reshuffleButton;

private:
    // Whether the mouse goes to the level editor rather than the rules.
    bool Editing() const;
    // The keys that play the level (arrows, Enter, Space, Escape while a
    // tile is picked, H, D, R, Ctrl+Z and Backspace); false for any other.
    bool PlayKey(int key);
    // A key for a level button does what a click on it does, unless it is greyed.
    void PressIfEnabled(ButtonWidget& button);

    // Where the pointer was last reported.
    int pointerX = -1, pointerY = -1;
    // F5: counts the level as won and starts the next one.
    void SkipLevel();
};

} // namespace Zorvin
