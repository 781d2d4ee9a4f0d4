#pragma once

// ButtonWidget: a push button that reports presses, clicks, holds and hover
// to its listener by id. It draws from up to four images (normal, over,
// down, disabled), can fade its over image in and out, or, without images,
// draws a plain raised box. The creator owns it; the listener is not owned.

#include <memory>
#include <string>

#include "framework/widgets/Widget.h"

namespace Zorvin {

class ButtonListener;
class Font;
class Image;

class ButtonWidget : public Widget {
public:
    ButtonWidget(int buttonId, ButtonListener* listener);
    ~ButtonWidget() override;

    // Draws the source rectangle of the image at (x, y), or the whole image
    // when the rectangle's width is 0.
    virtual void DrawButtonImage(Graphics* g, Image* image, const Rect& srcRect, int px, int py);
    // Keeps a duplicate of the font.
    virtual void SetFont(Font* newFont);
    // Held down with the mouse over it, and enabled.
    virtual bool IsButtonDown() const;

    void Update() override;
    void Draw(Graphics* g) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void MouseMove(int px, int py) override;
    void MouseDown(int px, int py, int clickCode) override;
    void MouseUp(int px, int py) override;
    void SetDisabled(bool isDisabled) override;

    // Font for the label, made on first draw when there is none.
    Font* GetFont();

    int id;
    ButtonListener* buttonListener;
    std::string label;
    // 0 centred, 1 right-aligned, anything else left.
    int labelJustify = 0;
    std::unique_ptr<Font> font;
    Image* buttonImage = nullptr;
    Image* overImage = nullptr;
    Image* downImage = nullptr;
    Image* disabledImage = nullptr;
    Rect normalRect;
    Rect overRect;
    Rect downRect;
    Rect disabledRect;
    bool inverted = false;
    bool btnNoDraw = false;
    bool frameNoDraw = false;
    // Strength of the over image while fading (0..1) and the steps per
    // update; a step of 0 switches at once.
    double overAlpha = 0;
    double overAlphaFadeInSpeed = 0;
    double overAlphaSpeed = 0;

    enum { ColorLabel = 0, ColorLabelHilite = 1 };

protected:
    bool ShouldRedrawOnHover() const;
    bool IsFading() const;
    void DrawLabel(Graphics* g, int px, int py, const Color& color);
    int LabelX();
    int LabelY();
};

} // namespace Zorvin
