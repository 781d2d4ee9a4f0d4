#pragma once

// Checkbox: a box that toggles on every press and tells its listener. It
// draws from a checked and an unchecked image (or two rectangles of one
// image), or, without images, as a filled square with an X. Owned by its
// creator; the listener is not owned.

#include "framework/widgets/Widget.h"

namespace Zorvin {

class CheckboxListener;
class Image;

class Checkbox : public Widget {
public:
    Checkbox(Image* uncheckedImg, Image* checkedImg, int checkboxId, CheckboxListener* listener);
    // Uses the shared default images.
    Checkbox(int checkboxId, CheckboxListener* listener);

    virtual void SetChecked(bool isChecked, bool notify = true);
    virtual bool IsChecked() const { return checked; }

    void Draw(Graphics* g) override;
    void MouseDown(int px, int py, int clickCode) override;

    int id;
    CheckboxListener* checkboxListener;
    bool checked = false;
    Image* checkedImage;
    Image* uncheckedImage;
    Rect checkedRect;
    Rect uncheckedRect;
    Color outlineColor;
    Color bkgColor = Color(80, 80, 80);
    Color checkColor = Color(255, 255, 0);

    // Set by the game when its checkbox image is loaded.
    static Image* sDefaultImage;
    // Outline of image-less checkboxes.
    static Color sDefaultOutlineColor;
};

} // namespace Zorvin
