#pragma once

// DialogButton: the button of dialogs. Its frame is one image drawn as a
// nine-slice box over the whole button (optionally a different rectangle of
// it per state), and its label moves with the frame when pressed. Owned by
// its creator (a Dialog owns its Yes and No buttons).

#include "framework/widgets/controls/ButtonWidget.h"

namespace Zorvin {

class DialogButton : public ButtonWidget {
public:
    DialogButton(Image* frameImage, int buttonId, ButtonListener* listener);

    void Draw(Graphics* g) override;

    Image* componentImage;
    // How far frame and label move while pressed.
    int translateX = 1;
    int translateY = 1;
    int textOffsetX = 0;
    int textOffsetY = 0;
};

} // namespace Zorvin
