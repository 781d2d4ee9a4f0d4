#include "framework/widgets/WidgetContainer.h"

#include "framework/graphics/Graphics.h"
#include "framework/widgets/Widget.h"
#include "framework/widgets/WidgetManager.h"

#include <algorithm>

namespace Zorvin {

namespace {

// Restores the two flag sets when a walk leaves a container. The is-over
// state is left alone on purpose: once a walk has passed the modal widget,
// everything after it in drawing order is above it.
class FlagSetGuard {
public:
    FlagSetGuard(ModalFlags* f, const FlagModifiers& mod) : flags(f), over(f->overFlags), under(f->underFlags)
    {
        flags->Apply(mod);
    }
    ~FlagSetGuard()
    {
        flags->overFlags = over;
        flags->underFlags = under;
    }

private:
    ModalFlags* flags;
    int over;
    int under;
};

} // namespace

WidgetContainer::~WidgetContainer() = default;

Rect WidgetContainer::GetRect() const { return Rect(x, y, width, height); }

bool WidgetContainer::Overlaps(const WidgetContainer* other) const { return GetRect().Intersects(other->GetRect()); }

void WidgetContainer::MarkChildDirty(WidgetContainer* child)
{
    if (child->dirty)
        return;
    MarkDirty();
    child->dirty = true;
    if (parent != nullptr)
        return;
    if (child->hasAlpha) {
        MarkChildDirtyWithBelow(child);
        return;
    }
    // Anything on top that overlaps the child has to be drawn again over it.
    auto it = std::find(children.begin(), children.end(), child);
    if (it == children.end())
        return;
    for (++it; it != children.end(); ++it) {
        Widget* w = *it;
        if (w->visible && w->Overlaps(child))
            MarkChildDirty(w);
    }
}

void WidgetContainer::MarkDirty()
{
    if (parent != nullptr)
        parent->MarkChildDirty(this);
    else
        dirty = true;
}

void WidgetContainer::MarkDirty(const Rect& area)
{
    if (manager == nullptr) {
        MarkDirty();
        return;
    }
    int ax, ay;
    GetAbsolutePosition(ax, ay);
    manager->AddDirtyArea(area.Offset(ax, ay));
}

void WidgetContainer::MarkChildDirtyWithBelow(WidgetContainer* child)
{
    MarkDirtyWithBelow();
    child->dirty = true;
    if (parent != nullptr)
        return;
    auto self = std::find(children.begin(), children.end(), child);
    if (self == children.end())
        return;
    // Walk down until an opaque sibling covers everything the child showed.
    Rect shown = child->GetRect().Intersection(Rect(0, 0, width, height));
    for (auto it = self; it != children.begin();) {
        --it;
        Widget* w = *it;
        if (!w->visible)
            continue;
        if (!w->hasTransparencies && !w->hasAlpha && shown.width > 0 && shown.height > 0 &&
            w->Contains(shown.x, shown.y) && w->Contains(shown.x + shown.width - 1, shown.y + shown.height - 1)) {
            MarkChildDirty(w);
            break;
        }
        if (w->Overlaps(child))
            MarkChildDirty(w);
    }
    for (auto it = std::next(self); it != children.end(); ++it) {
        Widget* w = *it;
        if (w->visible && w->Overlaps(child))
            MarkChildDirty(w);
    }
}

void WidgetContainer::MarkDirtyWithBelow()
{
    if (parent != nullptr)
        parent->MarkChildDirtyWithBelow(this);
    else
        dirty = true;
}

void WidgetContainer::OnAttach(WidgetManager* newManager)
{
    for (Widget* child : children) {
        child->manager = newManager;
        child->OnAttach(newManager);
        child->MarkDirty();
    }
}

void WidgetContainer::OnDetach(WidgetManager* oldManager)
{
    for (Widget* child : children) {
        oldManager->ForgetWidget(child);
        child->OnDetach(oldManager);
        child->manager = nullptr;
    }
    if (oldManager->popupCommandWidget == this)
        oldManager->popupCommandWidget = nullptr;
}

void WidgetContainer::Update() {}

template <typename Visit>
void WidgetContainer::WalkChildren(Visit visit, ModalFlags* flags)
{
    UpdateWalk walk;
    walk.position = children.begin();
    updateWalks.push_back(&walk);
    while (walk.position != children.end()) {
        walk.moved = false;
        Widget* child = *walk.position;
        if (manager != nullptr && child == manager->baseModalWidget)
            flags->isOver = true;
        visit(child);
        if (!walk.moved)
            ++walk.position;
    }
    updateWalks.pop_back();
}

void WidgetContainer::UpdateTree(ModalFlags* flags)
{
    FlagSetGuard guard(flags, widgetFlagsMod);
    int inForce = flags->GetFlags();
    if (inForce & DirtyBit)
        MarkDirty();
    if (manager != nullptr && (inForce & UpdateBit) && lastWidgetManagerUpdateCount != manager->updateCount) {
        lastWidgetManagerUpdateCount = manager->updateCount;
        Update();
    }
    if (manager == nullptr)
        return;
    WalkChildren([flags](Widget* child) { child->UpdateTree(flags); }, flags);
}

void WidgetContainer::UpdateSmooth(double) {}

void WidgetContainer::UpdateTreeSmooth(ModalFlags* flags, double frac)
{
    FlagSetGuard guard(flags, widgetFlagsMod);
    if (manager != nullptr && (flags->GetFlags() & UpdateBit))
        UpdateSmooth(frac);
    if (manager == nullptr)
        return;
    WalkChildren([flags, frac](Widget* child) { child->UpdateTreeSmooth(flags, frac); }, flags);
}

void WidgetContainer::Draw(Graphics*) {}

void WidgetContainer::DrawTree(ModalFlags* flags, Graphics* g)
{
    if (manager != nullptr && manager->minDeferredOverlayPriority < priority)
        manager->FlushDeferredOverlays(priority);
    FlagSetGuard guard(flags, widgetFlagsMod);
    int inForce = flags->GetFlags();
    if (clip && (inForce & ClipBit))
        g->ClipRect(0, 0, width, height);
    if (children.empty()) {
        if (inForce & DrawBit)
            Draw(g);
        return;
    }
    if (inForce & DrawBit) {
        g->PushState();
        Draw(g);
        g->PopState();
    }
    for (Widget* child : children) {
        if (!child->visible)
            continue;
        if (manager != nullptr && child == manager->baseModalWidget)
            flags->isOver = true;
        Graphics childContext(*g);
        childContext.Translate(child->x, child->y);
        child->DrawTree(flags, &childContext);
        child->dirty = false;
    }
}

void WidgetContainer::AddChild(Widget* widget)
{
    if (widget == nullptr || widget == this || HasChild(widget))
        return;
    // A widget has one place in the tree; leaving the old one first keeps
    // the old parent from holding a stale link.
    if (widget->parent != nullptr)
        widget->parent->RemoveChild(widget);
    children.push_back(widget);
    widget->manager = manager;
    widget->parent = this;
    if (manager != nullptr) {
        widget->OnAttach(manager);
        widget->MarkDirtyWithBelow();
        manager->RecheckMouseOver();
    }
    MarkDirty();
}

void WidgetContainer::RemoveChild(Widget* widget)
{
    auto it = std::find(children.begin(), children.end(), widget);
    if (it == children.end())
        return;
    if (manager != nullptr) {
        WidgetManager* m = manager;
        m->ForgetWidget(widget);
        widget->OnDetach(m);
        MarkChildDirtyWithBelow(widget);
    }
    widget->manager = nullptr;
    widget->parent = nullptr;
    // Handlers above may have changed the list; find the widget again.
    it = std::find(children.begin(), children.end(), widget);
    if (it == children.end())
        return;
    auto next = std::next(it);
    for (UpdateWalk* walk : updateWalks) {
        if (walk->position == it) {
            walk->position = next;
            walk->moved = true;
        }
    }
    children.erase(it);
}

void WidgetContainer::RemoveAllChildren(bool deleteThem, bool recursive)
{
    while (!children.empty()) {
        Widget* w = children.front();
        if (recursive)
            w->RemoveAllChildren(deleteThem, recursive);
        RemoveChild(w);
        if (deleteThem)
            delete w;
    }
}

void WidgetContainer::RaiseAbove(Widget* widget, Widget* reference)
{
    auto it = std::find(children.begin(), children.end(), widget);
    if (it == children.end())
        return;
    auto ref = std::find(children.begin(), children.end(), reference);
    // A walk standing on the widget goes on with the widget's old
    // neighbour, so no sibling is skipped; splice keeps iterators valid.
    for (UpdateWalk* walk : updateWalks) {
        if (walk->position == it) {
            walk->position = std::next(it);
            walk->moved = true;
        }
    }
    if (ref == children.end() || reference == widget)
        children.splice(children.end(), children, it);
    else
        children.splice(std::next(ref), children, it);
    widget->MarkDirty();
    widget->OnZOrderChanged();
}

bool WidgetContainer::HasChild(const Widget* widget) const
{
    return std::find(children.begin(), children.end(), widget) != children.end();
}

namespace {

// Depth-first, children bottom to top, each child before its own children.
// Returns 1 when a is met first, 2 when b is, 0 when neither.
int FirstMet(const WidgetContainer* c, const WidgetContainer* a, const WidgetContainer* b)
{
    for (const Widget* child : c->children) {
        if (child == a)
            return 1;
        if (child == b)
            return 2;
        if (int r = FirstMet(child, a, b))
            return r;
    }
    return 0;
}

} // namespace

bool WidgetContainer::IsBeneath(const WidgetContainer* a, const WidgetContainer* b) const
{
    if (a == nullptr || b == nullptr || a == b)
        return false;
    return FirstMet(this, a, b) == 1;
}

void WidgetContainer::MarkTreeDirty()
{
    MarkDirty();
    for (Widget* child : children) {
        child->dirty = true;
        child->MarkTreeDirty();
    }
}

void WidgetContainer::GetAbsolutePosition(int& outX, int& outY) const
{
    outX = x;
    outY = y;
    for (const WidgetContainer* p = parent; p != nullptr; p = p->parent) {
        outX += p->x;
        outY += p->y;
    }
}

Widget* WidgetContainer::FindWidgetAt(int px, int py, int flags, int* localX, int* localY)
{
    flags = widgetFlagsMod.Apply(flags);
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        Widget* child = *it;
        if ((flags & MouseBit) && child->visible) {
            if (Widget* found = child->FindWidgetAt(px - child->x, py - child->y, flags, localX, localY))
                return found;
            if (child->mouseVisible && child->GetInnerRect().Contains(px, py) &&
                child->IsOpaqueAt(px - child->x, py - child->y)) {
                if (localX != nullptr)
                    *localX = px - child->x;
                if (localY != nullptr)
                    *localY = py - child->y;
                return child;
            }
        }
        if (manager != nullptr && child == manager->baseModalWidget)
            flags = manager->belowModalFlagsMod.Apply(flags);
    }
    return nullptr;
}

} // namespace Zorvin
