#pragma once

// Widget: one visible element of the tree — a screen, a panel, a dialog or a
// control. It adds visibility, mouse and focus state, a colour table and
// insets to the container, and the input handlers that the WidgetManager
// calls with local coordinates. Widgets are owned by whoever created them;
// the tree only links them. A handler may remove or even delete its own
// widget through the application's deferred deletion.

#include "framework/core/Color.h"
#include "framework/widgets/WidgetContainer.h"

#include <string>
#include <vector>

namespace Zorvin {

class Image;
class WidgetHost;

class Widget : public WidgetContainer {
public:
    Widget() = default;
    ~Widget() override;

    virtual void OnZOrderChanged() {}
    virtual void SetVisible(bool isVisible);
    virtual void SetDisabled(bool isDisabled);
    virtual void ShowHandCursor(bool show);
    virtual void Resize(const Rect& rect) { Resize(rect.x, rect.y, rect.width, rect.height); }
    virtual void Resize(int newX, int newY, int newWidth, int newHeight);
    virtual void Move(int newX, int newY) { Resize(newX, newY, width, height); }
    virtual bool AcceptsFocus() { return wantsFocus; }
    virtual void DrawDeferredOverlay(Graphics* g);
    // Draws the widget and its children, then the focus ring when shown.
    void DrawTree(ModalFlags* flags, Graphics* g) override;
    // Shows or hides the ring that marks the control the keyboard acts on.
    void ShowFocusRing(bool show);
    virtual void GotFocus() { hasFocus = true; }
    virtual void LostFocus() { hasFocus = false; }
    virtual void CharTyped(char ch);
    virtual void KeyDown(int key);
    virtual void KeyUp(int key);
    virtual void MouseEnter() {}
    virtual void MouseLeave() {}
    virtual void MouseMove(int px, int py);
    // button: 0 left, 1 right, 2 middle; clicks: 1 single, 2 double.
    virtual void MouseDown(int px, int py, int button, int clicks);
    // Click codes: 1 left, 2 left double, -1 right, -2 right double, 3 middle.
    virtual void MouseDown(int px, int py, int clickCode);
    virtual void MouseUp(int px, int py, int button, int clicks);
    virtual void MouseUp(int px, int py, int clickCode);
    virtual void MouseUp(int px, int py);
    virtual void MouseDrag(int px, int py);
    virtual void MouseWheel(int delta);
    // False for points the widget does not cover, so the mouse reaches what
    // lies below.
    virtual bool IsOpaqueAt(int px, int py);

    // The colour table; what each index means is up to the widget class.
    virtual void SetColors(const int colorRows[][4], int count);
    virtual void SetColors(const int colorRows[][3], int count);
    virtual void SetColor(int index, const Color& color);
    virtual const Color& GetColor(int index, const Color& fallback) const;
    virtual const Color& GetColor(int index) const;

    // Draws the text centred in the widget's width with its baseline at y:
    // first in colour2 shifted by offset (a shadow), then in colour1.
    // Returns the rectangle both cover.
    Rect DrawCenteredText(Graphics* g, int y, const std::string& text, const Color& color1, const Color& color2,
                          const Point& offset);
    Rect DrawCenteredText(Graphics* g, int y, const std::string& text);
    // The context's text operations with colour codes switched on.
    int DrawTextLine(Graphics* g, const std::string& text, int px, int py, int lineWidth = -1, int justification = -1,
                     bool draw = true, int start = 0, int length = -1);
    int DrawWrappedText(Graphics* g, const Rect& rect, const std::string& text, int lineSpacing = -1,
                        int justification = -1);
    int MeasureWrappedHeight(Graphics* g, int wrapWidth, const std::string& text, int lineSpacing = -1);
    // Number of decimal digits of n; 1 for anything below 10, negatives too.
    static int CountDigits(int n);
    // Draws n from an image strip of ten equal cells for 0..9, left to right
    // from (px, py), each digit spacing pixels after the previous cell.
    static void DrawNumberFromStrip(Graphics* g, int n, int px, int py, Image* strip, int spacing);
    // Inside the widget's rectangle, in the parent's coordinates.
    bool Contains(int px, int py) const { return GetRect().Contains(px, py); }
    Rect GetInnerRect() const;
    // The application running the tree this widget is in; none while the
    // widget is detached or the tree runs without an application.
    WidgetHost* GetHost() const;

    bool visible = true;
    bool mouseVisible = true;
    bool disabled = false;
    bool hasFocus = false;
    bool isDown = false;
    bool isOver = false;
    bool hasTransparencies = false;
    int insetLeft = 0;
    int insetTop = 0;
    int insetRight = 0;
    int insetBottom = 0;
    std::vector<Color> colors;
    bool doHandCursor = false;
    bool wantsFocus = false;
    // The keyboard acts on this control (a dialog moved its focus here).
    bool showFocusRing = false;
    Widget* tabPrev = nullptr;
    Widget* tabNext = nullptr;
    // While above zero, deferred deletion passes this widget over: a frame
    // further up the stack (a wait for a dialog's answer) still uses it.
    int deleteHolds = 0;
};

} // namespace Zorvin
