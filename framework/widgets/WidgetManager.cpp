// Sections:
//   - dirty areas
//   - updates
//   - drawing (dirty widgets, top level, deferred overlays)
//   - the mouse (over, move, drag, buttons, wheel, leaving)
//   - keys and characters
//   - application focus

#include "framework/widgets/WidgetManager.h"

#include "framework/core/KeyCodes.h"
#include "framework/graphics/Graphics.h"
#include "framework/widgets/WidgetHost.h"

#include <algorithm>
#include <climits>
#include <cstddef>

namespace Zorvin {

namespace {

int ButtonBit(int clickCode) { return clickCode < 0 ? 2 : clickCode == 3 ? 4 : 1; }

// The areas limited to the screen, overlapping ones merged into their
// bounding box until none overlap: a translucent widget drawn twice over
// the same pixel would blend there twice.
std::vector<Rect> DisjointAreas(const std::vector<Rect>& dirtyAreas, const Rect& screen)
{
    std::vector<Rect> areas;
    for (const Rect& r : dirtyAreas) {
        Rect area = r.Intersection(screen);
        if (area.IsEmpty())
            continue;
        // Merging can make an area reach others it missed before: take the
        // merged one out and add it again until it overlaps nothing.
        for (size_t i = 0; i < areas.size();) {
            if (areas[i].Intersects(area)) {
                area = area.Union(areas[i]);
                areas.erase(areas.begin() + static_cast<std::ptrdiff_t>(i));
                i = 0;
            } else {
                ++i;
            }
        }
        areas.push_back(area);
    }
    return areas;
}

} // namespace

WidgetManager::WidgetManager(WidgetHost* widgetHost) : host(widgetHost)
{
    manager = this;
    belowModalFlagsMod = defaultBelowModalFlagsMod;
}

WidgetManager::~WidgetManager()
{
    // The widgets outlive the manager in their owners' hands; unlink them so
    // none keeps pointing at it.
    RemoveAllChildren(false, false);
}

void WidgetManager::InitModalFlags(ModalFlags* flags) const
{
    flags->overFlags = hasFocus ? widgetFlags : lostFocusFlagsMod.Apply(widgetFlags);
    flags->underFlags = belowModalFlagsMod.Apply(flags->overFlags);
    flags->isOver = baseModalWidget == nullptr;
}

bool WidgetManager::UpdateWidgets()
{
    ++updateCount;
    ModalFlags flags;
    InitModalFlags(&flags);
    UpdateTree(&flags);
    return dirty;
}

bool WidgetManager::UpdateWidgetsSmooth(double frac)
{
    ModalFlags flags;
    InitModalFlags(&flags);
    UpdateTreeSmooth(&flags, frac);
    return dirty;
}

bool WidgetManager::DrawDirtyWidgets()
{
    ModalFlags flags;
    InitModalFlags(&flags);
    minDeferredOverlayPriority = INT_MAX;
    deferredOverlayWidgets.clear();
    std::vector<Rect> areas;
    areas.swap(dirtyAreas);
    bool drew = false;
    if (image != nullptr) {
        Graphics g(image);
        Rect whole(0, 0, image->width, image->height);
        areas = DisjointAreas(areas, whole);
        bool anyDirty = !areas.empty() ||
                        std::any_of(children.begin(), children.end(), [](Widget* w) { return w->dirty; });
        if (anyDirty) {
            bool accelerated = host != nullptr && host->IsAccelerated();
            g.SetFastStretch(!accelerated);
            g.SetLinearBlend(accelerated);
            // Copy the list: a Draw that changes the tree must not upset
            // this walk.
            std::vector<Widget*> topLevel(children.begin(), children.end());
            // Each area is repainted from the topmost widget that hides
            // everything beneath it there (from the bottom when none does).
            std::vector<size_t> firstDrawn(areas.size(), 0);
            for (size_t a = 0; a < areas.size(); ++a) {
                for (size_t i = topLevel.size(); i-- > 0;) {
                    if (CoversOpaquely(topLevel[i], areas[a])) {
                        firstDrawn[a] = i;
                        break;
                    }
                }
            }
            for (size_t i = 0; i < topLevel.size(); ++i) {
                Widget* child = topLevel[i];
                if (child->parent != this)
                    continue;
                if (child == baseModalWidget)
                    flags.isOver = true;
                if (!child->visible)
                    continue;
                if (child->dirty) {
                    DrawTopLevel(child, &flags, g, whole);
                    drew = true;
                    continue;
                }
                // The same widget once per area: the walk's modal state
                // starts each time where it stood before the widget.
                bool isOver = flags.isOver;
                for (size_t a = 0; a < areas.size(); ++a) {
                    if (i < firstDrawn[a])
                        continue;
                    flags.isOver = isOver;
                    DrawTopLevel(child, &flags, g, areas[a]);
                    drew = true;
                }
            }
        }
        drawLimit = whole;
        FlushDeferredOverlays(INT_MAX);
    }
    dirty = false;
    return drew;
}

void WidgetManager::AddDirtyArea(const Rect& area)
{
    if (area.IsEmpty())
        return;
    dirtyAreas.push_back(area);
    dirty = true;
}

bool WidgetManager::CoversOpaquely(const Widget* widget, const Rect& area)
{
    return widget->parent == widget->manager && widget->visible && !widget->hasAlpha &&
           !widget->hasTransparencies && widget->GetRect().Contains(area);
}

void WidgetManager::DrawTopLevel(Widget* child, ModalFlags* flags, Graphics& g, const Rect& limit)
{
    drawLimit = limit;
    Graphics childContext(g);
    childContext.LimitClip(limit);
    childContext.Translate(child->x, child->y);
    child->DrawTree(flags, &childContext);
    child->dirty = false;
}

void WidgetManager::FlushDeferredOverlays(int belowPriority)
{
    while (!deferredOverlayWidgets.empty() && minDeferredOverlayPriority < belowPriority) {
        int current = minDeferredOverlayPriority;
        std::vector<DeferredOverlay> due;
        std::vector<DeferredOverlay> rest;
        for (const DeferredOverlay& o : deferredOverlayWidgets)
            (o.priority == current ? due : rest).push_back(o);
        deferredOverlayWidgets = std::move(rest);
        for (const DeferredOverlay& o : due) {
            if (image == nullptr)
                break;
            // Overlays draw at the widget's place on the screen, unclipped
            // by whatever container happened to be drawing.
            Graphics g(image);
            if (!o.limit.IsEmpty())
                g.LimitClip(o.limit);
            int ax, ay;
            o.widget->GetAbsolutePosition(ax, ay);
            g.Translate(ax, ay);
            o.widget->DrawDeferredOverlay(&g);
        }
        minDeferredOverlayPriority = INT_MAX;
        for (const DeferredOverlay& o : deferredOverlayWidgets)
            minDeferredOverlayPriority = std::min(minDeferredOverlayPriority, o.priority);
    }
    if (deferredOverlayWidgets.empty())
        minDeferredOverlayPriority = INT_MAX;
}

void WidgetManager::ResizeRoot(int newWidth, int newHeight)
{
    width = newWidth;
    height = newHeight;
}

void WidgetManager::LeaveOverWidget()
{
    Widget* w = overWidget;
    if (w == nullptr)
        return;
    overWidget = nullptr;
    w->isOver = false;
    w->MouseLeave();
    if (w->doHandCursor)
        w->ShowHandCursor(false);
}

void WidgetManager::EnterOverWidget(Widget* w, int localX, int localY)
{
    overWidget = w;
    w->isOver = true;
    w->MouseEnter();
    if (w->doHandCursor)
        w->ShowHandCursor(true);
    if (overWidget == w)
        w->MouseMove(localX, localY);
}

void WidgetManager::UpdateMouseOver(int px, int py)
{
    int oldX = lastMouseX, oldY = lastMouseY;
    lastMouseX = px;
    lastMouseY = py;
    int lx = 0, ly = 0;
    Widget* w = EnabledWidgetAt(px, py, &lx, &ly);
    if (w != overWidget) {
        LeaveOverWidget();
        if (w != nullptr)
            EnterOverWidget(w, lx, ly);
    } else if (w != nullptr && (oldX != px || oldY != py)) {
        w->MouseMove(lx, ly);
    }
}

void WidgetManager::MouseMove(int px, int py)
{
    lastInputUpdateCnt = updateCount;
    if (downButtons != 0) {
        MouseDrag(px, py);
        return;
    }
    mouseIn = true;
    UpdateMouseOver(px, py);
}

void WidgetManager::MouseDrag(int px, int py)
{
    lastInputUpdateCnt = updateCount;
    mouseIn = true;
    lastMouseX = px;
    lastMouseY = py;
    if (overWidget != nullptr && overWidget != lastDownWidget)
        LeaveOverWidget();
    if (lastDownWidget == nullptr)
        return;
    int ax, ay;
    lastDownWidget->GetAbsolutePosition(ax, ay);
    lastDownWidget->MouseDrag(px - ax, py - ay);
    int lx = 0, ly = 0;
    Widget* under = EnabledWidgetAt(px, py, &lx, &ly);
    if (under != nullptr && under == lastDownWidget) {
        if (overWidget == nullptr)
            EnterOverWidget(under, lx, ly);
    } else {
        LeaveOverWidget();
    }
}

void WidgetManager::MouseDown(int px, int py, int clickCode)
{
    lastInputUpdateCnt = updateCount;
    int bit = ButtonBit(clickCode);
    actualDownButtons |= bit;
    UpdateMouseOver(px, py);
    if (popupCommandWidget != nullptr) {
        int ax, ay;
        popupCommandWidget->GetAbsolutePosition(ax, ay);
        if (!Rect(ax, ay, popupCommandWidget->width, popupCommandWidget->height).Contains(px, py))
            DismissPopup();
    }
    int lx = 0, ly = 0;
    Widget* target = EnabledWidgetAt(px, py, &lx, &ly);
    if (lastDownWidget != nullptr && downButtons != 0) {
        // The widget that holds a button keeps the mouse; it gets the press
        // in its own coordinates even when the pointer is over another one.
        target = lastDownWidget;
        int ax, ay;
        target->GetAbsolutePosition(ax, ay);
        lx = px - ax;
        ly = py - ay;
    }
    downButtons |= bit;
    lastDownWidget = target;
    if (target == nullptr)
        return;
    if (target->AcceptsFocus())
        SetFocusWidget(target);
    target->isDown = true;
    target->MouseDown(lx, ly, clickCode);
}

void WidgetManager::MouseUp(int px, int py, int clickCode)
{
    lastInputUpdateCnt = updateCount;
    int bit = ButtonBit(clickCode);
    actualDownButtons &= ~bit;
    if (lastDownWidget != nullptr && (downButtons & bit)) {
        downButtons &= ~bit;
        Widget* w = lastDownWidget;
        if (downButtons == 0)
            lastDownWidget = nullptr;
        w->isDown = false;
        int ax, ay;
        w->GetAbsolutePosition(ax, ay);
        w->MouseUp(px - ax, py - ay, clickCode);
    } else {
        // A press that hit no widget still has to end, or every later move
        // would be taken for a drag.
        downButtons &= ~bit;
        if (downButtons == 0)
            lastDownWidget = nullptr;
    }
    UpdateMouseOver(px, py);
}

void WidgetManager::MouseWheel(int delta)
{
    lastInputUpdateCnt = updateCount;
    if (focusWidget != nullptr)
        focusWidget->MouseWheel(delta);
}

void WidgetManager::MouseLeftWindow()
{
    lastInputUpdateCnt = updateCount;
    mouseIn = false;
    LeaveOverWidget();
}

void WidgetManager::KeyDown(int key)
{
    lastInputUpdateCnt = updateCount;
    if (key >= 0 && key < KeyCount)
        keyDown[key] = true;
    if (focusWidget != nullptr)
        focusWidget->KeyDown(key);
}

void WidgetManager::KeyUp(int key)
{
    lastInputUpdateCnt = updateCount;
    if (key >= 0 && key < KeyCount)
        keyDown[key] = false;
    if (key == KeyTab && keyDown[KeyControl])
        return;
    if (focusWidget != nullptr)
        focusWidget->KeyUp(key);
}

void WidgetManager::CharTyped(char ch)
{
    lastInputUpdateCnt = updateCount;
    if (ch == KeyTab && keyDown[KeyControl]) {
        if (defaultTab != nullptr)
            defaultTab->CharTyped(9);
        return;
    }
    if (focusWidget != nullptr)
        focusWidget->CharTyped(ch);
}

void WidgetManager::AppGotFocus()
{
    if (hasFocus)
        return;
    hasFocus = true;
    if (focusWidget != nullptr)
        focusWidget->GotFocus();
}

void WidgetManager::AppLostFocus()
{
    if (!hasFocus)
        return;
    actualDownButtons = 0;
    // Keys released while another program has the keyboard never reach us;
    // end them now so nothing stays held.
    for (int k = 0; k < KeyCount; ++k)
        if (keyDown[k])
            KeyUp(k);
    hasFocus = false;
    if (focusWidget != nullptr)
        focusWidget->LostFocus();
}

void WidgetManager::ReleaseMouseButtons()
{
    Widget* w = lastDownWidget;
    int held = downButtons;
    // Clear first: a MouseUp handler may remove the widget, which comes
    // back here through ForgetWidget.
    downButtons = 0;
    lastDownWidget = nullptr;
    if (w == nullptr || held == 0)
        return;
    int ax, ay;
    w->GetAbsolutePosition(ax, ay);
    static const int bits[3] = {1, 2, 4};
    static const int codes[3] = {1, -1, 3};
    for (int i = 0; i < 3; ++i) {
        if (held & bits[i]) {
            w->isDown = false;
            w->MouseUp(lastMouseX - ax, lastMouseY - ay, codes[i]);
        }
    }
}

void WidgetManager::RecheckMouseOver()
{
    if (lastDownWidget != nullptr) {
        if (overWidget != nullptr && EnabledWidgetAt(lastMouseX, lastMouseY, nullptr, nullptr) != lastDownWidget)
            LeaveOverWidget();
    } else if (mouseIn) {
        UpdateMouseOver(lastMouseX, lastMouseY);
    }
}

void WidgetManager::SetFocusWidget(Widget* widget)
{
    if (widget == focusWidget)
        return;
    Widget* old = focusWidget;
    focusWidget = nullptr;
    if (old != nullptr)
        old->LostFocus();
    if (widget != nullptr && widget->manager == this) {
        focusWidget = widget;
        if (hasFocus)
            widget->GotFocus();
    }
}

void WidgetManager::SetBaseModal(Widget* widget, const FlagModifiers& belowModalMod)
{
    baseModalWidget = widget;
    belowModalFlagsMod = belowModalMod;
    if (belowModalMod.removeFlags & MouseBit) {
        if (overWidget != nullptr && IsBeneath(overWidget, widget))
            LeaveOverWidget();
        if (lastDownWidget != nullptr && IsBeneath(lastDownWidget, widget))
            ReleaseMouseButtons();
    }
    if ((belowModalMod.removeFlags & FocusBit) && focusWidget != nullptr && IsBeneath(focusWidget, widget)) {
        Widget* w = focusWidget;
        focusWidget = nullptr;
        w->LostFocus();
    }
}

void WidgetManager::PushModal(Widget* widget) { PushModal(widget, defaultBelowModalFlagsMod); }

void WidgetManager::PushModal(Widget* widget, const FlagModifiers& belowModalMod)
{
    preModalInfoList.push_back({widget, baseModalWidget, focusWidget, belowModalFlagsMod});
    SetBaseModal(widget, belowModalMod);
}

void WidgetManager::PopModal(Widget* widget)
{
    if (preModalInfoList.empty() || preModalInfoList.back().baseModalWidget != widget)
        return;
    while (!preModalInfoList.empty()) {
        PreModalInfo info = preModalInfoList.back();
        preModalInfoList.pop_back();
        SetBaseModal(info.prevBaseModalWidget, info.prevBelowModalFlagsMod);
        if (focusWidget == nullptr && info.prevFocusWidget != nullptr)
            SetFocusWidget(info.prevFocusWidget);
        if (info.prevBaseModalWidget != nullptr)
            break;
    }
}

void WidgetManager::ForgetWidget(Widget* widget)
{
    if (widget == nullptr)
        return;
    if (overWidget == widget)
        LeaveOverWidget();
    if (lastDownWidget == widget)
        ReleaseMouseButtons();
    if (focusWidget == widget) {
        focusWidget = nullptr;
        widget->LostFocus();
    }
    if (baseModalWidget == widget)
        baseModalWidget = nullptr;
    if (popupCommandWidget == widget)
        popupCommandWidget = nullptr;
    if (defaultTab == widget)
        defaultTab = nullptr;
    // A forgotten widget may be deleted next; no saved modal state may keep
    // it as the one to hand the focus back to.
    for (PreModalInfo& info : preModalInfoList) {
        if (info.prevBaseModalWidget == widget)
            info.prevBaseModalWidget = nullptr;
        if (info.prevFocusWidget == widget)
            info.prevFocusWidget = nullptr;
    }
    std::erase_if(deferredOverlayWidgets, [widget](const DeferredOverlay& o) { return o.widget == widget; });
}

Widget* WidgetManager::WidgetAt(int px, int py, int* localX, int* localY)
{
    ModalFlags flags;
    InitModalFlags(&flags);
    return FindWidgetAt(px, py, flags.overFlags, localX, localY);
}

Widget* WidgetManager::EnabledWidgetAt(int px, int py, int* localX, int* localY)
{
    Widget* w = WidgetAt(px, py, localX, localY);
    return w != nullptr && w->disabled ? nullptr : w;
}

void WidgetManager::DismissPopup()
{
    Widget* w = popupCommandWidget;
    if (w == nullptr)
        return;
    popupCommandWidget = nullptr;
    if (w->parent != nullptr)
        w->parent->RemoveChild(w);
    ForgetWidget(w);
}

void WidgetManager::AddDeferredOverlay(Widget* widget, int overlayPriority)
{
    deferredOverlayWidgets.push_back({widget, overlayPriority, drawLimit});
    minDeferredOverlayPriority = std::min(minDeferredOverlayPriority, overlayPriority);
}

} // namespace Zorvin
