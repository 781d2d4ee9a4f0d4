#pragma once

// HyperlinkWidget: a button that looks like an underlined link: its label in
// one colour, another while the mouse is over it. It draws no background, so
// entering and leaving redraw what lies below. Owned by its creator.

#include "framework/widgets/controls/ButtonWidget.h"

namespace Zorvin {

class HyperlinkWidget : public ButtonWidget {
public:
    HyperlinkWidget(int buttonId, ButtonListener* listener);

    void Draw(Graphics* g) override;
    void MouseEnter() override;
    void MouseLeave() override;

    Color colorNormal = Color(255, 255, 255);
    Color colorOver = Color(255, 255, 0);
    // Underline: this many one-pixel rows from the baseline + offset.
    int underlineSize = 1;
    int underlineOffset = 3;
};

} // namespace Zorvin
