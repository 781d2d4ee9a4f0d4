#pragma once

// Slider: a thumb dragged along a track, reporting a value from 0 to 1. The
// track image is three equal cells (left end, middle, right end); the middle
// repeats to fill the width. Owned by its creator; the listener is not owned.

#include "framework/widgets/Widget.h"

namespace Zorvin {

class Image;
class SliderListener;

class Slider : public Widget {
public:
    Slider(Image* track, Image* thumb, int sliderId, SliderListener* listener);
    // Uses the shared default images.
    Slider(int sliderId, SliderListener* listener);

    // Stores the value (limited to 0..1) and redraws with what lies below.
    virtual void SetValue(double newValue);
    double GetValue() const { return value; }
    int GetThumbX() const;

    void Draw(Graphics* g) override;
    void MouseMove(int px, int py) override;
    void MouseDown(int px, int py, int clickCode) override;
    void MouseDrag(int px, int py) override;
    void MouseUp(int px, int py) override;
    void MouseLeave() override;

    int id;
    SliderListener* sliderListener;
    double value = 0;
    Image* trackImage;
    Image* thumbImage;
    bool dragging = false;
    int relX = 0;

    // Set by the game when its slider images are loaded.
    static Image* sDefaultTrackImage;
    static Image* sDefaultThumbImage;

private:
    bool OnThumb(int px, int py) const;
    void SetCursor(int number);
};

} // namespace Zorvin
