#include "framework/Widget.h"

#include "framework/WidgetManager.h"
#include "framework/ZorvinAppBase.h"

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
    if (manager != nullptr && manager->app != nullptr)
        manager->app->SetCursorNumber(show ? 1 : 0);
}

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
    if (key != 9 || manager == nullptr)
        return;
    Widget* target = manager->IsKeyDown(16) ? tabPrev : tabNext;
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

} // namespace Zorvin
