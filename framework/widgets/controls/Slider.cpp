#include "framework/widgets/controls/Slider.h"

#include <algorithm>

#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/widgets/SliderListener.h"
#include "framework/widgets/WidgetHost.h"

namespace Zorvin {

Image* Slider::sDefaultTrackImage = nullptr;
Image* Slider::sDefaultThumbImage = nullptr;

Slider::Slider(Image* track, Image* thumb, int sliderId, SliderListener* listener)
    : id(sliderId), sliderListener(listener), trackImage(track), thumbImage(thumb)
{
    hasTransparencies = true;
}

Slider::Slider(int sliderId, SliderListener* listener)
    : Slider(sDefaultTrackImage, sDefaultThumbImage, sliderId, listener)
{
}

void Slider::SetValue(double newValue)
{
    value = std::clamp(newValue, 0.0, 1.0);
    MarkDirtyWithBelow();
}

int Slider::GetThumbX() const
{
    int tw = thumbImage ? thumbImage->width : 0;
    return int(double(width - tw) * value);
}

bool Slider::OnThumb(int px, int py) const
{
    if (!thumbImage)
        return false;
    int tx = GetThumbX(), ty = (height - thumbImage->height) / 2;
    return Rect(tx, ty, thumbImage->width, thumbImage->height).Contains(px, py);
}

void Slider::SetCursor(int number)
{
    if (WidgetHost* host = GetHost())
        host->SetCursorNumber(number);
}

void Slider::Draw(Graphics* g)
{
    if (trackImage && trackImage->width >= 3) {
        int cw = trackImage->width / 3, th = trackImage->height;
        int ty = (height - th) / 2;
        g->DrawImage(trackImage, 0, ty, Rect(0, 0, cw, th));
        Graphics middle(*g);
        middle.ClipRect(cw, 0, width - 2 * cw, height);
        int repeats = (width - cw - 1) / cw;
        for (int i = 0; i < repeats; i++)
            middle.DrawImage(trackImage, cw + i * cw, ty, Rect(cw, 0, cw, th));
        g->DrawImage(trackImage, width - cw, ty, Rect(2 * cw, 0, cw, th));
    }
    if (thumbImage)
        g->DrawImage(thumbImage, GetThumbX(), (height - thumbImage->height) / 2);
}

void Slider::MouseMove(int px, int py)
{
    Widget::MouseMove(px, py);
    if (!dragging)
        SetCursor(OnThumb(px, py) ? 2 : 0);
}

void Slider::MouseDown(int px, int py, int clickCode)
{
    Widget::MouseDown(px, py, clickCode);
    if (!OnThumb(px, py))
        return;
    SetCursor(2);
    dragging = true;
    relX = px - GetThumbX();
}

void Slider::MouseDrag(int px, int py)
{
    Widget::MouseDrag(px, py);
    if (!dragging)
        return;
    int range = width - (thumbImage ? thumbImage->width : 0);
    double v = range > 0 ? double(px - relX) / double(range) : 0.0;
    v = std::clamp(v, 0.0, 1.0);
    if (v != value) {
        value = v;
        MarkDirtyWithBelow();
        if (sliderListener)
            sliderListener->OnSliderMoved(id, value);
    }
}

void Slider::MouseUp(int px, int py)
{
    Widget::MouseUp(px, py);
    if (!dragging)
        return;
    dragging = false;
    SetCursor(0);
    if (sliderListener)
        sliderListener->OnSliderMoved(id, value);
}

void Slider::MouseLeave()
{
    Widget::MouseLeave();
    if (!dragging)
        SetCursor(0);
}

} // namespace Zorvin
