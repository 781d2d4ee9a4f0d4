#include "framework/widgets/controls/ButtonWidget.h"

#include <algorithm>

#include "framework/widgets/ButtonListener.h"
#include "framework/graphics/Graphics.h"
#include "framework/font/SysFont.h"
#include "framework/widgets/WidgetHost.h"

namespace Zorvin {

namespace {
// Fades step in doubles; snapping the last step avoids 0.1 * 10 = 0.9999.
constexpr double FadeEpsilon = 1e-6;
} // namespace

ButtonWidget::ButtonWidget(int buttonId, ButtonListener* listener) : id(buttonId), buttonListener(listener)
{
    colors = {Color(255, 255, 255), Color(255, 255, 255)};
    hasAlpha = true;
}

ButtonWidget::~ButtonWidget() = default;

void ButtonWidget::SetFont(Font* newFont) { font = newFont ? newFont->Duplicate() : nullptr; }

Font* ButtonWidget::GetFont()
{
    if (!font && !label.empty())
        font = std::make_unique<SysFont>("SansSerif", 10);
    return font.get();
}

bool ButtonWidget::IsButtonDown() const { return isDown && isOver && !disabled; }

bool ButtonWidget::ShouldRedrawOnHover() const
{
    return isDown || overImage != nullptr || !(GetColor(ColorLabel) == GetColor(ColorLabelHilite));
}

bool ButtonWidget::IsFading() const
{
    return overAlpha > 0 && (overAlpha < 1 || !isOver);
}

void ButtonWidget::Update()
{
    Widget::Update();
    if (isDown && isOver && buttonListener)
        buttonListener->OnButtonHeld(id);

    if (!isDown && !isOver && overAlpha > 0) {
        overAlpha = overAlphaSpeed > 0 ? overAlpha - overAlphaSpeed : 0;
        if (overAlpha < FadeEpsilon)
            overAlpha = 0;
        MarkDirty();
    } else if (isOver && overAlphaFadeInSpeed > 0 && overAlpha < 1) {
        overAlpha += overAlphaFadeInSpeed;
        if (overAlpha > 1 - FadeEpsilon)
            overAlpha = 1;
        MarkDirty();
    }
}

void ButtonWidget::MouseEnter()
{
    Widget::MouseEnter();
    if (overAlphaFadeInSpeed == 0)
        overAlpha = 0;
    if (ShouldRedrawOnHover())
        MarkDirty();
    if (buttonListener)
        buttonListener->OnButtonEnter(id);
}

void ButtonWidget::MouseLeave()
{
    Widget::MouseLeave();
    if (overAlphaSpeed == 0)
        overAlpha = 0;
    else if (overAlpha == 0)
        overAlpha = 1;
    if (ShouldRedrawOnHover())
        MarkDirty();
    if (buttonListener)
        buttonListener->OnButtonLeave(id);
}

void ButtonWidget::MouseMove(int px, int py)
{
    Widget::MouseMove(px, py);
    if (buttonListener)
        buttonListener->OnButtonHover(id, px, py);
}

void ButtonWidget::MouseDown(int px, int py, int clickCode)
{
    Widget::MouseDown(px, py, clickCode);
    MarkDirty();
    if (buttonListener)
        buttonListener->OnButtonDown(id, clickCode);
}

void ButtonWidget::MouseUp(int px, int py)
{
    Widget::MouseUp(px, py);
    // Marked first: the listener may close whatever owns this button.
    MarkDirty();
    WidgetHost* host = GetHost();
    bool appHasFocus = host == nullptr || host->IsAppFocused();
    if (isOver && appHasFocus && !disabled && buttonListener)
        buttonListener->OnButtonClick(id);
}

void ButtonWidget::SetDisabled(bool isDisabled)
{
    Widget::SetDisabled(isDisabled);
    if (disabledImage)
        MarkDirty();
}

void ButtonWidget::DrawButtonImage(Graphics* g, Image* image, const Rect& srcRect, int px, int py)
{
    if (!image)
        return;
    if (srcRect.width == 0)
        g->DrawImage(image, px, py);
    else
        g->DrawImage(image, px, py, srcRect);
}

int ButtonWidget::LabelX()
{
    Font* f = GetFont();
    int tw = f ? f->StringWidth(label) : 0;
    if (labelJustify == 0)
        return (width - tw) / 2;
    if (labelJustify == 1)
        return width - tw;
    return 0;
}

int ButtonWidget::LabelY()
{
    Font* f = GetFont();
    if (!f)
        return 0;
    int ascent = f->GetAscent();
    return (ascent + height - ascent / 6 - 1) / 2;
}

void ButtonWidget::DrawLabel(Graphics* g, int px, int py, const Color& color)
{
    Font* f = GetFont();
    if (!f || label.empty())
        return;
    g->SetFont(f);
    g->SetColor(color);
    g->DrawString(label, px, py);
}

void ButtonWidget::Draw(Graphics* g)
{
    if (btnNoDraw)
        return;
    bool pressed = IsButtonDown() != inverted;
    int lx = LabelX(), ly = LabelY();

    if (buttonImage || downImage) {
        if (pressed) {
            if (downImage)
                DrawButtonImage(g, downImage, downRect, 0, 0);
            else if (overImage)
                DrawButtonImage(g, overImage, overRect, 1, 1);
            else
                DrawButtonImage(g, buttonImage, normalRect, 1, 1);
            DrawLabel(g, lx + 1, ly + 1, GetColor(ColorLabelHilite));
            return;
        }
        if (disabled && disabledImage) {
            DrawButtonImage(g, disabledImage, disabledRect, 0, 0);
        } else if (IsFading() && overImage) {
            DrawButtonImage(g, buttonImage, normalRect, 0, 0);
            Graphics faded(*g);
            faded.SetColorizeImages(true);
            faded.SetColor(Color(255, 255, 255, int(overAlpha * 255)));
            DrawButtonImage(&faded, overImage, overRect, 0, 0);
        } else if ((isOver || isDown) && overImage) {
            DrawButtonImage(g, overImage, overRect, 0, 0);
        } else {
            DrawButtonImage(g, buttonImage, normalRect, 0, 0);
        }
        DrawLabel(g, lx, ly, GetColor(isOver ? ColorLabelHilite : ColorLabel));
        return;
    }

    if (!frameNoDraw) {
        g->SetColor(Color(212, 212, 212));
        g->FillRect(0, 0, width, height);
    }
    if (pressed) {
        if (!frameNoDraw) {
            g->SetColor(Color::Black);
            g->DrawRect(0, 0, width - 1, height - 1);
            g->SetColor(Color(128, 128, 128));
            g->DrawLine(1, 1, width - 2, 1);
            g->DrawLine(1, 1, 1, height - 2);
        }
        DrawLabel(g, lx + 1, ly + 1, Color::Black);
    } else {
        if (!frameNoDraw) {
            g->SetColor(Color::White);
            g->DrawLine(0, 0, width - 2, 0);
            g->DrawLine(0, 0, 0, height - 2);
            g->SetColor(Color::Black);
            g->DrawLine(0, height - 1, width - 1, height - 1);
            g->DrawLine(width - 1, 0, width - 1, height - 1);
            g->SetColor(Color(128, 128, 128));
            g->DrawLine(1, height - 2, width - 2, height - 2);
            g->DrawLine(width - 2, 1, width - 2, height - 2);
        }
        DrawLabel(g, lx, ly, GetColor(isOver ? ColorLabelHilite : ColorLabel));
    }
}

} // namespace Zorvin
