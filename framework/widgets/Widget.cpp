#include "framework/widgets/Widget.h"

#include "framework/widgets/FocusRing.h"

#include "framework/core/KeyCodes.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/widgets/WidgetManager.h"
#include "framework/widgets/WidgetHost.h"

#include <algorithm>
#include <cstdlib>

namespace Zorvin {

Widget::~Widget()
{
    // A widget deleted while still linked would leave its parent and the
    // manager with a dangling pointer; unlink it and its children instead.
    if (parent != nullptr)
        parent->RemoveChild(this);
    for (Widget* child : children) {
        child->parent = nullptr;
        child->manager = nullptr;
    }
}

void Widget::SetVisible(bool isVisible)
{
    if (visible == isVisible)
        return;
    visible = isVisible;
    if (visible)
        MarkDirty();
    else
        MarkDirtyWithBelow();
    if (manager != nullptr)
        manager->RecheckMouseOver();
}

void Widget::SetDisabled(bool isDisabled)
{
    if (disabled == isDisabled)
        return;
    disabled = isDisabled;
    if (disabled && manager != nullptr)
        manager->ForgetWidget(this);
    MarkDirty();
    if (!disabled && manager != nullptr) {
        int ax, ay;
        GetAbsolutePosition(ax, ay);
        if (Rect(ax, ay, width, height).Contains(manager->lastMouseX, manager->lastMouseY))
            manager->UpdateMouseOver(manager->lastMouseX, manager->lastMouseY);
    }
}

void Widget::ShowHandCursor(bool show)
{
    if (WidgetHost* host = GetHost())
        host->SetCursorNumber(show ? 1 : 0);
}

WidgetHost* Widget::GetHost() const { return manager != nullptr ? manager->host : nullptr; }

void Widget::Resize(int newX, int newY, int newWidth, int newHeight)
{
    if (x == newX && y == newY && width == newWidth && height == newHeight)
        return;
    MarkDirtyWithBelow();
    x = newX;
    y = newY;
    width = newWidth;
    height = newHeight;
    MarkDirty();
    if (manager != nullptr)
        manager->RecheckMouseOver();
}

void Widget::DrawDeferredOverlay(Graphics*) {}

void Widget::CharTyped(char) {}

void Widget::KeyDown(int key)
{
    if (key != KeyTab || manager == nullptr)
        return;
    Widget* target = manager->IsKeyDown(KeyShift) ? tabPrev : tabNext;
    if (target != nullptr)
        manager->SetFocusWidget(target);
}

void Widget::KeyUp(int) {}
void Widget::MouseMove(int, int) {}
void Widget::MouseDown(int, int, int, int) {}

void Widget::MouseDown(int px, int py, int clickCode)
{
    if (clickCode == 3)
        MouseDown(px, py, 2, 1);
    else if (clickCode < 0)
        MouseDown(px, py, 1, -clickCode);
    else
        MouseDown(px, py, 0, clickCode);
}

void Widget::MouseUp(int, int, int, int) {}

void Widget::MouseUp(int px, int py, int clickCode)
{
    MouseUp(px, py);
    if (clickCode == 3)
        MouseUp(px, py, 2, 1);
    else if (clickCode < 0)
        MouseUp(px, py, 1, -clickCode);
    else
        MouseUp(px, py, 0, clickCode);
}

void Widget::MouseUp(int, int) {}
void Widget::MouseDrag(int, int) {}
void Widget::MouseWheel(int) {}
bool Widget::IsOpaqueAt(int, int) { return true; }

void Widget::SetColors(const int colorRows[][4], int count)
{
    colors.clear();
    for (int i = 0; i < count; ++i)
        colors.emplace_back(colorRows[i][0], colorRows[i][1], colorRows[i][2], colorRows[i][3]);
    MarkDirty();
}

void Widget::SetColors(const int colorRows[][3], int count)
{
    colors.clear();
    for (int i = 0; i < count; ++i)
        colors.emplace_back(colorRows[i][0], colorRows[i][1], colorRows[i][2], 255);
    MarkDirty();
}

void Widget::SetColor(int index, const Color& color)
{
    if (index < 0)
        return;
    if (static_cast<size_t>(index) >= colors.size())
        colors.resize(index + 1);
    colors[index] = color;
    MarkDirty();
}

const Color& Widget::GetColor(int index, const Color& fallback) const
{
    if (index < 0 || static_cast<size_t>(index) >= colors.size())
        return fallback;
    return colors[index];
}

const Color& Widget::GetColor(int index) const
{
    static const Color defaultColor;
    return GetColor(index, defaultColor);
}

Rect Widget::DrawCenteredText(Graphics* g, int py, const std::string& text, const Color& color1,
                              const Color& color2, const Point& offset)
{
    Font* font = g->GetFont();
    if (font == nullptr)
        return Rect();
    int textWidth = font->StringWidth(text);
    int tx = (width - textWidth) / 2;
    g->SetColor(color2);
    g->DrawString(text, tx + offset.x, py + offset.y);
    g->SetColor(color1);
    g->DrawString(text, tx, py);
    return Rect(tx + std::min(offset.x, 0), py + std::min(offset.y, 0) - font->GetAscent(),
                textWidth + std::abs(offset.x), font->GetHeight() + std::abs(offset.y));
}

Rect Widget::DrawCenteredText(Graphics* g, int py, const std::string& text)
{
    Font* font = g->GetFont();
    if (font == nullptr)
        return Rect();
    int textWidth = font->StringWidth(text);
    int tx = (width - textWidth) / 2;
    g->DrawString(text, tx, py);
    return Rect(tx, py - font->GetAscent(), textWidth, font->GetHeight());
}

namespace {

// Switches colour codes on for one text call and back afterwards.
class ColoredText {
public:
    explicit ColoredText(Graphics* graphics) : g(graphics), old(graphics->GetWriteColoredString())
    {
        g->SetWriteColoredString(true);
    }
    ~ColoredText() { g->SetWriteColoredString(old); }

private:
    Graphics* g;
    bool old;
};

} // namespace

int Widget::DrawTextLine(Graphics* g, const std::string& text, int px, int py, int lineWidth, int justification,
                         bool draw, int start, int length)
{
    ColoredText on(g);
    return g->WriteString(text, px, py, lineWidth, justification, draw, start, length);
}

int Widget::DrawWrappedText(Graphics* g, const Rect& rect, const std::string& text, int lineSpacing,
                            int justification)
{
    ColoredText on(g);
    return g->WriteWordWrapped(rect, text, lineSpacing, justification);
}

int Widget::MeasureWrappedHeight(Graphics* g, int wrapWidth, const std::string& text, int lineSpacing)
{
    ColoredText on(g);
    return g->GetWordWrappedHeight(wrapWidth, text, lineSpacing);
}

void Widget::DrawNumberFromStrip(Graphics* g, int n, int px, int py, Image* strip, int spacing)
{
    if (strip == nullptr || strip->GetWidth() < 10)
        return;
    // Only the digits are drawn; the strip has no cell for a sign.
    long long value = n < 0 ? -static_cast<long long>(n) : n;
    std::string digits = std::to_string(value);
    int cellWidth = strip->GetWidth() / 10;
    for (char c : digits) {
        int d = c - '0';
        Graphics cell(*g);
        cell.ClipRect(px, py, cellWidth, strip->GetHeight());
        cell.DrawImage(strip, px - d * cellWidth, py);
        px += cellWidth + spacing;
    }
}

int Widget::CountDigits(int n)
{
    int count = 1;
    for (long long p = 10; p <= n; p *= 10)
        ++count;
    return count;
}

Rect Widget::GetInnerRect() const
{
    return Rect(x + insetLeft, y + insetTop, width - insetLeft - insetRight, height - insetTop - insetBottom);
}

void Widget::DrawTree(ModalFlags* flags, Graphics* g)
{
    WidgetContainer::DrawTree(flags, g);
    if (showFocusRing && (flags->GetFlags() & DrawBit))
        DrawFocusRing(g, width, height);
}

void Widget::ShowFocusRing(bool show)
{
    if (show == showFocusRing)
        return;
    showFocusRing = show;
    MarkDirty();
}

} // namespace Zorvin
