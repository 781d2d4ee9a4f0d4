#pragma once

// HowDialog: the how-to-play page of the current play mode, covering the
// screen, with a "do not show again" box and a close button. Shown from the
// in-game menu and when level 1 starts while the player still wants it. The
// box writes the player's choice at once. Modal; the application owns it
// (dialog 1007).

#include <memory>

#include "framework/widgets/CheckboxListener.h"
#include "framework/widgets/controls/Dialog.h"

namespace Zorvin {

class ButtonWidget;
class Checkbox;
class GameDialogHost;
class Image;

class HowDialog : public Dialog, public CheckboxListener {
public:
    enum { CloseButtonId = 4, DontShowCheckboxId = 0 };

    // page: the picture of the rules to show.
    HowDialog(GameDialogHost& host, Image* page);
    ~HowDialog() override;

    // Opens the page of the board's play mode over everything.
    static HowDialog* Open(GameDialogHost& host);

    void Draw(Graphics* g) override;
    // The page, with its frame, covers the whole dialog.
    Rect GetFrameRect() const override { return Rect(0, 0, width, height); }
    void OnButtonClick(int buttonId) override;
    void OnCheckboxChanged(int id, bool checked) override;

    Checkbox* GetCheckbox() const { return dontShow.get(); }

    // Which mode's page it is (the keys differ).
    bool clickMode = false;

private:
    // Enter and Escape close the page; Space on the focused box ticks it.
    Widget* DefaultKeyStop() override;
    void OnEscapeKey() override { OnButtonClick(CloseButtonId); }

    GameDialogHost& host;
    Image* pageImage;
    // Where the list of keys is written: under the page's picture.
    static constexpr int kKeysLeft = 494;
    static constexpr int kKeysTop = 476;
    void DrawKeys(Graphics* g);
    std::unique_ptr<Checkbox> dontShow;
    std::unique_ptr<ButtonWidget> closeButton;
};

} // namespace Zorvin
