#pragma once

// HintWnd: the tip balloon the board uses to explain something once (the
// deck, the joker): a parchment balloon with the tip, a blinking arrow at its
// lower left pointing at what the tip is about, and a close button. Not a
// dialog: the game does not pause under it. The application creates it once
// and adds it to or removes it from the widget manager as tips come and go.

#include <memory>
#include <string>
#include <vector>

#include "framework/core/Rect.h"
#include "framework/widgets/ButtonListener.h"
#include "framework/widgets/Widget.h"

namespace Zorvin {

class ButtonWidget;
class GameDialogHost;

class HintWnd : public Widget, public ButtonListener {
public:
    enum { CloseButtonId = 0 };

    explicit HintWnd(GameDialogHost& host);
    ~HintWnd() override;

    // Places the balloon so that its lower-left corner (the arrow's tip) is
    // near (px, py), and shows text in it, replacing the previous tip. When
    // that place would cover any of `keepClear`, the balloon moves to the
    // nearest place on the board that covers none of them (or the least).
    void Layout(int px, int py, const std::string& text, const std::vector<Rect>& keepClear = {});
    // Where a balloon of size w x h goes (its top-left corner): `wanted`, or
    // the nearest spot within the board above the panel that covers the
    // least of `keepClear`.
    static Point ChooseSpot(int w, int h, Point wanted, const std::vector<Rect>& keepClear);

    void Update() override;
    void Draw(Graphics* g) override;
    void OnButtonClick(int buttonId) override;

    const std::string& GetText() const { return text; }
    const Rect& GetTextRect() const { return textRect; }
    ButtonWidget* GetCloseButton() const { return closeButton.get(); }
    // Whether the arrow is drawn faded at the moment.
    bool IsArrowFaded() const { return pulse < kFadeBelow; }

private:
    static constexpr int kPulseTop = 250;
    static constexpr int kPulseBottom = 100;
    static constexpr int kPulseStep = 4;
    // The arrow blinks for ten seconds after a tip appears, then stays lit:
    // a balloon left open must not keep the screen moving.
    static constexpr int kBlinkUpdates = 1000;
    static constexpr int kFadeBelow = 176;
    static constexpr int kCloseButtonX = 120;
    static constexpr int kCloseButtonY = 110;
    static constexpr int kGapAboveButton = 4;
    // Where a balloon may go: the board between the top bar and the panel,
    // tried every kSpotStep pixels.
    static constexpr int kBoardTop = 26;
    static constexpr int kBoardBottom = 540;
    static constexpr int kBoardWidth = 800;
    static constexpr int kSpotStep = 8;

    GameDialogHost& host;
    std::string text;
    Rect textRect;
    Point arrowPos;
    int pulse = kPulseTop;
    bool falling = true;
    int blinkLeft = kBlinkUpdates;
    std::unique_ptr<ButtonWidget> closeButton;
};

} // namespace Zorvin
