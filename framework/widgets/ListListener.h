#pragma once

// ListListener: how a ListWidget reports to its owner, by the list's id.

namespace Zorvin {

class ListListener {
public:
    virtual ~ListListener() = default;
    // A line was clicked; clickCount is the click code (1 left, 2 left
    // double, -1 right, -2 right double, 3 middle).
    virtual void ListClicked(int id, int line, int clickCount)
    {
        (void)id, (void)line, (void)clickCount;
    }
    virtual void ListClosed(int id) { (void)id; }
    // The line under the mouse changed (-1 = none).
    virtual void ListHiliteChanged(int id, int oldLine, int newLine)
    {
        (void)id, (void)oldLine, (void)newLine;
    }
};

} // namespace Zorvin
