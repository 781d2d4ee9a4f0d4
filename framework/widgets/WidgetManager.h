#pragma once

// WidgetManager: the root of the widget tree. The application feeds it one
// logic update per tick, one draw per frame and every input event; it walks
// the tree, keeps track of which widget the mouse is over, which one holds
// the pressed buttons and which one has the keyboard, and what a modal
// widget blocks. It refers to widgets in these roles but owns none of them;
// removing a widget from the tree clears every role it had. The application
// owns the manager.

#include "framework/widgets/Widget.h"

#include <vector>

namespace Zorvin {

class Image;
class WidgetHost;

class WidgetManager : public WidgetContainer {
public:
    static constexpr int DefaultWidgetFlags = UpdateBit | DrawBit | ClipBit | MouseBit | FocusBit;
    static constexpr int KeyCount = 255;

    // The host may be none (a tree without an application, as in tests).
    explicit WidgetManager(WidgetHost* host);
    ~WidgetManager() override;

    // One logic update of the whole tree; true when something became dirty.
    bool UpdateWidgets();
    bool UpdateWidgetsSmooth(double frac);
    // Draws the dirty top-level widgets into the screen image, and within
    // each dirty area every visible top-level widget from the topmost one
    // that covers the area opaquely up, clipped to the area; true when
    // something was drawn.
    bool DrawDirtyWidgets();
    // Adds a part of the screen (window coordinates) to repaint in the next
    // draw; WidgetContainer::MarkDirty(const Rect&) comes here.
    void AddDirtyArea(const Rect& area);
    void ResizeRoot(int newWidth, int newHeight);

    // Input, in window coordinates.
    void MouseMove(int px, int py);
    void MouseDrag(int px, int py);
    void MouseDown(int px, int py, int clickCode);
    void MouseUp(int px, int py, int clickCode);
    void MouseWheel(int delta);
    void MouseLeftWindow();
    void KeyDown(int key);
    void KeyUp(int key);
    void CharTyped(char ch);
    bool IsKeyDown(int key) const { return key >= 0 && key < KeyCount && keyDown[key]; }

    void AppGotFocus();
    void AppLostFocus();
    void ReleaseMouseButtons();
    void SetFocusWidget(Widget* widget);

    void PushModal(Widget* widget);
    void PushModal(Widget* widget, const FlagModifiers& belowModalMod);
    void PopModal(Widget* widget);

    // Drops the widget from every role the manager has for it.
    void ForgetWidget(Widget* widget);
    void RecheckMouseOver();
    void UpdateMouseOver(int px, int py);
    Widget* WidgetAt(int px, int py, int* localX, int* localY);
    Widget* EnabledWidgetAt(int px, int py, int* localX, int* localY);
    void DismissPopup();

    // Queues a widget's DrawDeferredOverlay to run after everything of a
    // lower priority has been drawn in this frame.
    void AddDeferredOverlay(Widget* widget, int overlayPriority);
    // Draws the queued overlays whose priority is below the bound, lowest
    // priority first.
    void FlushDeferredOverlays(int belowPriority);

    // Fresh flags for a walk over the tree.
    void InitModalFlags(ModalFlags* flags) const;

    Widget* GetFocusWidget() const { return focusWidget; }
    Widget* GetOverWidget() const { return overWidget; }
    Widget* GetLastDownWidget() const { return lastDownWidget; }
    Widget* GetModalWidget() const { return baseModalWidget; }

    struct PreModalInfo {
        Widget* baseModalWidget = nullptr;
        Widget* prevBaseModalWidget = nullptr;
        Widget* prevFocusWidget = nullptr;
        FlagModifiers prevBelowModalFlagsMod;
    };
    struct DeferredOverlay {
        Widget* widget = nullptr;
        int priority = 0;
        // The clip limit of the draw that queued it (a partial repaint's
        // area, or the whole screen).
        Rect limit;
    };

    WidgetHost* host = nullptr;
    Image* image = nullptr;
    Widget* defaultTab = nullptr;
    Widget* popupCommandWidget = nullptr;
    Widget* focusWidget = nullptr;
    Widget* lastDownWidget = nullptr;
    Widget* overWidget = nullptr;
    Widget* baseModalWidget = nullptr;
    bool hasFocus = true;
    int widgetFlags = DefaultWidgetFlags;
    FlagModifiers lostFocusFlagsMod;
    FlagModifiers belowModalFlagsMod;
    FlagModifiers defaultBelowModalFlagsMod{0, MouseBit | FocusBit};
    std::vector<PreModalInfo> preModalInfoList;
    bool mouseIn = false;
    int lastMouseX = 0;
    int lastMouseY = 0;
    int downButtons = 0;
    int actualDownButtons = 0;
    bool keyDown[KeyCount] = {};
    int lastInputUpdateCnt = 0;
    std::vector<DeferredOverlay> deferredOverlayWidgets;
    int minDeferredOverlayPriority = 0x7FFFFFFF;
    // Logic updates so far; each widget's Update runs once per count.
    int updateCount = 0;
    // The parts of the screen to repaint in the next draw, window
    // coordinates.
    std::vector<Rect> dirtyAreas;
    // The clip limit of the top-level widget being drawn.
    Rect drawLimit;

private:
    // Whether the top-level widget covers the whole area with opaque pixels.
    static bool CoversOpaquely(const Widget* widget, const Rect& area);
    // Draws one top-level widget through a context limited to `limit`.
    void DrawTopLevel(Widget* child, ModalFlags* flags, Graphics& g, const Rect& limit);
    void SetBaseModal(Widget* widget, const FlagModifiers& belowModalMod);
    void LeaveOverWidget();
    void EnterOverWidget(Widget* widget, int localX, int localY);
};

} // namespace Zorvin
