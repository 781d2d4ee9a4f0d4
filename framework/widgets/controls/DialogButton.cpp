#include "framework/widgets/controls/DialogButton.h"

#include "framework/graphics/Graphics.h"
#include "framework/font/SysFont.h"

namespace Zorvin {

DialogButton::DialogButton(Image* frameImage, int buttonId, ButtonListener* listener)
    : ButtonWidget(buttonId, listener), componentImage(frameImage)
{
    font = std::make_unique<SysFont>("SansSerif", 12, true);
    doHandCursor = true;
}

void DialogButton::Draw(Graphics* g)
{
    if (!componentImage) {
        ButtonWidget::Draw(g);
        return;
    }
    if (btnNoDraw)
        return;
    bool pressed = IsButtonDown() != inverted;
    int shiftX = pressed ? translateX : 0, shiftY = pressed ? translateY : 0;
    if (normalRect.width > 0) {
        const Rect& r = (disabled && !disabledRect.IsEmpty()) ? disabledRect
                        : pressed                            ? downRect
                        : isOver                             ? overRect
                                                             : normalRect;
        g->DrawImageBox(Rect(0, 0, width, height), r.IsEmpty() ? normalRect : r, componentImage);
    } else {
        g->DrawImageBox(Rect(shiftX, shiftY, width, height), componentImage);
    }
    Font* f = GetFont();
    if (!f || label.empty())
        return;
    int ascent = f->GetAscent();
    int lx = (width - f->StringWidth(label)) / 2 + textOffsetX;
    int ly = textOffsetY + (ascent + height - ascent / 6 - f->GetAscentPadding() - 1) / 2;
    DrawLabel(g, lx + shiftX, ly + shiftY, GetColor(isOver ? ColorLabelHilite : ColorLabel));
}

} // namespace Zorvin
