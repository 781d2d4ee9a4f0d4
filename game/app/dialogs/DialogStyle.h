#pragma once

// The look every dialog of the game shares: FONT_DEFAULT for header, body and
// buttons, black header and body text, and text buttons made from one image
// set (normal, hover, pressed, optionally disabled) with the label turning
// white under the mouse and the hand cursor. Free functions, used by the
// dialogs when they are built.

#include <memory>
#include <string>

namespace Zorvin {

class ButtonListener;
class ButtonWidget;
class Dialog;
class GameDialogHost;
class Image;

// The images of one kind of text button.
struct ButtonImages {
    Image* normal = nullptr;
    Image* over = nullptr;
    Image* down = nullptr;
    Image* disabled = nullptr;
};

// The parchment frames of the dialogs (IMAGE_W_SMALL, IMAGE_DIALOG_BOX,
// IMAGE_W_MENU, IMAGE_COMPLETE_WND): the bronze border with its gold fillet
// is this many pixels wide, and the rosettes fill this square in each
// corner. Texts stay inside the border, buttons inside it and off the
// rosettes.
constexpr int DialogFrameBorder = 14;
constexpr int DialogFrameCorner = 24;

// IM_B_DIALOG and its hover, pressed and (when withDisabled) disabled looks.
ButtonImages DialogButtonImages(bool withDisabled = false);

// Fonts and colours of the game's dialogs.
void StyleGameDialog(Dialog& dialog);

// Gives the dialog at least the given size and as much more height as its
// header, text and buttons need at that width, and centres it on the
// 800 x 600 screen: a message never runs under its buttons.
void SizeToText(Dialog& dialog, int minWidth, int minHeight);

// After a dialog closed: the keyboard goes back to the dialog still open
// beneath it (the in-game menu under the options, say), or to the board
// when none is left.
void ReturnFocus(GameDialogHost& host);

// A text button at (x, y) in its owner's coordinates, as wide as the normal
// image and heightLoss pixels less high.
std::unique_ptr<ButtonWidget> MakeTextButton(int id, const std::string& label, ButtonListener* listener,
                                             const ButtonImages& images, int x, int y, int heightLoss = 2);

} // namespace Zorvin
