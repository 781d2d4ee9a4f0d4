#pragma once

// WidgetContainer: the common base of every node of the widget tree and of
// the WidgetManager at its root. It is a rectangle with an ordered list of
// children (first = bottom = drawn first, hit last). The list does not own
// its children: whoever adds a widget also removes and deletes it. Children
// may be removed while the container walks them in an update, which is why
// each walk registers its position where RemoveChild can move it.

#include "framework/core/Rect.h"

#include <list>
#include <vector>

namespace Zorvin {

class Graphics;
class Widget;
class WidgetManager;

// The bits passed down the tree while updating, drawing and hit testing.
enum WidgetFlagBits {
    UpdateBit = 1,
    DirtyBit = 2,
    DrawBit = 4,
    ClipBit = 8,
    MouseBit = 16,
    FocusBit = 32,
};

// Flag modifiers: an add mask and a remove mask applied together.
struct FlagModifiers {
    int addFlags = 0;
    int removeFlags = 0;

    int Apply(int flags) const { return (flags | addFlags) & ~removeFlags; }
    bool operator==(const FlagModifiers&) const = default;
};

// The flags in force during one walk: widgets at or above the modal widget
// get the "over" set, everything beneath it the "under" set.
struct ModalFlags {
    int overFlags = 0;
    int underFlags = 0;
    bool isOver = false;

    int GetFlags() const { return isOver ? overFlags : underFlags; }
    void Apply(const FlagModifiers& m)
    {
        overFlags = m.Apply(overFlags);
        underFlags = m.Apply(underFlags);
    }
};

class WidgetContainer {
public:
    WidgetContainer() = default;
    WidgetContainer(const WidgetContainer&) = delete;
    WidgetContainer& operator=(const WidgetContainer&) = delete;
    virtual ~WidgetContainer();

    virtual Rect GetRect() const;
    virtual bool Overlaps(const WidgetContainer* other) const;
    virtual void MarkChildDirty(WidgetContainer* child);
    virtual void MarkDirty();
    // Marks only `area` (in this container's coordinates) for drawing again:
    // the next draw repaints that part of the screen, every widget there
    // from the bottom up, clipped to it. Without a manager the whole
    // container is marked.
    void MarkDirty(const Rect& area);
    virtual void MarkChildDirtyWithBelow(WidgetContainer* child);
    virtual void MarkDirtyWithBelow();
    virtual void OnAttach(WidgetManager* manager);
    virtual void OnDetach(WidgetManager* manager);
    virtual void Update();
    virtual void UpdateTree(ModalFlags* flags);
    virtual void UpdateSmooth(double frac);
    virtual void UpdateTreeSmooth(ModalFlags* flags, double frac);
    virtual void Draw(Graphics* g);
    virtual void DrawTree(ModalFlags* flags, Graphics* g);

    // Puts the widget on top. Nothing happens if it is already a child.
    void AddChild(Widget* widget);
    // Takes the widget out of the list without deleting it; the manager
    // forgets every role the widget had first.
    void RemoveChild(Widget* widget);
    void RemoveAllChildren(bool deleteThem = false, bool recursive = false);
    // Moves the widget just above the reference, or to the top when the
    // reference is not a child.
    void RaiseAbove(Widget* widget, Widget* reference);
    bool HasChild(const Widget* widget) const;
    // True when a comes before b in a depth-first walk, bottom to top.
    bool IsBeneath(const WidgetContainer* a, const WidgetContainer* b) const;
    void MarkTreeDirty();
    void GetAbsolutePosition(int& outX, int& outY) const;
    // Hit test in this container's coordinates; returns the widget and its
    // local coordinates, or null.
    Widget* FindWidgetAt(int px, int py, int flags, int* localX, int* localY);

    const std::list<Widget*>& GetChildren() const { return children; }
    WidgetManager* GetManager() const { return manager; }
    WidgetContainer* GetParent() const { return parent; }

    std::list<Widget*> children;
    WidgetManager* manager = nullptr;
    WidgetContainer* parent = nullptr;
    // The positions of the update walks in progress over the children (more
    // than one when a nested main-loop step runs from inside an update).
    // RemoveChild moves any of them past a child that goes away.
    struct UpdateWalk {
        std::list<Widget*>::iterator position;
        bool moved = false;
    };
    std::vector<UpdateWalk*> updateWalks;
    // The manager's update count when Update last ran, so each widget
    // updates once per tick even if a walk reaches it twice.
    int lastWidgetManagerUpdateCount = -1;
    bool dirty = false;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool hasAlpha = false;
    bool clip = true;
    FlagModifiers widgetFlagsMod;
    int priority = 0;

private:
    template <typename Visit>
    void WalkChildren(Visit visit, ModalFlags* flags);
};

} // namespace Zorvin
